' A late-bound client of Quillon.qfcLibWindows that leaves out optional arguments.
' Usage: cscript //nologo WindowsClient.vbs
Dim windows
Set windows = CreateObject("Quillon.qfcLibWindows")
WScript.Echo "clear=" & (windows.SetWallpaper() <> 0)
WScript.Echo "blank=" & windows.ShellCommand("   ")
WScript.Quit 0
