#!/usr/bin/env python3
"""Runs the OvHttpClient benchmark's clients interleaved, in rounds, against one nginx, once with
the wineserver and the clients pinned to one CPU and once free, and prints medians, ranges and
the ratios to the floors. Started by run.sh, which serves the files and registers the library."""
import argparse
import os
import re
import statistics
import subprocess
import sys

CLIENTS = [
    # (name, how to start one round: a function of port and count)
    ("blocking Winsock (floor)", "blocking"),
    ("1-thread async (floor)", "async"),
    ("OvHttpClient, vtable", "vtable"),
    ("OvHttpClient, JScript", "js:ov"),
    ("WinHttpRequest, JScript", "js:winhttp"),
]
LINE = re.compile(r"^small ([0-9.]+) big ([0-9.]+)\s*$", re.M)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Bench:
    def __init__(self, args):
        self.args = args
        self.root = os.path.abspath(args.root)
        self.wine_run = os.path.join(self.root, "tools", "wine-run.sh")
        self.env = dict(os.environ)
        # The 64-bit loader, so that the system's cscript is the 64-bit one even with the
        # 32-bit Wine installed, and a prefix of the benchmark's own.
        self.env["VIGIL_WINE_BITS"] = "64"
        self.env["VIGIL_WINE_PREFIX"] = args.prefix
        self.env["WINEPREFIX"] = args.prefix
        self.env["WINEDEBUG"] = "-all"

    def command(self, kind, port, count):
        if kind.startswith("js:"):
            script = os.path.join(self.root, "bench", "ovhttpclient", "bench.js")
            return [self.wine_run, "C:\\windows\\system32\\cscript.exe", "//nologo",
                    windows_path(script), kind[3:], str(port), str(count)]
        return [self.wine_run, self.args.client, kind, str(port), str(count)]

    def wineserver(self, *options, cpu=None):
        pin = ["taskset", "-c", str(cpu)] if cpu is not None else []
        subprocess.run(pin + ["wineserver", *options], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)

    def restart_wineserver(self, cpu):
        self.wineserver("-k")
        self.wineserver("-w")
        self.wineserver("-p", cpu=cpu)

    def round_of(self, kind, cpu):
        pin = ["taskset", "-c", str(cpu)] if cpu is not None else []
        done = subprocess.run(pin + self.command(kind, self.args.port, self.args.count),
                              env=self.env, stdin=subprocess.DEVNULL, capture_output=True,
                              text=True, timeout=600)
        match = LINE.search(done.stdout)
        if done.returncode != 0 or not match:
            sys.exit(f"{kind} failed ({done.returncode}):\n{done.stdout}{done.stderr}")
        return float(match.group(1)), float(match.group(2))

    def phase(self, cpu):
        self.restart_wineserver(cpu)
        results = {kind: [] for _, kind in CLIENTS}
        for r in range(self.args.rounds):
            # Interleaved: every round runs each client once, starting one further on each time.
            for i in range(len(CLIENTS)):
                kind = CLIENTS[(r + i) % len(CLIENTS)][1]
                results[kind].append(self.round_of(kind, cpu))
        return results


def table(title, results):
    def stats(kind, which):
        values = [v[which] for v in results[kind]]
        return statistics.median(values), min(values), max(values)

    async_small = stats("async", 0)[0]
    blocking_small, blocking_big = stats("blocking", 0)[0], stats("blocking", 1)[0]
    lines = [title,
             f"{'client':26}{'1 KiB GET, ms':>14}{'range':>16}{'/async':>8}{'/blocking':>10}"
             f"{'64 MiB GET, ms':>16}{'range':>14}{'/blocking':>10}"]
    for name, kind in CLIENTS:
        small, small_lo, small_hi = stats(kind, 0)
        big, big_lo, big_hi = stats(kind, 1)
        lines.append(f"{name:26}{small:14.3f}{f'{small_lo:.3f}-{small_hi:.3f}':>16}"
                     f"{small / async_small:8.2f}{small / blocking_small:10.2f}"
                     f"{big:16.0f}{f'{big_lo:.0f}-{big_hi:.0f}':>14}{big / blocking_big:10.2f}")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--client", required=True, help="ovhttp_bench_client.exe")
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--count", type=int, default=500)
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--cpu", type=int, default=0)
    parser.add_argument("--phases", default="pinned,free")
    args = parser.parse_args()
    bench = Bench(args)
    about = (f"{args.rounds} rounds, each: every client once (interleaved), {args.count} GETs of "
             f"1 KiB and one of 64 MiB; medians and ranges over the rounds; {os.cpu_count()} CPUs")
    print(about, flush=True)
    try:
        for phase in args.phases.split(","):
            cpu = args.cpu if phase == "pinned" else None
            title = (f"\npinned: wineserver and clients on CPU {cpu}" if cpu is not None
                     else "\nfree: no pinning")
            print(table(title, bench.phase(cpu)), flush=True)
    finally:
        bench.wineserver("-k")


if __name__ == "__main__":
    main()
