#!/usr/bin/env python3
"""End-to-end runs of the game in a real X window.

Each case starts its own Xvfb on a free display, runs the game in a fresh working folder that
holds a copy of GFX/, maps/ and dot.bmp, drives it with xdotool (keys and mouse motion), reads
screenshots taken with ImageMagick's import, and checks pixels and the files the game wrote.
Screenshots are kept in the shots folder, named after the case.

    zor_e2e.py CASE --zor path/to/zor --source repo/root --shots build/e2e-shots

Exit status: 0 passed, 1 failed (a needed tool that is missing fails the case too).
"""

import argparse
import os
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

SCREEN_W, SCREEN_H = 1024, 768


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, condition, timeout=15.0, interval=0.1):
    """Polls condition() until it returns a true value; fails with `what` after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(interval)


# ---------------------------------------------------------------- pictures


class Picture:
    """An RGB screenshot, three bytes a pixel, rows top to bottom."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]

    def count(self, x0, y0, w, h, test):
        n = 0
        for y in range(max(0, y0), min(self.height, y0 + h)):
            for x in range(max(0, x0), min(self.width, x0 + w)):
                if test(self.pixel(x, y)):
                    n += 1
        return n

    def region(self, x0, y0, w, h):
        rows = []
        for y in range(y0, y0 + h):
            i = (y * self.width + x0) * 3
            rows.append(bytes(self.rgb[i:i + 3 * w]))
        return b"".join(rows)


def dark(p):
    return max(p) <= 60


def white(p):
    return min(p) >= 225


def yellow(p):
    r, g, b = p
    return r >= 200 and g >= 150 and b <= 110


def light(p):
    return min(p) >= 180


def read_ppm(data):
    """A binary (P6) 8-bit portable pixmap."""
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1  # the single blank after the maximum value
    if fields[0] != b"P6" or fields[3] != b"255":
        raise Failure("unexpected screenshot format")
    width, height = int(fields[1]), int(fields[2])
    return Picture(width, height, data[pos:pos + width * height * 3])


def write_png(path, picture):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    stride = picture.width * 3
    rows = b"".join(b"\x00" + bytes(picture.rgb[y * stride:(y + 1) * stride])
                    for y in range(picture.height))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", picture.width, picture.height, 8, 2, 0,
                                           0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows, 6)))
        f.write(chunk(b"IEND", b""))


# ---------------------------------------------------------------- the session


class Session:
    """One Xvfb, one game process, one working folder."""

    def __init__(self, case, args):
        self.case = case
        self.zor = os.path.abspath(args.zor)
        self.source = os.path.abspath(args.source)
        self.shots = os.path.abspath(args.shots)
        self.shot_number = 0
        self.last_shot = None
        self.xvfb = None
        self.game = None
        self.display = None
        self.folder = tempfile.mkdtemp(prefix="zor-e2e-" + case + "-")
        os.makedirs(self.shots, exist_ok=True)
        for old in os.listdir(self.shots):
            if old.startswith(case + "-"):
                os.remove(os.path.join(self.shots, old))

    # -- set-up and tear-down

    def prepare_folder(self):
        shutil.copytree(os.path.join(self.source, "GFX"), os.path.join(self.folder, "GFX"))
        shutil.copytree(os.path.join(self.source, "maps"), os.path.join(self.folder, "maps"))
        shutil.copy(os.path.join(self.source, "dot.bmp"), self.folder)

    def path(self, *parts):
        return os.path.join(self.folder, *parts)

    def start_x(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx24" % (SCREEN_W, SCREEN_H), "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            ready, _, _ = select.select([read_end], [], [], max(0.0, left))
            if not ready:
                raise Failure("Xvfb did not report a display")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise Failure("Xvfb ended before it reported a display")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.pop("SDL_VIDEODRIVER", None)
        # The remembered video mode and the user's maps stay inside the case's folder.
        env["XDG_CONFIG_HOME"] = self.path("config")
        env["XDG_DATA_HOME"] = self.path("data")
        return env

    def start_game(self):
        self.game = subprocess.Popen([self.zor], cwd=self.folder, env=self.env(),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = wait_for("the window \"ZOR\"", self.find_window, timeout=20)

    def stop(self):
        for proc in (self.game, self.xvfb):
            if proc and proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    # -- X helpers

    def x(self, *command, check_status=True):
        done = subprocess.run(list(command), env=self.env(), capture_output=True, text=True,
                              timeout=30)
        if check_status and done.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(command), done.stderr.strip()))
        return done.stdout

    def find_window(self):
        if self.game.poll() is not None:
            raise Failure("the game ended with status %d" % self.game.returncode)
        out = self.x("xdotool", "search", "--name", "^ZOR$", check_status=False).split()
        return out[0] if out else None

    def geometry(self):
        window = self.find_window()
        if not window:
            return None
        out = self.x("xdotool", "getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def focus(self):
        window = self.find_window()
        if window:
            self.x("xdotool", "windowfocus", window, check_status=False)

    def keys(self, *names, delay=120):
        self.focus()
        self.x("xdotool", "key", "--delay", str(delay), *names)
        time.sleep(delay / 1000.0)

    def hold(self, name, seconds=0.15):
        """Keys the play frame reads as held (Escape, walking) need a press that spans frames."""
        self.focus()
        self.x("xdotool", "keydown", name)
        time.sleep(seconds)
        self.x("xdotool", "keyup", name)
        time.sleep(0.05)

    def key_down(self, name):
        self.focus()
        self.x("xdotool", "keydown", name)

    def key_up(self, name):
        self.x("xdotool", "keyup", name)

    def type_text(self, text):
        self.focus()
        self.x("xdotool", "type", "--delay", "80", text)
        time.sleep(0.1)

    def mouse_by(self, dx, dy):
        self.x("xdotool", "mousemove_relative", "--", str(dx), str(dy))
        time.sleep(0.15)

    def click(self, button):
        self.x("xdotool", "click", str(button))
        time.sleep(0.15)

    def screenshot(self, label):
        self.shot_number += 1
        name = "%s-%02d-%s.png" % (self.case, self.shot_number, label)
        done = subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8", "ppm:-"],
                              env=self.env(), capture_output=True, timeout=30)
        if done.returncode != 0:
            raise Failure("import failed: " + done.stderr.decode(errors="replace").strip())
        picture = read_ppm(done.stdout)
        self.last_shot = os.path.join(self.shots, name)
        write_png(self.last_shot, picture)
        return picture

    def wait_screen(self, label, condition, timeout=15.0):
        """Screenshots until condition(picture) holds; only the last one is kept."""
        taken = []

        def attempt():
            picture = self.screenshot(label)
            taken.append(self.last_shot)
            return picture if condition(picture) else None

        try:
            return wait_for(label, attempt, timeout=timeout, interval=0.2)
        finally:
            for old in taken[:-1]:
                os.remove(old)

    def wait_exit(self, timeout=15.0):
        try:
            return self.game.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end")


# ---------------------------------------------------------------- what screens look like

MIDDLE = SCREEN_H // 2


def highlight_width(picture, height=None):
    """Width of the white (highlighted) menu entry at x >= 200 on the middle line."""
    middle = (height or picture.height) // 2
    columns = [x for x in range(195, min(picture.width, 800))
               if any(white(picture.pixel(x, y)) for y in range(middle, middle + 32))]
    if not columns:
        return 0
    check(columns[0] >= 198, "the highlighted entry starts left of x = 200")
    return columns[-1] - columns[0] + 1


def menu_shown(picture):
    return highlight_width(picture) > 20


def stars_shown(picture):
    cells = [picture.count(20 * i - 10, SCREEN_H - 185, 20, 20, yellow) for i in (1, 2, 3)]
    return all(n >= 15 for n in cells)


def no_stars(picture):
    return picture.count(0, SCREEN_H - 190, 100, 30, yellow) == 0


def panel_shown(picture):
    return picture.count(SCREEN_W - 120, SCREEN_H - 120, 120, 120, light) > 3000


def weapon_texts(picture):
    """Dark text pixels of the weapon name and of "Unlimited" on the status panel."""
    name = picture.count(SCREEN_W - 90, SCREEN_H - 120, 90, 16, dark)
    ammo = picture.count(SCREEN_W - 95, SCREEN_H - 30, 95, 16, dark)
    return name, ammo


def on_foot_panel(picture):
    name, ammo = weapon_texts(picture)
    return panel_shown(picture) and name > 10 and ammo > 10


def in_car_panel(picture):
    name, ammo = weapon_texts(picture)
    life = picture.count(SCREEN_W - 70, SCREEN_H - 70, 60, 16, dark)
    return panel_shown(picture) and name == 0 and ammo == 0 and life > 5


HOUSE_COLOUR = (50, 58, 18)  # colour 0


def house_left_edge(picture, row):
    for x in range(picture.width):
        if picture.pixel(x, row) == HOUSE_COLOUR:
            return x
    return None


# ---------------------------------------------------------------- cases


def case_window_and_menu(s):
    s.start_game()
    check(s.geometry() == (0, 0, SCREEN_W, SCREEN_H),
          "the window is not full screen at the largest mode: %s" % (s.geometry(),))

    menu = s.wait_screen("menu", menu_shown)
    play_width = highlight_width(menu)
    check(menu.count(200, MIDDLE + 60, 200, 32, dark) > 50, "no entry below the highlight")
    check(menu.count(200, MIDDLE - 60, 300, 32, dark) == 0, "an entry above \"Play\"")

    # Down moves the highlight to "Restart" (wider), with "Play" now above it.
    s.keys("Down")
    moved = s.wait_screen("menu-down", lambda p: highlight_width(p) > play_width + 20)
    check(moved.count(200, MIDDLE - 60, 200, 32, dark) > 50, "\"Play\" is not above the highlight")
    s.keys("Up")
    s.wait_screen("menu-up", lambda p: highlight_width(p) == play_width)

    # "Controls": six black lines from y = 100, 50 pixels apart, no highlighted entry.
    s.keys("Down", "Down", "Down", "Return")

    def controls(p):
        return (all(p.count(200, 100 + 50 * k, 500, 30, dark) > 100 for k in range(6))
                and highlight_width(p) == 0)

    s.wait_screen("controls", controls)
    s.keys("Escape")
    back = s.wait_screen("menu-again", menu_shown)
    check(highlight_width(back) == play_width, "the menu did not come back on \"Play\"")

    s.keys("Escape")
    check(s.wait_exit() == 0, "the game ended with status %d" % s.game.returncode)


def write_play_map(s):
    """A map of our own first in the list: open ground, one house, one car."""
    folder = s.path("maps", "e2eplay")
    os.makedirs(folder)
    files = {
        "houses.txt": "700 450 100 100 Huset 100 0 0\n",
        "cars.txt": "250 400 69 94 0 100 0 10 0 4 0 0.1\n",
    }
    for name in ("houses.txt", "roads.txt", "cars.txt", "pedestrants.txt", "weapons.txt",
                 "sidewalks.txt", "lawns.txt", "drivers.txt", "badguys.txt"):
        with open(os.path.join(folder, name), "w") as f:
            f.write(files.get(name, ""))
    with open(s.path("maps", "levels.txt")) as f:
        levels = f.read()
    with open(s.path("maps", "levels.txt"), "w") as f:
        f.write("e2eplay\n" + levels)


def case_play(s):
    write_play_map(s)
    s.start_game()
    s.wait_screen("menu", menu_shown)
    s.keys("Return")

    # The city with the status display: three stars, the panel with the bare hands.
    city = s.wait_screen("city", lambda p: stars_shown(p) and on_foot_panel(p))
    row = 500
    start_edge = house_left_edge(city, row)
    check(start_edge == 700, "the house is not where the map puts it: %s" % start_edge)

    # i hides the status display and shows it again.
    s.keys("i")
    s.wait_screen("hud-hidden", lambda p: no_stars(p) and not panel_shown(p))
    s.keys("i")
    s.wait_screen("hud-shown", lambda p: stars_shown(p) and on_foot_panel(p))

    # Walking forward (to the right) carries the view along: the house slides left.
    s.key_down("Up")
    try:
        walked = s.wait_screen(
            "walked", lambda p: (house_left_edge(p, row) or start_edge) <= start_edge - 60,
            timeout=20)
    finally:
        s.key_up("Up")
    check(stars_shown(walked), "the stars went away while walking")

    # Return: the player walks to the only car and gets in; the panel then shows the car.
    s.keys("Return")
    s.wait_screen("in-car", in_car_panel, timeout=30)

    # Escape returns to the menu; "Play" continues in the car.
    s.hold("Escape")
    s.wait_screen("menu-after-play", menu_shown)
    s.keys("Return")
    s.wait_screen("play-continues", lambda p: stars_shown(p) and in_car_panel(p))

    s.hold("Escape")
    s.wait_screen("menu-at-end", menu_shown)
    s.keys("Escape")
    check(s.wait_exit() == 0, "the game ended with status %d" % s.game.returncode)


MAP_FILES = ("houses.txt", "roads.txt", "cars.txt", "pedestrants.txt", "weapons.txt",
             "sidewalks.txt", "lawns.txt", "drivers.txt", "badguys.txt")


def records(path):
    with open(path) as f:
        return [line.split() for line in f.read().splitlines() if line.strip()]


def numbers(fields, picks):
    return [float(fields[i]) for i in picks]


def case_editor(s):
    s.start_game()
    s.wait_screen("menu", menu_shown)
    with open(s.path("maps", "levels.txt")) as f:
        first_map = f.read().splitlines()[0]
    map_folder = s.path("maps", first_map)

    # "Edit" then "Edit map": the editor on the map loaded at start.
    s.keys("Down", "Down", "Down", "Down", "Return")
    s.wait_screen("map-menu", menu_shown)
    s.keys("Return")
    # F12 empties the map; then a house by two corners, a road by two corners, a car by a click.
    s.keys("F12", "h", "Return")
    s.keys(*(["Right"] * 10 + ["Down"] * 5 + ["Return"]), delay=60)
    s.keys("v", *(["Right"] * 5 + ["Return"] + ["Right"] * 20 + ["Down"] * 6 + ["Return"]),
           delay=60)
    s.keys("b", *(["Down"] * 20), delay=60)
    s.mouse_by(40, 30)
    s.click(1)
    before = os.path.getmtime(os.path.join(map_folder, "houses.txt"))
    s.screenshot("editor-placed")
    s.keys("F2")

    def saved():
        return len(records(os.path.join(map_folder, "houses.txt"))) == 1
    wait_for("the map to be written", saved)
    check(os.path.getmtime(os.path.join(map_folder, "houses.txt")) >= before, "not rewritten")

    houses = records(os.path.join(map_folder, "houses.txt"))
    roads = records(os.path.join(map_folder, "roads.txt"))
    cars = records(os.path.join(map_folder, "cars.txt"))
    check(len(houses) == 1 and len(roads) == 1 and len(cars) == 1,
          "expected one house, road and car: %d %d %d" % (len(houses), len(roads), len(cars)))
    for name in MAP_FILES:
        if name not in ("houses.txt", "roads.txt", "cars.txt"):
            check(records(os.path.join(map_folder, name)) == [], name + " is not empty")

    hx, hy, hw, hh = numbers(houses[0], range(4))
    check((hw, hh) == (100, 50), "house size %s x %s" % (hw, hh))
    check(numbers(houses[0], (5, 6, 7)) == [100, 0, 0], "house life, damage, colour")
    check(numbers(roads[0], range(4)) == [hx + 150, hy + 50, 200, 60],
          "road %s for house at %s, %s" % (roads[0], hx, hy))
    car = numbers(cars[0], range(12))
    check(car[2:] == [69, 94, 0, 100, 0, 10, 0, 4, 0, 0.1], "car fields %s" % cars[0])
    # The car stands where the keys and the mouse put the cursor.
    check(car[0] == hx + 350 + 40 and car[1] == hy + 50 + 60 + 200 + 30,
          "car at %s, %s for house at %s, %s" % (car[0], car[1], hx, hy))

    s.keys("Escape")
    s.wait_screen("map-menu-again", menu_shown)
    s.keys("Escape")
    s.wait_screen("menu-again", menu_shown)
    s.keys("Escape")
    check(s.wait_exit() == 0, "the game ended with status %d" % s.game.returncode)


def folder_state(root):
    state = {}
    for base, _, names in os.walk(root):
        for name in names:
            full = os.path.join(base, name)
            with open(full, "rb") as f:
                state[os.path.relpath(full, root)] = f.read()
    return state


def case_create_map(s):
    s.start_game()
    s.wait_screen("menu", menu_shown)
    with open(s.path("maps", "levels.txt"), "rb") as f:
        levels_before = f.read()

    s.keys("Down", "Down", "Down", "Down", "Return")
    s.wait_screen("map-menu", menu_shown)
    s.keys("Down", "Down", "Return")
    s.type_text("e2e_town")
    s.keys("Return")

    new_folder = s.path("maps", "e2e_town")
    wait_for("the new map's files",
             lambda: all(os.path.exists(os.path.join(new_folder, n)) for n in MAP_FILES))
    s.screenshot("new-map-editor")
    with open(s.path("maps", "levels.txt"), "rb") as f:
        levels_after = f.read()
    lines = levels_after.decode().splitlines()
    check(lines[-1] == "e2e_town", "last line of the level list is %r" % lines[-1])
    check(levels_after.rstrip(b"\n") == levels_before.rstrip(b"\n") + b"\ne2e_town",
          "the level list changed otherwise: %r" % levels_after)
    check(sorted(os.listdir(new_folder)) == sorted(MAP_FILES),
          "files of the new map: %s" % sorted(os.listdir(new_folder)))
    for name in MAP_FILES:
        check(os.path.getsize(os.path.join(new_folder, name)) == 0, name + " is not empty")

    # Leave the editor, and try names that must not be written.
    s.keys("Escape")
    s.wait_screen("map-menu-again", menu_shown)
    before = folder_state(s.folder)
    for label, name in (("unsafe", "../evil"), ("taken", "e2e_town")):
        # The map menu keeps its highlight: go to the top first, then to "Create map".
        s.keys("Up", "Up", "Up", "Down", "Down", "Return")
        s.type_text(name)
        s.keys("Return")
        # The prompt stays, with its message under the name.
        s.wait_screen("refused-" + label,
                      lambda p: p.count(200, 300, 400, 32, dark) > 50 and not menu_shown(p))
        s.keys("Escape")
        s.wait_screen("map-menu-after-" + label, menu_shown)
        check(folder_state(s.folder) == before, "a refused name changed files: " + name)
    check(not os.path.exists(s.path("evil")), "a folder outside maps/ was made")

    s.keys("Escape")
    s.wait_screen("menu-again", menu_shown)
    s.keys("Escape")
    check(s.wait_exit() == 0, "the game ended with status %d" % s.game.returncode)


def case_resolution(s):
    s.start_game()
    s.wait_screen("menu", menu_shown)
    s.keys("Down", "Down", "Down", "Down", "Down", "Return")
    s.wait_screen("mode-screen", menu_shown)
    s.keys("Return")
    s.wait_screen("window-sizes", menu_shown)
    s.keys("Down", "Return")
    wait_for("an 800 x 600 window", lambda: (s.geometry() or (0, 0, 0, 0))[2:] == (800, 600))

    # The menu comes back in the window, highlighted entry at half the window's height.
    def in_window(p):
        # Nothing is drawn outside the window: the bare root window shows there.
        outside = p.count(800, 0, SCREEN_W - 800, SCREEN_H, lambda q: max(q) > 0)
        outside += p.count(0, 600, 800, SCREEN_H - 600, lambda q: max(q) > 0)
        return highlight_width(p, height=600) > 20 and outside == 0

    s.wait_screen("menu-in-window", in_window)
    s.keys("Escape")
    check(s.wait_exit() == 0, "the game ended with status %d" % s.game.returncode)

    # The next start opens the mode chosen last.
    s.start_game()
    wait_for("the remembered 800 x 600 window",
             lambda: (s.geometry() or (0, 0, 0, 0))[2:] == (800, 600))
    s.screenshot("menu-in-remembered-window")  # a new window opens centred on the screen
    s.keys("Escape")
    check(s.wait_exit() == 0, "the game ended with status %d" % s.game.returncode)


CASES = {
    "window_and_menu": case_window_and_menu,
    "play": case_play,
    "editor": case_editor,
    "create_map": case_create_map,
    "resolution": case_resolution,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--zor", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--shots", required=True)
    args = parser.parse_args()

    missing = [t for t in ("Xvfb", "xdotool", "import") if not shutil.which(t)]
    if missing:
        print("FAILED %s: missing %s (install them with tools/setup.sh --tests)"
              % (args.case, ", ".join(missing)))
        return 1

    session = Session(args.case, args)
    try:
        session.prepare_folder()
        session.start_x()
        CASES[args.case](session)
    except Failure as failure:
        print("FAILED %s: %s" % (args.case, failure))
        print("screenshots: " + session.shots)
        return 1
    finally:
        session.stop()
    print("passed " + args.case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
