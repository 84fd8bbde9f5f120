// A JScript client of Quillon: prints what it sees.
var core = new ActiveXObject("Quillon.qfcLibCore");
core.InitCore("Vantorel", "Vantorel", "C:\\Games\\", 1, 1, 32);
WScript.Echo(core.GetAppVersion() + " " + core.GetAppVersion() + " " + core.GetAppVersion(true));
try {
    new ActiveXObject("Quillon.qfcLibFiles").FileExists("a\0b");
} catch (e) {
    WScript.Echo((e.number >>> 0).toString(16).toUpperCase() + " | " + e.description);
}
// JScript writes a registry root as a number above the 32-bit range.
var reg = new ActiveXObject("Quillon.qfcLibRegistry"), key = "Software\\QuillonTests\\ScriptRoots";
WScript.Echo(reg.RegKeySetString(0x80000001, key, "Root", "current user") + " " +
             reg.RegKeyGetString(0x80000001, key, "Root") + " " + reg.RegDeleteKey(0x80000001, key));
try {
    reg.RegKeyGetString(0x180000001, key);
} catch (e) {
    WScript.Echo((e.number >>> 0).toString(16).toUpperCase());
}
