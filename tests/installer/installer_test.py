"""VigilSetup.exe in a fresh 32-bit-view prefix of its own.

Round 1: a silent install, then what it left: the files (the same bytes as the build's), the
Start-menu entries, Path and the uninstall entry in the 32-bit registry view only, both
libraries registered at their installed paths and created by a JScript client of the 32-bit
cscript; Vigil started from its Start-menu entry runs with the installed folder as its current
folder. With that Vigil running, a silent uninstall closes it and leaves nothing but the
settings: HKLM\\Software holds exactly the keys it held before, plus "Vigil Settings".
Round 2: install into another folder (/D=), start Vigil and install over it without /D= (which
closes it and goes to the same folder), add reports and frequency data, uninstall with
/REMOVESETTINGS: then the settings and the data go too.

usage: installer_test.py PREFIX WINDOW_PROBE VIGILSETUP VIGIL_DIR
"""
import filecmp
import os
import shutil
import subprocess
import sys
import time

PREFIX, PROBE, SETUP, VIGIL_DIR = (os.path.abspath(a) for a in sys.argv[1:5])
BUILD = os.environ["VIGIL_BINARY_DIR"]
WINE_RUN = os.environ["VIGIL_WINE_RUN"]
HERE = os.path.dirname(os.path.abspath(__file__))

CAPTION = "Vigil - Tessaly Ltd"
DEFAULT_DIR = "C:\\Program Files (x86)\\Vigil"
OTHER_DIR = "C:\\VigilElsewhere"  # chosen with /D=, which takes no quotes: no blanks
INSTDIR = DEFAULT_DIR  # the folder of the current round


def unix_path(windows):
    return os.path.join(PREFIX, "drive_c", *windows[3:].split("\\"))


START_MENU_WIN = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Vigil"
START_MENU_UNIX = os.path.join(PREFIX, "drive_c", "ProgramData", "Microsoft", "Windows",
                               "Start Menu", "Programs", "Vigil")
LOCALE_KEY = "HKLM\\Software\\Vigil Locale"
SETTINGS_KEY = "HKLM\\Software\\Vigil Settings"
RUN_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vigil"
LIBRARIES = {  # file: (ProgID, class identifier)
    "Ringer.dll": ("Ringer.DialUpNetworking", "{3EF16CF6-561F-4D81-8890-811FF9D982E5}"),
    "OvHttpClient.dll": ("Orvane.OvHttpClient.1", "{12CB8C47-6A6B-11D0-A74C-444553540000}"),
}
BUILT = {
    "Vigil.exe": os.path.join(VIGIL_DIR, "Vigil.exe"),
    "Ringer.dll": os.path.join(BUILD, "ringer", "Ringer.dll"),
    "OvHttpClient.dll": os.path.join(BUILD, "ovhttpclient", "OvHttpClient.dll"),
    "about.txt": os.path.join(VIGIL_DIR, "about.txt"),
}
# The default sounds are installed when the build has made them.
for sound in ("alarm.wav", "warning.wav"):
    if os.path.exists(os.path.join(VIGIL_DIR, sound)):
        BUILT[sound] = os.path.join(VIGIL_DIR, sound)

failures = []


def check(what, ok, detail=""):
    print(("ok   " if ok else "FAIL ") + what + ("" if ok or not detail else ": " + str(detail)))
    if not ok:
        failures.append(what)
    return ok


def wine(*args, timeout=120):
    r = subprocess.run([WINE_RUN] + list(args), timeout=timeout, capture_output=True,
                       text=True, errors="replace")
    return r.returncode, (r.stdout + r.stderr).replace("\r", "")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def reg_values(key, view="32"):
    """The values of a key in a registry view, {name lower-cased: data}; None when absent."""
    rc, out = wine("reg", "query", key, "/reg:" + view)
    if rc != 0:
        return None
    values = {}
    for line in out.splitlines():
        if line.startswith("    ") and "REG_" in line:
            parts = line.strip().split("    ")
            values[parts[0].lower()] = parts[2] if len(parts) > 2 else ""
    return values


def reg_subkeys(key, view="32"):
    rc, out = wine("reg", "query", key, "/reg:" + view)
    head = "HKEY_LOCAL_MACHINE\\" + key.split("\\", 1)[1] + "\\"
    return {line[len(head):].lower() for line in out.splitlines()
            if line.lower().startswith(head.lower())} if rc == 0 else None


def wait_until(condition, seconds):
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > end:
            return False
        time.sleep(0.25)
    return True


def same_folder(a, b):
    return a.rstrip("\\").lower() == b.rstrip("\\").lower()


def fresh_prefix():
    env = dict(os.environ, WINEPREFIX=PREFIX)
    if os.path.isdir(PREFIX):
        subprocess.run(["wineserver", "-k"], env=env, capture_output=True, timeout=60)
        subprocess.run(["wineserver", "-w"], env=env, capture_output=True, timeout=60)
        shutil.rmtree(PREFIX)
    os.environ["VIGIL_WINE_PREFIX"] = PREFIX
    os.environ["VIGIL_WINE_BITS"] = "32"


def install(*options):
    rc, out = wine(SETUP, "/S", *options)
    return check("VigilSetup.exe /S %s succeeds" % " ".join(options), rc == 0, out or rc)


def uninstall(*options):
    # The uninstaller runs a copy of itself from the temporary folder and returns at once;
    # its last step removes the installation folder.
    rc, out = wine(INSTDIR + "\\Uninstall.exe", "/S", *options)
    check("Uninstall.exe /S %s starts" % " ".join(options), rc == 0, out or rc)
    return check("the uninstaller removes the installation folder",
                 wait_until(lambda: not os.path.exists(unix_path(INSTDIR)), 45),
                 os.listdir(unix_path(INSTDIR)) if os.path.isdir(unix_path(INSTDIR)) else "")


def check_installed():
    for name, built in BUILT.items():
        installed = os.path.join(unix_path(INSTDIR), name)
        check("installed " + name, os.path.isfile(installed) and
              filecmp.cmp(built, installed, shallow=False), installed)
    check("installed Uninstall.exe",
          os.path.isfile(os.path.join(unix_path(INSTDIR), "Uninstall.exe")))
    for link in ("Vigil.lnk", "Uninstall Vigil.lnk"):
        check("Start-menu entry " + link, os.path.isfile(os.path.join(START_MENU_UNIX, link)))

    locale = reg_values(LOCALE_KEY)
    check("Path is the folder with one trailing backslash",
          locale is not None and locale.get("path") == INSTDIR + "\\", locale)
    check("Path is in the 32-bit view only", reg_values(LOCALE_KEY, "64") is None)
    entry = reg_values(UNINSTALL_KEY) or {}
    check("uninstall entry", entry.get("displayname") == "Vigil" and
          entry.get("quietuninstallstring") == '"%s\\Uninstall.exe" /S' % INSTDIR, entry)
    for name, (progid, clsid) in LIBRARIES.items():
        server = reg_values("HKCR\\CLSID\\%s\\InprocServer32" % clsid) or {}
        check(name + " registered at its installed path",
              (server.get("(default)") or "").lower() == (INSTDIR + "\\" + name).lower(), server)
        check(progid + " names its class",
              ((reg_values("HKCR\\%s\\CLSID" % progid) or {}).get("(default)") or "").upper()
              == clsid)
    rc, out = wine("cscript", "//nologo", windows_path(os.path.join(HERE, "create_objects.js")))
    check("a script client creates both objects", rc == 0 and "created" in out, out)


def check_uninstalled():
    check("Start-menu entries removed", not os.path.exists(START_MENU_UNIX))
    check("Path and its key removed", reg_values(LOCALE_KEY) is None)
    check("Run value removed", "vigil" not in (reg_values(RUN_KEY) or {}))
    check("uninstall entry removed", reg_values(UNINSTALL_KEY) is None)
    for name, (progid, clsid) in LIBRARIES.items():
        check(name + " unregistered", reg_values("HKCR\\CLSID\\" + clsid) is None and
              reg_values("HKCR\\" + progid) is None)
    rc, out = wine("cscript", "//nologo", windows_path(os.path.join(HERE, "create_objects.js")))
    check("the objects can no longer be created", "created" not in out, out)


def main():
    global INSTDIR
    fresh_prefix()
    software_before = reg_subkeys("HKLM\\Software")
    check("the fresh prefix has no Vigil keys", software_before is not None and
          not {"vigil locale", "vigil settings"} & software_before, software_before)

    # ---- Round 1: install, start Vigil, uninstall it while it runs, keeping the settings.
    if not install():
        return
    check_installed()

    # What a user's Vigil leaves: its settings and the log-on entry (as AddRunEntry writes it).
    # Written before Vigil starts, so that its own save on quit writes the same setting back.
    wine("reg", "add", SETTINGS_KEY, "/v", "WarnNoConnection", "/d", "1", "/f", "/reg:32")
    wine("reg", "add", RUN_KEY, "/v", "Vigil", "/d", INSTDIR + "\\Vigil.EXE", "/f", "/reg:32")

    rc, out = wine("start", START_MENU_WIN + "\\Vigil.lnk")
    check("Vigil starts from its Start-menu entry", rc == 0, out)
    rc, out = wine(PROBE, "folder", CAPTION, "30000", timeout=60)
    check("Vigil runs with the installed folder as its current folder",
          rc == 0 and same_folder(out.strip(), INSTDIR), out)

    if uninstall():
        rc, out = wine(PROBE, "gone", CAPTION, "5000")
        check("the uninstaller closed the running Vigil", rc == 0, out)
        check_uninstalled()
        settings = reg_values(SETTINGS_KEY) or {}
        check("the settings are kept", settings.get("warnnoconnection") == "1", settings)
        software_after = reg_subkeys("HKLM\\Software")
        check("nothing but the settings is left in HKLM\\Software",
              software_after == software_before | {"vigil settings"},
              software_after ^ (software_before | {"vigil settings"}) if software_after else None)

    # ---- Round 2: into a folder of the user's choice; installing again goes there and closes
    # the running Vigil first; uninstalling with /REMOVESETTINGS also removes the settings and
    # the data.
    INSTDIR = OTHER_DIR
    if not install("/D=" + OTHER_DIR):
        return
    check_installed()
    wine("start", START_MENU_WIN + "\\Vigil.lnk")
    rc, out = wine(PROBE, "folder", CAPTION, "30000", timeout=60)
    check("Vigil runs in the chosen folder", rc == 0 and same_folder(out.strip(), INSTDIR), out)
    if not install():
        return
    rc, out = wine(PROBE, "gone", CAPTION, "5000")
    check("installing over a running Vigil closed it", rc == 0, out)
    check("installing again goes to the folder of the last install",
          os.path.isfile(os.path.join(unix_path(INSTDIR), "Vigil.exe")) and
          not os.path.exists(unix_path(DEFAULT_DIR)))
    os.makedirs(os.path.join(unix_path(INSTDIR), "reports"))
    for data in ("reports/report-1-2-2026.log", "reports/report- 1-2-2026.log", "FreqA.log",
                 "FreqB.log", "FreqC.log", "Frequency.htm"):
        with open(os.path.join(unix_path(INSTDIR), data), "w") as f:
            f.write("data\r\n")
    if uninstall("/REMOVESETTINGS"):
        check_uninstalled()
        check("/REMOVESETTINGS removes the settings", reg_values(SETTINGS_KEY) is None)
        check("nothing is left in HKLM\\Software",
              reg_subkeys("HKLM\\Software") == software_before)


if __name__ == "__main__":
    try:
        main()
    finally:
        # Leave no program of this prefix running.
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=PREFIX),
                       capture_output=True, timeout=60)
    print("%d failure(s)" % len(failures))
    sys.exit(1 if failures else 0)
