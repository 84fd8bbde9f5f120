' qfcLibCore from VBScript: hand the library the application's identity, read the version back,
' and catch a run-time error the library raises.
' Run: cscript //nologo core-version.vbs <scratch folder> <application title>
Option Explicit
Dim core, files
Set core = CreateObject("Quillon.qfcLibCore")
' Before InitCore every thread's context is empty.
WScript.Echo core.GetAppVersion(True)
core.InitCore "Example", WScript.Arguments(1), WScript.Arguments(0), 2, 5, 17
WScript.Echo core.GetAppVersion() & " " & core.GetAppVersion(True)

' A name holding a NUL character is refused with run-time error 5.
On Error Resume Next
Set files = CreateObject("Quillon.qfcLibFiles")
files.FileExists "report" & Chr(0) & ".txt"
WScript.Echo Err.Number & " " & Err.Source
On Error GoTo 0
' Prints:
' v0.0.0
' 2517 v2.5.17
' 5 Quillon.qfcLibFiles
