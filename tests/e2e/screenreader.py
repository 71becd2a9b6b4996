"""Finding the program's widgets the way a screen reader sees them.

Qt publishes its widgets over AT-SPI: windows as "frame", "dialog" or
"alert", buttons by their text, line edits named after their buddy label.
Only looking is done here; clicks and keys go through the real X server
(see Desktop), as a person's would.
"""

import os

from desktop import DesktopError, wait_until

Atspi = None


def connect(desktop):
    """Binds this process's accessibility client to the private desktop."""
    global Atspi
    os.environ["DISPLAY"] = desktop.display
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = desktop.bus_address
    os.environ.pop("AT_SPI_BUS_ADDRESS", None)
    try:
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi as module
    except (ImportError, ValueError) as error:
        raise RuntimeError("no AT-SPI bindings in this Python (%s); run with Debian's /usr/bin/python3 "
                           "and the packages python3-pyatspi and gir1.2-atspi-2.0" % error)
    Atspi = module


class Node:
    """One accessible object; values are read fresh on every call."""

    def __init__(self, accessible):
        self.acc = accessible

    def __repr__(self):
        return "<%s %r>" % (self.role, self.name)

    @property
    def role(self):
        try:
            return self.acc.get_role_name()
        except Exception:
            return "?"

    @property
    def name(self):
        try:
            return self.acc.get_name() or ""
        except Exception:
            return ""

    def children(self):
        try:
            count = self.acc.get_child_count()
        except Exception:
            return []
        result = []
        for index in range(count):
            try:
                child = self.acc.get_child_at_index(index)
            except Exception:
                child = None
            if child is not None:
                result.append(Node(child))
        return result

    def _has_state(self, state):
        try:
            return self.acc.get_state_set().contains(state)
        except Exception:
            return False

    @property
    def enabled(self):
        return self._has_state(Atspi.StateType.ENABLED)

    @property
    def showing(self):
        return self._has_state(Atspi.StateType.SHOWING)

    @property
    def checked(self):
        return self._has_state(Atspi.StateType.CHECKED)

    @property
    def focused(self):
        return self._has_state(Atspi.StateType.FOCUSED)

    def extents(self):
        rect = self.acc.get_extents(Atspi.CoordType.SCREEN)
        return rect.x, rect.y, rect.width, rect.height

    def center(self):
        x, y, w, h = self.extents()
        if w <= 0 or h <= 0:
            raise DesktopError("%r has no area on the screen" % self)
        return x + w // 2, y + h // 2

    @property
    def text(self):
        """The text a line edit or label holds."""
        try:
            iface = self.acc.get_text_iface()
            if iface is not None:
                return iface.get_text(0, -1) or ""
        except Exception:
            pass
        return self.name

    def labelled(self):
        """The widgets this label is the buddy label of."""
        targets = []
        try:
            for relation in self.acc.get_relation_set():
                if relation.get_relation_type() != Atspi.RelationType.LABEL_FOR:
                    continue
                for index in range(relation.get_n_targets()):
                    targets.append(Node(relation.get_target(index)))
        except Exception:
            pass
        return targets

    def walk(self, depth=0, max_depth=30):
        yield self
        if depth >= max_depth:
            return
        for child in self.children():
            yield from child.walk(depth + 1, max_depth)

    def find_all(self, role=None, name=None, predicate=None, showing=True):
        found = []
        for node in self.walk():
            if role is not None and node.role != role:
                continue
            if name is not None and node.name != name:
                continue
            if showing and not node.showing:
                continue
            if predicate is not None and not predicate(node):
                continue
            found.append(node)
        return found

    def find(self, role=None, name=None, predicate=None, showing=True):
        found = self.find_all(role, name, predicate, showing)
        return found[0] if found else None

    def dump(self, depth=0, out=None):
        lines = out if out is not None else []
        try:
            extents = self.extents()
        except Exception:
            extents = None
        lines.append("%s%s %r %s%s" % ("  " * depth, self.role, self.name, extents,
                                      "" if self.enabled else " (disabled)"))
        for child in self.children():
            child.dump(depth + 1, lines)
        return lines


class Application:
    """The accessible tree of one running program, found by its process id."""

    def __init__(self, process, timeout=30):
        self.pid = process.pid
        self.process = process
        self.root = Node(wait_until(self._lookup, timeout, 0.1, "the program on the accessibility bus"))

    def _lookup(self):
        if self.process.poll() is not None:
            raise DesktopError("the program ended with code %s before it showed a window" % self.process.returncode)
        desktop = Atspi.get_desktop(0)
        desktop.clear_cache()
        for index in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(index)
            try:
                if app is not None and app.get_process_id() == self.pid:
                    app.set_cache_mask(Atspi.Cache.NONE)
                    return app
            except Exception:
                continue
        return None

    def refresh(self):
        try:
            self.root.acc.clear_cache()
        except Exception:
            pass

    def windows(self):
        self.refresh()
        return [w for w in self.root.children() if w.showing]

    def window(self, role, name=None):
        for window in self.windows():
            if window.role == role and (name is None or window.name == name):
                return window
        return None

    def wait_window(self, role, name=None, timeout=15):
        what = "%s %r" % (role, name) if name else role
        return wait_until(lambda: self.window(role, name), timeout, 0.1, what)

    def wait_gone(self, role, name=None, timeout=15):
        what = "%s %r to close" % (role, name) if name else role + " to close"
        wait_until(lambda: self.window(role, name) is None, timeout, 0.1, what)


def wait_node(parent, role=None, name=None, predicate=None, timeout=10, what=None):
    description = what or "%s %r" % (role, name)
    return wait_until(lambda: parent.find(role, name, predicate), timeout, 0.1, description)


def buddy_of(window, label, role=None):
    """The widget (of the given role) whose buddy label reads label."""
    for node in window.find_all("label", label):
        for target in node.labelled():
            if (role is None or target.role == role) and target.showing:
                return target
    return None


def alert_text(alert):
    """The message of a message box: the texts of its labels."""
    texts = [node.text for node in alert.find_all("label") if node.text.strip()]
    return "\n".join(texts)
