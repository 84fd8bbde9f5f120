' A late-bound client of Quillon.qfcLibNetwork.
' Usage: cscript //nologo HttpClient.vbs <server address without path> <address where nothing listens>
Dim net, source, ok, number, message
Set net = CreateObject("Quillon.qfcLibNetwork")
number = 7 : message = "old"
ok = net.GetHTTPSource(WScript.Arguments(0) & "/echo", source, " post ", "x=1", , , , number, message)
WScript.Echo "post=" & ok & "|" & source & "|" & number & "[" & message & "]"
source = "old"
ok = net.GetHTTPSource(WScript.Arguments(1), source, , , , , , number, message)
WScript.Echo "refused=" & ok & "|[" & source & "]|" & TypeName(number) & " " & (number <> 0) & "|" & (message <> "")
