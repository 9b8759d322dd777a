#!/usr/bin/env python3
"""Smoke run of the game in a real X window (Xvfb) driven by xdotool: what only a real window
can break. The window opens at the largest mode, real keys reach the editor, real mouse motion
and clicks place cars where the pointer went, F2 writes the map, Escape ends with status 0.

    xvfb-run -a -s "-screen 0 1024x768x24" \
        zor_e2e.py --zor path/to/zor --source repo/root --shots build/e2e-shots

Exit status 0 passed, 1 failed (a missing tool fails too); a screenshot goes to the shots folder.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

SCREEN_W, SCREEN_H = 1024, 768


class Failure(Exception):
    pass


def wait_for(what, condition, timeout=20.0):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.1)


def cars_in(path):
    with open(path) as f:
        return [[float(v) for v in line.split()[:2]] for line in f if line.strip()]


def run(args, folder):
    display = os.environ.get("DISPLAY")
    if not display:
        raise Failure("no DISPLAY: run it under xvfb-run, as ctest does")
    env = dict(os.environ)
    env.pop("SDL_VIDEODRIVER", None)
    # A video mode remembered by the user's own game must not change the run.
    env["XDG_CONFIG_HOME"] = os.path.join(folder, "config")
    env["XDG_DATA_HOME"] = os.path.join(folder, "data")
    game = None

    def x(*command):
        done = subprocess.run(list(command), env=env, capture_output=True, text=True, timeout=30)
        if done.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(command), done.stderr.strip()))
        return done.stdout

    def keys(*names):
        x("xdotool", "key", "--delay", "120", *names)
        time.sleep(0.2)

    def window():
        if game.poll() is not None:
            raise Failure("the game ended with status %d" % game.returncode)
        found = subprocess.run(["xdotool", "search", "--name", "^ZOR$"], env=env,
                               capture_output=True, text=True).stdout.split()
        return found[0] if found else None

    try:
        game = subprocess.Popen([os.path.abspath(args.zor)], cwd=folder, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        win = wait_for("the window \"ZOR\"", window)
        shell = x("xdotool", "getwindowgeometry", "--shell", win)
        geometry = dict(line.split("=", 1) for line in shell.split() if "=" in line)
        size = (int(geometry["WIDTH"]), int(geometry["HEIGHT"]))
        if size != (SCREEN_W, SCREEN_H):
            raise Failure("the window is %d x %d, not the largest mode" % size)
        x("xdotool", "windowfocus", win)
        time.sleep(1.0)  # the menu's first frame

        with open(os.path.join(folder, "maps", "levels.txt")) as f:
            map_folder = os.path.join(folder, "maps", f.read().split()[0])
        cars = os.path.join(map_folder, "cars.txt")
        # "Edit", "Edit map": the editor on the first map. F12 empties it, b picks the car.
        keys("Down", "Down", "Down", "Down", "Return")
        keys("Return")
        keys("F12", "b", "Right", "Right", "Right", "Right", "Right", "Down", "Down", "Down")
        x("xdotool", "click", "1")
        time.sleep(0.2)
        x("xdotool", "mousemove_relative", "--", "150", "120")
        time.sleep(0.2)
        x("xdotool", "click", "1")
        time.sleep(0.2)
        subprocess.run(["import", "-display", display, "-window", "root",
                        os.path.join(args.shots, "e2e-editor.png")], env=env, timeout=30)
        keys("F2")
        placed = wait_for("two cars in " + cars, lambda: len(cars_in(cars)) == 2 and cars_in(cars))
        moved = [placed[1][0] - placed[0][0], placed[1][1] - placed[0][1]]
        if moved != [150, 120]:
            raise Failure("the mouse moved the cursor by %s, not by 150, 120: %s" % (moved, placed))

        keys("Escape", "Escape", "Escape")
        try:
            status = game.wait(timeout=15)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end on Escape")
        if status != 0:
            raise Failure("the game ended with status %d" % status)
    finally:
        if game and game.poll() is None:
            game.kill()
            game.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zor", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--shots", required=True)
    args = parser.parse_args()
    missing = [t for t in ("xdotool", "import") if not shutil.which(t)]
    if missing:
        print("FAILED: missing %s (install them with tools/setup.sh --tests)" % ", ".join(missing))
        return 1
    os.makedirs(args.shots, exist_ok=True)
    folder = tempfile.mkdtemp(prefix="zor-e2e-")
    try:
        for part in ("GFX", "maps"):
            shutil.copytree(os.path.join(args.source, part), os.path.join(folder, part))
        shutil.copy(os.path.join(args.source, "dot.bmp"), folder)
        run(args, folder)
    except Failure as failure:
        print("FAILED: %s (screenshot in %s)" % (failure, args.shots))
        return 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
