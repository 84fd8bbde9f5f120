' A script that starts a program through Quillon and prints the error it gets.
' Usage: cscript //nologo ExecuteClient.vbs <command line>
On Error Resume Next
Set windows = CreateObject("Quillon.qfcLibWindows")
windows.ExecuteCommand WScript.Arguments(0), True
WScript.Echo Err.Number & " | " & Err.Description & " | " & Err.Source
