' qfcLibNetwork from VBScript: names of this machine and user, and results that report failure by number.
' Run: cscript //nologo network-names.vbs <scratch folder> <application title>
Option Explicit
Dim net, page
Set net = CreateObject("Quillon.qfcLibNetwork")
WScript.Echo CStr(Len(net.GetMachineName()) > 0) & " " & CStr(Len(net.GetUserID()) > 0)

' GetHTTPSource never raises: its result says whether a page came; vSourceCode is a plain variable.
page = "old"
WScript.Echo CStr(net.GetHTTPSource("", page)) & " [" & page & "]"

' The drive methods return a system error code, or -1 for a drive text they cannot use
' (a single letter maps from D: on).
WScript.Echo net.MapNetDrive("\\server\share", "C") & " " & net.UnMapNetDrive("")
' Prints:
' True True
' False []
' -1 -1
