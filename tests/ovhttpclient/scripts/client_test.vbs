' A VBScript client of OvHttpClient: created by its ProgID, a GET and a POST against the test
' server whose port is the first argument. Exits 0 when every check holds.
Option Explicit
Dim base, failures, c
failures = 0
base = "http://127.0.0.1:" & WScript.Arguments(0)

Sub Check(what, actual, expected)
    If actual <> expected Then
        WScript.Echo "FAIL " & what & ": got [" & actual & "] expected [" & expected & "]"
        failures = failures + 1
    End If
End Sub

Sub CheckNoError(what)
    If Err.Number <> 0 Then
        WScript.Echo "FAIL " & what & ": error " & Hex(Err.Number) & " " & Err.Description
        failures = failures + 1
        Err.Clear
    End If
End Sub

On Error Resume Next
Set c = CreateObject("Orvane.OvHttpClient")
If Err.Number <> 0 Then
    WScript.Echo "FAIL create: " & Hex(Err.Number) & " " & Err.Description
    WScript.Quit 1
End If

Check "About", c.About, "Orvane HttpClient Library" & vbCrLf & "Version 1.0 - Build 34"
Check "TimeOut", c.TimeOut, 30
Check "ProxyPort", c.ProxyPort, 80
CheckNoError "defaults"

c.RequestURL = base & "/text"
c.Execute "GET"
CheckNoError "GET"
Check "GET status", c.ResponseStatus, "HTTP/1.0 200 OK"
Check "GET headers", c.ResponseHeaders, "Content-Type: text/plain" & vbCrLf & "X-Test-Server: 1" & vbCrLf
Check "GET body", c.ResponseBody(False), "Hello from the test server"
CheckNoError "GET response"

c.RequestURL = base & "/echo/vbs"
c.RequestHeaders = "Content-Length: 9" & vbCrLf
c.RequestBody = "name=vbs!"
c.Execute "POST"
CheckNoError "POST"
Check "POST status", c.ResponseStatus, "HTTP/1.0 200 OK"
Check "POST body", c.ResponseBody(False), "POST /echo/vbs HTTP/1.0" & vbCrLf & "Content-Length: 9" & vbCrLf & vbCrLf & "name=vbs!"
CheckNoError "POST response"

c.RequestBody = 5
Check "error number", Hex(Err.Number), "80029C41"
Check "error description", Err.Description, "Invalid parameter type"
Err.Clear

c.RequestURL = "ftp://127.0.0.1/"
c.Execute "GET"
Check "other scheme", c.ResponseStatus, "HTTP/LIB 461 Bad Request URL"
CheckNoError "other scheme"

If failures = 0 Then
    WScript.Echo "OK"
    WScript.Quit 0
End If
WScript.Echo failures & " failed"
WScript.Quit 1
