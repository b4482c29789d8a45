"""A small HTTP server on 127.0.0.1 for the OvHttpClient tests.

It records the exact bytes of every request and answers by the path of the request target
(also when the target is a full URL, as through a proxy):

  /echo...      200, the body is the request exactly as received
  /text         200, a short text body
  /binary       200, the bytes 0..255 four times (NUL bytes included)
  /big          200, a patterned body of BIG_SIZE bytes
  /statusonly   the status line and the blank line, no headers, no body
  /nocrlf       "HELLO WORLD" and close: no CR LF at all
  /short        "AB\r\n\r\n": too short for a status line
  /blankfirst   a blank line alone, then after SLOW_SECONDS a whole response: the head is empty
  /hang         a whole response, then the connection stays open until the client goes
  /slow         as /echo after SLOW_SECONDS
  /flood        a status line, then header lines as fast as the client takes them (never a
                blank line) for FLOOD_SECONDS or until the client goes
  /floodresult  200, how the last flood ended: "client went away" or "sent to the end"
Every connection ends within LIMIT_SECONDS.
"""
import re
import socket
import threading
import time

LIMIT_SECONDS = 30
SLOW_SECONDS = 0.3
FLOOD_SECONDS = 12
BIG_SIZE = 3 * 1024 * 1024 + 7
TEXT_BODY = b"Hello from the test server"
BINARY_BODY = bytes(range(256)) * 4


def big_body():
    return bytes((i * 131) % 251 for i in range(BIG_SIZE))


class TestServer:
    def __init__(self):
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.sock.bind(("127.0.0.1", 0))
        self.sock.listen(64)
        self.port = self.sock.getsockname()[1]
        self.requests = []
        self.lock = threading.Lock()
        self._big = big_body()
        self._flood_result = None
        self._flood_done = threading.Event()
        self._stop = False
        threading.Thread(target=self._accept, daemon=True).start()

    def stop(self):
        self._stop = True
        self.sock.close()

    def _accept(self):
        while not self._stop:
            try:
                conn, _ = self.sock.accept()
            except OSError:
                return
            threading.Thread(target=self._serve, args=(conn,), daemon=True).start()

    @staticmethod
    def _read_request(conn, deadline):
        # A request without its blank line is taken as it is once the client falls silent.
        data = b""
        conn.settimeout(0.5)
        while b"\r\n\r\n" not in data and time.monotonic() < deadline:
            try:
                chunk = conn.recv(65536)
            except socket.timeout:
                if data:
                    return data
                continue
            if not chunk:
                return data
            data += chunk
        conn.settimeout(LIMIT_SECONDS)
        head, _, rest = data.partition(b"\r\n\r\n")
        m = re.search(rb"(?im)^content-length:\s*(\d+)", head)
        want = int(m.group(1)) if m else 0
        while len(rest) < want and time.monotonic() < deadline:
            chunk = conn.recv(65536)
            if not chunk:
                break
            rest += chunk
            data += chunk
        return data

    def _serve(self, conn):
        deadline = time.monotonic() + LIMIT_SECONDS
        conn.settimeout(LIMIT_SECONDS)
        try:
            request = self._read_request(conn, deadline)
            with self.lock:
                self.requests.append(request)
            line = request.split(b"\r\n", 1)[0].decode("latin-1")
            parts = line.split(" ")
            target = parts[1] if len(parts) > 1 else "/"
            path = re.sub(r"^[a-zA-Z]+://[^/]*", "", target) or "/"
            self._answer(conn, path, request, deadline)
        except OSError:
            pass
        finally:
            conn.close()

    def _answer(self, conn, path, request, deadline):
        def ok(body, kind=b"application/octet-stream"):
            conn.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: " + kind +
                         b"\r\nX-Test-Server: 1\r\n\r\n" + body)

        if path.startswith("/echo"):
            ok(request)
        elif path.startswith("/slow"):
            time.sleep(SLOW_SECONDS)
            ok(request)
        elif path == "/text":
            ok(TEXT_BODY, b"text/plain")
        elif path == "/binary":
            ok(BINARY_BODY)
        elif path == "/big":
            ok(self._big)
        elif path == "/flood":
            self._flood_done.clear()
            lines = (b"X-Flood: " + b"f" * 1000 + b"\r\n") * 64
            end = min(deadline, time.monotonic() + FLOOD_SECONDS)
            result = b"sent to the end"
            try:
                conn.sendall(b"HTTP/1.0 200 OK\r\n")
                while time.monotonic() < end:
                    conn.sendall(lines)
            except OSError:
                result = b"client went away"
            self._flood_result = result
            self._flood_done.set()
        elif path == "/floodresult":
            self._flood_done.wait(LIMIT_SECONDS)
            ok(self._flood_result or b"no flood")
        elif path == "/statusonly":
            conn.sendall(b"HTTP/1.0 204 No Content\r\n\r\n")
        elif path == "/nocrlf":
            conn.sendall(b"HELLO WORLD")
        elif path == "/short":
            conn.sendall(b"AB\r\n\r\n")
        elif path == "/blankfirst":
            conn.sendall(b"\r\n\r\n")
            time.sleep(SLOW_SECONDS)
            conn.sendall(b"HTTP/1.0 200 OK\r\nA: 1\r\n\r\nbody")
        elif path == "/hang":
            ok(TEXT_BODY, b"text/plain")
            conn.settimeout(0.5)
            while time.monotonic() < deadline:
                try:
                    if not conn.recv(1024):
                        return
                except socket.timeout:
                    continue
        else:
            conn.sendall(b"HTTP/1.0 404 Not Found\r\nContent-Type: text/plain\r\n\r\nno such page")


def closed_port():
    """A port on 127.0.0.1 where nothing listens (connections are refused)."""
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port
