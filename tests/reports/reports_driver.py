#!/usr/bin/python3
"""Starts the local pages, then runs the Wine test of the reporting side against them."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "engine"))
from page_servers import Peers  # noqa: E402


def main():
    exe = sys.argv[1]
    peers = Peers()
    env = dict(os.environ)
    for name in ("http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "no_proxy",
                 "NO_PROXY", "all_proxy", "ALL_PROXY", "ftp_proxy"):
        env.pop(name, None)
    env.update({
        "VIGIL_ORIGIN_PORT": str(peers.origin),
        "VIGIL_REFUSED_PORT": str(peers.refused),
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
    if not any(line.endswith("/asp") for line in
               (r.split(" ")[1] for r in peers.origin_requests if " " in r)):
        print("the error window's fetch never reached the local page; seen:",
              peers.origin_requests)
        status = status or 1
    return status


if __name__ == "__main__":
    sys.exit(main())
