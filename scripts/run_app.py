"""./run: starts Morrowick in a Wine shell desktop. On a screen it stays until the
program ends; without one it runs under Xvfb, saves a screenshot and stops."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winenv  # noqa: E402


def main():
    display = os.environ.get("DISPLAY") or None
    session = winenv.WineSession(root=os.path.join(winenv.TOP, "build", "wine-run"), display=display)
    session.start(fresh=False)
    app = session.start_app()
    if display:
        print("Morrowick runs in the Wine desktop on %s; its icon is in the tray." % display)
        app.proc.wait()
        session.stop()
        return 0
    time.sleep(3)  # let the tray draw the icon
    shot = session.screenshot(os.path.join(winenv.TOP, "out", "run-desktop.png"))
    print("Morrowick started under Xvfb; screenshot of the desktop with its tray icon: %s" % shot)
    app.stop()
    session.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
