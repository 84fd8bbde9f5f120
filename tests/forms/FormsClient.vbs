' A script's own form object handed to Quillon.qfcLibForms, which reaches it only by member name.
' Usage: cscript //nologo FormsClient.vbs <application title>
Class ScriptForm
    ' One member a line: Wine's VBScript takes no lists in a class.
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
        Place = Left & "|" & Top & "|" & Width & "|" & Height
    End Function
End Class

Function NewForm(name, l, t, w, h)
    Set NewForm = New ScriptForm
    NewForm.Name = name: NewForm.WindowState = 0: NewForm.Visible = True
    NewForm.Move l, t, w, h
End Function

Dim core, forms, form, parent
Set core = CreateObject("Quillon.qfcLibCore")
core.InitCore "Vantorel", WScript.Arguments(0), "C:\", 1, 0, 0
Set forms = CreateObject("Quillon.qfcLibForms")
Set form = NewForm("frmScript", 15, 15, 4000, 3000)
Set parent = NewForm("frmParent", 1000, 1000, 6000, 5000)

forms.CenterForm (form), (parent)
WScript.Echo "centred=" & form.Place()
forms.FormClose (form)
form.Move 0, 0, 100, 100
forms.FormOpen (form)
WScript.Echo "reopened=" & form.Place()
On Error Resume Next
forms.CenterForm Nothing
WScript.Echo "nothing=" & Err.Number
WScript.Quit 0
