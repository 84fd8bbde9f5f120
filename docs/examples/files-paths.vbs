' qfcLibFiles from VBScript: path pieces, existence tests, folder sizes, and a copy and a delete
' that show no window (qcSilent + qcNoConfirmation + qcNoCofirmMkDir).
' Run: cscript //nologo files-paths.vbs <scratch folder> <application title>
Option Explicit
Const qcCopy = 2, qcSilent = 4, qcNoConfirmation = 16, qcNoCofirmMkDir = 512
Dim files, fso, folder, quiet, stream
Set files = CreateObject("Quillon.qfcLibFiles")
Set fso = CreateObject("Scripting.FileSystemObject")
folder = files.AddDirSep(WScript.Arguments(0))
quiet = qcSilent Or qcNoConfirmation Or qcNoCofirmMkDir

' Path pieces are text rules: nothing is looked up on the disk.
WScript.Echo files.GetFilePath("C:\Games\Descent 3\main.exe") & " | " & files.GetFileTitle("C:\Games\main.exe") _
    & " | " & files.GetFileTitle("C:\Games\main.exe", True) & " | " & files.GetFileExt("C:\Games\main.exe")
WScript.Echo "[" & files.GetFilePath("main.exe") & "] [" & files.GetFileExt("C:\Games.old\readme") & "]"
WScript.Echo files.AddURLSep("http://example.com") & " " & files.IsLongFileName("C:\Program Files") _
    & " " & files.IsShortFileName("C:\PROGRA~1\README.TXT")

' Folders and files.
WScript.Echo files.MakePath(folder & "saves\pilots") & " " & files.DirExists(folder & "saves\pilots")
Set stream = fso.CreateTextFile(folder & "saves\pilots\ace.plt", True)
stream.Write String(1000, "x")
stream.Close
WScript.Echo files.FileExists(folder & "saves\pilots\ace.plt") & " " & files.FileExists(folder & "saves\pilots")
WScript.Echo files.GetDirSize(folder & "saves") & " " & files.GetDirSize(folder & "saves", True)

' CopyFile and DeleteFile return whether the user aborted: False is the usual answer.
WScript.Echo CStr(files.CopyFile(0, folder & "saves\pilots\ace.plt", folder & "saves", qcCopy, quiet))
WScript.Echo files.FileExists(folder & "saves\ace.plt") & " " & files.GetDirSize(folder & "saves", True)
WScript.Echo CStr(files.DeleteFile(0, folder & "saves\ace.plt|" & folder & "saves\pilots\ace.plt", quiet))
WScript.Echo files.GetDirSize(folder & "saves", True)
WScript.Echo Right(files.GetSystemFolder(128), 1)  ' qcWindows, with its trailing "\"
' Prints:
' C:\Games\Descent 3\ | main | main.exe | exe
' [main.exe] [old\readme]
' http://example.com/ True True
' True True
' True False
' 0 1000
' False
' True 2000
' False
' 0
' \
