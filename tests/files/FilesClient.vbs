' A late-bound client of Quillon.qfcLibFiles: script variables for the found names and a script's array of names.
' Usage: cscript //nologo FilesClient.vbs <scratch folder>
Dim root, files, fso, found, names
root = WScript.Arguments(0) & "\"
Set files = CreateObject("Quillon.qfcLibFiles")
Set fso = CreateObject("Scripting.FileSystemObject")
fso.CreateTextFile(root & "a.plt").Close
WScript.Echo "search=" & files.FileExtSearch(root, "plt", found) & " " & Replace(found(0), root, "")
found = Array("kept")
WScript.Echo "append=" & files.FileExtSearch(root, "plt", found) & " " & found(0) & "|" & _
             Replace(found(1), root, "") & " " & TypeName(found)
fso.CreateTextFile(root & "b.plt").Close
names = Array(root & "a.plt", "", root & "b.plt")
WScript.Echo "delete=" & files.DeleteFile(0, names, 16) & " " & files.FileExists(root & "*.plt")
WScript.Quit 0
