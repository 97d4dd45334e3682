#!/usr/bin/python3
"""The selector's first frame on a real display: Xvfb with openbox, a session
bus and the local sandbox (the end-to-end desktop), then interleaved fresh
launches of

  kit/network  the selector for a QR link, its list downloaded (empty caches),
  kit/cache    the same with the download refused, so the list comes from the
               cache file an earlier run left (a fresh process always
               downloads first: only a failed download reads the cache),
  bare_list    a bare Qt Quick ListView of the same names in the same window,

each reporting the wall-clock milliseconds from the launch to the first frame
on screen that shows the banks. Prints the medians and the ratios to the bare
list, and writes them as JSON (--json)."""

import argparse
import json
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from desktop import Desktop, Failure  # noqa: E402

LINK = "https://qr.vela.example/VELATESTPAYMENTSTATIC00000000001?sum=100"
TARGET = 1.25


def launch(args, env):
    """Milliseconds the program reports from its launch to its first frame with banks."""
    env = dict(env, VELA_LAUNCHED_NS=str(time.monotonic_ns()))
    result = subprocess.run(args, env=env, capture_output=True, text=True, timeout=60)
    for line in result.stdout.splitlines():
        if line.startswith("first-frame-ms "):
            return float(line.split()[1])
    raise Failure(f"{Path(args[0]).name} exited {result.returncode} without a first frame: "
                  f"{result.stderr.strip()[-2000:]}")


def refusing_address():
    """ADDRESS:PORT where nothing listens: connections are refused at once."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return "127.0.0.1:%d" % probe.getsockname()[1]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="the benchmark build tree")
    parser.add_argument("--runs", type=int, default=9, help="launches of each case (median)")
    parser.add_argument("--json", help="write the results here")
    parser.add_argument("--backend", default="software",
                        help="QT_QUICK_BACKEND for every launch ('' for Qt's choice)")
    args = parser.parse_args()
    build = Path(args.build)
    kit = str(build / "bench/vela-first-frame-kit")
    bare = str(build / "bench/vela-first-frame-bare")

    work = Path(tempfile.mkdtemp(prefix="vela-first-frame-"))
    desktop = Desktop(work / "desktop", build)
    try:
        desktop.start()
        env = dict(desktop.app_env)
        # A shopper's desktop seldom runs a screen reader; Qt asks the bus
        # whether one is on, as it would there.
        env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
        if args.backend:
            env["QT_QUICK_BACKEND"] = args.backend
        else:
            env.pop("QT_QUICK_BACKEND", None)
        names = [bank["name"] for bank in json.loads(subprocess.run(
            [str(build / "tools/banks/vela-banks"), "list", "--json", "--connect-to",
             desktop.address, "--cacert", str(desktop.cert), "--caches-dir",
             str(work / "banks-caches"), LINK], capture_output=True, text=True, check=True,
            timeout=30).stdout)]
        names_file = work / "names.txt"
        names_file.write_text("".join(name + "\n" for name in names))

        def kit_run(caches, address):
            return launch([kit, "--connect-to", address, "--cacert", str(desktop.cert),
                           "--caches-dir", str(caches), LINK], env)

        fresh = iter(range(1_000_000))
        refused = refusing_address()
        cases = {
            "kit/network": lambda: kit_run(work / f"caches-{next(fresh)}", desktop.address),
            "kit/cache": lambda: kit_run(work / "caches", refused),
            "bare_list": lambda: launch([bare, str(names_file)], env),
        }
        # Not counted: the first download fills the cache the offline case
        # reads, and every program's first start fills the page and font caches.
        kit_run(work / "caches", desktop.address)
        for run in cases.values():
            run()
        times = {name: [] for name in cases}
        order = list(cases)
        for i in range(args.runs):
            # Each case in turn, the order rotated, so a busy moment of the
            # machine falls on all of them alike.
            for name in order[i % len(order):] + order[:i % len(order)]:
                times[name].append(cases[name]())
    finally:
        desktop.close()
        shutil.rmtree(work, ignore_errors=True)

    floor = statistics.median(times["bare_list"])
    results = []
    print(f"first frame on a real display (Xvfb + openbox), median of {args.runs}, ms")
    print(f"{'case':<12} {'median':>8} {'min':>8} {'max':>8} {'ratio':>6}")
    for name, values in times.items():
        median = statistics.median(values)
        ratio = median / floor
        mark = "" if name == "bare_list" else (" ok" if ratio <= TARGET else f" over {TARGET}")
        print(f"{name:<12} {median:8.1f} {min(values):8.1f} {max(values):8.1f} {ratio:6.2f}{mark}")
        results.append({"name": name, "median_ms": median, "runs_ms": values,
                        "ratio_to_bare_list": ratio})
    if args.json:
        Path(args.json).write_text(json.dumps(results, indent=2) + "\n")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failure as failure:
        print(f"first_frame: {failure}", file=sys.stderr)
        sys.exit(1)
