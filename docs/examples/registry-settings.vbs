' qfcLibRegistry from VBScript: an application's settings under
' HKEY_CURRENT_USER\Software\Brannock\Apps\<title>, and the same key through the explicit-root methods.
' Booleans are printed through CStr: WScript.Echo of a bare Boolean prints -1 or 0.
' Run: cscript //nologo registry-settings.vbs <scratch folder> <application title>
Option Explicit
Const HKEY_CURRENT_USER = &H80000001
Dim title, appKey, core, reg, shell
title = WScript.Arguments(1)
appKey = "Software\Brannock\Apps\" & title
Set core = CreateObject("Quillon.qfcLibCore")
core.InitCore "Example", title, WScript.Arguments(0), 1, 0, 0
Set reg = CreateObject("Quillon.qfcLibRegistry")

WScript.Echo CStr(reg.KeySet("Pilot", "Ace"))                 ' the application key itself
WScript.Echo reg.KeyGet("Pilot") & " " & reg.KeyGet("Missing", "(none)")
WScript.Echo CStr(reg.KeySet("Left", "120", "Forms"))         ' a sub key is made on the way
WScript.Echo reg.KeyGet("Left", "0", "\Forms")          ' a leading "\" is the same sub key

' Only string values (REG_SZ) are read: anything else gives the default.
Set shell = CreateObject("WScript.Shell")
shell.RegWrite "HKCU\" & appKey & "\Count", 7, "REG_DWORD"
WScript.Echo reg.KeyGet("Count", "not a string")

' KeyDeleteValue needs a sub key; a value of the application key itself goes with RegDeleteValue.
WScript.Echo reg.KeyDeleteValue("Pilot") & " " & reg.KeyDeleteValue("Left", "Forms")
WScript.Echo CStr(reg.RegDeleteValue(HKEY_CURRENT_USER, appKey, "Pilot"))

' "{Default}" names the key's unnamed value in RegKeySetString and RegKeyGetString.
WScript.Echo CStr(reg.RegKeySetString(HKEY_CURRENT_USER, appKey, "{Default}", "unnamed"))
WScript.Echo reg.RegKeyGetString(HKEY_CURRENT_USER, appKey)

' KeyDelete removes a sub key with everything below it, never the application key itself.
WScript.Echo reg.KeyDelete("Forms") & " " & reg.KeyDelete("")
WScript.Echo CStr(reg.RegDeleteKey(HKEY_CURRENT_USER, appKey))
' Prints:
' True
' Ace (none)
' True
' 120
' not a string
' False True
' True
' True
' unnamed
' True False
' True
