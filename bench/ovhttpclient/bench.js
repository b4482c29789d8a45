// One round of one script client of bench.py: COUNT GETs of /1k.txt (after a warm-up) and one
// GET of /64m.txt. Arguments: ov|winhttp, port, COUNT. Prints "small <ms per 1 KiB GET> big
// <ms of the 64 MiB GET>", the same line as ovhttp_bench_client.exe.
var mode = WScript.Arguments(0);
var port = WScript.Arguments(1);
var count = parseInt(WScript.Arguments(2), 10);
var base = "http://127.0.0.1:" + port;

function now() { return new Date().getTime(); }

function ovGet(c, path) {
    c.RequestURL = base + path;
    c.Execute("GET");
    if (c.ResponseStatus.indexOf(" 200 ") < 0)
        throw new Error("OvHttpClient " + path + ": " + c.ResponseStatus);
}

function winHttpGet(w, path) {
    w.Open("GET", base + path, false);
    w.Send();
    if (w.Status != 200)
        throw new Error("WinHttpRequest " + path + ": " + w.Status);
}

try {
    var client, get;
    if (mode == "ov") {
        client = new ActiveXObject("Orvane.OvHttpClient");
        client.TimeOut = 120;
        get = ovGet;
    } else {
        client = new ActiveXObject("WinHttp.WinHttpRequest.5.1");
        client.SetTimeouts(0, 60000, 60000, 120000);
        get = winHttpGet;
    }
    for (var i = 0; i < 20; i++) // warm up
        get(client, "/1k.txt");
    var start = now();
    for (var i = 0; i < count; i++)
        get(client, "/1k.txt");
    var small = (now() - start) / count;
    start = now();
    get(client, "/64m.txt");
    var big = now() - start;
    // Like the C++ clients, the body is checked after the timing.
    var length = mode == "ov" ? client.ResponseBody(false).length : client.ResponseText.length;
    if (length != 64 * 1024 * 1024)
        throw new Error("64 MiB body has " + length + " bytes");
    WScript.Echo("small " + small.toFixed(4) + " big " + big);
    WScript.Quit(0);
} catch (e) {
    WScript.Echo("bench failed: " + e.message + " " + (e.number || "") + " " + (e.description || ""));
    WScript.Quit(1);
}
