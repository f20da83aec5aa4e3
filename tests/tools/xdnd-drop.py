#!/usr/bin/python3
"""Drops files on an X window the way a file manager does, through the XDND protocol.

Usage: xdnd-drop.py TITLE PATH...

TITLE is the window's title exactly; each PATH is a Unix path, sent as a file:// URI.
Exit status 0 when the window accepted the drop and reported it finished, 1 otherwise.
"""

import sys
import time
import urllib.parse

from Xlib import X, Xatom, display, error
from Xlib.protocol import event

XDND_VERSION = 5
TIMEOUT = 10.0


class DropFailed(Exception):
    pass


def window_title(screen_display, window):
    for name, kind in (("_NET_WM_NAME", "UTF8_STRING"), ("WM_NAME", None)):
        try:
            atom = screen_display.intern_atom(name)
            kind_atom = screen_display.intern_atom(kind) if kind else X.AnyPropertyType
            value = window.get_full_property(atom, kind_atom)
        except error.XError:
            return None
        if value is not None and value.value:
            text = value.value
            return text.decode("utf-8", "replace") if isinstance(text, bytes) else text
    return None


def find_target(screen_display, title):
    """The top-level window that carries the title and accepts drops, the largest if several do."""
    aware = screen_display.intern_atom("XdndAware")
    transient = screen_display.intern_atom("WM_TRANSIENT_FOR")
    found = []
    pending = [screen_display.screen().root]
    while pending:
        window = pending.pop()
        try:
            children = window.query_tree().children
        except error.XError:
            continue
        pending.extend(children)
        if window_title(screen_display, window) != title:
            continue
        try:
            version = window.get_full_property(aware, Xatom.ATOM)
            owner = window.get_full_property(transient, Xatom.WINDOW)
            geometry = window.get_geometry()
        except error.XError:
            continue
        # Owned windows (the program's message boxes) and Wine's 1x1 input-method window carry
        # the title too.
        if version is not None and owner is None and geometry.width > 1 and geometry.height > 1:
            found.append((geometry.width * geometry.height, window))
    if not found:
        raise DropFailed(f"no window titled {title!r} accepts drops")
    return max(found, key=lambda item: item[0])[1]


def uri_list(paths):
    # Each line ends in CR LF; a bare LF glues the names together on the receiving side.
    return b"".join(
        b"file://" + urllib.parse.quote(path, safe="/").encode("ascii") + b"\r\n" for path in paths
    )


class DragSource:
    def __init__(self, screen_display, target, paths):
        self.display = screen_display
        self.target = target
        self.data = uri_list(paths)
        atom = screen_display.intern_atom
        self.atoms = {name: atom(name) for name in (
            "XdndSelection", "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop",
            "XdndFinished", "XdndLeave", "XdndActionCopy", "text/uri-list")}
        root = screen_display.screen().root
        self.window = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
        self.window.set_selection_owner(self.atoms["XdndSelection"], X.CurrentTime)
        screen_display.flush()

    def send(self, name, data):
        message = event.ClientMessage(
            window=self.target, client_type=self.atoms[name],
            data=(32, [self.window.id] + data))
        self.target.send_event(message, event_mask=0)
        self.display.flush()

    def answer_selection(self, request):
        prop = request.property or request.target
        if request.target == self.atoms["text/uri-list"]:
            request.requestor.change_property(prop, request.target, 8, self.data)
        else:
            prop = X.NONE
        reply = event.SelectionNotify(
            time=request.time, requestor=request.requestor, selection=request.selection,
            target=request.target, property=prop)
        request.requestor.send_event(reply, event_mask=0)
        self.display.flush()

    def wait_for(self, name):
        """Serves data requests until the target sends the named message."""
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            if not self.display.pending_events():
                time.sleep(0.005)
                continue
            received = self.display.next_event()
            if received.type == X.SelectionRequest:
                self.answer_selection(received)
            elif received.type == X.ClientMessage and received.client_type == self.atoms[name]:
                return received
        raise DropFailed(f"the window sent no {name}")

    def drop(self):
        root = self.display.screen().root
        geometry = self.target.get_geometry()
        # Root coordinates of the window's centre.
        centre = root.translate_coords(self.target, geometry.width // 2, geometry.height // 2)
        x, y = centre.x, centre.y
        self.send("XdndEnter", [XDND_VERSION << 24, self.atoms["text/uri-list"], 0, 0])
        self.send("XdndPosition", [0, (x << 16) | y, X.CurrentTime, self.atoms["XdndActionCopy"]])
        status = self.wait_for("XdndStatus")
        if not status.data[1][1] & 1:
            self.send("XdndLeave", [0, 0, 0, 0])
            raise DropFailed("the window refused the drop")
        self.send("XdndDrop", [0, X.CurrentTime, 0, 0])
        self.wait_for("XdndFinished")


def main(arguments):
    if len(arguments) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    title, paths = arguments[0], arguments[1:]
    screen_display = display.Display()
    try:
        DragSource(screen_display, find_target(screen_display, title), paths).drop()
    except DropFailed as failure:
        print(f"xdnd-drop: {failure}", file=sys.stderr)
        return 1
    finally:
        screen_display.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
