' A script client of the dial-up control: creates it by its ProgID, lists the entries, dials
' one, and reads the error of an unknown name with RaiseErrors on. Prints "ALL OK" and exits 0
' only when every check passed (an uncaught script error would also exit 0, silently).
Option Explicit

Sub Fail(code, text)
    WScript.Echo "FAILED: " & text
    WScript.Quit code
End Sub

Dim dun, names, name, list, number, source, description
Set dun = CreateObject("Ringer.DialUpNetworking")

If Not dun.Available Then Fail 2, "not available"
If dun.ConnectionCount <> 2 Then Fail 3, "ConnectionCount " & dun.ConnectionCount
Set names = dun.Connections
If names.Count <> 2 Then Fail 4, "Connections.Count " & names.Count
If names(1) <> "Office" Then Fail 5, "Connections(1) " & names(1)
If names.Item(2) <> "Home ISP" Then Fail 6, "Connections.Item(2) " & names.Item(2)
list = ""
For Each name In dun.Connections
    list = list & name & ";"
Next
If list <> "Office;Home ISP;" Then Fail 7, "For Each gave " & list
Dim entry
entry = "Home ISP"
If Not dun.Active(entry) Then Fail 8, "Home ISP is not active"
If dun.Active("Office") Then Fail 9, "Office is active before dialling"
If dun.ActiveConnectionCount <> 1 Then Fail 10, "ActiveConnectionCount " & dun.ActiveConnectionCount

dun.Connect "Office"
If Not dun.Active("Office") Then Fail 11, "Office is not active after dialling"
If dun.InactiveConnectionCount <> 0 Then Fail 12, "InactiveConnectionCount " & dun.InactiveConnectionCount

' Without RaiseErrors an unknown name only shows in LastError.
dun.Connect "Nowhere"
If dun.LastError.Number <> 1026 Then Fail 13, "LastError.Number " & dun.LastError.Number

dun.RaiseErrors = True
On Error Resume Next
dun.Connect "office"
number = Err.Number
source = Err.Source
description = Err.Description
On Error GoTo 0
If number <> 1026 Then Fail 14, "Err.Number " & number
If source <> "CDialUpNetworking.Connect" Then Fail 15, "Err.Source " & source
If description <> "The specified connection does not exist." Then Fail 16, "Err.Description " & description

WScript.Echo "ALL OK"
WScript.Quit 0
