"""Someone using Zolvex: clicks the pictures of the main window where they
are drawn, fills the dialogs' fields by typing, opens combo boxes, reads and
answers the message boxes, and looks at the year file on disk."""

import os
import sqlite3

from desktop import DesktopError, wait_until
from report import check, step
from screenreader import alert_text, buddy_of, wait_node

# Colours of the drawing areas: the background and the grey title boxes.
AREA_GREY = (80, 80, 80)
BOX_GREY = (45, 45, 45)

# Pictures as (x, y, width, height) in scene pixels of their area.
MAIN_MENU = {
    "Eingang": (15, 15, 100, 50),
    "Ausgang": (120, 15, 100, 50),
    "Konten": (225, 15, 100, 50),
    "quit": (384, 15, 50, 50),
}
# The status box and the page headers are title boxes at (15, 95); their
# pictures sit 3 pixels below the box's top.
TITLE_BOX = (15, 95, 420, 40)
HEADER_Y = 95 + 3
STATUS_INFO = (15 + 360, HEADER_Y, 35, 35)
ACCOUNTS_HEADER = {
    "AccountSettings": (15 + 280, HEADER_Y, 35, 35),
    "PaymentSettings": (15 + 320, HEADER_Y, 35, 35),
    "overview": (15 + 360, HEADER_Y, 35, 35),
}
EXPENSES_HEADER = {
    "RecipientSettings": (15 + 240, HEADER_Y, 35, 35),
    "ExpenseSettings": (15 + 280, HEADER_Y, 35, 35),
    "overview": (15 + 360, HEADER_Y, 35, 35),
}
INCOME_HEADER = {
    "back": (15 + 290, HEADER_Y, 12, 40),
    "IncomeSettings": (15 + 320, HEADER_Y, 35, 35),
}
# Cards in the input area: 45 pixels apart from (15, 10).
CARD_X, CARD_Y, CARD_STEP = 15, 10, 45
CARD_BOOK = 320        # "erfassen" of an expense type, "interne Transaktion" of an instrument
CARD_SHOW = 360        # "anzeigen"
# The top of the output area, where every report starts.
AFA_TOP = (0, 0, 700, 250)


def card_picture(index, dx):
    return (CARD_X + dx, CARD_Y + CARD_STEP * index + 3, 35, 35)


class YearFile:
    """A read-only look at ./Data/finanzen.dat as it is on disk right now."""

    def __init__(self, path):
        self.path = path

    def rows(self, sql, args=()):
        connection = sqlite3.connect("file:%s?mode=ro" % self.path, uri=True, timeout=5)
        try:
            connection.row_factory = sqlite3.Row
            return [dict(row) for row in connection.execute(sql, args)]
        finally:
            connection.close()

    def one(self, sql, args=()):
        found = self.rows(sql, args)
        return found[0] if len(found) == 1 else None

    def count(self, table):
        return self.rows("SELECT COUNT(*) AS n FROM %s" % table)[0]["n"]

    def balance(self, account_id):
        row = self.one("SELECT betrag FROM konten WHERE id = ?", (account_id,))
        return row["betrag"] if row else None

    def integrity(self):
        return self.rows("PRAGMA integrity_check")[0]["integrity_check"]


def near(a, b):
    return a is not None and abs(float(a) - float(b)) < 0.005


class Person:
    """Uses the dialogs with mouse and keyboard and reads them like a screen reader."""

    def __init__(self, desktop, shots):
        self.desktop = desktop
        self.shots = shots
        self.shot_number = 0

    def screenshot(self, name):
        self.shot_number += 1
        path = os.path.join(self.shots, "%02d-%s.png" % (self.shot_number, name))
        self.desktop.screenshot(path)
        step("screenshot %s" % os.path.basename(path))
        return path

    def click_node(self, node):
        self.desktop.click(*node.center())

    def press(self, window, text, timeout=10):
        """Clicks the push button with this text once it is enabled."""
        button = wait_node(window, "push button", text, lambda n: n.enabled, timeout,
                           "enabled button %r in %r" % (text, window.name))
        self.click_node(button)

    def field(self, window, label):
        """The line edit whose buddy label reads label."""
        return wait_node(window, "text", label, None, 10, "field %r in %r" % (label, window.name))

    def fill(self, window, label, text, leave_with_tab=False):
        """Clicks into the field named by its label and replaces its text by typing.
        Tab leaves the field, which finishes the input as a person would."""
        node = wait_node(window, "text", label, lambda n: n.enabled, 10,
                         "enabled field %r in %r" % (label, window.name))
        self._type_into(node, text, label)
        if leave_with_tab:
            self.desktop.key("Tab")
        return node

    def fill_beside(self, window, label, text):
        """Fills the unlabelled field on the row of the labelled widget, right of it."""
        def beside():
            anchor = buddy_of(window, label)
            if anchor is None:
                return None
            ax, ay, aw, ah = anchor.extents()
            for node in window.find_all("text", predicate=lambda n: n.enabled):
                x, y, w, h = node.extents()
                if x >= ax + aw and abs((y + h / 2) - (ay + ah / 2)) < ah / 2:
                    return node
            return None
        node = wait_until(beside, 10, 0.1, "the field beside %r in %r" % (label, window.name))
        return self._type_into(node, text, "beside " + label)

    def _type_into(self, node, text, label):
        for attempt in range(3):
            self.click_node(node)
            wait_until(lambda: node.focused, 5, 0.05, "the focus in field %r" % label)
            self.desktop.key("ctrl+a", "BackSpace")
            self.desktop.type_text(text)
            try:
                wait_until(lambda: node.text == text, 3, 0.05, "text %r in field %r" % (text, label))
                return node
            except DesktopError:
                step("field %r holds %r after typing %r; typing again" % (label, node.text, text))
        raise DesktopError("field %r holds %r instead of %r" % (label, node.text, text))

    def choose(self, window, label, entry):
        """Opens the combo box whose buddy label reads label and clicks the entry."""
        def combo_box():
            combo = buddy_of(window, label, "combo box")
            return combo if combo is not None and combo.enabled else None
        combo = wait_until(combo_box, 10, 0.1, "combo box %r in %r" % (label, window.name))
        if self._shown_entry(combo) == entry:
            return
        self.click_node(combo)
        item = wait_until(lambda: self._popup_entry(combo, entry), 10, 0.1,
                          "entry %r in the list of %r" % (entry, label))
        self.click_node(item)
        wait_until(lambda: self._shown_entry(combo) == entry, 5, 0.05, "combo box %r to show %r" % (label, entry))

    @staticmethod
    def _popup_entry(combo, entry):
        # The entries get a place on the screen once the list has opened.
        for node in combo.walk():
            if node.role in ("list item", "menu item") and node.name == entry and node.showing:
                try:
                    x, y, w, h = node.extents()
                except Exception:
                    continue
                if w > 0 and h > 0:
                    return node
        return None

    @staticmethod
    def _shown_entry(combo):
        # A combo box is named after the entry it shows.
        return combo.name

    def answer_box(self, app, title, expected_text, button="OK", shot=None):
        """Reads a message box, checks its text and closes it with the button."""
        box = app.wait_window("alert", title, 15)
        text = alert_text(box)
        step("box %r: %r" % (title, text.replace("\n", " | ")))
        check(expected_text in text, "box %r says %r, expected %r" % (title, text, expected_text))
        if shot:
            self.screenshot(shot)
        self.press(box, button)
        app.wait_gone("alert", title, 10)
        return text


class MainWindow:
    """The three drawing areas of the main window and the pictures on them.

    The pictures have no accessible objects; they are found where the views
    show their scene points. The views keep the scene's origin at the top left
    of their viewports, so a scene point is the viewport's corner plus the point.
    """

    def __init__(self, desktop, app):
        self.desktop = desktop
        self.app = app
        self.frame = app.wait_window("frame", "Zolvex", 30)
        self.viewports = wait_until(self._find_viewports, 15, 0.1, "the three drawing areas")

    def _find_viewports(self):
        # The central widget holds the three graphics views; each view shows
        # up as a filler whose first child is its viewport.
        for central in self.frame.children():
            views = []
            for view in central.children():
                inner = [child for child in view.children() if child.role == "filler"]
                if view.role != "filler" or not inner:
                    continue
                try:
                    x, y, w, h = view.extents()
                    vx, vy, vw, vh = inner[0].extents()
                except Exception:
                    continue
                if vw > 0 and vh > 0:
                    views.append(((x, y), (vx, vy)))
            if len(views) == 3:
                views.sort()
                left = sorted(views[:2], key=lambda view: view[0][1])
                return {"hfa": left[0][1], "efa": left[1][1], "afa": views[2][1]}
        return None

    def screen_rect(self, area, rect):
        ox, oy = self.viewports[area]
        x, y, w, h = rect
        return ox + x, oy + y, w, h

    def wait_picture(self, area, rect, what, timeout=10):
        """Waits until a picture is drawn at rect: most of it neither background
        nor title box."""
        def drawn():
            shown = self.desktop.snapshot()
            return shown.share_unlike(self.screen_rect(area, rect), [AREA_GREY, BOX_GREY]) > 0.2
        wait_until(drawn, timeout, 0.2, "picture %s in the %s" % (what, area.upper()))

    def area_content(self, area, rect):
        """The share of rect that is drawn on, not bare background."""
        return self.desktop.snapshot().share_unlike(self.screen_rect(area, rect), [AREA_GREY])

    def wait_redrawn(self, area, rect, before, what, timeout=10):
        """Waits until rect looks different from the snapshot before; a few
        changed numbers are enough."""
        wait_until(lambda: self.desktop.snapshot().pixels_changed(before, self.screen_rect(area, rect)) > 100,
                   timeout, 0.2, what)

    def click_picture(self, area, rect, what):
        """Clicks a picture where it has paint: a picture takes a click only on
        its painted pixels, not in its transparent gaps."""
        self.wait_picture(area, rect, what)
        point = self.desktop.snapshot().solid_point(self.screen_rect(area, rect), [AREA_GREY, BOX_GREY])
        if point is None:
            raise DesktopError("the picture %s has no solid place to click" % what)
        step("click %s in the %s at screen (%d, %d)" % (what, area.upper(), point[0], point[1]))
        self.desktop.click(*point)

    def open_dialog(self, area, rect, what, title, timeout=10):
        self.click_picture(area, rect, what)
        return self.app.wait_window("dialog", title, timeout)
