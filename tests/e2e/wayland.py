"""A Wayland session beside the X one: sway on its headless backend, run by a
throwaway unprivileged user when the run is root's (sway refuses root). The
kit's programs stay the caller's: root may connect to any user's socket. The
X desktop's session bus, sandbox and registered bank app serve this one too."""

import json
import os
import pwd
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

from desktop import check, run, stop, wait_for

USER = "vela-e2e"


class Wayland:
    def __init__(self, desktop):
        self.desktop = desktop
        self.processes = []
        self.home = None

    def start(self):
        d = self.desktop
        base = d.work / "wayland"
        base.mkdir()
        # The unprivileged user must reach its own directories; a tree it
        # cannot walk (a clone under /root) is left alone for one in /tmp.
        if os.geteuid() == 0 and not all(os.stat(p).st_mode & 0o001 for p in base.parents):
            base = Path(tempfile.mkdtemp(prefix="vela-wayland-"))
            os.chmod(base, 0o755)
        self.home = base
        runtime = base / "runtime"
        runtime.mkdir(mode=0o700)
        config = base / "sway.config"
        config.write_text("xwayland disable\noutput HEADLESS-1 resolution 1280x1024\n")
        config.chmod(0o644)
        env = {"HOME": str(base), "XDG_RUNTIME_DIR": str(runtime), "PATH": "/usr/bin:/bin",
               "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1",
               "WLR_RENDERER": "pixman"}
        command = ["sway", "-c", str(config)]
        if os.geteuid() == 0:
            if subprocess.run(["id", USER], capture_output=True).returncode != 0:
                run(["useradd", "--system", "--no-create-home", "--home-dir", str(base),
                     "--shell", "/usr/sbin/nologin", USER])
            user = pwd.getpwnam(USER)
            shutil.chown(runtime, user.pw_uid, user.pw_gid)
            command = ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}",
                       "--clear-groups", "--"] + command
        sway = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                stderr=open(d.work / "sway.log", "w"))
        self.processes.append(sway)

        def made(pattern):
            found = wait_for(f"{pattern} from sway (see {d.work / 'sway.log'})",
                             lambda: sway.poll() is not None or next(runtime.glob(pattern), None))
            check(found is not True, f"sway ended (see {d.work / 'sway.log'})")
            return found
        socket, ipc = made("wayland-*[0-9]"), made("sway-ipc.*.sock")
        self.env = dict(d.env, WAYLAND_DISPLAY=str(socket), SWAYSOCK=str(ipc))
        self.env.pop("DISPLAY", None)
        self.app_env = dict(d.app_env, WAYLAND_DISPLAY=str(socket), QT_QPA_PLATFORM="wayland")
        self.app_env.pop("DISPLAY", None)
        # Without input devices the seat has no keyboard until a virtual one
        # comes; one held for the whole run means no client ever sees the
        # seat gain a keyboard halfway through a word.
        self.processes.append(subprocess.Popen(["wtype", "-s", "3600000"], env=self.env))
        time.sleep(0.2)

    def titled(self, title):
        """The windows titled `title`, from anywhere in sway's tree."""
        def visit(node):
            yield from [node] if node.get("pid") and node.get("name") == title else []
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                yield from visit(child)
        return list(visit(json.loads(run(["swaymsg", "-t", "get_tree", "-r"], env=self.env))))

    def type_when_mapped(self, title, text):
        wait_for(f"a window titled {title!r}", lambda: self.titled(title), 15, pause=0)
        run(["wtype", "-d", "40", text], env=self.env)

    def key(self, *keys):
        run(["wtype"] + [arg for key in keys for arg in ("-k", key)], env=self.env)

    def wait_gone(self, title):
        wait_for(f"window {title!r} to close", lambda: not self.titled(title))

    def screenshot(self, path):
        run(["grim", str(path)], env=self.env, check=False)

    def close(self):
        for process in reversed(self.processes):
            stop(process)
        if self.home and self.home.parent == Path(tempfile.gettempdir()):
            shutil.rmtree(self.home, ignore_errors=True)

