' A late-bound client of Quillon.qfcLibStrings: plain script variables (one never assigned) for the methods'
' typed by-reference parameters, which the engine alone cannot pass.
Dim strings, one, two, unset, m, n, text, chars
Set strings = CreateObject("Quillon.qfcLibStrings")
one = "first" : two = "second" : m = 3 : n = -7 : text = "a,b;c" : chars = ",;"
strings.SwapStr one, two
strings.SwapInt m, n
strings.SwapInt unset, m
WScript.Echo one & " " & two & " " & m & " " & n & " " & unset & " " & TypeName(m) & " " & _
             strings.StringStrip(text, chars) & " " & text & " " & chars
WScript.Quit 0
