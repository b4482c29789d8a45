#!/usr/bin/python3
"""Starts the local peers, then runs the Wine test of CheckUrl against them."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from nginx_peer import Nginx  # noqa: E402
from page_servers import Peers  # noqa: E402


def main():
    exe = sys.argv[1]
    peers = Peers()
    try:
        nginx = Nginx()
    except Exception:
        peers.stop()
        raise
    env = dict(os.environ)
    for name in ("http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "no_proxy",
                 "NO_PROXY", "all_proxy", "ALL_PROXY", "ftp_proxy"):
        env.pop(name, None)
    env.update({
        "VIGIL_ORIGIN_PORT": str(peers.origin),
        "VIGIL_CLOSER_PORT": str(peers.closer),
        "VIGIL_SILENT_PORT": str(peers.silent),
        "VIGIL_REFUSED_PORT": str(peers.refused),
        "VIGIL_PROXY_PORT": str(peers.proxy),
        "VIGIL_TLS_PORT": str(peers.tls),
        "VIGIL_NGINX_PORT": str(nginx.port),
    })
    try:
        run = subprocess.run([env["VIGIL_WINE_RUN"], exe], env=env, timeout=240,
                             stdin=subprocess.DEVNULL)
        status = run.returncode
    except subprocess.TimeoutExpired:
        print("the Wine test did not end in time")
        status = 1
    finally:
        peers.stop()
        nginx.stop()

    # The named proxy must have carried the proxied requests, and only those.
    seen = peers.proxy_requests
    print("proxy saw:", seen)
    for path in ("/ok", "/missing"):
        if not any(line.startswith("GET http://vigil-origin.invalid") and
                   line.split(" ")[1].endswith(path) for line in seen):
            print("the proxy did not see the request for", path)
            status = status or 1
    if not any(line.startswith("CONNECT vigil-origin.invalid:443") for line in seen):
        print("the https address did not go through the proxy as a tunnel")
        status = status or 1
    if any("/direct" in line for line in seen):
        print("a request of the system default access type went through the named proxy")
        status = status or 1
    return status


if __name__ == "__main__":
    sys.exit(main())
