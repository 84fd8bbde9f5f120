' qfcLibStrings from VBScript: casing, quotes, replacing, stripping, telephone numbers and the password scrambler.
' Run: cscript //nologo strings-text.vbs <scratch folder> <application title>
Option Explicit
Dim strings, hidden
Set strings = CreateObject("Quillon.qfcLibStrings")
WScript.Echo strings.ProperCase("JOHN o'neil-smith of c:\games")
WScript.Echo strings.UnQuoteString("  ""C:\Program Files\Game""  ")

' StringReplace cuts the text into pieces as long as the search text: "bc" is found only at 0, 2, 4...
WScript.Echo strings.StringReplace("aXbXcX", "X", "-") & " " & strings.StringReplace("abcabc", "bc", "_")
WScript.Echo strings.StringReplace("Hello hello", "h", "J") & " " & strings.StringReplace("Hello hello", "h", "J", 1)

' StringStrip takes its texts by reference: in parentheses a script passes them by value.
WScript.Echo strings.StringStrip(("(555) 123-4567"), ("()- "))

WScript.Echo strings.PhoneFormat("555 123 4567") & " | " & strings.PhoneFormat("(555) 123-4567", True) _
    & " | " & strings.PhoneFormat("1-800-FLOWERS") & " | " & strings.PhoneFormat("123.4567")

' Decrypt with the key and the vCaseSensitive of the encryption: case-insensitive decryption upper-cases the
' scrambled text first, which changes letters and other characters alike.
hidden = strings.EncryptPassword(5, "Pass-1", True)
WScript.Echo strings.DecryptPassword(5, hidden, True) & " " & strings.DecryptPassword(5, hidden)
hidden = strings.EncryptPassword(5, "[1]")
WScript.Echo strings.DecryptPassword(5, hidden, True) & " " & strings.DecryptPassword(5, hidden)
WScript.Echo strings.DecryptPassword(5, strings.EncryptPassword(5, "pass-1"))
' Prints:
' John O'neil-smith Of C:\Games
' C:\Program Files\Game
' a-b-c- abca_
' Jello Jello Hello Jello
' 5551234567
' (555) 123-4567 | 5551234567 | 18003569377 | 123.4567
' Pass-1 PasS-1
' [1] ;1=
' PASS-1
