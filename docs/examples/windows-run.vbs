' qfcLibWindows from VBScript: start a program and wait for its end, and ask the shell to open a document
' without its error box (for unattended scripts).
' Run: cscript //nologo windows-run.vbs <scratch folder> <application title>
Option Explicit
Const SA_Open = 0, SW_SHOWNORMAL = 1
Dim windows, files, folder
Set windows = CreateObject("Quillon.qfcLibWindows")
Set files = CreateObject("Quillon.qfcLibFiles")
folder = files.AddDirSep(WScript.Arguments(0))

' ExecuteCommand gives no exit code: look at what the program left behind.
windows.ExecuteCommand "cmd.exe /c echo done>""" & folder & "marker.txt""", True
WScript.Echo CStr(files.FileExists(folder & "marker.txt"))

' False: no program could open it. vShowErrorMsg False keeps the shell's error box away.
WScript.Echo CStr(windows.ShellCommand(folder & "missing.txt", "", SA_Open, SW_SHOWNORMAL, "", -1, False))
' Prints:
' True
' False
