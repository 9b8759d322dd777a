#!/usr/bin/env python3
"""Takes the README's pictures of the shipped cities from the real game.

For each city (downtown, suburb, smalltown) the game runs at 1600 x 1200 on an Xvfb of its
own; the script picks the city under "Load map", lets it run for a few seconds and writes what
the window shows to docs/<city>.png. The game is started and driven as the
end-to-end smoke run does (tests/e2e/zor_e2e.py), with xdotool and ImageMagick's import.

    tools/screenshots.py [--zor build/zor]
"""

import argparse
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import zor_e2e as e2e  # noqa: E402

CITIES = ("downtown", "suburb", "smalltown")
WIDTH, HEIGHT = 1600, 1200
SETTLE_SECONDS = 4  # time for the traffic to get going before the picture


def start_xvfb(width, height):
    """An Xvfb of its own; returns the process and its display name."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height),
         "-nolisten", "tcp", "-noreset"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        ready, _, _ = select.select([read_end], [], [], 20)
        chunk = os.read(read_end, 16) if ready else b""
        if not chunk:
            xvfb.kill()
            raise e2e.Failure("Xvfb did not report a display")
        number += chunk
    os.close(read_end)
    return xvfb, ":" + number.decode().strip()


def shoot(city, zor):
    xvfb, display = start_xvfb(WIDTH, HEIGHT)
    folder = tempfile.mkdtemp(prefix="zor-screenshot-")
    game = None
    try:
        for part in ("GFX", "maps"):
            shutil.copytree(os.path.join(ROOT, part), os.path.join(folder, part))
        shutil.copy(os.path.join(ROOT, "dot.bmp"), folder)
        env = dict(os.environ, DISPLAY=display)
        env.pop("SDL_VIDEODRIVER", None)
        # The game remembers its video mode: keep that out of the user's own settings.
        env["XDG_CONFIG_HOME"] = os.path.join(folder, "config")
        env["XDG_DATA_HOME"] = os.path.join(folder, "data")
        game = subprocess.Popen([zor, "--window", "%dx%d" % (WIDTH, HEIGHT)], cwd=folder, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def window():
            if game.poll() is not None:
                raise e2e.Failure("the game ended with status %d" % game.returncode)
            found = subprocess.run(["xdotool", "search", "--name", "^ZOR$"], env=env,
                                   capture_output=True, text=True).stdout.split()
            return found[0] if found else None

        win = e2e.wait_for("the window \"ZOR\"", window)
        subprocess.run(["xdotool", "windowfocus", win], env=env, check=True)
        time.sleep(1.0)
        with open(os.path.join(folder, "maps", "levels.txt")) as levels:
            index = levels.read().split("\n").index(city)
        keys = ["Down", "Down", "Return"] + ["Down"] * index + ["Return"]  # "Load map", the city
        subprocess.run(["xdotool", "key", "--delay", "150"] + keys, env=env, check=True)
        time.sleep(SETTLE_SECONDS)
        target = os.path.join(ROOT, "docs", city + ".png")
        subprocess.run(["import", "-display", display, "-window", win, target], env=env, check=True)
        print(target)
    finally:
        for proc in (game, xvfb):
            if proc and proc.poll() is None:
                proc.kill()
                proc.wait()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--zor", default=os.path.join(ROOT, "build", "zor"))
    args = parser.parse_args()
    subprocess.run([os.path.join(ROOT, "tools", "setup.sh"), "--tests", "imagemagick"], check=True)
    for city in CITIES:
        try:
            shoot(city, os.path.abspath(args.zor))
        except e2e.Failure as failure:
            print("%s: %s" % (city, failure), file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
