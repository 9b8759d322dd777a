#!/usr/bin/env python3
"""Takes the README's pictures of the shipped cities from the real game.

For each city (downtown, suburb, smalltown) the game runs at 1600 x 1200 on an Xvfb of its
own; the script picks the city under "Load map", lets it run for a few seconds and writes what
the window shows to docs/<city>.png. The game is started and driven as the
end-to-end tests do (tests/e2e/zor_e2e.py), with xdotool and ImageMagick's import.

    tools/screenshots.py [--zor build/zor]
"""

import argparse
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import zor_e2e as e2e  # noqa: E402

CITIES = ("downtown", "suburb", "smalltown")
WIDTH, HEIGHT = 1600, 1200
SETTLE_SECONDS = 4  # time for the traffic to get going before the picture


def shoot(city, zor, shots):
    e2e.SCREEN_W, e2e.SCREEN_H = WIDTH, HEIGHT
    session = e2e.Session("screenshot-" + city,
                          argparse.Namespace(zor=zor, source=ROOT, shots=shots))
    try:
        session.prepare_folder()
        session.start_x()
        env = session.env()
        # The game remembers its video mode: keep that out of the user's own settings.
        env["XDG_CONFIG_HOME"] = session.path("config")
        env["XDG_DATA_HOME"] = session.path("data")
        session.game = subprocess.Popen(
            [session.zor, "--window", "%dx%d" % (WIDTH, HEIGHT)],
            cwd=session.folder, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        session.window = e2e.wait_for("the window \"ZOR\"", session.find_window, timeout=20)
        session.wait_screen("menu", e2e.menu_shown)
        session.keys("Down", "Down", "Return")  # "Load map"
        session.wait_screen("map-list", e2e.menu_shown)
        with open(session.path("maps", "levels.txt")) as levels:
            index = levels.read().split("\n").index(city)
        session.keys(*(["Down"] * index + ["Return"]))
        session.wait_screen("city", e2e.stars_shown)
        time.sleep(SETTLE_SECONDS)
        picture = session.screenshot("city")
        x, y, w, h = session.geometry()
        window = e2e.Picture(w, h, picture.region(x, y, w, h))
        target = os.path.join(ROOT, "docs", city + ".png")
        e2e.write_png(target, window)
        print("%s: %d x %d" % (target, w, h))
    finally:
        session.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--zor", default=os.path.join(ROOT, "build", "zor"))
    args = parser.parse_args()
    shots = os.path.join(ROOT, "build", "screenshot-shots")
    for city in CITIES:
        try:
            shoot(city, os.path.abspath(args.zor), shots)
        except e2e.Failure as failure:
            print("%s: %s" % (city, failure), file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
