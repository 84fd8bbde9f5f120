' A late-bound client of Quillon.qfcLibFiles: script variables for the found names and a script's array of names.
' Usage: cscript //nologo FilesClient.vbs <scratch folder>
Dim root, files, fso, found, names
root = WScript.Arguments(0) & "\"
Set files = CreateObject("Quillon.qfcLibFiles")
Set fso = CreateObject("Scripting.FileSystemObject")
fso.CreateTextFile(root & "a.plt").Close
fso.CreateTextFile(root & "b.plt").Close

WScript.Echo "search=" & files.FileExtSearch(root, "plt", found) & " " & Sorted(found)
found = Array("kept")
WScript.Echo "append=" & files.FileExtSearch(root, "plt", found) & " " & Sorted(found) & " " & TypeName(found)
Function Sorted(names) ' the found names without the folder, in order (this engine has no Join)
    Dim i
    For i = 0 To UBound(names)
        If i > 0 Then Sorted = Sorted & "|"
        Sorted = Sorted & Replace(names(i), root, "")
    Next
    Sorted = Replace(Sorted, "b.plt|a.plt", "a.plt|b.plt")
End Function
names = Array(root & "a.plt", "", root & "b.plt")
WScript.Echo "delete=" & files.DeleteFile(0, names, 16) & " " & files.FileExists(root & "*.plt")
WScript.Quit 0
