#!/usr/bin/python3
"""Local peers for the page-transfer tests, all on 127.0.0.1, each ending with the driver.

- origin: a small HTTP/1.0 server with a healthy page, error pages of the monitor's table, a
  page that has headers but no body, a redirection to the healthy page, and a 500 answer whose
  status line has no reason phrase (/bare);
- closer: accepts, reads the request and closes without sending a byte;
- silent: accepts and never answers (the client's time-out ends the exchange);
- refused: a port with nobody listening;
- tls: the origin's pages over TLS, with a certificate for 127.0.0.1 issued by a test root
  (tls/ca.pem) that no system trusts;
- proxy: a forwarding proxy that sends every absolute-form request for the host
  vigil-origin.invalid to the origin and notes each request line it saw.
"""
import os
import socket
import ssl
import threading

TLS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tls")

ORIGIN_HOST = "vigil-origin.invalid"

PAGES = {
    "/ok": (200, b"<HTML><BODY>Welcome to the Example Site</BODY></HTML>"),
    "/missing": (404, b"404 Not Found"),
    "/asp": (500, b"<p>Unexpected error</p><p>Active Server Pages</p>"),
    "/empty": (200, b""),
}


def _listener():
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind(("127.0.0.1", 0))
    s.listen(16)
    s.settimeout(0.5)
    return s


def _read_head(conn, limit=65536):
    data = b""
    while b"\r\n\r\n" not in data and len(data) < limit:
        chunk = conn.recv(4096)
        if not chunk:
            break
        data += chunk
    return data


class Peers:
    def __init__(self):
        self._stop = threading.Event()
        self._threads = []
        self._held = []
        self.proxy_requests = []
        self.origin_requests = []
        self.origin = self._serve(self._origin)
        self.closer = self._serve(self._closer)
        self.silent = self._serve(self._silent)
        self.proxy = self._serve(self._proxy)
        self._tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self._tls.load_cert_chain(os.path.join(TLS_DIR, "server.pem"),
                                  os.path.join(TLS_DIR, "server.key"))
        self.tls = self._serve(self._tls_origin)
        probe = socket.socket()
        probe.bind(("127.0.0.1", 0))
        self.refused = probe.getsockname()[1]
        probe.close()

    def _serve(self, handler):
        listener = _listener()

        def loop():
            with listener:
                while not self._stop.is_set():
                    try:
                        conn, _ = listener.accept()
                    except socket.timeout:
                        continue
                    conn.settimeout(10)
                    t = threading.Thread(target=self._guard, args=(handler, conn), daemon=True)
                    t.start()

        t = threading.Thread(target=loop, daemon=True)
        t.start()
        self._threads.append(t)
        return listener.getsockname()[1]

    @staticmethod
    def _guard(handler, conn):
        try:
            handler(conn)
        except OSError:
            pass
        finally:
            try:
                conn.close()
            except OSError:
                pass

    def _origin(self, conn):
        head = _read_head(conn)
        line = head.split(b"\r\n", 1)[0].decode("latin-1")
        self.origin_requests.append(line)
        parts = line.split(" ")
        path = parts[1] if len(parts) > 1 else "/"
        if path == "/moved":
            body = b"<html>moved to /ok</html>"
            conn.sendall(b"HTTP/1.0 302 Found\r\nLocation: /ok\r\nContent-Length: %d\r\n"
                         b"Connection: close\r\n\r\n" % len(body) + body)
            return
        if path == "/bare":
            body = b"<html>fine by its body</html>"
            conn.sendall(b"HTTP/1.0 500\r\nContent-Length: %d\r\nConnection: close\r\n\r\n"
                         % len(body) + body)
            return
        status, body = PAGES.get(path, (404, b"<html>no such page</html>"))
        conn.sendall(b"HTTP/1.0 %d X\r\nContent-Type: text/html\r\nContent-Length: %d\r\n"
                     b"Connection: close\r\n\r\n" % (status, len(body)) + body)

    def _tls_origin(self, conn):
        with self._tls.wrap_socket(conn, server_side=True) as secure:
            self._origin(secure)

    def _closer(self, conn):
        _read_head(conn)

    def _silent(self, conn):
        _read_head(conn)
        self._held.append(conn)
        self._stop.wait(60)

    def _proxy(self, conn):
        head = _read_head(conn)
        line = head.split(b"\r\n", 1)[0].decode("latin-1")
        self.proxy_requests.append(line)
        method, target, _ = (line.split(" ") + ["", "", ""])[:3]
        host, _, path = target.partition("://")[2].partition("/")
        if method != "GET" or host.split(":")[0] != ORIGIN_HOST:
            body = b"proxy: connection refused"
            conn.sendall(b"HTTP/1.0 502 Bad Gateway\r\nContent-Length: %d\r\n\r\n" % len(body)
                         + body)
            return
        path = "/" + path
        with socket.create_connection(("127.0.0.1", self.origin), timeout=10) as up:
            up.sendall(b"GET %s HTTP/1.0\r\nHost: %s\r\n\r\n" % (path.encode(), ORIGIN_HOST.encode()))
            while True:
                chunk = up.recv(65536)
                if not chunk:
                    break
                conn.sendall(chunk)

    def stop(self):
        self._stop.set()
        for t in self._threads:
            t.join(5)
