#!/usr/bin/python3
"""A stand-in StatusNotifierItem host for the dbusmenu integration test: connects to the bus at
ADDRESS, reads the menu at SERVICE /MenuBar (MODE "read": the whole tree, "levels": the top level
only, "listen": nothing), and prints one JSON line per
event: {"ready": name}, {"layout": [[id, label], ...]} (every item), and each signal it receives,
{"signal": member, "type": its D-Bus signature, "args": [...]}. Reads commands on stdin: "click ID" and
"opened ID" send Event(ID, "clicked"/"opened"), "show ID" AboutToShow(ID), whose answer it prints.
The test copies it under the name "gnome-shell" to stand for GNOME Shell's process."""
import json
import sys
import threading

from gi.repository import Gio, GLib

address, service, mode = sys.argv[1:4]
bus = Gio.DBusConnection.new_for_address_sync(
    address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
loop = GLib.MainLoop()


def say(event):
    print(json.dumps(event), flush=True)


def on_signal(connection, sender, path, interface, member, params):
    say({"signal": member, "type": params.get_type_string(), "args": params.unpack()})


def items(node, found):
    item_id, properties, children = node
    found.append([item_id, properties.get("label", "")])
    for child in children:
        items(child, found)
    return found


def command(line):
    words = line.split()
    if words and words[0] in ("click", "opened"):
        event = "clicked" if words[0] == "click" else "opened"
        bus.call_sync(service, "/MenuBar", "com.canonical.dbusmenu", "Event",
                      GLib.Variant("(isvu)", (int(words[1]), event, GLib.Variant("i", 0), 0)), None, 0, 5000, None)
        say({event: int(words[1])})
    elif words and words[0] == "show":
        answer = bus.call_sync(service, "/MenuBar", "com.canonical.dbusmenu", "AboutToShow",
                               GLib.Variant("(i)", (int(words[1]),)), None, 0, 5000, None).unpack()[0]
        say({"show": [int(words[1]), answer]})
    elif words and words[0] == "quit":
        loop.quit()
    return False


def commands():
    for line in sys.stdin:
        GLib.idle_add(command, line)
    GLib.idle_add(loop.quit)


bus.signal_subscribe(service, "com.canonical.dbusmenu", None, "/MenuBar", None, Gio.DBusSignalFlags.NONE, on_signal)
say({"ready": bus.get_unique_name()})
if mode != "listen":
    depth = 1 if mode == "levels" else -1
    reply = bus.call_sync(service, "/MenuBar", "com.canonical.dbusmenu", "GetLayout", GLib.Variant("(iias)", (0, depth, [])),
                          None, 0, 5000, None).unpack()
    say({"layout": items(reply[1], [])})
threading.Thread(target=commands, daemon=True).start()
loop.run()
