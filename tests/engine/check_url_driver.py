#!/usr/bin/python3
"""Starts the local peers, then runs the Wine test of CheckUrl against them."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from nginx_peer import Nginx  # noqa: E402
from page_servers import Peers  # noqa: E402
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from peers import program_env, run_program  # noqa: E402


def main():
    exe = sys.argv[1]
    peers = Peers()
    try:
        nginx = Nginx()
    except Exception:
        peers.stop()
        raise
    env = program_env({
        "VIGIL_ORIGIN_PORT": str(peers.origin),
        "VIGIL_CLOSER_PORT": str(peers.closer),
        "VIGIL_SILENT_PORT": str(peers.silent),
        "VIGIL_REFUSED_PORT": str(peers.refused),
        "VIGIL_PROXY_PORT": str(peers.proxy),
        "VIGIL_TLS_PORT": str(peers.tls),
        "VIGIL_NGINX_PORT": str(nginx.port),
    })
    try:
        status = run_program(exe, env, timeout=240)
        status = 1 if status is None else status
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
