' A VBScript client of Quillon: prints what it sees.
Set core = CreateObject("Quillon.qfcLibCore")
core.InitCore "Vantorel", "Vantorel", "C:\Games\", 1, 1, 32
WScript.Echo core.GetAppVersion() & " " & core.GetAppVersion & " " & core.GetAppVersion(True)
On Error Resume Next
Set files = CreateObject("Quillon.qfcLibFiles")
files.FileExists "a" & Chr(0) & "b"
WScript.Echo Hex(Err.Number) & " | " & Err.Description & " | " & Err.Source
Err.Clear

' The same mistakes on the system's own object and on Quillon's: the engine's numbers and texts must match.
Set fso = CreateObject("Scripting.FileSystemObject")
Set reg = CreateObject("Quillon.qfcLibRegistry")
Function Outcome()
    Outcome = Err.Number & " " & Err.Description
    Err.Clear
End Function
Sub Compare(what, system, ours)
    If system = ours Then WScript.Echo what & ": " & system Else WScript.Echo what & ": " & system & " <> " & ours
End Sub
Sub Enumerate(object)
    For Each item In object
    Next
End Sub
fso.NoSuchMember : system = Outcome() : reg.NoSuchMember : Compare "unknown member", system, Outcome()
fso.FileExists : system = Outcome() : reg.KeyGet : Compare "missing argument", system, Outcome()
fso.FileExists "a", "b" : system = Outcome() : reg.KeyGet "a", "b", "c", 1, "e" : Compare "extra argument", system, Outcome()
fso.FileExists Array("a") : system = Outcome() : reg.KeyGet Array("a") : Compare "wrong type", system, Outcome()
Set x = fso.FileExists("a") : system = Outcome() : Set x = reg.KeyGet("a") : Compare "Set", system, Outcome()
Enumerate fso : system = Outcome() : Enumerate reg : Compare "For Each", system, Outcome()
WScript.Quit 0
