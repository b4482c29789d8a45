// A script client of the installed libraries: creates both objects by their ProgIDs.
try {
    var ringer = new ActiveXObject("Ringer.DialUpNetworking");
    var http = new ActiveXObject("Orvane.OvHttpClient.1");
    WScript.Echo("created Ringer RaiseErrors=" + ringer.RaiseErrors + " OvHttpClient TimeOut=" +
                 http.TimeOut);
} catch (e) {
    WScript.Echo("failed: " + e.message);
    WScript.Quit(1);
}
