// qfcLibRegistry from JScript: a registry root as a number. JScript writes 0x80000001 as a number above the
// 32-bit range; "| 0" makes it the signed 32-bit value the type library holds, in every version of the library.
// Run: cscript //nologo registry-roots.js <scratch folder> <application title>
var HKEY_CURRENT_USER = 0x80000001 | 0;
var key = "Software\\Brannock\\Apps\\" + WScript.Arguments(1);
var reg = new ActiveXObject("Quillon.qfcLibRegistry");
WScript.Echo(HKEY_CURRENT_USER);
WScript.Echo(String(reg.RegKeySetString(HKEY_CURRENT_USER, key, "Greeting", "Hello")));
WScript.Echo(reg.RegKeyGetString(HKEY_CURRENT_USER, key, "Greeting", "none"));
// This library also takes the number as JScript writes it.
WScript.Echo(reg.RegKeyGetString(0x80000001, key, "Greeting", "none"));
// Booleans come back as JScript's true and false (String() prints them so; WScript.Echo alone prints -1 and 0).
WScript.Echo(String(reg.RegDeleteKey(HKEY_CURRENT_USER, key) === true));
// Prints:
// -2147483647
// true
// Hello
// Hello
// true
