#!/usr/bin/env python3
"""Smoke run of the game in a real X window (Xvfb) driven by xdotool: the window opens at the
largest mode, real keys reach the editor, real mouse motion and clicks place cars where the
pointer went, F2 writes the map, Escape ends with status 0.

    xvfb-run -a -s "-screen 0 1024x768x24" zor_e2e.py --zor path/to/zor --source repo/root
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time


class Failure(Exception):
    pass


def wait_for(what, condition, timeout=20.0):
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.1)
    return value


def run(zor, folder):
    if not os.environ.get("DISPLAY"):
        raise Failure("no DISPLAY: run it under xvfb-run, as ctest does")
    env = dict(os.environ)
    env.pop("SDL_VIDEODRIVER", None)
    # A video mode remembered by the user's own game must not change the run.
    env["XDG_CONFIG_HOME"] = os.path.join(folder, "config")
    env["XDG_DATA_HOME"] = os.path.join(folder, "data")

    def x(*command):
        done = subprocess.run(["xdotool", *command], env=env, capture_output=True, text=True,
                              timeout=30)
        if done.returncode != 0:
            raise Failure("xdotool %s failed: %s" % (command[0], done.stderr.strip()))
        time.sleep(0.2)
        return done.stdout

    def ended(how):
        with open(log_path, errors="replace") as log:
            said = log.read().strip()
        return Failure(how + (": " + said[-600:] if said else " and said nothing"))

    def window():
        if game.poll() is not None:
            raise ended("the game ended with status %d" % game.returncode)
        found = subprocess.run(["xdotool", "search", "--name", "^ZOR$"], env=env,
                               capture_output=True, text=True).stdout.split()
        return found[0] if found else None

    def cars():
        with open(os.path.join(folder, "maps", first_map, "cars.txt")) as f:
            return [[float(v) for v in line.split()[:2]] for line in f if line.strip()]

    with open(os.path.join(folder, "maps", "levels.txt")) as f:
        first_map = f.read().split()[0]
    log_path = os.path.join(folder, "zor.log")
    with open(log_path, "w") as log:
        game = subprocess.Popen([zor], cwd=folder, env=env, stdout=log, stderr=subprocess.STDOUT)
    try:
        win = wait_for("the window \"ZOR\"", window)
        geometry = dict(v.split("=", 1) for v in x("getwindowgeometry", "--shell", win).split())
        size = (int(geometry["WIDTH"]), int(geometry["HEIGHT"]))
        if size != (1024, 768):
            raise Failure("the window is %d x %d, not the largest mode" % size)
        x("windowfocus", win)
        time.sleep(1.0)  # the menu's first frame
        # "Edit", "Edit map": the editor on the first map. F12 empties it, b picks the car; one
        # car at the cursor, one 150 right and 120 down of it by the mouse.
        x("key", "--delay", "120", "Down", "Down", "Down", "Down", "Return", "Return")
        x("key", "--delay", "120", "F12", "b", *["Right"] * 5, *["Down"] * 3)
        x("click", "1")
        x("mousemove_relative", "--", "150", "120")
        x("click", "1")
        x("key", "F2")
        placed = wait_for("two cars in the map", lambda: len(cars()) == 2 and cars())
        moved = [placed[1][0] - placed[0][0], placed[1][1] - placed[0][1]]
        if moved != [150, 120]:
            raise Failure("the mouse moved the cursor by %s, not by 150, 120: %s" % (moved, placed))
        x("key", "--delay", "120", "Escape", "Escape", "Escape")
        try:
            if game.wait(timeout=15) != 0:
                raise ended("the game ended with status %d" % game.returncode)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end on Escape")
    finally:
        if game.poll() is None:
            game.kill()
            game.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zor", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    if not shutil.which("xdotool"):
        print("FAILED: missing xdotool (install it with tools/setup.sh --tests)")
        return 1
    folder = tempfile.mkdtemp(prefix="zor-e2e-")
    try:
        for part in ("GFX", "maps"):
            shutil.copytree(os.path.join(args.source, part), os.path.join(folder, part))
        shutil.copy(os.path.join(args.source, "dot.bmp"), folder)
        run(os.path.abspath(args.zor), folder)
    except Failure as failure:
        print("FAILED: %s" % failure)
        return 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
