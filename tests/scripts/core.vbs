' A VBScript client of Quillon: prints what it sees.
Set core = CreateObject("Quillon.qfcLibCore")
core.InitCore "Vantorel", "Vantorel", "C:\Games\", 1, 1, 32
WScript.Echo core.GetAppVersion() & " " & core.GetAppVersion & " " & core.GetAppVersion(True)
On Error Resume Next
Set files = CreateObject("Quillon.qfcLibFiles")
files.FileExists "a" & Chr(0) & "b"
WScript.Echo Hex(Err.Number) & " | " & Err.Description & " | " & Err.Source
Err.Clear
core.InitCore
WScript.Echo Hex(Err.Number) & " | " & Err.Description
