// A JScript client of OvHttpClient: created by its ProgID, a GET and a POST against the test
// server whose port is the first argument. Exits 0 when every check holds.
var port = WScript.Arguments(0);
var base = "http://127.0.0.1:" + port;
var failures = 0;

function check(what, actual, expected) {
    if (actual !== expected) {
        WScript.Echo("FAIL " + what + ": got [" + actual + "] expected [" + expected + "]");
        failures++;
    }
}

try {
    var c = new ActiveXObject("Orvane.OvHttpClient");
    check("About", c.About, "Orvane HttpClient Library\r\nVersion 1.0 - Build 34");
    check("HttpVersion", c.HttpVersion, "HTTP/1.0");
    check("ProxyPort", c.ProxyPort, 80);
    check("TimeOut", c.TimeOut, 30);
    check("RequestHeaders", c.RequestHeaders, "User-Agent: OvHttpClient/1.0b34\r\n");

    c.RequestURL = base + "/text";
    c.Execute("GET");
    check("GET status", c.ResponseStatus, "HTTP/1.0 200 OK");
    check("GET headers", c.ResponseHeaders, "Content-Type: text/plain\r\nX-Test-Server: 1\r\n");
    check("GET body", c.ResponseBody(false), "Hello from the test server");

    c.RequestURL = base + "/echo/form";
    c.RequestHeaders = "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 11";
    c.RequestBody = "a=1&b=two!!";
    check("RequestBody", c.RequestBody, "a=1&b=two!!");
    c.Execute("POST");
    check("POST status", c.ResponseStatus, "HTTP/1.0 200 OK");
    check("POST headers", c.ResponseHeaders,
          "Content-Type: application/octet-stream\r\nX-Test-Server: 1\r\n");
    check("POST body", c.ResponseBody(false),
          "POST /echo/form HTTP/1.0\r\nContent-Type: application/x-www-form-urlencoded\r\n" +
          "Content-Length: 11\r\n\r\na=1&b=two!!");

    try {
        c.RequestBody = 5;
        check("a number as body is refused", "accepted", "refused");
    } catch (e) {
        check("error number", e.number, 0x80029C41 | 0);
        check("error description", e.description, "Invalid parameter type");
    }

    c.RequestURL = "https://127.0.0.1/";
    c.Execute("GET");
    check("secure scheme", c.ResponseStatus, "HTTP/LIB 461 Bad Request URL");

    c.UserData = "kept";
    check("UserData", c.UserData, "kept");

    var versioned = new ActiveXObject("Orvane.OvHttpClient.1");
    check("versioned ProgID", versioned.HttpVersion, "HTTP/1.0");
} catch (e) {
    WScript.Echo("FAIL exception " + e.number + ": " + e.description);
    failures++;
}
WScript.Echo(failures == 0 ? "OK" : failures + " failed");
WScript.Quit(failures == 0 ? 0 : 1);
