#!/usr/bin/python3
"""An nginx of its own on 127.0.0.1 for the page-transfer tests: nginx's own error pages, whose
bodies pass the monitor's table, with error statuses.

- /missing: no such file, so nginx's own 404 page;
- /unavailable: "return 503;", nginx's own 503 page;
- /ok.html: a healthy page (200).

It runs in the foreground in one process (no daemon, no workers) with its files in a
temporary folder, and ends with stop().
"""
import os
import shutil
import socket
import subprocess
import tempfile
import time

NGINX = "/usr/sbin/nginx"


def _free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Nginx:
    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="vigil-nginx-")
        os.chmod(self.dir, 0o755)
        www = os.path.join(self.dir, "www")
        os.mkdir(www)
        with open(os.path.join(www, "ok.html"), "w") as page:
            page.write("<html><body>nginx says hello</body></html>")
        self.port = _free_port()
        temp = os.path.join(self.dir, "temp")
        os.mkdir(temp)
        conf = os.path.join(self.dir, "nginx.conf")
        with open(conf, "w") as out:
            out.write(f"""daemon off;
master_process off;
worker_processes 1;
pid {self.dir}/nginx.pid;
error_log stderr crit;
events {{ worker_connections 64; }}
http {{
    access_log off;
    keepalive_timeout 0;
    client_body_temp_path {temp}/body;
    proxy_temp_path {temp}/proxy;
    fastcgi_temp_path {temp}/fastcgi;
    uwsgi_temp_path {temp}/uwsgi;
    scgi_temp_path {temp}/scgi;
    types {{ text/html html; }}
    server {{
        listen 127.0.0.1:{self.port};
        root {www};
        location = /unavailable {{ return 503; }}
    }}
}}
""")
        self._process = subprocess.Popen([NGINX, "-p", self.dir, "-c", conf],
                                         stdin=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and self._process.poll() is None:
            with socket.socket() as probe:
                if probe.connect_ex(("127.0.0.1", self.port)) == 0:
                    return
            time.sleep(0.1)
        self.stop()
        raise RuntimeError("nginx did not start")

    def stop(self):
        if self._process.poll() is None:
            self._process.terminate()
            try:
                self._process.wait(10)
            except subprocess.TimeoutExpired:
                self._process.kill()
                self._process.wait(10)
        shutil.rmtree(self.dir, ignore_errors=True)
