' A script client of the welcome dialog: the call returns once the window is closed.
Set core = CreateObject("Quillon.qfcLibCore")
core.InitCore "Vantorel", "Scripted", "C:\", 1, 1, 32
core.ShowRunOnceDialog "First line" & vbCrLf & "Second line"
WScript.Echo "returned"
WScript.Quit 0
