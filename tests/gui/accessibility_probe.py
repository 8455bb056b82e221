"""What a screen reader finds of Inkpane over AT-SPI; run with /usr/bin/python3.
  picture     prints the picture as ROLE|NAME|DESCRIPTION|STATES (busy, focused)
  listen LOG  writes "listening", then EVENT|ROLE|NAME|DESCRIPTION|STATES for
              each focus event of the program, to LOG until stopped
"""
import sys

import pyatspi


def describe(obj):
    states = obj.getState()
    held = [name for name, state in (("busy", pyatspi.STATE_BUSY), ("focused", pyatspi.STATE_FOCUSED))
            if states.contains(state)]
    return "|".join((obj.getRoleName(), obj.name, obj.description, ",".join(held)))


def on_focus(event, log):
    try:  # An event may name an object gone by now.
        if event.source.getApplication().name == "Inkpane":
            event.source.clearCache()
            log.write(event.type + "|" + describe(event.source) + "\n")
    except Exception:
        pass


if sys.argv[1] == "picture":
    for app in pyatspi.Registry.getDesktop(0):
        if app and app.name == "Inkpane":
            pictures = pyatspi.findAllDescendants(app, lambda obj: obj.getRoleName() == "image")
            print("\n".join(describe(picture) for picture in pictures))
else:
    log = open(sys.argv[2], "w", buffering=1)
    pyatspi.Registry.registerEventListener(lambda event: on_focus(event, log), "focus:")
    log.write("listening\n")
    pyatspi.Registry.start()
