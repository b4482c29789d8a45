#!/usr/bin/python3
"""Starts the local pages, then runs the Wine test of the reporting side against them."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "engine"))
from page_servers import Peers  # noqa: E402
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from peers import program_env, run_program  # noqa: E402


def main():
    exe = sys.argv[1]
    peers = Peers()
    env = program_env({
        "VIGIL_ORIGIN_PORT": str(peers.origin),
        "VIGIL_REFUSED_PORT": str(peers.refused),
    })
    try:
        status = run_program(exe, env, timeout=240)
        status = 1 if status is None else status
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
