"""Real clients of the registered DLL: regsvr32 registers it into the test prefix (every
registry entry checked), JScript and VBScript run by cscript use it by its ProgID against the
test server, and regsvr32 /u removes it again, twice."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import test_server  # noqa: E402

CLSID = "{12CB8C47-6A6B-11D0-A74C-444553540000}"
LIBID = "{12CB8C40-6A6B-11D0-A74C-444553540000}"
IID = "{12CB8C43-6A6B-11D0-A74C-444553540000}"
WINE_RUN = os.environ["VIGIL_WINE_RUN"]
BITS = os.environ.get("VIGIL_WINE_BITS", "64")
HERE = os.path.dirname(os.path.abspath(__file__))
failures = []


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


DLL = windows_path(os.path.join(os.environ["VIGIL_BINARY_DIR"], "ovhttpclient", "OvHttpClient.dll"))


def wine(*args, timeout=120):
    env = dict(os.environ)
    for k in ("http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "no_proxy", "NO_PROXY"):
        env.pop(k, None)
    r = subprocess.run([WINE_RUN] + list(args), env=env, timeout=timeout, capture_output=True,
                       text=True, errors="replace")
    return r.returncode, r.stdout + r.stderr


def check(what, ok, detail=""):
    print(("ok   " if ok else "FAIL ") + what + ("" if ok else ": " + detail))
    if not ok:
        failures.append(what)


def query(key, view=None):
    """Values of a key and its subkeys: {(subkey path, value name): data}; None when absent.
    The runner starts the reg of the bitness under test, so by default it reads the registry the
    way a client of that bitness sees it; view "32" or "64" reads that view instead."""
    rc, out = wine("reg", "query", "HKCR\\" + key, "/s", *(["/reg:" + view] if view else []))
    if rc != 0:
        return None
    values, current = {}, None
    prefix = "HKEY_CLASSES_ROOT\\"
    for line in out.splitlines():
        line = line.rstrip("\r")
        if line.startswith(prefix):
            current = line[len(prefix):]
        elif line.startswith("    ") and current is not None:
            parts = line.strip().split("    ")
            name = parts[0]
            kind = parts[1].strip() if len(parts) > 1 else ""
            data = parts[2] if len(parts) > 2 else ""
            values[(current.lower(), name)] = (kind, data)
    return values


def check_registered():
    expected = [
        ("CLSID\\" + CLSID, "(Default)", "Orvane HttpClient Library"),
        ("CLSID\\" + CLSID + "\\InprocServer32", "(Default)", DLL),
        ("CLSID\\" + CLSID + "\\InprocServer32", "ThreadingModel", "Apartment"),
        ("CLSID\\" + CLSID + "\\ProgID", "(Default)", "Orvane.OvHttpClient.1"),
        ("CLSID\\" + CLSID + "\\Programmable", "(Default)", ""),
        ("CLSID\\" + CLSID + "\\TypeLib", "(Default)", LIBID),
        ("CLSID\\" + CLSID + "\\Version", "(Default)", "1.0"),
        ("CLSID\\" + CLSID + "\\VersionIndependentProgID", "(Default)", "Orvane.OvHttpClient"),
        ("Orvane.OvHttpClient", "(Default)", "Orvane HttpClient Library"),
        ("Orvane.OvHttpClient\\CLSID", "(Default)", CLSID),
        ("Orvane.OvHttpClient\\CurVer", "(Default)", "Orvane.OvHttpClient.1"),
        ("Orvane.OvHttpClient.1", "(Default)", "Orvane HttpClient Library"),
        ("Orvane.OvHttpClient.1\\CLSID", "(Default)", CLSID),
    ]
    trees = {root: query(root) or {} for root in
             ("CLSID\\" + CLSID, "Orvane.OvHttpClient", "Orvane.OvHttpClient.1")}
    for key, name, data in expected:
        root = next(r for r in sorted(trees, key=len, reverse=True)
                    if key.lower() == r.lower() or key.lower().startswith(r.lower() + "\\"))
        got = trees[root].get((key.lower(), name))
        check("registry %s [%s]" % (key, name), got == ("REG_SZ", data),
              "got %r, expected REG_SZ %r" % (got, data))
    typelib = query("TypeLib\\" + LIBID) or {}
    win = "win32" if BITS == "32" else "win64"
    got = typelib.get((("typelib\\%s\\1.0\\0\\%s" % (LIBID, win)).lower(), "(Default)"))
    check("type library registered for %s" % win, got == ("REG_SZ", DLL), "got %r" % (got,))
    check("interface registered", query("Interface\\" + IID) is not None)
    # A library registers its class for clients of its own bitness only: the other view of
    # CLSID must not hold it (it would name a DLL those clients cannot load).
    other = "64" if BITS == "32" else "32"
    check("class absent from the %s-bit view" % other,
          query("CLSID\\" + CLSID, view=other) is None)


def check_unregistered():
    for key in ("CLSID\\" + CLSID, "Orvane.OvHttpClient", "Orvane.OvHttpClient.1",
                "TypeLib\\" + LIBID, "Interface\\" + IID):
        check("removed: " + key, query(key) is None)


def run_script(name, port):
    rc, out = wine("cscript", "//nologo", windows_path(os.path.join(HERE, "scripts", name)),
                   str(port))
    print(out.strip())
    check("script " + name, rc == 0 and "OK" in out, "exit %d" % rc)


def main():
    server = test_server.TestServer()
    try:
        rc, out = wine("regsvr32", "/s", DLL)
        check("regsvr32", rc == 0, "exit %d %s" % (rc, out))
        check_registered()
        run_script("client_test.js", server.port)
        run_script("client_test.vbs", server.port)
        for n in (1, 2):
            rc, out = wine("regsvr32", "/s", "/u", DLL)
            check("regsvr32 /u (%d)" % n, rc == 0, "exit %d %s" % (rc, out))
        check_unregistered()
    finally:
        server.stop()
    print("%d failed" % len(failures) if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
