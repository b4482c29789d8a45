#!/usr/bin/env python3
"""The demo's local web sites and mail server, all on 127.0.0.1, for tools/run.sh.

- the site server: /shop/ (a healthy page), /checkout.asp (an ASP error page, which the
  monitor's classification calls "ASP Application Error"), /online (the connection-test page);
- the flapping site: a port of its own that is up for --first seconds, then closed for --flap
  seconds (connection refused), up as long, and so on;
- an SMTP server that accepts every message, prints it and appends it to --mail-log.

The ports are free ones, preferring those of the last run (--last-ports), so the settings the
run command seeded stay valid. Once everything listens they are written to --ports-file as
shell assignments (SITE_PORT=..., FLAP_PORT=..., SMTP_PORT=...). Ends on SIGTERM/SIGINT, or
when the process --parent has gone.
"""
import argparse
import email
import email.policy
import os
import signal
import socket
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from aiosmtpd.controller import Controller

HEALTHY = b"""<html><head><title>Demo Shop</title></head>
<body><h1>Demo Shop</h1><p>Open for business.</p></body></html>
"""
# What IIS sent for a failing ASP script: the table's "unexpected error" and "active server
# pages" are both in it.
ASP_ERROR = b"""<html><head><title>Checkout</title></head><body>
<font face="Arial" size=2><p>Active Server Pages</font> <font face="Arial" size=2>error 'ASP 0115'</font>
<p><font face="Arial" size=2>Unexpected error</font>
<p><font face="Arial" size=2>/checkout.asp</font>
<p><font face="Arial" size=2>A trappable error occurred in an external object. The script
cannot continue running.</font></body></html>
"""
ONLINE = b"<html><head><title>Online</title></head><body>The network is there.</body></html>\n"
FLAPPING = b"""<html><head><title>Demo Blog</title></head>
<body><h1>Demo Blog</h1><p>Up again, for a while.</p></body></html>
"""


def log(text):
    print("[demo] " + text, flush=True)


class Pages(BaseHTTPRequestHandler):
    pages = {}  # path -> (status, body)
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        status, body = self.pages.get(self.path, (404, b"<html><body>404 Not Found</body></html>"))
        self.send_response(status)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        # One request a connection: a kept-alive connection would outlive the flapping
        # site's closed port.
        self.send_header("Connection", "close")
        self.close_connection = True
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, fmt, *args):
        pass  # the monitor's log tells what was fetched


class SitePages(Pages):
    pages = {
        "/shop/": (200, HEALTHY),
        "/checkout.asp": (500, ASP_ERROR),
        "/online": (200, ONLINE),
    }


class FlapPages(Pages):
    pages = {"/": (200, FLAPPING)}


def free_port(preferred):
    """The preferred port if it can be bound now, else one the system picks."""
    for port in (preferred, 0):
        if port is None:
            continue
        s = socket.socket()
        try:
            s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            s.bind(("127.0.0.1", port))
            return s.getsockname()[1]
        except OSError:
            pass
        finally:
            s.close()
    raise OSError("no free port")


def serve(handler, port):
    server = ThreadingHTTPServer(("127.0.0.1", port), handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class MailPrinter:
    def __init__(self, path):
        self.path = path
        self.count = 0
        self.lock = threading.Lock()

    async def handle_DATA(self, server, session, envelope):
        message = email.message_from_bytes(envelope.content, policy=email.policy.default)
        body = message.get_body(preferencelist=("plain", "html"))
        text = body.get_content() if body is not None else ""
        with self.lock:
            self.count += 1
            log("e-mail %d received: from %s to %s" % (self.count, envelope.mail_from,
                                                       ", ".join(envelope.rcpt_tos)))
            log("  Subject: %s" % message.get("Subject", ""))
            blank = False
            for line in text.strip().splitlines():
                if not line.strip():
                    if blank:
                        continue  # one blank line stands for a run of them
                    blank = True
                else:
                    blank = False
                log("  | " + line.rstrip())
            with open(self.path, "a", encoding="utf-8", newline="\n") as f:
                f.write("=== message %d, %s\n" % (self.count, time.strftime("%Y-%m-%d %H:%M:%S")))
                f.write("MAIL FROM: %s\nRCPT TO: %s\n" % (envelope.mail_from,
                                                          ", ".join(envelope.rcpt_tos)))
                f.write(envelope.content.decode("utf-8", "replace").replace("\r\n", "\n"))
                f.write("\n")
        return "250 Message accepted for delivery"


def read_ports(path):
    ports = {}
    try:
        with open(path, encoding="utf-8") as f:
            for line in f:
                name, _, value = line.strip().partition("=")
                if value.isdigit():
                    ports[name] = int(value)
    except OSError:
        pass
    return ports


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--ports-file", required=True)
    parser.add_argument("--last-ports", help="the ports file of the last run (default: --ports-file)")
    parser.add_argument("--mail-log", required=True)
    parser.add_argument("--flap", type=float, default=120.0,
                        help="seconds the flapping site stays up, then down (default 120)")
    parser.add_argument("--first", type=float, default=90.0,
                        help="seconds before its first fall (default 90: half-way between two"
                             " checks of a one-minute schedule)")
    parser.add_argument("--parent", type=int, default=0,
                        help="end when this process has gone")
    args = parser.parse_args()

    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())

    last = read_ports(args.last_ports or args.ports_file)
    site_port = free_port(last.get("SITE_PORT"))
    site = serve(SitePages, site_port)
    flap_port = free_port(last.get("FLAP_PORT"))
    flap = serve(FlapPages, flap_port)
    smtp_port = free_port(last.get("SMTP_PORT"))
    open(args.mail_log, "w").close()
    controller = Controller(MailPrinter(args.mail_log), hostname="127.0.0.1", port=smtp_port)
    controller.start()

    temporary = args.ports_file + ".new"
    with open(temporary, "w", encoding="utf-8") as f:
        f.write("SITE_PORT=%d\nFLAP_PORT=%d\nSMTP_PORT=%d\n" % (site_port, flap_port, smtp_port))
    os.replace(temporary, args.ports_file)
    log("sites on http://127.0.0.1:%d/ (shop, checkout.asp, online) and http://127.0.0.1:%d/"
        " (up and down every %d s); SMTP on 127.0.0.1:%d" % (site_port, flap_port, args.flap,
                                                             smtp_port))

    next_flip = time.monotonic() + args.first
    while not stop.wait(1.0):
        if args.parent and not os.path.exists("/proc/%d" % args.parent):
            break
        if time.monotonic() < next_flip:
            continue
        next_flip += args.flap
        if flap is not None:
            flap.shutdown()
            flap.server_close()
            flap = None
            log("http://127.0.0.1:%d/ is down now" % flap_port)
        else:
            try:
                flap = serve(FlapPages, flap_port)
                log("http://127.0.0.1:%d/ is up again" % flap_port)
            except OSError as error:
                log("http://127.0.0.1:%d/ could not come back: %s" % (flap_port, error))

    controller.stop()
    site.shutdown()
    if flap is not None:
        flap.shutdown()
    return 0


if __name__ == "__main__":
    sys.exit(main())
