#!/usr/bin/python3
"""Starts an SMTP server (aiosmtpd), a stand-in for the vendor's e-mail web service and a peer
that never answers, all on 127.0.0.1; runs the Wine test of the failure and recovery e-mails
against them; then checks what the SMTP server and the web service received.

The web service answers a request whose email starts with "good" with a page titled
"Vigil Emailer" and any other with a page of another title.
"""
import email
import email.policy
import os
import re
import sys
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from peers import (PageHandler, Recorder, Silent, check, program_env, run_program,  # noqa: E402
                   start_http, start_smtp, stop_http)

FOOTER = ("The text contained within this email is confidential. If you are not the named "
          "recepient it could be unlawful for you to read, copy,distribute, disclose or use "
          "the information contained herewith.")


class Service(PageHandler):
    requests = []

    def do_GET(self):
        Service.requests.append(self.path)
        query = urllib.parse.urlsplit(self.path).query
        address = urllib.parse.parse_qs(query).get("email", [""])[0]
        title = "Vigil Emailer" if address.startswith("good") else "Server Too Busy"
        body = ("<html><head><title>%s</title></head><body>ok</body></html>" % title).encode()
        self.send_page(200, body)


def parsed(message):
    return email.message_from_bytes(message["raw"], policy=email.policy.default)


def check_failure_mails(messages, failures):
    mails = [m for m in messages if b"down.example" in m["raw"]]
    check(sorted(r for m in mails for r in m["rcpt_tos"]) ==
          ["boss@example.com", "ops@example.com", "web@example.com"],
          "one failure message for each of the three recipients", failures)
    for m in mails:
        check(len(m["rcpt_tos"]) == 1, "one recipient a message", failures)
        check(m["mail_from"] == "vigil@vigil.example", "the sender", failures)
        msg = parsed(m)
        subject = str(msg["Subject"])
        check(subject == "Error : http://down.example/  Bcc: victim@example.com has reported "
              "an error", "the failure subject, its line break made spaces: %r" % subject,
              failures)
        check(msg["Bcc"] is None, "no header injected through the subject", failures)
        check(msg.get_content_type() == "text/plain", "text/plain", failures)
        check(msg["To"] == m["rcpt_tos"][0], "the To header: %r" % msg["To"], failures)
        body = msg.get_payload(decode=True).decode("latin-1")
        pattern = (r"Vigil web site monitoring report - [^\r\n]+\r\n"
                   r"An error has been reported on http://down\.example/\r\n"
                   r"Bcc: victim@example\.com\r\n\r\n"
                   r"The error returned was: \r\n404 not found\r\n\r\n"
                   r"Uptime : 75% \(3\) - DownTime: 25% \(1\)\r\n\r\n\r\n" + re.escape(FOOTER))
        check(re.fullmatch(pattern, body.rstrip("\r\n")) is not None,
              "the failure body: %r" % body, failures)


def check_recovery_mails(messages, failures):
    mails = [m for m in messages if b"up.example" in m["raw"]]
    check(sorted(r for m in mails for r in m["rcpt_tos"]) ==
          ["ops@example.com", "web@example.com"], "one recovery message for each recipient",
          failures)
    for m in mails:
        msg = parsed(m)
        check(str(msg["Subject"]) == "http://up.example/?q=<script>alert(1)</script> is now online",
              "the HTML recovery subject: %r" % msg["Subject"], failures)
        check(msg.get_content_type() == "text/html", "text/html", failures)
        html = msg.get_content()
        check("<script>" not in html, "no markup of the address in the page", failures)
        check("<b>Web Site : http://up.example/?q=&lt;script&gt;alert(1)&lt;/script&gt;</b>" in html,
              "the address as text in the page", failures)
        check("Web-Site Activation Notification" in html, "the activation title", failures)
        check("This web-site has been successfully verified and is back online<br><br>" in html,
              "the recovery text", failures)
        check("Activity History" not in html, "no uptime report", failures)
        check(html.rstrip("\r\n").endswith(FOOTER), "the footer", failures)


def check_refused_mails(messages, failures):
    mails = [m for m in messages if b"refused.example/" in m["raw"]]
    check(sorted(r for m in mails for r in m["rcpt_tos"]) ==
          ["ops@example.com", "web@example.com"],
          "the refused third recipient got nothing, the others their message", failures)


def check_service(requests, failures):
    expected = ["/verify.asp?site=http%3A%2F%2Fservice%2Eexample%2Fa+b&email=good%40example%2Ecom",
                "/verify.asp?site=http%3A%2F%2Fservice%2Eexample%2Fa+b&email=busy%40example%2Ecom"]
    check(requests == expected, "the web-service requests: %r" % requests, failures)


def main():
    exe = sys.argv[1]
    recorder = Recorder(refuses=lambda envelope, address: address.endswith("@refused.example"))
    smtp = start_smtp(recorder)
    service = start_http(Service)
    silent = Silent()

    env = program_env({"VIGIL_SMTP_PORT": str(smtp.port),
                       "VIGIL_SERVICE_PORT": str(service.server_address[1]),
                       "VIGIL_SILENT_PORT": str(silent.port)})
    try:
        status = run_program(exe, env, timeout=240)
        status = 1 if status is None else status
    finally:
        smtp.stop()
        stop_http(service)
        silent.stop()

    failures = []
    check_failure_mails(recorder.messages, failures)
    check_recovery_mails(recorder.messages, failures)
    check_refused_mails(recorder.messages, failures)
    check_service(Service.requests, failures)
    check(len(recorder.messages) == 7, "seven messages in all, not %d" % len(recorder.messages),
          failures)
    return status or (1 if failures else 0)


if __name__ == "__main__":
    sys.exit(main())
