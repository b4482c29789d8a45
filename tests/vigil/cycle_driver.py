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
import os
import sys
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from peers import (PageHandler, Recorder, check, free_port, program_env,  # noqa: E402
                   run_program, start_http, start_smtp, stop_http)

OK_PAGE = b"<html><head><title>Fine</title></head><body>All is well here.</body></html>"
# The classification matches these patterns against the whole (lower-cased) page.
MISSING_PAGE = b"404 Not Found"
BROKEN_PAGE = b"500 Internal Server Error"


class Pages(PageHandler):
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
        self.send_page(status, body, [("Cache-Control", "no-cache")])


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
    smtp = start_smtp(recorder)
    pages = start_http(Pages)
    http_port = pages.server_address[1]

    env = program_env({"VIGIL_SMTP_PORT": str(smtp.port), "VIGIL_HTTP_PORT": str(http_port),
                       "VIGIL_CLOSED_PORT": str(free_port())})
    # "Status Report" opens the page through the shell: no browser in the test. The dial-up
    # test's rasapi32.dll is loaded only as a native library from the program's folder; Wine
    # takes the override from the environment it starts with, not from a parent's later change.
    overrides = "winebrowser.exe=d;iexplore.exe=d;rasapi32=n"
    env["WINEDLLOVERRIDES"] = overrides + (";" + env["WINEDLLOVERRIDES"]
                                           if env.get("WINEDLLOVERRIDES") else "")
    try:
        status = run_program(exe, env, timeout=900, args=sys.argv[2:])
        status = 1 if status is None else status
    finally:
        smtp.stop()
        stop_http(pages)

    failures = []
    if not os.environ.get("GTEST_FILTER") and not any("--gtest_filter" in a for a in sys.argv[2:]):
        check_mails(recorder.messages, "http://127.0.0.1:%d/flaky" % http_port, failures)
    print("%d e-mails received" % len(recorder.messages))
    return 1 if status != 0 or failures else 0


if __name__ == "__main__":
    sys.exit(main())
