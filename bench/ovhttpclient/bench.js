// Times OvHttpClient and WinHttp.WinHttpRequest.5.1 on the same nginx: N GETs of /1k.txt and
// one GET of /64m.txt. Arguments: port, N.
var port = WScript.Arguments(0);
var count = parseInt(WScript.Arguments(1), 10);
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

function measure(name, get, client) {
    for (var i = 0; i < 20; i++) // warm up
        get(client, "/1k.txt");
    var start = now();
    for (var i = 0; i < count; i++)
        get(client, "/1k.txt");
    var small = (now() - start) / count;
    start = now();
    get(client, "/64m.txt");
    var big = now() - start;
    return { name: name, small: small, big: big };
}

function pad(text, width) {
    text = String(text);
    while (text.length < width)
        text += " ";
    return text;
}

try {
    var ov = new ActiveXObject("Orvane.OvHttpClient");
    ov.TimeOut = 120;
    var a = measure("OvHttpClient", ovGet, ov);
    var ovBody = ov.ResponseBody(false);
    if (ovBody.length != 64 * 1024 * 1024)
        throw new Error("OvHttpClient 64 MiB body has " + ovBody.length + " bytes");
    ovBody = null;

    var w = new ActiveXObject("WinHttp.WinHttpRequest.5.1");
    w.SetTimeouts(0, 60000, 60000, 120000);
    var b = measure("WinHttpRequest", winHttpGet, w);

    WScript.Echo(pad("client", 16) + pad("1 KiB GET (ms each)", 22) + "64 MiB GET (ms)");
    WScript.Echo(pad(a.name, 16) + pad(a.small.toFixed(3), 22) + a.big);
    WScript.Echo(pad(b.name, 16) + pad(b.small.toFixed(3), 22) + b.big);
    WScript.Echo("OvHttpClient / WinHttpRequest: 1 KiB " + (a.small / b.small).toFixed(2) +
                 "x, 64 MiB " + (a.big / b.big).toFixed(2) + "x");
    WScript.Quit(0);
} catch (e) {
    WScript.Echo("bench failed: " + e.message + " " + (e.number || "") + " " + (e.description || ""));
    WScript.Quit(1);
}
