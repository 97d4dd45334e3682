#!/usr/bin/python3
"""What a shopper does with the bank selector on a real X server: the demo and
the example hosts (Qt Quick, Qt Widgets, pure QML) driven with real keystrokes
and clicks, read over AT-SPI, paying into a bank app registered with xdg-utils.
Prints "N passed, N failed" last; screenshots of failed steps go to --out."""

import argparse
import json
import sys
import time
import traceback
from pathlib import Path

from desktop import Desktop, Failure, check, run, wait_for
from screen import Listener, Screen
from wayland import Wayland

SELECTOR = "Choose your bank"  # the selector window's title and accessible name
SEARCH = "Search for your bank"
PAY_WITH_PHONE = "Pay with your phone"
SCAN_WITH_PHONE = "Scan this code with your phone's camera to pay"
PAYMENT = "VELATESTPAYMENTSTATIC00000000001"
QR_LINK = f"https://qr.vela.example/{PAYMENT}?type=02&sum=12500&cur=XTS&crc=5A2B"
SUB_LINK = f"https://sub.vela.example/{PAYMENT}"
# The examples' shops: a payment, a link the kit refuses, the payment again at another sum.
SHOP_LINK = f"https://qr.vela.example/{PAYMENT}?sum=100"
BROKEN_LINK = "https://qr.vela.example/VELATESTPAYMENTBROKEN?sum=999"
SHOP_LINK_AGAIN = f"https://qr.vela.example/{PAYMENT}?sum=200"
INVALID_LINK = ("This payment link is not valid. "
                "Please return to the shop and start the payment again.")
SPLASH = "Loading the shop"
QML_PAYMENT = "Payment"


class Shopper:
    def __init__(self, args, desktop):
        self.args = args
        self.desktop = desktop
        self.screen = Screen(desktop, Path(args.out))
        self.documents = {kind: json.loads((Path(args.sandbox_data) / f"{kind}.json").read_text())
                          ["dictionary"] for kind in ("qr", "sub")}
        self.links = {**desktop.bank_links(QR_LINK), **desktop.bank_links(SUB_LINK)}
        self.process = None

    def banks_matching(self, kind, text):
        return [bank["bankName"] for bank in self.documents[kind]
                if text.lower() in bank["bankName"].lower()]

    def demo_command(self, caches, platform=("-platform", "xcb")):
        d = self.desktop
        return [str(Path(self.args.build) / "demo/vela-demo"), *platform, "--link", QR_LINK,
                "--connect-to", d.address, "--cacert", str(d.cert),
                "--caches-dir", str(d.work / caches)]

    def start_demo(self, *args, caches="caches-a"):
        self._start([*self.demo_command(caches), *args], "VelaWidget demo", "demo")

    def start_example(self, program, link, *args, title, log, extra_env=None, first=None):
        """Gives the window titled `first` that showed before the main one, if asked."""
        d = self.desktop
        return self._start([program, link, d.address, str(d.cert), *args], title, log,
                           extra_env or {"XDG_CACHE_HOME": str(d.work / log)}, first)

    def _start(self, command, title, log, extra_env=None, first=None, env=None):
        """`title` None for a window X cannot see (a Wayland one)."""
        if self.process:
            self.desktop.stop(self.process)
        self.process = self.desktop.launch(command, extra_env, log, env)
        earlier = self.screen.window(first) if first else None
        self.main_window = self.screen.window(title) if title else None
        self.app = self.screen.app(self.process.pid)
        return earlier

    def open_from_demo(self):
        """Clicks "Choose bank"; the selector's window, whatever its title's language."""
        s = self.screen
        self.press_choose_bank()
        return wait_for("the selector window", lambda: next((int(w) for w in s.xdotool(
            "search", "--onlyvisible", "--pid", str(self.process.pid), "--name", ".",
            check=False).split() if int(w) != self.main_window), None))

    def rows(self):
        return [row.name for row in self.screen.nodes(self.app, self.screen.at.ROLE_LIST_ITEM)]

    def wait_rows(self, expected, first=False):
        wait_for(f"rows {expected}",
                 lambda: self.rows()[:len(expected) if first else None] == expected,
                 explain=lambda: f"rows are {self.rows()}, expected {expected}")

    def search(self, text):
        s = self.screen
        field = s.node(self.app, name=SEARCH)
        s.key("ctrl+a", "BackSpace")
        wait_for("an empty search field", lambda: s.text(field) == "")
        if text:
            s.type(text, field)

    def type_at_once(self, text, show, kind="qr", title=SELECTOR):
        """No click, no Tab, no wait: typed the moment `show` has the window
        mapped, every letter reaches the search field."""
        s = self.screen
        earlier = s.windows(title)
        show()
        s.type_when_mapped(title, text, earlier)
        self.expect_typed(text, kind)

    def expect_typed(self, text, kind):
        """Every letter typed at once is in the search, and the rows follow it."""
        s = self.screen
        field = s.node(self.app, name=SEARCH)
        wait_for("the typed text", lambda: s.text(field) == text, explain=lambda:
                 f"typed {text!r} at once, the search field has {s.text(field)!r}")
        self.wait_rows(self.banks_matching(kind, text))

    def press_choose_bank(self):
        s = self.screen
        s.click(s.node(self.app, s.at.ROLE_PUSH_BUTTON, "Choose bank"))

    def click_first_row(self):
        self.screen.click(self.screen.nodes(self.app, self.screen.at.ROLE_LIST_ITEM)[0])

    def alerts(self):
        at = self.screen.at
        return [node for node in self.screen.nodes(self.app, name="Error")
                if node.getRole() in (at.ROLE_ALERT, at.ROLE_DIALOG)]

    def alert(self):
        alert = wait_for("the alert", lambda: (self.alerts() or [None])[0])
        said = [f"{node.name} {node.description}" for node in self.screen.nodes(alert)]
        check(any("could not be opened" in text for text in said), f"the alert says {said}")
        return alert

    def no_alert(self):
        wait_for("the alert to close", lambda: not self.alerts())

    def reported(self, line, app="demo"):
        """Waits for the app to print `line`: all print what the selector tells them."""
        log = self.desktop.work / f"{app}.log"
        wait_for(f"the {app} to report {line!r} in {log}",
                 lambda: line in log.read_text(encoding="utf-8").splitlines())
        return log.read_text(encoding="utf-8")

    def opens(self, before, expected):
        """The bank app, after `before` links, receives `expected` alone."""
        got = wait_for("the bank app to receive the link",
                       lambda: self.desktop.received_links()[before:])
        check(got == [expected], f"the bank app received {got}, expected [{expected}]")

    def try_to_pay(self, earlier, what, shot):
        """Every way to a bank from a selector that shows a rejected link: Return
        on the list, a click where the first bank was, the code for the phone."""
        s = self.screen
        before = len(self.desktop.received_links())
        s.click(s.node(self.app, name=SEARCH))
        s.key("Down", "Return")
        x, y, width, height = s.extents(s.node(self.app, name=INVALID_LINK))
        s.click_at(x + width // 2, y + height // 2)
        s.click_at(x + width // 2, y + height + 40)
        check(not s.nodes(self.app, name=PAY_WITH_PHONE),
              f"{what} still offers to pay with the phone")
        decoded = s.decode(shot)
        check(earlier not in decoded and "qr.vela.example" not in decoded,
              f"{what} still shows a code for the phone: {decoded!r}")
        # Opening a link takes the kit a round trip to the launcher; a moment
        # is enough for one that was wrongly started to arrive.
        time.sleep(1.0)
        opened = self.desktop.received_links()[before:]
        check(not opened, f"{what} opened {opened}")


def check_tied(screen, selector, host):
    """The selector is a modal dialog transient for `host` and stacked above it."""
    transient = screen.prop(selector, "WM_TRANSIENT_FOR")
    check(f"0x{host:x}" in transient, f"not transient for the host: {transient.strip()}")
    check("_NET_WM_STATE_MODAL" in screen.prop(selector, "_NET_WM_STATE"), "not modal")
    order = screen.stacking()
    check(order.index(selector) > order.index(host), "the host is stacked above the selector")


STEPS, WAYLAND_STEPS = [], []


def step(function, steps=STEPS):
    steps.append(function)
    return function


def wayland_step(function):
    return step(function, WAYLAND_STEPS)


@step
def open_the_selector_type_at_once_and_read_it_over_at_spi(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.start_demo()
    shopper.type_at_once("Quas", shopper.press_choose_bank)
    window, field = s.node(shopper.app, name=SELECTOR), s.node(shopper.app, name=SEARCH)
    check(window.getRole() in (at.ROLE_WINDOW, at.ROLE_FRAME, at.ROLE_DIALOG),
          f"the selector window's role is {window.getRoleName()}")
    check(field.getRole() in (at.ROLE_ENTRY, at.ROLE_TEXT),
          f"the search field's role is {field.getRoleName()}")
    check(s.has_state(field, at.STATE_FOCUSED), "the search field does not have the focus")
    listed = s.node(shopper.app, at.ROLE_LIST, "Banks")
    check(all(row.getRole() == at.ROLE_LIST_ITEM for row in listed),
          "the list holds something other than list items")


@step
def keyboard_path_to_a_bank_whose_app_is_installed(shopper):
    s, at = shopper.screen, shopper.screen.at

    def on_screen():
        """The rows shown, top to bottom, and the current one."""
        rows = sorted(s.nodes(shopper.app, at.ROLE_LIST_ITEM), key=lambda row: s.extents(row)[1])
        current = [row.name for row in rows if s.has_state(row, at.STATE_SELECTED)]
        return [row.name for row in rows], current

    # End and Home over every bank, then Up from the top back to the search.
    shopper.search("")
    wait_for("a screenful of banks", lambda: len(shopper.rows()) >= 6)
    top = on_screen()[0]
    s.key("Down", "End")
    wait_for("the last row to be current", lambda: (shown := on_screen())[1] == shown[0][-1:]
             and shown[0] != top,
             explain=lambda: f"after End the rows shown and current are {on_screen()}")
    s.key("Home")
    wait_for("the first row to be current", lambda: on_screen()[1] == top[:1],
             explain=lambda: f"after Home the current row is {on_screen()[1]}, not {top[0]}")
    s.key("Up")
    wait_for("the search to have the focus",
             lambda: s.has_state(s.node(shopper.app, name=SEARCH), at.STATE_FOCUSED))
    shopper.search("velm")
    shopper.wait_rows(shopper.banks_matching("qr", "velm"))
    s.key("Down", "Down", "Up")  # into the list, one row down and back
    rows = s.nodes(shopper.app, at.ROLE_LIST_ITEM)
    wait_for("the first row to be current", lambda: s.has_state(rows[0], at.STATE_SELECTED))
    s.key("Return")
    shopper.opens(0, shopper.links["https://qr.vela.example/logos/1000.png"])
    s.wait_gone(SELECTOR)
    shopper.reported(f"result: bankOpened {shopper.banks_matching('qr', 'velm')[0]} (app)")


@step
def a_bank_without_an_app_shows_the_alert_with_a_code_for_the_phone(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.type_at_once("quas", shopper.press_choose_bank)  # a later opening
    # OK clicked, then pressed without a pointer the way switch access does.
    for press in (s.click, s.press):
        shopper.click_first_row()
        press(s.node(shopper.alert(), at.ROLE_PUSH_BUTTON, "OK"))
        shopper.no_alert()
    shopper.click_first_row()
    s.click(s.node(shopper.alert(), at.ROLE_PUSH_BUTTON, PAY_WITH_PHONE))
    code = s.node(shopper.app, name=SCAN_WITH_PHONE)
    check(code.getRole() == at.ROLE_IMAGE, f"the code's role is {code.getRoleName()}")
    shopper.no_alert()
    decoded = s.decode("pay-with-phone")
    check(decoded == QR_LINK + "\n", f"zbarimg read {decoded!r} from the screen")
    s.key("Escape")
    wait_for("the code to go", lambda: not s.nodes(shopper.app, name=SCAN_WITH_PHONE))
    # Escape closes the alert, then the selector.
    shopper.click_first_row()
    shopper.alert()
    s.key("Escape")
    shopper.no_alert()
    s.window(SELECTOR)
    s.key("Escape")
    s.wait_gone(SELECTOR)
    printed = shopper.reported(f"result: bankNotOpened {shopper.banks_matching('qr', 'quas')[0]} (app)")
    check("event: qrShown" in printed, "showing the code was not reported")


@step
def a_screen_reader_hears_what_the_search_found(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.start_demo()
    shopper.open_from_demo()
    s.node(shopper.app, at.ROLE_STATUS_BAR)
    listener = Listener("object:property-change:accessible-name")
    try:
        def said():
            return [text for role, text in listener.heard() if role == at.ROLE_STATUS_BAR]

        def hears(text, what):
            wait_for(what, lambda: said()[-1:] == [text],
                     explain=lambda: f"a screen reader heard {said()}, not {text!r} last")

        s.type("quas")
        expected = shopper.banks_matching("qr", "quas")
        hears(f"Banks found: {len(expected)}", "the count of banks found")
        # Told once the list has followed the text, never ahead of it.
        check(shopper.rows() == expected, f"the count came with rows {shopper.rows()}")
        s.type("zz")
        hears("No banks match your search", "the no-match text")
        check(s.has_state(s.node(shopper.app, name=SEARCH), at.STATE_FOCUSED),
              "the search field lost the focus")
    finally:
        listener.close()
    s.key("Escape")
    s.wait_gone(SELECTOR)


@step
def the_selector_fits_a_full_hd_screen_at_150_percent(shopper):
    s, d = shopper.screen, shopper.desktop
    env = d.second_display("1920x1080")

    def shown_selector():
        return run(["xdotool", "search", "--onlyvisible", "--name", f"^{SELECTOR}$"],
                   env=env, check=False).split()[:1]

    # At 150 % the selector's 720 points are 1080 pixels, the whole screen
    # before any title bar; at 100 % it fits as it is and keeps its size.
    for scale, buttons in (("1.5", ("Choose bank", "Show selector in window")),
                           ("1", ("Choose bank",))):
        demo = d.launch(shopper.demo_command("caches-a"),
                        extra_env={"DISPLAY": env["DISPLAY"], "QT_SCALE_FACTOR": scale},
                        log=f"hd-{scale}")
        try:
            app = s.app(demo.pid)
            # On its own, placed by the window manager; then presented over the demo's window.
            for button in buttons:
                what = f"at {scale}, {button}"
                # Pointer coordinates over AT-SPI are not scaled; the keyboard needs none.
                pushed = s.node(app, s.at.ROLE_PUSH_BUTTON, button)
                pushed.queryComponent().grabFocus()
                wait_for(f"focus on {button}", lambda: s.has_state(pushed, s.at.STATE_FOCUSED))
                run(["xdotool", "key", "space"], env=env)
                window = wait_for("the selector on the full HD screen", shown_selector)[0]
                x, y, width, height = s.geometry(window, env)
                frame = run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], env=env)
                left, right, top, bottom = (int(n) for n in frame.split("=")[1].split(","))
                check(y - top >= 0 and y + height + bottom <= 1080 and x - left >= 0
                      and x + width + right <= 1920, f"{what}: the framed window {x - left},"
                      f"{y - top} {width + left + right}x{height + top + bottom} leaves the screen")
                # Only the height gives way: 390 points across, less Qt's rounding.
                expected = (390 * float(scale), None if scale != "1" else 720)
                check(abs(width - expected[0]) <= 2 and expected[1] in (None, height),
                      f"{what}: {width}x{height} pixels, expected {expected}")
                run(["xdotool", "key", "Escape"], env=env)
                wait_for("the selector to close", lambda: not shown_selector())
        finally:
            d.stop(demo)


@step
def offline_without_a_cache_in_german_then_retry_from_the_keyboard(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.desktop.fault("drop")
    try:
        shopper.start_demo("--locale", "de", caches="caches-b")
        shopper.open_from_demo()
        s.node(shopper.app, name="Die Liste der Banken konnte nicht geladen werden. Prüfen Sie "
               "Ihre Internetverbindung und versuchen Sie es erneut.")
        s.node(shopper.app, name="Bank suchen")
    finally:
        shopper.desktop.fault("none")
    retry = s.node(shopper.app, at.ROLE_PUSH_BUTTON, "Erneut versuchen")
    for _ in range(3):
        if not s.has_state(retry, at.STATE_FOCUSED):
            s.key("Tab")
            time.sleep(0.1)
    check(s.has_state(retry, at.STATE_FOCUSED), "Tab does not reach the retry button")
    s.key("Return")
    wait_for("rows after retrying", lambda: len(shopper.rows()) >= 5)


@step
def offline_from_the_cache_right_to_left_in_a_shops_dark_appearance(shopper):
    s = shopper.screen
    sample = Path(shopper.args.sandbox_data).parents[2] / "demo/appearance-sample.json"
    shopper.desktop.fault("drop")
    try:
        shopper.start_demo("--dark", "--locale", "ar", "--appearance", str(sample))
        window = shopper.open_from_demo()
        # From the cache of the first run, the banks tapped there first, latest first.
        last_used = ["Quastel Kredit", "Velmé Bank"]
        shopper.wait_rows(last_used, first=True)
    finally:
        shopper.desktop.fault("none")
    x, _, width, _ = s.geometry(window)
    fx, fy, fwidth, _ = s.extents(s.node(shopper.app, name="ابحث عن بنكك"))
    # Mirrored: the magnifying glass sits at the right, so the field starts further left.
    left_gap, right_gap = fx - x, (x + width) - (fx + fwidth)
    check(right_gap > left_gap,
          f"the search field is not mirrored: {left_gap} px left, {right_gap} px right")
    background = json.loads(sample.read_text())["dark"]["MainBackground"]
    seen = s.pixel(s.screenshot("right-to-left-dark"), x + 6, fy - 6)
    check(seen == background, f"the background is {seen}, not the shop's {background}")


@step
def presented_over_a_host_window(shopper):
    s, at = shopper.screen, shopper.screen.at
    # The desktop names itself this time; the opener must not care.
    shopper.start_example(shopper.args.qt_host, SUB_LINK, title="Shop", log="qt-host",
                          extra_env={"XDG_CURRENT_DESKTOP": "openbox",
                                     "XDG_CACHE_HOME": str(shopper.desktop.work / "host-cache")})
    host = shopper.main_window
    s.xdotool("windowsize", str(host), "900", "300")
    s.xdotool("windowmove", "--sync", str(host), "190", "400")
    pay = s.node(shopper.app, at.ROLE_PUSH_BUTTON, "Pay with my bank")
    shopper.type_at_once("Quas", lambda: s.click(pay), kind="sub")
    selector = s.window(SELECTOR)
    hx, hy, hw, hh = s.geometry(host)
    sx, sy, sw, sh = s.geometry(selector)
    off = abs((hx + hw / 2) - (sx + sw / 2)), abs((hy + hh / 2) - (sy + sh / 2))
    check(max(off) <= 40, f"not centred on the host: off by {off}")
    s.click_at(hx + 20, hy + hh // 2)  # the blocked host, beside the selector
    time.sleep(0.3)
    check_tied(s, selector, host)
    s.click(s.node(shopper.app, name=SEARCH))
    shopper.search("καραβίδων")
    expected = shopper.banks_matching("sub", "καραβίδων")
    shopper.wait_rows(expected)
    before = len(shopper.desktop.received_links())
    shopper.click_first_row()
    shopper.opens(before, shopper.links["https://sub.vela.example/logos/2000.png"])
    s.wait_gone(SELECTOR)
    shopper.reported(f"selector: bankOpened {expected[0]}", app="qt-host")


@step
def widgets_host_passes_its_splash_over_and_a_replaced_link_opens_nothing(shopper):
    s, at = shopper.screen, shopper.screen.at
    splash = shopper.start_example(shopper.args.widgets_host, SHOP_LINK, "--splash", "--then",
                                   BROKEN_LINK, title="Widgets shop", log="widgets-host",
                                   first=SPLASH)
    host = shopper.main_window
    check(not s.windows(SPLASH), "the splash is still shown")
    pay = s.node(shopper.app, at.ROLE_PUSH_BUTTON, "Pay")
    x, y, width, height = s.extents(pay)
    s.click(pay)
    selector = s.window(SELECTOR)
    # Once the banks are listed the shop replaces the payment with a link the kit refuses.
    s.node(shopper.app, name=INVALID_LINK)
    s.click_at(x + width // 2, y + height // 2)  # the blocked main window
    time.sleep(0.3)
    check(s.windows(SELECTOR) == [selector], f"a second click on Pay made {s.windows(SELECTOR)}")
    check_tied(s, selector, host)
    check(f"0x{splash:x}" not in s.prop(selector, "WM_TRANSIENT_FOR"),
          "the selector is transient for the hidden splash")
    shopper.try_to_pay(SHOP_LINK, "the replaced payment", "widgets-no-phone-code")
    s.key("Escape")
    s.wait_gone(SELECTOR)


@step
def qml_host_types_at_once_opens_nothing_for_a_rejected_link_then_reopens(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.start_example(shopper.args.qml_host, SHOP_LINK, title="QML shop", log="qml-host")
    s.xdotool("windowmove", "--sync", str(shopper.main_window), "20", "20")
    pay = s.node(shopper.app, at.ROLE_PUSH_BUTTON, "Pay")
    # And no `focus: true` in the shop's QML.
    shopper.type_at_once("Velm", lambda: s.click(pay), title=QML_PAYMENT)
    # Beside the shop's window, so the shop can be typed in while the payment shows.
    s.xdotool("windowmove", "--sync", str(s.window(QML_PAYMENT)), "600", "20")

    def prepare(link):
        s.click(s.node(shopper.app, name="Payment link"))
        s.key("ctrl+a", "BackSpace")
        s.type(link)
        s.key("Return")

    prepare(BROKEN_LINK)
    s.node(shopper.app, name=INVALID_LINK)
    s.node(shopper.app, name="The payment link was rejected")
    before = len(shopper.desktop.received_links())
    shopper.try_to_pay(SHOP_LINK, "the rejected payment", "qml-no-phone-code")
    prepare(SHOP_LINK_AGAIN)
    shopper.wait_rows(shopper.banks_matching("qr", "velm"))
    shopper.click_first_row()
    shopper.opens(before, shopper.desktop.bank_links(SHOP_LINK_AGAIN)[
        "https://qr.vela.example/logos/1000.png"])
    s.wait_gone(QML_PAYMENT)  # closed on dismissRequested
    # Shown again, the selector has the focus once more.
    shopper.type_at_once("Quas", lambda: s.click(pay), title=QML_PAYMENT)


def open_on_wayland(shopper, wayland, text, button="Choose bank", kind="qr"):
    """No pointer on the headless seat: the focus to the button, Space, and
    `text` typed the moment the selector is mapped."""
    s = shopper.screen
    button = s.node(shopper.app, s.at.ROLE_PUSH_BUTTON, button)
    button.queryAction().doAction(1)  # SetFocus
    wait_for("the focus on Choose bank", lambda: s.has_state(button, s.at.STATE_FOCUSED))
    wayland.key("space")
    wayland.type_when_mapped(SELECTOR, text)
    shopper.expect_typed(text, kind)


def start_on_wayland(shopper, wayland, command, log):
    shopper._start(command, None, log, {"XDG_CACHE_HOME": str(shopper.desktop.work / log)},
                   env=wayland.app_env)


@wayland_step
def wayland_types_at_once_the_alert_for_a_bank_without_an_app_then_a_bank_app(shopper, wayland):
    start_on_wayland(shopper, wayland, shopper.demo_command("caches-wayland", ()), "demo")
    open_on_wayland(shopper, wayland, "quas")
    wayland.key("Down", "Return")
    shopper.alert()
    wayland.key("Escape")
    shopper.no_alert()
    wayland.key("Escape")
    wayland.wait_gone(SELECTOR)
    shopper.reported(f"result: bankNotOpened {shopper.banks_matching('qr', 'quas')[0]} (app)")
    before = len(shopper.desktop.received_links())
    open_on_wayland(shopper, wayland, "velm")
    wayland.key("Down", "Return")
    shopper.opens(before, shopper.links["https://qr.vela.example/logos/1000.png"])
    wayland.wait_gone(SELECTOR)
    shopper.reported(f"result: bankOpened {shopper.banks_matching('qr', 'velm')[0]} (app)")


@wayland_step
def wayland_presented_over_a_host_window_types_at_once_each_time(shopper, wayland):
    d = shopper.desktop
    start_on_wayland(shopper, wayland, [shopper.args.qt_host, SUB_LINK, d.address, str(d.cert)],
                     "qt-host-wayland")
    # Keys go astray, if ever, as a window appears: each opening is another chance.
    for text in ("Quas", "Mira", "Velm", "Zuck", "Fuchs", "Quib"):
        open_on_wayland(shopper, wayland, text, button="Pay with my bank", kind="sub")
        wayland.key("Escape")
        wayland.wait_gone(SELECTOR)


def run_steps(steps, only, shot, *context):
    """[passed, failed]; one failed step does not stop the others."""
    counts = [0, 0]
    for function in (f for f in steps if only in f.__name__):
        name, began = function.__name__, time.monotonic()
        try:
            function(*context)
            counts[0] += 1
            print(f"PASS {name} ({time.monotonic() - began:.1f} s)", flush=True)
        except Exception as error:
            counts[1] += 1
            print(f"FAIL {name}: {error}", flush=True)
            if not isinstance(error, Failure):
                traceback.print_exc()
            shot(f"failed-{name}")
    return counts


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    for name in ("--build", "--out", "--qt-host", "--widgets-host", "--qml-host", "--sandbox-data"):
        parser.add_argument(name, required=True)
    parser.add_argument("--only", default="")
    args = parser.parse_args()
    passed = failed = 0
    out = Path(args.out)
    out.mkdir(parents=True, exist_ok=True)
    for old in out.glob("*.png"):
        old.unlink()
    desktop = Desktop(out / "work", Path(args.build))
    try:
        desktop.start()
        shopper = Shopper(args, desktop)
        passed, failed = run_steps(STEPS, args.only, shopper.screen.screenshot, shopper)
        if any(args.only in function.__name__ for function in WAYLAND_STEPS):
            began = time.monotonic()
            wayland = Wayland(desktop)
            try:
                wayland.start()
                more = run_steps(WAYLAND_STEPS, args.only,
                                 lambda name: wayland.screenshot(out / f"{name}.png"),
                                 shopper, wayland)
                passed, failed = passed + more[0], failed + more[1]
            finally:
                wayland.close()
            print(f"the Wayland leg took {time.monotonic() - began:.1f} s", flush=True)
    except Exception as error:
        failed += 1
        print(f"FAIL setting up the desktop: {error}", flush=True)
        traceback.print_exc()
    finally:
        desktop.close()
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
