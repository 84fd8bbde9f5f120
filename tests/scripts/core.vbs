' A VBScript client of Quillon.qfcLibCore: prints what it sees, one line per check.
Option Explicit
Dim core
Set core = CreateObject("Quillon.qfcLibCore")
WScript.Echo "before: " & core.GetAppVersion(True) & " " & core.GetAppVersion(False)
core.InitCore "Vantorel", "Vantorel", "C:\Games\", 1, 1, 32
WScript.Echo "omitted: " & core.GetAppVersion() & " " & core.GetAppVersion
WScript.Echo "formatted: " & core.GetAppVersion(True)
core.InitCore "Vantorel", "Vantorel", "C:\Games\", -1, 0, 7
WScript.Echo "negative: " & core.GetAppVersion(True)

On Error Resume Next
core.ShowRunOnceDialog "Hello"
WScript.Echo "failing call: " & Hex(Err.Number) & " | " & Err.Description & " | " & Err.Source
Err.Clear
core.NoSuchMethod
WScript.Echo "missing method: " & Err.Number
Err.Clear
On Error GoTo 0
WScript.Echo "done"
