' A late-bound client of Quillon.qfcLibStrings that leaves out optional arguments.
Dim strings, scrambled
Set strings = CreateObject("Quillon.qfcLibStrings")

WScript.Echo "proper=" & strings.ProperCase("hello world/path")
scrambled = strings.EncryptPassword(3, "Secret")
WScript.Echo "roundtrip=" & strings.DecryptPassword(3, scrambled, True)
WScript.Echo "phone=" & strings.PhoneFormat("612-555-1234")
WScript.Echo "compress=" & strings.PhoneFormat("(612) 555-1234", True)
WScript.Echo "replace=" & strings.StringReplace("aXbxc", "x", "+")
WScript.Echo "strip=" & strings.StringStrip("a,b;c", ",;")
Dim one, two, unset, m, n, text, chars
one = "first" : two = "second" : m = 3 : n = -7 : text = "a,b;c" : chars = ",;"
strings.SwapStr one, two
strings.SwapInt m, n
strings.SwapInt unset, m
WScript.Echo "variables=" & one & " " & two & " " & m & " " & n & " " & unset & " " & TypeName(m) & " " & _
             strings.StringStrip(text, chars) & " " & text & " " & chars

On Error Resume Next
strings.EncryptPassword 20, "abc"
WScript.Echo "error5=" & Err.Number & " " & Err.Description
Err.Clear
strings.EncryptPassword -32758, "abc"
WScript.Echo "error6=" & Err.Number & " " & Err.Description
Err.Clear
On Error GoTo 0
WScript.Quit 0
