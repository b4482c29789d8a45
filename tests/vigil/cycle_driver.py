#!/usr/bin/python3
"""Serves the sites of the end-to-end test of Vigil.exe on 127.0.0.1, runs an SMTP server
(aiosmtpd), runs the Wine test that drives Vigil.exe, then checks the e-mails that arrived.

Pages: /ok and /conn answer a healthy page; /missing a "404 Not Found" page; /broken a
"500 Internal Server Error" page; /conn-once?<key> a healthy page the first time for each key
and a 404 page afterwards; /flaky the state /set?flaky=up or /set?flaky=down chose last.
VIGIL_CLOSED_PORT is a port nothing listens on.
"""
import email
import email.policy
import http.server
import os
import socket
import subprocess
import sys
import threading

from aiosmtpd.controller import Controller

OK_PAGE = b"<html><head><title>Fine</title></head><body>All is well here.</body></html>"
# The classification matches these patterns against the whole (lower-cased) page.
MISSING_PAGE = b"404 Not Found"
BROKEN_PAGE = b"500 Internal Server Error"


class Recorder:
    def __init__(self):
        self.messages = []

    async def handle_DATA(self, server, session, envelope):
        self.messages.append({"rcpt_tos": list(envelope.rcpt_tos),
                              "mail_from": envelope.mail_from,
                              "raw": envelope.original_content})
        return "250 Message accepted for delivery"


class Pages(http.server.BaseHTTPRequestHandler):
    lock = threading.Lock()
    seen = set()
    flaky_up = False

    def do_GET(self):
        path, _, query = self.path.partition("?")
        status, body = 200, OK_PAGE
        if path == "/missing":
            status, body = 404, MISSING_PAGE
        elif path == "/broken":
            status, body = 500, BROKEN_PAGE
        elif path == "/conn-once":
            with Pages.lock:
                if query in Pages.seen:
                    status, body = 404, MISSING_PAGE
                Pages.seen.add(query)
        elif path == "/flaky":
            with Pages.lock:
                if not Pages.flaky_up:
                    status, body = 404, MISSING_PAGE
        elif path == "/set":
            with Pages.lock:
                Pages.flaky_up = query == "flaky=up"
        self.send_response(status)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def check(condition, what, failures):
    if not condition:
        print("FAILED:", what)
        failures.append(what)


def check_mails(messages, site, failures):
    def about(m):
        return site.encode() in m["raw"]

    mails = [email.message_from_bytes(m["raw"], policy=email.policy.default)
             for m in messages if about(m)]
    recipients = [m["rcpt_tos"] for m in messages if about(m)]
    subjects = [str(m["Subject"]) for m in mails]
    failure = "Error : %s has reported an error" % site
    recovery = "%s is back online" % site
    # Two recipients (the global address and the site's own) for each of the two e-mails.
    check(subjects == [failure, failure, recovery, recovery],
          "one failure e-mail, then one recovery e-mail, to each recipient: %r" % subjects,
          failures)
    check(sorted(r for rs in recipients[:2] for r in rs) == ["ops@example.com", "web@example.com"]
          and sorted(r for rs in recipients[2:] for r in rs) ==
          ["ops@example.com", "web@example.com"], "the recipients: %r" % recipients, failures)
    for m in mails:
        check(m.get_content_type() == "text/plain", "plain text", failures)
        check(m["To"] in ("ops@example.com", "web@example.com"), "To: %r" % m["To"], failures)
    if len(mails) >= 3:
        body = mails[0].get_payload(decode=True).decode("latin-1")
        check("An error has been reported on %s" % site in body, "the failure body: %r" % body,
              failures)
        check("404 not found" in body, "the verdict in the failure body", failures)
        body = mails[2].get_payload(decode=True).decode("latin-1")
        check("back online : %s" % site in body, "the recovery body: %r" % body, failures)


def main():
    exe = sys.argv[1]
    recorder = Recorder()
    smtp = Controller(recorder, hostname="127.0.0.1", port=free_port())
    smtp.start()
    pages = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Pages)
    threading.Thread(target=pages.serve_forever, daemon=True).start()
    http_port = pages.server_address[1]

    env = dict(os.environ)
    for name in ("http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "no_proxy",
                 "NO_PROXY", "all_proxy", "ALL_PROXY", "ftp_proxy"):
        env.pop(name, None)
    env.update({"VIGIL_SMTP_PORT": str(smtp.port), "VIGIL_HTTP_PORT": str(http_port),
                "VIGIL_CLOSED_PORT": str(free_port())})
    # "Status Report" opens the page through the shell: no browser in the test. The dial-up
    # test's rasapi32.dll is loaded only as a native library from the program's folder; Wine
    # takes the override from the environment it starts with, not from a parent's later change.
    overrides = "winebrowser.exe=d;iexplore.exe=d;rasapi32=n"
    env["WINEDLLOVERRIDES"] = overrides + (";" + env["WINEDLLOVERRIDES"]
                                           if env.get("WINEDLLOVERRIDES") else "")
    try:
        run = subprocess.run([env["VIGIL_WINE_RUN"], exe] + sys.argv[2:], env=env, timeout=900,
                             stdin=subprocess.DEVNULL)
        status = run.returncode
    except subprocess.TimeoutExpired:
        print("the Wine test did not end in time")
        status = 1
    finally:
        smtp.stop()
        pages.shutdown()
        pages.server_close()

    failures = []
    if not os.environ.get("GTEST_FILTER") and not any("--gtest_filter" in a for a in sys.argv[2:]):
        check_mails(recorder.messages, "http://127.0.0.1:%d/flaky" % http_port, failures)
    print("%d e-mails received" % len(recorder.messages))
    return 1 if status != 0 or failures else 0


if __name__ == "__main__":
    sys.exit(main())
