' qfcLibForms from VBScript: the library moves any object that has a form's members (Name, Left, Top, Width,
' Height, WindowState, Visible, Move); here a script class stands in for a window. Sizes are in twips.
' Objects go in parentheses: the methods take them by reference, and a script passes a value that way.
' Run: cscript //nologo forms-place.vbs <scratch folder> <application title>
Option Explicit
Class ScriptForm
    Public Name
    Public Left
    Public Top
    Public Width
    Public Height
    Public WindowState
    Public Visible
    Public Sub Move(l, t, w, h)
        Left = l: Top = t: Width = w: Height = h
    End Sub
    Public Function Place()
        Place = Left & "," & Top & " " & Width & "x" & Height
    End Function
End Class

Function NewForm(name, l, t, w, h)
    Set NewForm = New ScriptForm
    NewForm.Name = name: NewForm.WindowState = 0: NewForm.Visible = True
    NewForm.Move l, t, w, h
End Function

Dim core, forms, reg, form, parent
Set core = CreateObject("Quillon.qfcLibCore")
core.InitCore "Example", WScript.Arguments(1), WScript.Arguments(0), 1, 0, 0
Set forms = CreateObject("Quillon.qfcLibForms")
Set reg = CreateObject("Quillon.qfcLibRegistry")
Set form = NewForm("frmExample", 0, 0, 4000, 3000)
Set parent = NewForm("frmMain", 1000, 1000, 6000, 5000)

forms.CenterForm (form), (parent)
WScript.Echo form.Place()
' FormClose stores the place under the application key's "Forms" sub key; FormOpen puts the form back there.
form.Move 1200, 900, 4000, 3000
forms.FormClose (form)
WScript.Echo reg.KeyGet("frmExample", "", "Forms")
form.Move 0, 0, 100, 100
forms.FormOpen (form)
WScript.Echo form.Place()
' Nothing for the form is run-time error 91.
On Error Resume Next
forms.CenterForm Nothing
WScript.Echo Err.Number
On Error GoTo 0
reg.KeyDelete "Forms"
' Prints:
' 2000,2000 4000x3000
' 1200|900|4000|3000
' 1200,900 4000x3000
' 91
