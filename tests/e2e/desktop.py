"""A private desktop for the end-to-end run: Xvfb, openbox, a session bus (on
which AT-SPI starts itself), the sandbox, and XDG directories of the run's own
with one registered bank app that records every link it is launched with."""

import json
import os
import shutil
import ssl
import subprocess
import time
import urllib.request
from pathlib import Path


class Failure(Exception):
    pass


def stop(process):
    """Ends `process`: politely, then by force after five seconds."""
    process.terminate()
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def check(ok, message):
    if not ok:
        raise Failure(message)


def wait_for(what, condition, timeout=10.0, explain=None, pause=0.05):
    """`explain()` says what was seen instead, if it timed out."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise Failure(explain() if explain else f"timed out waiting for {what}")
        time.sleep(pause)
    return value


def run(args, env=None, timeout=20, check=True):
    result = subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)
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
        # `close` ends what was started even when this fails half way.
        shutil.rmtree(self.work, ignore_errors=True)
        self.work.mkdir(parents=True)
        self.env = dict(os.environ)
        for name in ("XDG_CURRENT_DESKTOP", "WAYLAND_DISPLAY", "SESSION_MANAGER"):
            self.env.pop(name, None)
        self._start_session()
        self._register_bank_app()
        self._start_sandbox()

    def _spawn(self, args, **kwargs):
        process = subprocess.Popen(args, env=kwargs.pop("env", self.env), **kwargs)
        self.processes.append(process)
        return process

    def _start_xvfb(self, size):
        """An X server with one screen of `size` ("1280x1024"); its DISPLAY."""
        read, write = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(write), "-screen", "0", f"{size}x24",
                     "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure(f"Xvfb ({size}) did not start")
        return ":" + number

    def _start_session(self):
        """Xvfb, a session bus (from which AT-SPI starts) and openbox."""
        self.env["DISPLAY"] = self._start_xvfb("1280x1024")
        runtime = self.work / "runtime"
        runtime.mkdir(mode=0o700)
        self.env["XDG_RUNTIME_DIR"] = str(runtime)
        # The buses' own chatter (the accessibility bus starts from this one) goes to a log.
        bus = self._spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                          stdout=subprocess.PIPE, stderr=open(self.work / "dbus.log", "w"),
                          text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        # Qt answers AT-SPI without asking whether a screen reader is on.
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self._start_openbox(self.env)

    def _start_openbox(self, env):
        self._spawn(["openbox", "--sm-disable"], env=env, stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
        wait_for("openbox", lambda: "window id" in run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env, check=False))

    def second_display(self, size):
        """Another X server, one screen of `size` ("1920x1080") under its own
        openbox, on the same buses: the environment for an app to show there."""
        env = dict(self.env, DISPLAY=self._start_xvfb(size))
        self._start_openbox(env)
        return env

    def _register_bank_app(self):
        xdg = self.work / "xdg"
        self.received = self.work / "received.txt"
        recorder = self.work / "bank-app"
        recorder.write_text(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '{self.received}'\n")
        recorder.chmod(0o755)
        applications = xdg / "data" / "applications"
        for folder in (applications, xdg / "config", xdg / "system-data", xdg / "system-config"):
            folder.mkdir(parents=True)
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

    def received_links(self):
        return self.received.read_text().splitlines() if self.received.exists() else []

    def _start_sandbox(self):
        self.cert = self.work / "sandbox.pem"
        sandbox = self._spawn([str(self.build / "tools/sandbox/vela-sandbox"), "--port", "0",
                               "--cert-out", str(self.cert), "--quiet"],
                              stdout=subprocess.PIPE, text=True)
        line = sandbox.stdout.readline()
        if not line.startswith("listening on "):
            raise Failure("the sandbox did not start")
        self.address = line.split()[-1]
        self._tls = ssl.create_default_context(cafile=str(self.cert))
        self._tls.check_hostname = False

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

    def launch(self, args, extra_env=None, log="app", env=None):
        """`env` in place of the X session's, for another display server."""
        return self._spawn(args, env=dict(env or self.app_env, **(extra_env or {})),
                           stdout=open(self.work / f"{log}.log", "w"), stderr=subprocess.STDOUT)

    stop = staticmethod(stop)

    def close(self):
        for process in reversed(self.processes):
            self.stop(process)
