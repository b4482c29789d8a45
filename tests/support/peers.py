"""Pieces the host-side test drivers share: local peers on 127.0.0.1 (an SMTP server keeping
what it receives, an HTTP page server, a peer that never answers), the environment of the
Windows program without proxies, and running that program with a time limit.

A driver imports it by putting this folder on sys.path.
"""
import http.server
import os
import socket
import subprocess
import threading

PROXY_VARIABLES = ("http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "no_proxy",
                   "NO_PROXY", "all_proxy", "ALL_PROXY", "ftp_proxy")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def check(condition, what, failures):
    if not condition:
        print("FAILED:", what)
        failures.append(what)


class Recorder:
    """An aiosmtpd handler that keeps every message; refuses(envelope, address) says which
    recipients get a 550 answer instead."""

    def __init__(self, refuses=None):
        self.refuses = refuses
        self.messages = []

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.refuses is not None and self.refuses(envelope, address):
            return "550 5.1.1 <%s>: no such user" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.messages.append({"rcpt_tos": list(envelope.rcpt_tos),
                              "mail_from": envelope.mail_from,
                              "raw": envelope.original_content})
        return "250 Message accepted for delivery"


def start_smtp(handler):
    """An aiosmtpd server on a free port of 127.0.0.1; its .port, and .stop() to end it."""
    from aiosmtpd.controller import Controller  # only the drivers with an SMTP peer need it

    smtp = Controller(handler, hostname="127.0.0.1", port=free_port())
    smtp.start()
    return smtp


class PageHandler(http.server.BaseHTTPRequestHandler):
    """The base of the drivers' HTTP handlers: answers with a whole HTML page, quietly."""

    def send_page(self, status, body, extra_headers=()):
        self.send_response(status)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        for name, value in extra_headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def start_http(handler_class):
    """A threading HTTP server on a free port of 127.0.0.1, serving until stop_http."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler_class)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def stop_http(server):
    server.shutdown()
    server.server_close()


class Silent:
    """Accepts connections and holds them without a word until stopped."""

    def __init__(self):
        self.sock = socket.socket()
        self.sock.bind(("127.0.0.1", 0))
        self.sock.listen(8)
        self.sock.settimeout(0.5)
        self.port = self.sock.getsockname()[1]
        self.held = []
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _run(self):
        while not self.stopping.is_set():
            try:
                self.held.append(self.sock.accept()[0])
            except socket.timeout:
                pass

    def stop(self):
        self.stopping.set()
        self.thread.join(5)
        for conn in self.held:
            conn.close()
        self.sock.close()


def program_env(ports):
    """This process's environment without proxy settings, with the given VIGIL_* entries."""
    env = dict(os.environ)
    for name in PROXY_VARIABLES:
        env.pop(name, None)
    env.update(ports)
    return env


def run_program(exe, env, timeout, args=()):
    """Runs the Windows program through the Wine runner; its exit status, or None (and a line
    saying so) when it did not end within timeout seconds."""
    run = subprocess.Popen([env["VIGIL_WINE_RUN"], exe] + list(args), env=env,
                           stdin=subprocess.DEVNULL)
    try:
        return run.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        print("the Wine test did not end in time")
        # The runner shows what the program wrote so far when it is asked to stop.
        run.terminate()
        try:
            run.wait(timeout=10)
        except subprocess.TimeoutExpired:
            run.kill()
            run.wait()
        return None
