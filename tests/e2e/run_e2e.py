#!/usr/bin/python3
"""Usage: run_e2e.py <path of zolvex> <screenshot folder>

Uses the real program on a private X server as a person would, in a fresh working folder
with an empty ./Data: declares master data, books an expense and a transfer, answers the
message boxes, and checks with the year file on disk that every booking arrived and every
refusal wrote nothing. Screenshots of the stages go to the screenshot folder. Runs with
Debian's /usr/bin/python3 (it has the AT-SPI bindings); exit code 0 means everything held."""

import glob
import os
import select
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time
import traceback

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

TOOLS = ("dbus-run-session", "Xvfb", "xdotool", "setxkbmap", "import", "/usr/libexec/at-spi-bus-launcher")
# Nothing of the caller's desktop may leak into the private one.
FOREIGN = ("DISPLAY", "DBUS_", "AT_SPI_", "WAYLAND_", "XAUTHORITY", "SESSION_MANAGER", "XMODIFIERS", "GTK_", "QT_")
SCREEN = (1400, 900)
BANK, CASH, EXPENSE_TYPE = "Sparkasse Zürich", "Kasse", "Lebensmittel"
RECIPIENT, REMARK = "Bäckerei O'Neill", "Wocheneinkauf Käse"
# Colours of the drawing areas: the background and the grey title boxes.
BACKGROUNDS = [(80, 80, 80), (45, 45, 45)]
# Pictures as (x, y, width, height) in scene pixels of their drawing area.
MAIN_MENU = {"Eingang": (15, 15, 100, 50), "Ausgang": (120, 15, 100, 50), "Konten": (225, 15, 100, 50),
             "quit": (384, 15, 50, 50)}
TITLE_BOX = (15, 95, 420, 40)       # the page header under the main menu
BOOK = 320                          # "erfassen" or "interne Transaktion" on a card
STARTED = time.monotonic()
FAULTS = []


def picture(x, card=None):
    """A picture in the page header, or on a card of the input area; the cards lie 45 pixels apart."""
    return (15 + x, 98 if card is None else 13 + 45 * card, 35, 35)


def step(text):
    print("[e2e %5.1fs] %s" % (time.monotonic() - STARTED, text), flush=True)


def check(condition, fault):
    """A wrong result is noted and the run goes on, to show every fault it can reach."""
    if not condition:
        FAULTS.append(fault)
        step("FAULT: " + fault)


def wait_until(condition, what, timeout=10, interval=0.1):
    """Asks condition() until it gives something true, and returns that."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise RuntimeError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)
    return value


def ask(question, default):
    """Asks a widget that may have gone away meanwhile."""
    try:
        return question()
    except Exception:
        return default


class Desktop:
    """An X server of this run's own with the German keyboard. Every process started here runs in a process
    group of its own, dies with this script and is ended by stop(), also after a failure."""

    def __init__(self):
        self.processes = []

    def start(self):
        # The X server picks a free display itself and tells its number. It must
        # not reset when setxkbmap, its only client so far, leaves.
        xvfb = self.spawn(["Xvfb", "-displayfd", "1", "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp",
                           "-noreset"], stdout=subprocess.PIPE)
        if not select.select([xvfb.stdout], [], [], 20)[0]:
            raise RuntimeError("the X server did not start")
        os.environ["DISPLAY"] = ":" + xvfb.stdout.readline().decode().strip()
        self.run("setxkbmap", "de")   # umlauts are typed on their own keys

    def spawn(self, argv, **kwargs):
        guard = ["setpriv", "--pdeathsig", "KILL", "--"] if shutil.which("setpriv") else []
        kwargs = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL, **kwargs}
        self.processes.append(subprocess.Popen(guard + argv, stdin=subprocess.DEVNULL, start_new_session=True,
                                               **kwargs))
        return self.processes[-1]

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGTERM)   # the group it was given: its helpers go with it
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)

    def run(self, *argv):
        return subprocess.run(argv, capture_output=True, timeout=60, check=True).stdout

    def screenshot(self, path=None):
        """Saves the screen as a picture file, or gives its RGB pixels."""
        return self.run("import", "-window", "root", *([path] if path else ["-depth", "8", "rgb:-"]))


def points(rect):
    x0, y0, w, h = rect
    return [(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w)]


def pixel(shot, x, y):
    offset = (y * SCREEN[0] + x) * 3
    return shot[offset:offset + 3]


def solid_point(shot, rect):
    """The point nearest the middle of rect amid pixels unlike the backgrounds:
    a picture is drawn there and takes a click, unlike its transparent gaps."""
    def painted(x, y):
        return all(max(abs(p - c) for p, c in zip(pixel(shot, x, y), colour)) > 12 for colour in BACKGROUNDS)
    x, y, w, h = rect
    inner = sorted(points((x + 2, y + 2, w - 4, h - 4)),
                   key=lambda p: abs(2 * (p[0] - x) - w) + abs(2 * (p[1] - y) - h))
    return next((p for p in inner if all(painted(p[0] + dx, p[1] + dy) for dx in range(-2, 3) for dy in range(-2, 3))),
                None)


class Node:
    """One widget as a screen reader sees it, read afresh on every call."""

    def __init__(self, accessible):
        self.acc = accessible

    role = property(lambda self: ask(self.acc.get_role_name, "?"))
    name = property(lambda self: ask(self.acc.get_name, "") or "")

    def has(self, state):
        return ask(lambda: self.acc.get_state_set().contains(getattr(Atspi.StateType, state)), False)

    def children(self):
        found = (ask(lambda: self.acc.get_child_at_index(i), None) for i in range(ask(self.acc.get_child_count, 0)))
        return [Node(child) for child in found if child is not None]

    def extents(self):
        rect = ask(lambda: self.acc.get_extents(Atspi.CoordType.SCREEN), None)
        return (rect.x, rect.y, rect.width, rect.height) if rect else (0, 0, 0, 0)

    @property
    def text(self):
        iface = ask(self.acc.get_text_iface, None)
        return ask(lambda: iface.get_text(0, -1) or "", "") if iface else self.name

    def labelled(self):
        """The widgets this label is the buddy of."""
        return [Node(r.get_target(i)) for r in ask(self.acc.get_relation_set, [])
                if r.get_relation_type() == Atspi.RelationType.LABEL_FOR for i in range(r.get_n_targets())]

    def find_all(self, role, name=None, where=lambda node: True):
        mine = self.role == role and name in (None, self.name) and self.has("SHOWING") and where(self)
        found = [node for child in self.children() for node in child.find_all(role, name, where)]
        return [self] + found if mine else found

    def window(self, role, name):
        """The shown window of that role and title, asked of a program's node."""
        ask(self.acc.clear_cache, None)
        return next((w for w in self.children() if w.role == role and w.name == name and w.has("SHOWING")), None)


def program_node(process):
    """The running program on the accessibility bus, found by its process id."""
    def lookup():
        if process.poll() is not None:
            raise RuntimeError("the program ended with code %s" % process.returncode)
        desktop = Atspi.get_desktop(0)
        desktop.clear_cache()
        return next((app for app in map(desktop.get_child_at_index, range(desktop.get_child_count()))
                     if app is not None and ask(app.get_process_id, None) == process.pid), None)
    program = wait_until(lookup, "the program on the accessibility bus", 30)
    program.set_cache_mask(Atspi.Cache.NONE)
    return Node(program)


class Person:
    """Clicks pictures where they are drawn, fills dialogs by typing, reads message boxes like a screen reader."""

    def __init__(self, desktop, shots):
        self.desktop, self.shots, self.shot_count, self.program = desktop, shots, 0, None

    def screenshot(self, name):
        self.shot_count += 1
        self.desktop.screenshot(os.path.join(self.shots, "%02d-%s.png" % (self.shot_count, name)))

    def click(self, x, y, w=0, h=0):
        """Clicks a point, or the middle of a rectangle."""
        self.desktop.run("xdotool", "mousemove", "--sync", str(x + w // 2), str(y + h // 2), "click", "1")

    def wait_window(self, program, role, name, gone=False):
        shown = lambda: program.window(role, name)
        return wait_until((lambda: not shown()) if gone else shown, "%s %r%s" % (role, name, " gone" * gone), 15)

    def wait_node(self, window, role, name=None, where=lambda node: True):
        return wait_until(lambda: window.find_all(role, name, where), "%s %r in %r" % (role, name, window.name))[0]

    def press(self, window, button):
        self.click(*self.wait_node(window, "push button", button, lambda node: node.has("ENABLED")).extents())

    def buddy(self, window, label):
        """The enabled widget of a label."""
        return wait_until(lambda: next((widget for node in window.find_all("label", label) for widget in
                                        node.labelled() if widget.has("SHOWING") and widget.has("ENABLED")), None),
                          "the widget of %r" % label)

    def beside(self, window, label):
        """The field right of the widget of a label, on the same row."""
        x, y, w, h = self.buddy(window, label).extents()
        return self.wait_node(window, "text", where=lambda node: node.extents()[0] >= x + w
                              and abs(node.extents()[1] - y) < h / 2 and node.has("ENABLED"))

    def fill(self, window, fields):
        """Enters each value in the widget of its label (or the widget given): picks or types it."""
        for label, value in fields.items():
            widget = self.buddy(window, label) if isinstance(label, str) else label
            self.choose(widget, value) if widget.role == "combo box" else self.type(widget, value)

    def type(self, field, text):
        """Replaces the field's text by typing (again, should a key get lost) and leaves it with Tab."""
        def typed():
            self.click(*field.extents())
            wait_until(lambda: field.has("FOCUSED"), "the focus in %r" % field.name)
            self.desktop.run("xdotool", "key", "ctrl+a", "BackSpace", "type", "--delay", "25", "--", text)
            return ask(lambda: wait_until(lambda: field.text == text, "%r in %r" % (text, field.name), 2), False)
        wait_until(typed, "the text %r in %r" % (text, field.name), 20)
        self.desktop.run("xdotool", "key", "Tab")

    def choose(self, combo, entry):
        if combo.name != entry:   # a combo box is named after the entry it shows
            self.click(*combo.extents())
            self.click(*self.wait_node(combo, "list item", entry, lambda node: node.extents()[2] > 0).extents())
            wait_until(lambda: combo.name == entry, "the combo box to show %r" % entry)

    def answer(self, program, title, expected, shot):
        """Reads a message box, checks its text and closes it with OK."""
        box = self.wait_window(program, "alert", title)
        text = " | ".join(node.text for node in box.find_all("label") if node.text.strip())
        check(expected in text, "box %r says %r, expected %r" % (title, text, expected))
        self.screenshot(shot)
        self.press(box, "OK")
        self.wait_window(program, "alert", title, gone=True)

    def save_and_close(self, dialog, listed, shot):
        """Saves, waits until the dialog's list shows the new row, and closes."""
        self.press(dialog, "Speichern")
        self.wait_node(dialog, "table cell", listed)
        self.screenshot(shot)
        self.press(dialog, "Schliessen")
        self.wait_window(self.program, "dialog", dialog.name, gone=True)

    # The main window: three graphics views whose pictures have no widgets of their own. Their
    # viewports are its fillers without children; they keep the scene's origin at their top left
    # corner, so a picture lies at its viewport's corner plus its place.

    def watch(self, program):
        self.program, frame = program, self.wait_window(program, "frame", "Zolvex")
        corners = lambda: sorted(n.extents()[:2] for n in frame.find_all("filler") if not n.children())
        self.areas = dict(zip(("hfa", "efa", "afa"), wait_until(lambda: len(corners()) == 3 and corners(),
                                                                "the three drawing areas of the main window")))

    def on_screen(self, area, rect):
        return (self.areas[area][0] + rect[0], self.areas[area][1] + rect[1]) + tuple(rect[2:])

    def wait_picture(self, area, rect, what):
        """Waits until a picture is drawn at rect; gives the screen then and a solid point of it."""
        def drawn():
            shot = self.desktop.screenshot()
            point = solid_point(shot, self.on_screen(area, rect))
            return point and (shot, point)
        return wait_until(drawn, "the picture %s in the %s" % (what, area.upper()), interval=0.2)

    def click_picture(self, area, rect, what, redrawn=None):
        """Clicks a picture; with redrawn=(area, rect), waits until that place looks different."""
        before, point = self.wait_picture(area, rect, what)
        self.click(*point)
        if redrawn:
            changes = lambda shot: sum(pixel(shot, *p) != pixel(before, *p) for p in points(self.on_screen(*redrawn)))
            wait_until(lambda: changes(self.desktop.screenshot()) > 100, "a new picture after " + what, 10, 0.2)

    def open_dialog(self, area, rect, title):
        self.click_picture(area, rect, "of the dialog %r" % title)
        return self.wait_window(self.program, "dialog", title)

    def open_page(self, name, header):
        self.click_picture("hfa", MAIN_MENU[name], name, redrawn=("hfa", TITLE_BOX))
        self.wait_picture("hfa", header, "in the header of the page " + name)


def story(desktop, person, program, work):
    year_file = os.path.join(work, "Data", "finanzen.dat")
    lock = year_file + ".lock"

    def start():
        log = open(os.path.join(work, "program-%d.log" % len(desktop.processes)), "w")
        return desktop.spawn([program], cwd=work, stdout=log, stderr=subprocess.STDOUT)

    def on_disk(what, sql, expected):
        """Compares rows of the year file as it is on disk right now."""
        found = [tuple(row) for row in sqlite3.connect("file:%s?mode=ro" % year_file, uri=True).execute(sql)]
        check(found == expected, "%s on disk: %r, expected %r" % (what, found, expected))

    def balances(cash, bank):
        on_disk("the balances", "SELECT name, betrag FROM konten ORDER BY name", [(CASH, cash), (BANK, bank)])

    step("start the program in %s" % work)
    first = start()
    person.watch(program_node(first))
    person.wait_picture("hfa", MAIN_MENU["quit"], "quit")
    person.screenshot("main-menu")
    check(os.path.exists(year_file) and os.path.exists(lock), "no year file with a lock in ./Data")

    step("a second program on the same year file is turned away")
    before, second = open(year_file, "rb").read(), start()
    person.answer(program_node(second), "Finanzdatei in Gebrauch",
                  "wird bereits von einem anderen laufenden Zolvex verwendet", "second-program-refused")
    check(second.wait(15) == 1, "the second program ended with code %s instead of 1" % second.returncode)
    check(first.poll() is None and os.path.exists(lock) and open(year_file, "rb").read() == before,
          "the second program disturbed the first one, its lock or the year file")

    step("declare a bank account and cash")
    person.open_page("Konten", picture(320))
    dialog = person.open_dialog("hfa", picture(280), "Konto")
    person.fill(dialog, {"Name:": BANK, "Konto-Nummer:": "CH93-0076", "Eröffnungsbetrag:": "1.500,00"})
    person.save_and_close(dialog, BANK, "account-dialog")
    dialog = person.open_dialog("hfa", picture(320), "Zahlungsmittel")
    person.click(*person.wait_node(dialog, "radio button", "Bargeld").extents())
    person.fill(dialog, {"Name:": CASH, "Eröffnungsbetrag:": "200"})
    person.save_and_close(dialog, CASH, "payment-instrument-dialog")
    on_disk("the payment instruments with their accounts", "SELECT z.name, z.zahlungsmittel_typ, "
            "z.hat_konto_verbindung, k.name, k.konto_typ, k.initial_betrag, k.stat FROM zahlungsmittel z JOIN konten k "
            "ON k.id = z.konto_id ORDER BY z.name", [(CASH, 21, 0, CASH, 13, 200, 1), (BANK, 25, 1, BANK, 12, 1500, 1)])
    balances(200, 1500)

    step("declare an expense type and a recipient whose name has an apostrophe")
    person.open_page("Ausgang", picture(280))
    dialog = person.open_dialog("hfa", picture(280), "Ausgabentypen")
    person.fill(dialog, {"Ausgabentyp:": EXPENSE_TYPE, "Vorausichtliches Budget:": "4800"})
    person.save_and_close(dialog, EXPENSE_TYPE, "expense-type-dialog")
    dialog = person.open_dialog("hfa", picture(240), "Begünstigte")
    person.fill(dialog, {"Name des Begünstigten:": RECIPIENT})
    person.save_and_close(dialog, RECIPIENT, "recipients-dialog")

    step("book an expense; three decimals and more than the balance are refused first")
    dialog = person.open_dialog("efa", picture(BOOK, 0), "Ausgabe")
    for amount, title, text, shot in (("1,005", "Betrag ungültig!", "höchstens zwei Dezimalstellen", "decimals"),
                                      ("2000", "Betrags-Überschreitung", "Betrag nicht verfügbar!", "balance")):
        person.fill(dialog, {"Zahlungsmittel:": BANK, "Betrag:": amount})
        person.press(dialog, "Speichern")
        person.answer(person.program, title, text, "expense-refused-" + shot)
    on_disk("the bookings after the refusals", "SELECT (SELECT COUNT(*) FROM ausgaben), "
            "(SELECT COUNT(*) FROM konto_bewegungen)", [(0, 0)])
    person.fill(dialog, {"Betrag:": "42,50", "Begünstigter:": RECIPIENT, person.beside(dialog, "Datum/Bem:"): REMARK})
    person.save_and_close(dialog, REMARK, "expense-booked")
    on_disk("the expense with its movement", "SELECT a.betrag, t.name, t.budget, a.ausgaben_typ, z.name, "
            "a.zahlungsmittel, b.name, a.beguenstigter, a.bemerkung, m.betrag, k.name, m.tx_typ, m.op_flag, "
            "m.zahlungsmittel_id = z.id FROM ausgaben a JOIN ausgaben_typen t ON t.id = a.ausgaben_typ_id "
            "JOIN zahlungsmittel z ON z.id = a.zahlungsmittel_id JOIN beguenstigte b ON b.id = a.beguenstigter_id "
            "LEFT JOIN konto_bewegungen m ON m.ausgabe_id = a.id LEFT JOIN konten k ON k.id = m.konto_id_von",
            [(42.5, EXPENSE_TYPE, 4800, EXPENSE_TYPE, BANK, BANK, RECIPIENT, RECIPIENT, REMARK, 42.5, BANK, 21, 0, 1)])
    balances(200, 1457.5)

    step("transfer from the bank to the cash")
    person.open_page("Konten", picture(320))
    dialog = person.open_dialog("efa", picture(BOOK, 1), "Interne Transaktion")
    person.fill(dialog, {"Überweisung an:": CASH, "Betrag von:": "300", "Bemerkung:": "Bargeldbezug"})
    person.save_and_close(dialog, "An: %s - Bargeldbezug" % CASH, "transfer-booked")
    on_disk("the transfer's movements", "SELECT v.name, n.name, m.betrag, m.op_flag, m.bemerkung, (SELECT "
            "COUNT(DISTINCT tx_id) FROM konto_bewegungen WHERE tx_typ = 22) FROM konto_bewegungen m JOIN konten v "
            "ON v.id = m.konto_id_von JOIN konten n ON n.id = m.konto_id_nach WHERE m.tx_typ = 22 AND "
            "m.tx_id <> '' ORDER BY m.op_flag", [(BANK, CASH, 300, 0, "An: %s - Bargeldbezug" % CASH, 1),
                                                 (CASH, BANK, 300, 1, "Von: %s - Bargeldbezug" % BANK, 1)])
    balances(500, 1157.5)
    person.click_picture("hfa", picture(360), "the accounts overview", redrawn=("afa", (0, 0, 700, 250)))
    person.screenshot("accounts-overview")

    step("quit and look at the year file")
    person.click_picture("hfa", MAIN_MENU["quit"], "quit")
    check(first.wait(20) == 0, "the program ended with code %s after quitting" % first.returncode)
    check(not os.path.exists(lock), "the lock stays after the program ended")
    on_disk("the movements and the file's soundness", "SELECT (SELECT COUNT(*) FROM konto_bewegungen), "
            "(SELECT integrity_check FROM pragma_integrity_check)", [(3, "ok")])
    balances(500, 1157.5)


def main():
    if len(sys.argv) != 3 or not os.access(sys.argv[1], os.X_OK):
        return print(__doc__) or 2
    if [tool for tool in TOOLS if not shutil.which(tool)]:
        return print("[e2e] needs %s (scripts/install-deps.sh installs them)" % ", ".join(TOOLS)) or 1
    if "ZOLVEX_E2E_WORK" not in os.environ:
        # Once more on a session bus that ends with this run, with the working folder as home: the
        # accessibility bus, started on demand, and the program keep their files there.
        work = tempfile.mkdtemp(prefix="zolvex-e2e-")
        env = {name: value for name, value in os.environ.items() if not name.startswith(FOREIGN)}
        env.update(ZOLVEX_E2E_WORK=work, HOME=work, XDG_RUNTIME_DIR=work, LANG="C.UTF-8", LC_ALL="C.UTF-8",
                   QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        os.execvpe("dbus-run-session", ["dbus-run-session", "--", sys.executable] + sys.argv, env)
    program, shots = (os.path.abspath(arg) for arg in sys.argv[1:])
    shutil.rmtree(shots, ignore_errors=True)
    os.makedirs(shots)

    def stop(*_):
        raise RuntimeError("the run took too long")
    signal.signal(signal.SIGALRM, stop)
    signal.alarm(240)   # well before the test driver's own limit
    work = os.environ["ZOLVEX_E2E_WORK"]
    os.mkdir(os.path.join(work, "Data"))
    desktop = Desktop()
    person = Person(desktop, shots)
    try:
        desktop.start()
        story(desktop, person, program, work)
    except Exception:
        FAULTS.append("the run stopped: %s" % traceback.format_exc())
        ask(lambda: person.screenshot("failure"), None)
    finally:
        signal.alarm(0)
        desktop.stop()
        for log in sorted(glob.glob(os.path.join(work, "program-*.log"))) if FAULTS else []:
            print("[e2e] output of %s:\n%s" % (os.path.basename(log), open(log, errors="replace").read()))
        shutil.rmtree(work, ignore_errors=True)
    step("%s with %d faults" % ("FAILED" if FAULTS else "PASSED", len(FAULTS)))
    for fault in FAULTS:
        print("  - " + fault)
    return 1 if FAULTS else 0


if __name__ == "__main__":
    sys.exit(main())
