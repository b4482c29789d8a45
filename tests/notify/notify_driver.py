#!/usr/bin/python3
"""Starts local SMTP and HTTP peers on 127.0.0.1, runs the Wine test of the notification ports
against them, then checks what the SMTP server received.

- smtp: aiosmtpd, keeps every message;
- smtp refusing: aiosmtpd that refuses every recipient after the first with 550;
- smtp silent: accepts and never sends a greeting (the client's step time-out ends it);
- closed: a port with nobody listening;
- http: pages with and without a title; http silent: accepts and never answers.
"""
import email
import email.policy
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from peers import (PageHandler, Recorder, Silent, check, free_port, program_env,  # noqa: E402
                   run_program, start_http, start_smtp, stop_http)

HTML_BODY = ("<body text=#000000 leftmargin=10><table width=100% border=0>" +
             "<tr><td bgcolor=#BBC47A width='75%'>&nbsp; </td></tr>" * 60 +
             "<p>caf\xe9</p></body>").encode("latin-1")

PAGES = {
    "/titled": b"<html><head><TITLE>Vigil Emailer</TITLE></head><body>sent</body></html>",
    "/untitled": b"<html><body>Vigil Emailer, but not as a title</body></html>",
    "/spaced": b"<html><head><title lang=en>\r\n  Vigil   Emailer \r\n</title></head></html>",
}


class Pages(PageHandler):
    def do_GET(self):
        body = PAGES.get(self.path)
        self.send_page(200 if body is not None else 404,
                       body if body is not None else b"not found")


def check_lines(raw, failures):
    for line in raw.split(b"\r\n"):
        check(len(line) <= 998, "a line of at most 998 characters", failures)
        check(b"\n" not in line and b"\r" not in line, "CR LF line ends only", failures)


def check_received(accepting, refusing, failures):
    plain = [m for m in accepting.messages if b"plain.example" in m["raw"]]
    html = [m for m in accepting.messages if b"html.example" in m["raw"]]
    check(len(plain) == 1, "one plain message arrived", failures)
    check(len(html) == 1, "one HTML message arrived", failures)
    check(not refusing.messages, "the refusing server got no message", failures)
    if plain:
        m = plain[0]
        check_lines(m["raw"], failures)
        check(m["mail_from"] == "alerts@vigil.example", "the plain sender", failures)
        check(m["rcpt_tos"] == ["ops@example.com", "web@example.com"], "both recipients",
              failures)
        msg = email.message_from_bytes(m["raw"], policy=email.policy.default)
        check(msg["Subject"] ==
              "Error : http://plain.example Bcc: victim@example.com has reported an error",
              "the plain subject, its line break made a space: %r" % msg["Subject"], failures)
        check(msg["Bcc"] is None, "no header injected through the subject", failures)
        check(msg.get_content_type() == "text/plain", "text/plain", failures)
        check(msg["Date"] is not None and msg["Message-ID"] is not None,
              "Date and Message-ID", failures)
        check(msg["To"] == "ops@example.com, web@example.com", "the To header: %r" % msg["To"],
              failures)
        body = msg.get_payload(decode=True)
        check(body == b"Vigil web site monitoring report\r\n.a line with a dot\r\n"
                      b"Uptime : 75% (3) - DownTime: 25% (1)\r\n",
              "the plain body: %r" % body, failures)
    if html:
        m = html[0]
        check_lines(m["raw"], failures)
        check(m["rcpt_tos"] == ["ops@example.com"], "the HTML recipient", failures)
        msg = email.message_from_bytes(m["raw"], policy=email.policy.default)
        check(msg["Subject"] == "http://html.example is now online", "the HTML subject",
              failures)
        check(msg.get_content_type() == "text/html", "text/html", failures)
        check(msg["Content-Transfer-Encoding"] == "quoted-printable", "quoted-printable",
              failures)
        body = msg.get_payload(decode=True)
        check(body == HTML_BODY + b"\r\n", "the HTML body decodes to the HTML", failures)


def main():
    exe = sys.argv[1]
    accepting = Recorder()
    refusing = Recorder(refuses=lambda envelope, address: bool(envelope.rcpt_tos))
    controllers = [start_smtp(accepting), start_smtp(refusing)]
    smtp_silent, http_silent = Silent(), Silent()
    pages = start_http(Pages)

    env = program_env({
        "VIGIL_SMTP_PORT": str(controllers[0].port),
        "VIGIL_SMTP_REFUSING_PORT": str(controllers[1].port),
        "VIGIL_SMTP_SILENT_PORT": str(smtp_silent.port),
        "VIGIL_CLOSED_PORT": str(free_port()),
        "VIGIL_HTTP_PORT": str(pages.server_address[1]),
        "VIGIL_HTTP_SILENT_PORT": str(http_silent.port),
    })
    failures = []
    try:
        status = run_program(exe, env, timeout=240)
        if status is None:
            check(False, "the Wine test ended in time", failures)
        else:
            check(status == 0, "the Wine test passed", failures)
    finally:
        for c in controllers:
            c.stop()
        smtp_silent.stop()
        http_silent.stop()
        stop_http(pages)
    check_received(accepting, refusing, failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
