// A JScript client of the dial-up control: lists the entries through the collection and its
// enumerator, and sees a raised error as the HRESULT 0x800A0000 | number. Prints "ALL OK" and
// exits 0 only when every check passed.
function fail(code, text) {
    WScript.Echo("FAILED: " + text);
    WScript.Quit(code);
}

var dun = new ActiveXObject("Ringer.DialUpNetworking");
if (!dun.Available) fail(2, "not available");
var names = dun.Connections;
if (names.Count != 2) fail(3, "Connections.Count " + names.Count);
if (names.Item(1) != "Office") fail(4, "Connections.Item(1) " + names.Item(1));
var list = "";
for (var e = new Enumerator(names); !e.atEnd(); e.moveNext()) list += e.item() + ";";
if (list != "Office;Home ISP;") fail(5, "Enumerator gave " + list);
if (!dun.Active("Home ISP")) fail(6, "Home ISP is not active");
if (dun.Active("Office")) fail(7, "Office is active");

dun.RaiseErrors = true;
var caught = null;
try {
    dun.Disconnect("Office");
} catch (err) {
    caught = err;
}
if (!caught) fail(8, "no error for hanging up an idle entry");
if ((caught.number >>> 0) != 0x800A0404) fail(9, "number " + (caught.number >>> 0).toString(16));
if (caught.description != "The specified connection is already inactive.")
    fail(10, "description " + caught.description);

WScript.Echo("ALL OK");
WScript.Quit(0);
