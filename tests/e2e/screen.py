"""What a shopper sees and does: windows (xdotool, xprop), the accessibility
tree (AT-SPI), real keystrokes and clicks (XTEST), screenshots (ImageMagick)."""

import os

from desktop import Failure, check, run, wait_for


class Screen:
    def __init__(self, desktop, out):
        self.env = desktop.env
        self.out = out
        # AT-SPI finds the bus through these, so they are set before it loads.
        os.environ["DISPLAY"] = self.env["DISPLAY"]
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.env["DBUS_SESSION_BUS_ADDRESS"]
        import pyatspi
        from gi.repository import Atspi
        self.at = pyatspi
        self.desktop = pyatspi.Registry.getDesktop(0)
        # Every read goes to the application: a cache would need events to stay true.
        self.desktop.setCacheMask(Atspi.Cache.NONE)

    def xdotool(self, *args, check=True):
        return run(["xdotool", *args], env=self.env, check=check)

    def window(self, title):
        # Polled rather than `search --sync`: a window that goes while xdotool
        # looks at it (a splash closing) ends a search with BadWindow.
        return wait_for(f"a window titled {title!r}", lambda: self.windows(title)[:1], 15)[0]

    def windows(self, title):
        out = self.xdotool("search", "--onlyvisible", "--name", f"^{title}$", check=False)
        return [int(word) for word in out.split()]

    def type_when_mapped(self, title, text, earlier=()):
        """Types `text` the moment a window titled `title` (none of `earlier`)
        is mapped, before it has drawn a frame or been told it has the focus."""
        wait_for(f"a new window titled {title!r}",
                 lambda: set(self.windows(title)) - set(earlier), 15, pause=0)
        self.xdotool("type", "--delay", "40", text)

    def wait_gone(self, title):
        wait_for(f"window {title!r} to close", lambda: not self.windows(title))

    def geometry(self, window, env=None):
        out = run(["xdotool", "getwindowgeometry", "--shell", str(window)], env=env or self.env)
        values = dict(line.split("=") for line in out.split())
        return tuple(int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))

    def prop(self, window, name):
        return run(["xprop", "-id", str(window), name], env=self.env)

    def stacking(self):
        """Client windows from bottom to top."""
        out = run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], env=self.env)
        return [int(word.strip(","), 16) for word in out.split("#", 1)[1].split()]

    def screenshot(self, name):
        path = self.out / f"{name}.png"
        run(["import", "-window", "root", str(path)], env=self.env)
        return path

    def decode(self, shot):
        """What zbarimg reads from a screenshot: the codes shown, one a line."""
        path = str(self.screenshot(shot))
        return run(["zbarimg", "--raw", "-q", path], env=self.env, check=False)

    def pixel(self, path, x, y):
        out = run(["convert", str(path), "-crop", f"1x1+{x}+{y}", "+repage",
                   "-format", "#%[hex:p{0,0}]", "info:"], env=self.env)
        return out.strip().lower()[:7]

    def type(self, text, field=None):
        if text.isascii() or field is None:
            self.xdotool("type", "--delay", "40", text)
            return
        # xdotool binds a letter the keymap lacks to a keycode for a moment; the
        # app may read it after it was taken back: each such letter is checked.
        before = self.text(field)
        for letter in text:
            for _ in range(3):
                self.xdotool("type", "--delay", "120", letter)
                try:
                    wait_for(f"{letter!r} typed",
                             lambda: self.text(field) == before + letter, timeout=2)
                    break
                except Failure:
                    self.key("ctrl+a", "BackSpace")
                    if before:
                        self.xdotool("type", "--delay", "40", before)
            before += letter

    def key(self, *keys):
        self.xdotool("key", "--delay", "40", *keys)

    def click_at(self, x, y):
        # No --sync: it waits for the pointer to move, forever when it is already there.
        self.xdotool("mousemove", str(x), str(y), "sleep", "0.05", "click", "1")

    def click(self, node):
        x, y, width, height = self.extents(node)
        self.click_at(x + width // 2, y + height // 2)

    def app(self, pid):
        return wait_for(f"process {pid} on the accessibility bus", lambda: next(
            (app for app in self.desktop if app is not None and app.get_process_id() == pid),
            None), 15)

    def nodes(self, root, role=None, name=None):
        found = []

        def visit(node, depth):
            if node is None or depth > 40:
                return
            try:
                if not node.getState().contains(self.at.STATE_SHOWING):
                    return
                if (role is None or node.getRole() == role) and (name is None or node.name == name):
                    found.append(node)
                for child in node:
                    visit(child, depth + 1)
            except Exception:  # a node that went away while it was read
                return

        visit(root, 0)
        return found

    def node(self, root, role=None, name=None):
        return wait_for(f"accessible {name or ''} (role {role})",
                        lambda: self.nodes(root, role, name)[:1])[0]

    def text(self, node):
        return node.queryText().getText(0, -1)

    def extents(self, node):
        box = node.queryComponent().getExtents(self.at.DESKTOP_COORDS)
        return box.x, box.y, box.width, box.height

    def press(self, node):
        """Presses `node` the way switch access does: its accessible "Press" action."""
        actions = node.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        check("Press" in names, f"{node.name!r} offers {names}, no Press")
        check(actions.doAction(names.index("Press")), f"{node.name!r} refused Press")

    def has_state(self, node, state):
        return node.getState().contains(state)


class Listener:
    """(role, text) of each event heard, oldest first. Events arrive through
    GLib's main loop, which `heard` runs for what has come in."""

    def __init__(self, kind):
        from gi.repository import Atspi, GLib
        self._context, self._kind, self._said = GLib.MainContext.default(), kind, []
        self._listener = Atspi.EventListener.new(self._note)
        self._listener.register(kind)

    def _note(self, event):
        try:
            # Qt names the source where the new name belongs: read it at once.
            self._said.append((event.source.getRole(), event.source.name))
        except Exception:  # a source that went away before it was read
            pass

    def heard(self):
        while self._context.iteration(False):
            pass
        return list(self._said)

    def close(self):
        self._listener.deregister(self._kind)
