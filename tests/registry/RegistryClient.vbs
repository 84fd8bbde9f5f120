' A late-bound client of Quillon.qfcLibRegistry that leaves out optional arguments.
' Usage: cscript //nologo RegistryClient.vbs <application title>
Dim title, appKey, core, registry
title = WScript.Arguments(0)
appKey = "Software\Brannock\Apps\" & title

Set core = CreateObject("Quillon.qfcLibCore")
core.InitCore "Vantorel", title, "C:\Games\", 1, 0, 0
Set registry = CreateObject("Quillon.qfcLibRegistry")

WScript.Echo "set=" & registry.KeySet("Greeting", "Hello from a script")
WScript.Echo "get=" & registry.KeyGet("Greeting")
WScript.Echo "setblank=" & registry.KeySet("Blank")
WScript.Echo "blank=[" & registry.KeyGet("Blank", "not blank") & "]"
WScript.Echo "setsub=" & registry.KeySet("Inner", "deep", "Forms")
WScript.Echo "getsub=" & registry.KeyGet("Inner", , "\Forms")
WScript.Echo "setdefault=" & registry.RegKeySetString(&H80000001, appKey, , "unnamed")
WScript.Echo "getdefault=" & registry.RegKeyGetString(&H80000001, appKey)
WScript.Echo "kept=" & registry.KeyGet("Greeting")
WScript.Echo "deletevalue=" & registry.KeyDeleteValue("Inner", "Forms")
WScript.Echo "deletesub=" & registry.KeyDelete("Forms")
WScript.Echo "cleanup=" & registry.RegDeleteKey(&H80000001, appKey)
