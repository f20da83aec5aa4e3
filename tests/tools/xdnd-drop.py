#!/usr/bin/python3
"""Drops files on an X window the way a file manager does, through the XDND protocol, for the
tests under Wine that cannot reach X11 themselves (Dropped, labelled wine-only).

Usage: xdnd-drop.py FOLDER

It serves requests in FOLDER (C:\\tavimbo-host of the Wine prefix, $WINEPREFIX): a file
NAME.req holds the window's title exactly, then each path on drive C: of the prefix, one per
line (UTF-8); each is sent as the file:// URI of its Linux path. The answer NAME.out holds 0
once the window accepted the drop and reported it finished, or 1 and why the drop failed.
"""

import os
import sys
import time
import urllib.parse

from pathlib import Path

from Xlib import X, Xatom, display, error
from Xlib.protocol import event

XDND_VERSION = 5
TIMEOUT = 10.0


class DropFailed(Exception):
    pass


def window_title(window):
    try:
        return window.get_wm_name()
    except error.XError:
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
        if window_title(window) != title:
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
    drive = os.path.join(os.environ["WINEPREFIX"], "drive_c")
    unix = [os.path.join(drive, *path[3:].split("\\")) for path in paths]
    return b"".join(
        b"file://" + urllib.parse.quote(path, safe="/").encode("ascii") + b"\r\n" for path in unix
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


def drop(title, paths):
    screen_display = display.Display()
    try:
        DragSource(screen_display, find_target(screen_display, title), paths).drop()
        return "0\n"
    except Exception as failure:  # whatever stops the drop is the test's to report
        return f"1\n{failure}\n"
    finally:
        screen_display.close()


def serve(folder):
    folder.mkdir(parents=True, exist_ok=True)
    while True:
        for request in sorted(folder.glob("*.req")):
            title, *paths = request.read_text(encoding="utf-8").splitlines()
            request.unlink()
            partial = request.with_suffix(".part")
            partial.write_text(drop(title, paths), encoding="utf-8")
            partial.rename(request.with_suffix(".out"))
        time.sleep(0.02)


if __name__ == "__main__":
    serve(Path(sys.argv[1]))
