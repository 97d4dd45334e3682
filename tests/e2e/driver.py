#!/usr/bin/python3
"""What a shopper does with the bank selector, on a real X server: the demo and
the example hosts (Qt Quick, Qt Widgets, pure QML) driven with real keystrokes
and clicks, a bank app
registered with xdg-utils that records the link it receives, the sandbox's
fault modes for offline runs, and the accessibility tree read over AT-SPI.
Each step leaves a screenshot in the output folder. Prints "N passed, N
failed" last and exits non-zero when a step failed."""

import argparse
import json
import sys
import time
import traceback
from pathlib import Path

from desktop import Desktop, Failure, run, wait_for
from screen import Screen

SELECTOR = "Choose your bank"  # the selector window's title and accessible name
LIST = "Banks"
SEARCH = "Search for your bank"
SEARCH_AR = "ابحث عن بنكك"
NOTHING_FOUND = "No banks match your search"
LOAD_FAILED_DE = ("Die Liste der Banken konnte nicht geladen werden. "
                  "Prüfen Sie Ihre Internetverbindung und versuchen Sie es erneut.")
SEARCH_DE = "Bank suchen"
RETRY_DE = "Erneut versuchen"
SELECTOR_DE = "Bank auswählen"
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
WIDGETS_SHOP = "Widgets shop"
SPLASH = "Loading the shop"
QML_SHOP = "QML shop"
QML_PAYMENT = "Payment"
LINK_FIELD = "Payment link"
LINK_REJECTED = "The payment link was rejected"
VELME_LOGO = "https://qr.vela.example/logos/1000.png"


class Shopper:
    """The state the steps share: the desktop, the screen, the running app."""

    def __init__(self, args, desktop):
        self.args = args
        self.out = Path(args.out)
        self.desktop = desktop
        self.screen = Screen(self.desktop, self.out)
        self.documents = {kind: json.loads((Path(args.sandbox_data) / f"{kind}.json").read_text())
                          ["dictionary"] for kind in ("qr", "sub")}
        self.links = {**self.desktop.bank_links(QR_LINK), **self.desktop.bank_links(SUB_LINK)}
        self.shop_links = {link: self.desktop.bank_links(link)
                           for link in (SHOP_LINK, SHOP_LINK_AGAIN)}
        self.process = None
        self.app = None

    def banks_matching(self, kind, text):
        return [bank["bankName"] for bank in self.documents[kind]
                if text.lower() in bank["bankName"].lower()]

    # --- the applications ---

    def start_demo(self, *args, caches="caches-a"):
        self.stop()
        d = self.desktop
        self.process = d.launch([str(Path(self.args.build) / "demo/vela-demo"), "-platform", "xcb",
                                "--link", QR_LINK, "--connect-to", d.address, "--cacert",
                                str(d.cert), "--caches-dir", str(d.work / caches), *args],
                                log="demo")
        self.main_window = self.screen.window("VelaWidget demo")
        self.app = self.screen.app(self.process.pid)

    def start_host(self, link, extra_env):
        self.start_example(self.args.qt_host, link, title="Shop", log="qt-host",
                           extra_env=extra_env)

    def start_example(self, program, link, *args, title, log, extra_env=None, first=None):
        """An example host on the sandbox; its main window's title is `title`.
        Gives the window titled `first` that showed before the main one, if asked."""
        self.stop()
        d = self.desktop
        self.process = d.launch([program, link, d.address, str(d.cert), *args],
                                extra_env=extra_env or {"XDG_CACHE_HOME": str(d.work / log)},
                                log=log)
        earlier = self.screen.window(first) if first else None
        self.main_window = self.screen.window(title)
        self.app = self.screen.app(self.process.pid)
        return earlier

    def stop(self):
        if self.process:
            self.desktop.stop(self.process)
            self.process = None

    def open_from_demo(self):
        """Clicks "Choose bank" and gives the selector's window once it is up."""
        s = self.screen
        s.click(s.node(self.app, s.at.ROLE_PUSH_BUTTON, "Choose bank"))
        return self.selector_window()

    def selector_window(self):
        """The app's visible window other than its main one (whatever its title's language)."""
        def find():
            out = self.screen.xdotool("search", "--onlyvisible", "--pid", str(self.process.pid),
                                      "--name", ".", check=False)
            return next((int(w) for w in out.split() if int(w) != self.main_window), None)
        return wait_for("the selector window", find)

    # --- the selector, through its accessibility tree ---

    def rows(self):
        return self.screen.names(self.app, self.screen.at.ROLE_LIST_ITEM)

    def wait_rows(self, expected):
        try:
            wait_for(f"rows {expected}", lambda: self.rows() == expected)
        except Failure:
            raise Failure(f"rows are {self.rows()}, expected {expected}") from None

    def search(self, text):
        s = self.screen
        field = s.node(self.app, name=SEARCH)
        s.key("ctrl+a", "BackSpace")
        wait_for("an empty search field", lambda: s.text(field) == "")
        if text:
            s.type(text, field)

    def alerts(self):
        at = self.screen.at
        return [node for node in self.screen.nodes(self.app, name="Error")
                if node.getRole() in (at.ROLE_ALERT, at.ROLE_DIALOG)]

    def alert(self):
        """The open alert, once it says why: the bank's app could not be opened."""
        alert = wait_for("the alert", lambda: (self.alerts() or [None])[0])
        said = [f"{node.name} {node.description}" for node in self.screen.nodes(alert)]
        if not any("could not be opened" in text for text in said):
            raise Failure(f"the alert says {said}")
        return alert

    def no_alert(self):
        wait_for("the alert to close", lambda: not self.alerts())

    def reported(self, line, app="demo"):
        """Waits for the app to print `line`: all print what the selector tells them."""
        log = self.desktop.work / f"{app}.log"
        try:
            wait_for(f"the {app} to report {line!r}",
                     lambda: line in log.read_text(encoding="utf-8").splitlines())
        except Failure:
            raise Failure(f"the {app} printed {log.read_text(encoding='utf-8')!r}") from None
        return log.read_text(encoding="utf-8")

    def new_links(self, before):
        """What the bank app received after it had received `before` links."""
        return self.desktop.received_links()[before:]

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
        # A rejected link has no code for the phone: the action is not offered.
        if s.nodes(self.app, name=PAY_WITH_PHONE):
            raise Failure(f"{what} still offers to pay with the phone")
        decoded = run(["zbarimg", "--raw", "-q", str(s.screenshot(shot))], env=s.env, check=False)
        if earlier in decoded or "qr.vela.example" in decoded:
            raise Failure(f"{what} still shows a code for the phone: {decoded!r}")
        # Opening a link takes the kit a round trip to the launcher; a moment
        # is enough for one that was wrongly started to arrive.
        time.sleep(1.0)
        if self.desktop.received_links()[before:]:
            raise Failure(f"{what} opened {self.desktop.received_links()[before:]}")


def check_tied(screen, selector, host, when):
    """The selector is a modal dialog transient for `host` and stacked above it."""
    transient = screen.prop(selector, "WM_TRANSIENT_FOR")
    if f"0x{host:x}" not in transient:
        raise Failure(f"{when}: not transient for the host: {transient.strip()}")
    if "_NET_WM_STATE_MODAL" not in screen.prop(selector, "_NET_WM_STATE"):
        raise Failure(f"{when}: not modal")
    order = screen.stacking()
    if order.index(selector) < order.index(host):
        raise Failure(f"{when}: the host is stacked above the selector")


STEPS = []


def step(function):
    STEPS.append(function)
    return function


@step
def open_the_selector_and_type_at_once(shopper):
    s = shopper.screen
    shopper.start_demo()
    s.click(s.node(shopper.app, s.at.ROLE_PUSH_BUTTON, "Choose bank"))
    s.window(SELECTOR)
    s.type("Quas")  # no click, no Tab: the search field has the focus
    field = s.node(shopper.app, name=SEARCH)
    wait_for("the typed text in the search field", lambda: s.text(field) == "Quas")
    shopper.wait_rows(shopper.banks_matching("qr", "quas"))
    s.screenshot("01-type-at-once")


@step
def search_latin_cyrillic_greek_and_nothing(shopper):
    s = shopper.screen
    for shot, text in (("02-search-cyrillic", "прянич"), ("03-search-greek", "τράπεζα")):
        shopper.search(text)
        shopper.wait_rows(shopper.banks_matching("qr", text))
        s.screenshot(shot)
    shopper.search("zzzq")
    s.node(shopper.app, name=NOTHING_FOUND)
    shopper.wait_rows([])
    s.screenshot("04-search-nothing")


@step
def accessible_names_and_roles(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.search("")
    window = s.node(shopper.app, name=SELECTOR)
    if window.getRole() not in (at.ROLE_WINDOW, at.ROLE_FRAME, at.ROLE_DIALOG):
        raise Failure(f"the selector window's role is {window.getRoleName()}")
    listed = s.node(shopper.app, at.ROLE_LIST, LIST)
    field = s.node(shopper.app, name=SEARCH)
    if field.getRole() not in (at.ROLE_ENTRY, at.ROLE_TEXT):
        raise Failure(f"the search field's role is {field.getRoleName()}")
    if not s.has_state(field, at.STATE_FOCUSED):
        raise Failure("the search field does not have the focus")
    wait_for("named rows", lambda: len(shopper.rows()) >= 5)
    names = [bank["bankName"] for bank in shopper.documents["qr"]]
    rows = shopper.rows()
    if rows != names[:len(rows)]:
        raise Failure(f"rows {rows} are not the list's first banks")
    if any(row.getRole() != at.ROLE_LIST_ITEM for row in listed):
        raise Failure("the list holds something other than list items")


@step
def keyboard_path_to_a_bank_whose_app_is_installed(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.search("velm")
    shopper.wait_rows(shopper.banks_matching("qr", "velm"))
    s.key("Down", "Down", "Up")  # into the list, one row down and back
    rows = s.nodes(shopper.app, at.ROLE_LIST_ITEM)
    wait_for("the first row to be current", lambda: s.has_state(rows[0], at.STATE_SELECTED))
    s.screenshot("05-keyboard-path")
    s.key("Return")
    expected = shopper.links["https://qr.vela.example/logos/1000.png"]
    wait_for("the bank app to receive the link", lambda: shopper.desktop.received_links())
    if shopper.desktop.received_links() != [expected]:
        raise Failure(f"the bank app received {shopper.desktop.received_links()}, "
                      f"expected [{expected}]")
    s.wait_gone(SELECTOR)
    s.screenshot("06-bank-app-opened")
    bank = shopper.banks_matching("qr", "velm")[0]
    printed = shopper.reported(f"result: bankOpened {bank} (app)")
    hits = len(shopper.banks_matching("qr", "velm"))
    if f"event: search length 4, {hits} hits" not in printed or "velm" in printed:
        raise Failure(f"the search events say {printed!r}")


@step
def a_bank_without_an_app_shows_the_alert_until_ok(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.open_from_demo()
    shopper.search("quas")
    shopper.wait_rows(shopper.banks_matching("qr", "quas"))
    s.click(s.nodes(shopper.app, at.ROLE_LIST_ITEM)[0])
    shopper.alert()
    s.screenshot("07-alert")
    s.click(s.node(shopper.app, at.ROLE_PUSH_BUTTON, "OK"))
    shopper.no_alert()
    s.window(SELECTOR)


@step
def the_alert_offers_a_code_for_the_phone(shopper):
    s, at = shopper.screen, shopper.screen.at
    s.click(s.nodes(shopper.app, at.ROLE_LIST_ITEM)[0])
    alert = shopper.alert()
    s.click(s.node(alert, at.ROLE_PUSH_BUTTON, PAY_WITH_PHONE))
    code = s.node(shopper.app, name=SCAN_WITH_PHONE)
    if code.getRole() != at.ROLE_IMAGE:
        raise Failure(f"the code's role is {code.getRoleName()}")
    shopper.no_alert()
    shot = s.screenshot("07b-pay-with-phone")
    decoded = run(["zbarimg", "--raw", "-q", str(shot)], env=s.env, check=False)
    if decoded != QR_LINK + "\n":
        raise Failure(f"zbarimg read {decoded!r} from the screen")
    s.key("Escape")
    wait_for("the code to go", lambda: not s.nodes(shopper.app, name=SCAN_WITH_PHONE))
    s.node(shopper.app, at.ROLE_LIST, LIST)
    s.window(SELECTOR)


@step
def escape_closes_the_alert_then_the_selector(shopper):
    s, at = shopper.screen, shopper.screen.at
    s.click(s.nodes(shopper.app, at.ROLE_LIST_ITEM)[0])
    shopper.alert()
    s.key("Escape")
    shopper.no_alert()
    s.window(SELECTOR)
    s.screenshot("08-alert-escaped")
    s.key("Escape")
    s.wait_gone(SELECTOR)
    if len(shopper.desktop.received_links()) != 1:
        raise Failure("a bank without an app received a link")
    printed = shopper.reported(f"result: bankNotOpened {shopper.banks_matching('qr', 'quas')[0]} (app)")
    if "event: qrShown" not in printed:
        raise Failure("showing the code was not reported")


@step
def offline_with_a_cached_list_in_the_dark(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.desktop.fault("drop")
    try:
        shopper.start_demo("--dark")
        window = shopper.open_from_demo()
        # From the cache of the earlier run, the banks tapped there first, latest first.
        last_used = ["Quastel Kredit", "Velmé Bank"]
        try:
            wait_for("cached rows", lambda: shopper.rows()[:2] == last_used)
        except Failure:
            raise Failure(f"rows are {shopper.rows()}, expected {last_used} first") from None
        shot = s.screenshot("09-offline-cached-dark")
        x, y, width, height = s.geometry(window)
        if s.lightness(shot, (x, y, width, 60)) > 0.35:
            raise Failure("the selector is not dark")
        shopper.search("quas")
        shopper.wait_rows(shopper.banks_matching("qr", "quas"))
        s.click(s.nodes(shopper.app, at.ROLE_LIST_ITEM)[0])
        alert = shopper.alert()
        shot = s.screenshot("10-alert-dark")
        if s.lightness(shot, s.extents(alert)) > 0.5:
            raise Failure("the alert is not dark")
        s.key("Escape")
        shopper.no_alert()
    finally:
        shopper.desktop.fault("none")


@step
def offline_without_a_cache_in_german_then_retry(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.desktop.fault("drop")
    try:
        shopper.start_demo("--locale", "de", caches="caches-b")
        window = shopper.open_from_demo()
        s.node(shopper.app, name=LOAD_FAILED_DE)
        s.node(shopper.app, name=SEARCH_DE)
        s.screenshot("11-offline-no-cache-german")
    finally:
        shopper.desktop.fault("none")
    # Retry in the selector's window, reached from the keyboard.
    selector = next(node for node in s.nodes(shopper.app)
                    if node.getRole() in (at.ROLE_WINDOW, at.ROLE_FRAME)
                    and node.name != "VelaWidget demo")
    retry = s.node(selector, at.ROLE_PUSH_BUTTON, RETRY_DE)
    for _ in range(3):
        if s.has_state(retry, at.STATE_FOCUSED):
            break
        s.key("Tab")
        time.sleep(0.1)
    if not s.has_state(retry, at.STATE_FOCUSED):
        raise Failure("Tab does not reach the retry button")
    s.key("Return")
    wait_for("rows after retrying", lambda: len(shopper.rows()) >= 5)
    s.screenshot("12-retried-german")
    if s.windows(SELECTOR) and window not in s.windows(SELECTOR):
        raise Failure("a second selector opened")
    # The host switches to Arabic while the selector is up: it follows at
    # once, mirrored, its window title too.
    s.click(s.node(shopper.app, at.ROLE_COMBO_BOX, "Selector language"))
    s.key("Down", "Return")
    field = s.node(shopper.app, name=SEARCH_AR)
    x, _, width, _ = s.geometry(window)
    fx, _, fwidth, _ = s.extents(field)
    s.screenshot("12b-switched-to-arabic")
    if not (x + width) - (fx + fwidth) > fx - x:
        raise Failure("the selector is not mirrored after the switch to Arabic")
    if s.xdotool("getwindowname", str(window)).strip() == SELECTOR_DE:
        raise Failure("the selector's window title stayed German")


@step
def right_to_left_in_a_shops_appearance(shopper):
    s = shopper.screen
    sample = Path(shopper.args.sandbox_data).parents[2] / "demo/appearance-sample.json"
    shopper.start_demo("--locale", "ar", "--appearance", str(sample))
    window = shopper.open_from_demo()
    wait_for("rows", lambda: len(shopper.rows()) >= 5)
    x, _, width, _ = s.geometry(window)
    field = s.node(shopper.app, name=SEARCH_AR)
    fx, fy, fwidth, _ = s.extents(field)
    # Mirrored: the magnifying glass sits at the right, so the field starts further left.
    left_gap, right_gap = fx - x, (x + width) - (fx + fwidth)
    shot = s.screenshot("13-right-to-left")
    if not right_gap > left_gap:
        raise Failure(f"the search field is not mirrored: {left_gap} px left, {right_gap} px right")
    background = json.loads(sample.read_text())["light"]["MainBackground"]
    if s.pixel(shot, x + 6, fy - 6) != background:
        raise Failure(f"the background is {s.pixel(shot, x + 6, fy - 6)}, not the shop's {background}")


@step
def presented_over_a_host_window(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.stop()
    # The desktop names itself this time; the opener must not care.
    shopper.start_host(SUB_LINK, {"XDG_CURRENT_DESKTOP": "openbox",
                                  "XDG_CACHE_HOME": str(shopper.desktop.work / "host-cache")})
    host = shopper.main_window
    s.xdotool("windowsize", str(host), "900", "300")
    s.xdotool("windowmove", "--sync", str(host), "190", "400")
    s.click(s.node(shopper.app, at.ROLE_PUSH_BUTTON, "Pay with my bank"))
    selector = s.window(SELECTOR)
    check_tied(s, selector, host, "presented")
    hx, hy, hw, hh = s.geometry(host)
    sx, sy, sw, sh = s.geometry(selector)
    off = abs((hx + hw / 2) - (sx + sw / 2)), abs((hy + hh / 2) - (sy + sh / 2))
    if max(off) > 40:
        raise Failure(f"not centred on the host: off by {off}")
    s.screenshot("14-presented-over-host")
    s.click_at(hx + 20, hy + hh // 2)  # the blocked host, beside the selector
    time.sleep(0.3)
    check_tied(s, selector, host, "after a click on the host")
    s.click(s.node(shopper.app, name=SEARCH))
    shopper.search("καραβίδων")
    expected = shopper.banks_matching("sub", "καραβίδων")
    shopper.wait_rows(expected)
    s.screenshot("15-host-search-greek")
    s.click(s.nodes(shopper.app, at.ROLE_LIST_ITEM)[0])
    link = shopper.links["https://sub.vela.example/logos/2000.png"]
    wait_for("the bank app to receive the subscription link",
             lambda: link in shopper.desktop.received_links())
    s.wait_gone(SELECTOR)
    s.screenshot("16-host-bank-app-opened")
    shopper.reported(f"selector: bankOpened {expected[0]}", app="qt-host")


@step
def widgets_host_pays_over_its_main_window(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.start_example(shopper.args.widgets_host, SHOP_LINK, title=WIDGETS_SHOP,
                          log="widgets-host")
    host = shopper.main_window
    s.click(s.node(shopper.app, at.ROLE_PUSH_BUTTON, "Pay"))
    selector = s.window(SELECTOR)
    check_tied(s, selector, host, "presented")
    shopper.search("velm")
    shopper.wait_rows(shopper.banks_matching("qr", "velm"))
    s.screenshot("17-widgets-presented")
    before = len(shopper.desktop.received_links())
    s.click(s.nodes(shopper.app, at.ROLE_LIST_ITEM)[0])
    expected = shopper.shop_links[SHOP_LINK][VELME_LOGO]
    wait_for("the bank app to receive the link", lambda: shopper.new_links(before))
    if shopper.new_links(before) != [expected]:
        raise Failure(f"the bank app received {shopper.new_links(before)}, expected [{expected}]")
    s.wait_gone(SELECTOR)
    said = f"selector: bankOpened {shopper.banks_matching('qr', 'velm')[0]}"
    shopper.reported(said, app="widgets-host")
    s.node(shopper.app, name=said)  # in the status bar too
    s.screenshot("18-widgets-bank-opened")


@step
def widgets_host_passes_its_splash_over_and_a_replaced_link_opens_nothing(shopper):
    """showBankSelector after a splash; the shop then hands over a broken link."""
    s, at = shopper.screen, shopper.screen.at
    splash = shopper.start_example(shopper.args.widgets_host, SHOP_LINK, "--splash", "--then",
                                   BROKEN_LINK, title=WIDGETS_SHOP, log="widgets-host-splash",
                                   first=SPLASH)
    host = shopper.main_window
    if s.windows(SPLASH):
        raise Failure("the splash is still shown")
    pay = s.node(shopper.app, at.ROLE_PUSH_BUTTON, "Pay")
    pay_at = s.extents(pay)
    s.click(pay)
    selector = s.window(SELECTOR)
    check_tied(s, selector, host, "presented after the splash")
    if f"0x{splash:x}" in s.prop(selector, "WM_TRANSIENT_FOR"):
        raise Failure("the selector is transient for the hidden splash")
    # Once the banks are listed the shop replaces the payment with a link the kit refuses.
    shopper.reported("cannot show the selector: The payment link was not accepted: it is not a "
                     "link of the instant-payment system (invalidURLString).",
                     app="widgets-host-splash")
    s.node(shopper.app, name=INVALID_LINK)
    shopper.wait_rows([])
    s.screenshot("19-widgets-link-replaced")
    x, y, width, height = pay_at
    s.click_at(x + width // 2, y + height // 2)  # the blocked main window
    time.sleep(0.3)
    if s.windows(SELECTOR) != [selector]:
        raise Failure(f"a second click on Pay made {s.windows(SELECTOR)}")
    check_tied(s, selector, host, "after a second click on Pay")
    shopper.try_to_pay(SHOP_LINK, "the replaced payment", "19b-widgets-no-phone-code")
    s.key("Escape")
    s.wait_gone(SELECTOR)
    printed = shopper.reported("selector: cancelled", app="widgets-host-splash")
    if "bankChosen" in printed or "bankOpened" in printed:
        raise Failure(f"the widgets host printed {printed!r}")


@step
def qml_host_typing_at_once_reaches_the_search(shopper):
    s, at = shopper.screen, shopper.screen.at
    shopper.start_example(shopper.args.qml_host, SHOP_LINK, title=QML_SHOP, log="qml-host")
    s.xdotool("windowmove", "--sync", str(shopper.main_window), "20", "20")
    s.click(s.node(shopper.app, at.ROLE_PUSH_BUTTON, "Pay"))
    s.window(QML_PAYMENT)
    s.type("Velm")  # no click, no Tab, and no `focus: true` in the shop's QML
    field = s.node(shopper.app, name=SEARCH)
    wait_for("the typed text in the search field", lambda: s.text(field) == "Velm")
    shopper.wait_rows(shopper.banks_matching("qr", "velm"))
    s.screenshot("20-qml-type-at-once")


@step
def qml_host_rejected_link_opens_nothing_until_a_valid_one(shopper):
    s, at = shopper.screen, shopper.screen.at
    payment = s.window(QML_PAYMENT)
    # Beside the shop's window, so the shop can be typed in while the payment shows.
    s.xdotool("windowmove", "--sync", str(payment), "600", "20")

    def prepare(link):
        s.click(s.node(shopper.app, name=LINK_FIELD))
        s.key("ctrl+a", "BackSpace")
        s.type(link)
        s.key("Return")

    prepare(BROKEN_LINK)
    s.node(shopper.app, name=INVALID_LINK)
    s.node(shopper.app, name=LINK_REJECTED)
    shopper.wait_rows([])
    shopper.reported(f"qml: not a payment link: {BROKEN_LINK}", app="qml-host")
    s.screenshot("21-qml-link-rejected")
    before = len(shopper.desktop.received_links())
    shopper.try_to_pay(SHOP_LINK, "the rejected payment", "21b-qml-no-phone-code")
    # A valid link again: the rows come back for the search typed before, and
    # the bank opens this payment, not the first one.
    prepare(SHOP_LINK_AGAIN)
    shopper.wait_rows(shopper.banks_matching("qr", "velm"))
    if s.nodes(shopper.app, name=LINK_REJECTED):
        raise Failure("the shop still says the link was rejected")
    s.click(s.nodes(shopper.app, at.ROLE_LIST_ITEM)[0])
    expected = shopper.shop_links[SHOP_LINK_AGAIN][VELME_LOGO]
    wait_for("the bank app to receive the link", lambda: shopper.new_links(before))
    if shopper.new_links(before) != [expected]:
        raise Failure(f"the bank app received {shopper.new_links(before)}, expected [{expected}]")
    s.wait_gone(QML_PAYMENT)  # closed on dismissRequested
    shopper.reported(f"qml: selector: bankOpened {shopper.banks_matching('qr', 'velm')[0]}",
                     app="qml-host")
    s.screenshot("22-qml-bank-opened")


@step
def qml_host_reopens_with_an_empty_search(shopper):
    s, at = shopper.screen, shopper.screen.at
    s.click(s.node(shopper.app, at.ROLE_PUSH_BUTTON, "Pay"))
    s.window(QML_PAYMENT)
    field = s.node(shopper.app, name=SEARCH)
    wait_for("the search field to have the focus", lambda: s.has_state(field, at.STATE_FOCUSED))
    if s.text(field):
        raise Failure(f"the search starts with {s.text(field)!r}")
    wait_for("every bank", lambda: len(shopper.rows()) >= 5)
    s.screenshot("23-qml-reopened")
    s.type("Quas")
    wait_for("the typed text in the search field", lambda: s.text(field) == "Quas")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--qt-host", required=True)
    parser.add_argument("--widgets-host", required=True)
    parser.add_argument("--qml-host", required=True)
    parser.add_argument("--sandbox-data", required=True)
    parser.add_argument("--only", default="")
    args = parser.parse_args()
    started = time.monotonic()
    passed = failed = 0
    out = Path(args.out)
    out.mkdir(parents=True, exist_ok=True)
    for old in out.glob("*.png"):
        old.unlink()
    desktop = Desktop(out / "work", Path(args.build))
    shopper = None
    try:
        desktop.start()
        shopper = Shopper(args, desktop)
        for function in STEPS:
            name = function.__name__
            if args.only not in name:
                continue
            began = time.monotonic()
            try:
                function(shopper)
                passed += 1
                print(f"PASS {name} ({time.monotonic() - began:.1f} s)", flush=True)
            except Exception as error:  # one failed step does not stop the others
                failed += 1
                print(f"FAIL {name}: {error}", flush=True)
                if not isinstance(error, Failure):
                    traceback.print_exc()
                try:
                    shopper.screen.screenshot(f"failed-{name}")
                except Exception:
                    pass
    except Exception as error:
        failed += 1
        print(f"FAIL setting up the desktop: {error}", flush=True)
        traceback.print_exc()
    finally:
        if shopper:
            shopper.stop()
        desktop.close()
    print(f"e2e took {time.monotonic() - started:.0f} s; screenshots in {args.out}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
