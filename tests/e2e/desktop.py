"""A private desktop for the end-to-end run: Xvfb, openbox, a session bus (on
which AT-SPI starts itself), the sandbox, and XDG directories of the run's own
with one registered bank app that records every link it is launched with."""

import json
import os
import shutil
import signal
import ssl
import subprocess
import time
import urllib.request
from pathlib import Path


class Failure(Exception):
    pass


def wait_for(what, condition, timeout=10.0, interval=0.05):
    """Polls `condition` until it gives something true, which it returns."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            if os.environ.get("VELA_E2E_TRACE") and time.monotonic() + timeout - deadline > 0.5:
                print(f"  slow: {what} took {time.monotonic() + timeout - deadline:.1f} s")
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(interval)


def run(args, env=None, timeout=20, check=True):
    began = time.monotonic()
    result = subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)
    if os.environ.get("VELA_E2E_TRACE") and time.monotonic() - began > 0.5:
        print(f"  slow: {args} took {time.monotonic() - began:.1f} s", flush=True)
    if check and result.returncode != 0:
        raise Failure(f"{args[0]} exited {result.returncode}: {result.stderr.strip()}")
    return result.stdout


class Desktop:
    # Banks of both lists whose apps are "installed"; every other scheme has no handler.
    HANDLED_SCHEMES = ("velabank-q00", "velabank-s00")

    def __init__(self, work: Path, build: Path):
        self.work = work
        self.build = build
        self.processes = []

    def start(self):
        """Everything up; `close` ends what was started even when this fails half way."""
        work = self.work
        shutil.rmtree(work, ignore_errors=True)
        work.mkdir(parents=True)
        self.env = dict(os.environ)
        for name in ("XDG_CURRENT_DESKTOP", "WAYLAND_DISPLAY", "SESSION_MANAGER"):
            self.env.pop(name, None)
        self._start_x()
        self._start_bus()
        self._start_window_manager()
        self._register_bank_app()
        self._start_sandbox()

    # --- the X server, the session bus, the window manager ---

    def _spawn(self, args, **kwargs):
        process = subprocess.Popen(args, env=kwargs.pop("env", self.env), **kwargs)
        self.processes.append(process)
        return process

    def _start_x(self):
        read, write = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        runtime = self.work / "runtime"
        runtime.mkdir(mode=0o700)
        self.env["XDG_RUNTIME_DIR"] = str(runtime)

    def _start_bus(self):
        # The buses' own chatter (the accessibility bus starts from this one) goes to a log.
        bus = self._spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                          stdout=subprocess.PIPE, stderr=open(self.work / "dbus.log", "w"),
                          text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        # Qt answers AT-SPI without asking whether a screen reader is on.
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"

    def _start_window_manager(self):
        self._spawn(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
        wait_for("openbox", lambda: "window id" in run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, check=False))

    # --- the bank app, registered with the real xdg-utils ---

    def _register_bank_app(self):
        xdg = self.work / "xdg"
        self.received = self.work / "received.txt"
        recorder = self.work / "bank-app"
        recorder.write_text(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '{self.received}'\n")
        recorder.chmod(0o755)
        applications = xdg / "data" / "applications"
        applications.mkdir(parents=True)
        (xdg / "config").mkdir()
        (xdg / "system-data").mkdir()
        (xdg / "system-config").mkdir()
        mime = "".join(f"x-scheme-handler/{scheme};" for scheme in self.HANDLED_SCHEMES)
        (applications / "vela-bank-app.desktop").write_text(
            "[Desktop Entry]\nType=Application\nName=Bank app\nNoDisplay=true\n"
            f"Exec={recorder} %u\nMimeType={mime}\n")
        # Nothing of the machine's own: no browser takes web links, no other app a scheme.
        self.app_env = dict(self.env, XDG_DATA_HOME=str(xdg / "data"),
                            XDG_CONFIG_HOME=str(xdg / "config"),
                            XDG_DATA_DIRS=str(xdg / "system-data"),
                            XDG_CONFIG_DIRS=str(xdg / "system-config"),
                            QT_QPA_PLATFORM="xcb", QT_QUICK_BACKEND="software",
                            LANG="C.UTF-8", LC_ALL="C.UTF-8")
        for scheme in self.HANDLED_SCHEMES:
            run(["xdg-mime", "default", "vela-bank-app.desktop", f"x-scheme-handler/{scheme}"],
                env=self.app_env)
            answer = run(["xdg-mime", "query", "default", f"x-scheme-handler/{scheme}"],
                         env=self.app_env).strip()
            if answer != "vela-bank-app.desktop":
                raise Failure(f"xdg-mime does not name the bank app for {scheme}: {answer!r}")

    def received_links(self):
        return self.received.read_text().splitlines() if self.received.exists() else []

    # --- the stand-in payment system ---

    def _start_sandbox(self):
        self.cert = self.work / "sandbox.pem"
        sandbox = self._spawn([str(self.build / "tools/sandbox/vela-sandbox"), "--port", "0",
                               "--cert-out", str(self.cert), "--quiet"],
                              stdout=subprocess.PIPE, text=True)
        line = sandbox.stdout.readline()
        if not line.startswith("listening on "):
            raise Failure("the sandbox did not start")
        self.address = line.split()[-1]
        context = ssl.create_default_context(cafile=str(self.cert))
        context.check_hostname = False
        self._tls = context

    def fault(self, mode):
        """Sets the sandbox's fault mode for bank lists ("none", "drop", "status:500", ...)."""
        request = urllib.request.Request(f"https://{self.address}/__control/fault",
                                         data=mode.encode(), method="POST")
        with urllib.request.urlopen(request, context=self._tls, timeout=5) as response:
            response.read()

    def bank_links(self, link):
        """logoURL -> link for every bank, from the data-only query of vela-banks."""
        caches = self.work / "banks-caches"
        out = run([str(self.build / "tools/banks/vela-banks"), "list", "--json", "--connect-to",
                   self.address, "--cacert", str(self.cert), "--caches-dir", str(caches), link])
        return {bank["logoURL"]: bank["dboLink"] for bank in json.loads(out)}

    # --- the applications under test ---

    def launch(self, args, extra_env=None, log="app"):
        env = dict(self.app_env, **(extra_env or {}))
        output = open(self.work / f"{log}.log", "w")
        process = self._spawn(args, env=env, stdout=output, stderr=subprocess.STDOUT)
        return process

    def stop(self, process):
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
        for process in reversed(self.processes):
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
