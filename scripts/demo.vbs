' Shows Quillon working from a late-bound script client.
Set core = CreateObject("Quillon.qfcLibCore")
core.InitCore "Vantorel", "Vantorel", "C:\Games\Vantorel", 1, 1, 32
WScript.Echo "Quillon.qfcLibCore: application version " & core.GetAppVersion(True) & " (" & core.GetAppVersion() & ")"
Set registry = CreateObject("Quillon.qfcLibRegistry")
On Error Resume Next
ok = registry.KeySet("LastDemo", CStr(Now))
If Err.Number = 0 Then
    WScript.Echo "Quillon.qfcLibRegistry: LastDemo = " & registry.KeyGet("LastDemo")
Else
    WScript.Echo "Quillon.qfcLibRegistry: " & Err.Description & " (" & Hex(Err.Number) & ")"
End If
