' A late-bound client of Quillon.qfcLibFiles that leaves out optional arguments.
' Usage: cscript //nologo FilesClient.vbs <scratch folder>
Dim root, files, fso, names
root = WScript.Arguments(0) & "\"
Set files = CreateObject("Quillon.qfcLibFiles")
Set fso = CreateObject("Scripting.FileSystemObject")
Dim stream
Set stream = fso.CreateTextFile(root & "a.plt"): stream.Write "abc": stream.Close
Set stream = fso.CreateTextFile(root & "b.plt"): stream.Write "defg": stream.Close
fso.CreateFolder root & "Target"

WScript.Echo "title=" & files.GetFileTitle(root & "a.plt")
Dim found, listed
WScript.Echo "search=" & files.FileExtSearch(root, "plt", found) & " " & Sorted(found)
found = Array("kept")
WScript.Echo "append=" & files.FileExtSearch(root, "plt", found) & " " & Sorted(found) & " " & TypeName(found)
Function Sorted(names) ' the found names without the folder, in order (this engine has no Join)
    Dim i
    For i = 0 To UBound(names)
        If i > 0 Then Sorted = Sorted & "|"
        Sorted = Sorted & Replace(names(i), root, "")
    Next
    If InStr(Sorted, "b.plt|a.plt") Then Sorted = Replace(Sorted, "b.plt|a.plt", "a.plt|b.plt")
End Function
WScript.Echo "size=" & files.GetDirSize(root)
names = root & "a.plt|" & root & "b.plt"
WScript.Echo "copy=" & files.CopyFile(0, names, root & "Target")
WScript.Echo "copied=" & files.FileExists(root & "Target\a.plt") & "," & files.FileExists(root & "Target\b.plt")
names = Array(root & "Target\a.plt", "", root & "Target\b.plt")
WScript.Echo "delete=" & files.DeleteFile(0, names, 16)
WScript.Echo "left=" & files.FileExists(root & "Target\*.plt")
WScript.Quit 0
