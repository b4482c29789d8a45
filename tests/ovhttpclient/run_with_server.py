"""Starts the test server, then runs a Windows test program under Wine with the server's port
in OVHTTP_PORT and a refused port in OVHTTP_CLOSED_PORT. Exits with the program's code."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import test_server  # noqa: E402


def main():
    server = test_server.TestServer()
    env = dict(os.environ)
    for k in ("http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "no_proxy", "NO_PROXY",
              "all_proxy", "ALL_PROXY"):
        env.pop(k, None)
    env["OVHTTP_PORT"] = str(server.port)
    env["OVHTTP_CLOSED_PORT"] = str(test_server.closed_port())
    try:
        rc = subprocess.run([os.environ["VIGIL_WINE_RUN"]] + sys.argv[1:], env=env,
                            timeout=280).returncode
    except subprocess.TimeoutExpired:
        print("the test program did not end in time")
        rc = 1
    server.stop()
    return rc


if __name__ == "__main__":
    sys.exit(main())
