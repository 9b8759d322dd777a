#!/usr/bin/env python3
"""Measures how well the unit tests find faults: plants single-line faults (mutants) in the
game's code one at a time, rebuilds the unit-test programs and runs them.

Everything happens in a scratch copy of the source tree (WORK/src, built in WORK/build), so
the checkout itself is never touched; the copy is brought back in line with the checkout at
every start, so not even a killed run leaves a mutant behind for the next one.

    tools/mutate/mutate.py [--mutants 150] [--seed 1] [--work build-mutate] [--files PATTERN ...]

Outcomes: caught (a test program failed or crashed), missed (all passed), build failure,
time-out (a program went over its CPU-time limit and none caught it). The report goes to
WORK/report.md and WORK/report.json, rewritten after every mutant.
"""
import argparse
import fnmatch
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

PRODUCT_DIRS = ("world", "sim", "render", "editor", "app")
NOT_IN_TESTS = {"app/main.cpp"}  # only the game's entry point links it

# --- Choosing mutants ------------------------------------------------------------------------


def mask(lines):
    """The lines with comments blanked and the insides of string and character literals
    replaced by '_', column for column, so the patterns below only see code."""
    out, in_comment = [], False
    for line in lines:
        chars, i, quote = list(line), 0, None
        while i < len(chars):
            c, nxt = chars[i], line[i + 1] if i + 1 < len(line) else ""
            if in_comment:
                if c == "*" and nxt == "/":
                    chars[i] = chars[i + 1] = " "
                    in_comment = False
                    i += 1
                else:
                    chars[i] = " "
            elif quote:
                if c == "\\":
                    chars[i] = "_"
                    if i + 1 < len(chars):
                        chars[i + 1] = "_"
                    i += 1
                elif c == quote:
                    quote = None
                else:
                    chars[i] = "_"
            elif c == "/" and nxt == "/":
                chars[i:] = " " * (len(chars) - i)
                break
            elif c == "/" and nxt == "*":
                chars[i] = chars[i + 1] = " "
                in_comment = True
                i += 1
            elif c in "\"'" and not (c == "'" and i and line[i - 1].isalnum()):
                quote = c
            i += 1
        out.append("".join(chars))
    return out


SWAPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==",
         "+": "-", "-": "+", "+=": "-=", "-=": "+=", "&&": "||", "||": "&&"}
BINARY = [("relational", r"<=|>=|<|>"), ("equality", r"==|!="),
          ("arithmetic", r"[+-]=?"), ("logical", r"&&|\|\|")]
NUMBER = re.compile(r"(?<![\w.])(\d+(?:\.\d*)?(?:[eE][+-]?\d+)?)([fFuUlL]*)(?![\w.])")
STATEMENT_START = re.compile(r"(return|break|continue|delete|throw|case|default|else|do|goto|for|if|while|switch)\b")
ASSIGNMENT = re.compile(r"[\w.\[\]>*()-]+\s*([-+*/%|&^]|<<|>>)?=[^=].*;")
CALL = re.compile(r"[\w:.\[\]>*-]*\w\s*\(.*\);")
STEP = re.compile(r"(\+\+|--)?[\w.\[\]>-]+(\+\+|--)?;")


def closing_paren(text, start):
    depth = 0
    for i in range(start, len(text)):
        depth += {"(": 1, ")": -1}.get(text[i], 0)
        if depth == 0:
            return i
    return None


def removable(code, previous):
    """Whether the line is one whole call, assignment or ++/-- statement."""
    if STATEMENT_START.match(code) or code.count("(") != code.count(")"):
        return False
    if previous and previous[-1] not in ";{}):" and not previous.endswith("else"):
        return False  # the line continues an expression
    if ASSIGNMENT.fullmatch(code) and " " not in code.split("=")[0].rstrip(" +-*/%|&^<>"):
        return True
    step = STEP.fullmatch(code)
    return bool(CALL.fullmatch(code) or (step and (step.group(1) or step.group(2))))


def mutations_of_line(code, previous):
    """(kind, start column, end column, replacement) for one masked line of code."""
    stripped = code.strip()
    if not stripped or stripped.startswith("#") or re.search(
            r"\b(static_assert|template|operator|assert)\b", stripped):
        return []
    found = []
    for kind, pattern in BINARY:
        for m in re.finditer(r"(?<=\s)(%s)(?=\s)" % pattern, code):
            found.append((kind, m.start(), m.end(), SWAPS[m.group()]))
    if not stripped.startswith("case "):
        for m in NUMBER.finditer(code):
            text, suffix = m.groups()
            if re.fullmatch(r"\d+", text):
                new = str(int(text) + 1)
            else:
                value = float(text)
                new = repr(value * 2 if value else 1.0)
            found.append(("constant", m.start(), m.end(), new + suffix))
        for m in re.finditer(r"\b(true|false)\b", code):
            found.append(("constant", m.start(), m.end(),
                          "false" if m.group() == "true" else "true"))
    for m in re.finditer(r"\b(if|while)\s*\(", code):
        close = closing_paren(code, m.end() - 1)
        if close is not None and not re.search(r"[^=!<>]=[^=]", code[m.end():close]):
            found.append(("negated condition", m.end(), close, None))  # unless it declares
    if removable(stripped, previous):
        start = code.index(stripped)
        found.append(("removed statement", start, start + len(stripped), ";"))
    return found


def candidates(src, files):
    """Every possible mutant as (file, line number, kind, start, end, replacement)."""
    result = []
    for path in files:
        with open(os.path.join(src, path), encoding="utf-8", errors="surrogateescape") as f:
            lines = f.read().split("\n")
        previous = ""
        for number, code in enumerate(mask(lines), 1):
            for kind, start, end, new in mutations_of_line(code, previous):
                if new is None:  # negate the condition between start and end
                    new = "!(" + lines[number - 1][start:end] + ")"
                result.append((path, number, kind, start, end, new))
            if code.strip():
                previous = code.strip()
    return result


def change(kind, line, start, end, new):
    """The mutant in words: the mutated line, or the statement it removes."""
    if kind == "removed statement":
        return "removed `%s`" % line.strip()
    return "%s: `%s`" % (kind, (line[:start] + new + line[end:]).strip())


def choose(all_mutants, count, seed):
    """A seeded sample, at most one mutant per line."""
    shuffled = list(all_mutants)
    random.Random(seed).shuffle(shuffled)
    chosen, lines = [], set()
    for m in shuffled:
        if (m[0], m[1]) not in lines:
            lines.add((m[0], m[1]))
            chosen.append(m)
        if len(chosen) == count:
            break
    return chosen


# --- The scratch copy ------------------------------------------------------------------------


def tracked_files(root):
    out = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard", "-z"],
                         cwd=root, check=True, capture_output=True).stdout.decode()
    return sorted(p for p in out.split("\0") if p and os.path.isfile(os.path.join(root, p)))


def sync(root, src):
    """Makes the scratch copy equal to the checkout; returns the files' paths."""
    files = set(tracked_files(root))
    for dirpath, dirnames, filenames in os.walk(src):
        for name in filenames:
            path = os.path.relpath(os.path.join(dirpath, name), src)
            if path not in files:
                os.remove(os.path.join(src, path))
    for path in files:
        mine, theirs = os.path.join(root, path), os.path.join(src, path)
        with open(mine, "rb") as f:
            data = f.read()
        if os.path.exists(theirs):
            with open(theirs, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(theirs), exist_ok=True)
        shutil.copyfile(mine, theirs)  # a fresh time stamp, so the build notices
        shutil.copymode(mine, theirs)
    return sorted(files)


# --- Building and running --------------------------------------------------------------------


def test_programs(src):
    """One unit-test program per folder of tests/ with C++ sources in it."""
    names = []
    for name in sorted(os.listdir(os.path.join(src, "tests"))):
        for dirpath, _, filenames in os.walk(os.path.join(src, "tests", name)):
            if any(f.endswith(".cpp") for f in filenames):
                names.append("test_" + name)
                break
    return names


def configure(src, build):
    args = ["cmake", "-S", src, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
            "-DZOR_TESTS=ON", "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1",
            "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1"]
    if shutil.which("ccache"):
        args += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL)


def build(build_dir, programs, jobs, log=None):
    result = subprocess.run(["cmake", "--build", build_dir, "-j%d" % jobs, "--target"] + programs,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if log:
        with open(log, "wb") as f:
            f.write(result.stdout)
    return result.returncode == 0


def limit_cpu(seconds):
    import resource
    resource.setrlimit(resource.RLIMIT_CPU, (seconds, seconds + 1))


MAX_SLEEP = 60


def asleep(pid, started):
    """Seconds the program has neither run nor waited for a processor since it started."""
    try:
        with open("/proc/%d/schedstat" % pid) as f:
            ran, waited = (int(n) / 1e9 for n in f.read().split()[:2])
    except OSError:
        return 0
    return time.time() - started - ran - waited


def run_tests(args, programs, limits, env):
    """Runs the programs, `jobs` at a time, each under its CPU-time limit, until one fails.
    A program that waits for MAX_SLEEP seconds (tests never sleep) counts as timed out too;
    wall-clock time alone says nothing on a machine busy with other builds.
    Returns (outcome, program, failed test, {program: CPU seconds})."""
    queue, running, cpu = list(programs), {}, {}
    timed_out, caught = None, None
    try:
        while (queue or running) and not caught:
            while queue and len(running) < args.jobs:
                name = queue.pop(0)
                log = os.path.join(env["TMPDIR"], name + ".log")
                with open(log, "wb") as out:
                    proc = subprocess.Popen(
                        [os.path.join(args.build, name), "--gtest_fail_fast", "--gtest_brief=1"],
                        cwd=args.src, env=env, stdin=subprocess.DEVNULL, stdout=out,
                        stderr=subprocess.STDOUT,
                        start_new_session=True, preexec_fn=lambda n=name: limit_cpu(limits[n]))
                running[proc.pid] = (name, proc, time.time(), log)
            time.sleep(0.02)
            for pid, (name, proc, started, log) in list(running.items()):
                done, status, usage = os.wait4(pid, os.WNOHANG)
                if not done:
                    if asleep(pid, started) > MAX_SLEEP:
                        os.killpg(pid, signal.SIGKILL)
                        os.wait4(pid, 0)
                        del running[pid]
                        timed_out = name
                    continue
                del running[pid]
                proc.returncode = 0  # reaped here; keeps Popen from waiting again
                cpu[name] = usage.ru_utime + usage.ru_stime
                if os.WIFSIGNALED(status) and os.WTERMSIG(status) in (signal.SIGXCPU,
                                                                       signal.SIGKILL):
                    timed_out = name
                elif status != 0:
                    caught = (name, first_failure(log))
    finally:
        for pid, (name, proc, started, log) in running.items():
            os.killpg(pid, signal.SIGKILL)
            os.wait4(pid, 0)
            proc.returncode = -9
    if caught:
        return "caught", caught[0], caught[1], cpu
    if timed_out:
        return "time-out", timed_out, None, cpu
    return "missed", None, None, cpu


def first_failure(log):
    with open(log, errors="replace") as f:
        for line in f:
            if line.startswith("[  FAILED  ] ") and "." in line:
                return line[13:].split()[0]
    return None


# --- Reports ---------------------------------------------------------------------------------


def summary(results):
    counts = {k: sum(r["outcome"] == k for r in results)
              for k in ("caught", "missed", "build failure", "time-out")}
    judged = counts["caught"] + counts["missed"]
    counts["tried"] = len(results)
    counts["caught share"] = round(100.0 * counts["caught"] / judged, 1) if judged else None
    return counts


def write_reports(work, settings, results, started):
    s = summary(results)
    s["seconds"] = round(time.time() - started)
    with open(os.path.join(work, "report.json"), "w") as f:
        json.dump({"settings": settings, "summary": s, "mutants": results}, f, indent=1)
    lines = ["# Mutation report", "",
             "Seed %(seed)s, %(mutants)s mutants, source %(source)s" % settings, "",
             "| tried | caught | missed | build failure | time-out | caught share | seconds |",
             "|---|---|---|---|---|---|---|",
             "| %d | %d | %d | %d | %d | %s %% | %d |" % (
                 s["tried"], s["caught"], s["missed"], s["build failure"], s["time-out"],
                 s["caught share"], s["seconds"]), "",
             "| # | where | mutant | outcome | caught by |", "|---|---|---|---|---|"]
    for r in results:
        lines.append("| %d | %s:%d | %s | %s | %s |" % (
            r["id"], r["file"], r["line"], r["change"].replace("|", "\\|"), r["outcome"],
            " ".join(filter(None, [r["program"], r["test"]]))))
    with open(os.path.join(work, "report.md"), "w") as f:
        f.write("\n".join(lines) + "\n")
    return s


# --- Main ------------------------------------------------------------------------------------


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--mutants", type=int, default=150)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--source", default=root, help="the checkout to measure")
    p.add_argument("--work", default=os.path.join(root, "build-mutate"),
                   help="scratch copy, build folder and reports")
    p.add_argument("--jobs", type=int, default=os.cpu_count())
    p.add_argument("--time-factor", type=float, default=4,
                   help="CPU-time limit per program, as a multiple of its unmutated run")
    p.add_argument("--files", nargs="+", metavar="PATTERN",
                   help="mutate only these source files (shell patterns, e.g. 'sim/*.cpp')")
    p.add_argument("--list", action="store_true", help="only print the chosen mutants")
    args = p.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))  # restores the file, too
    args.source, args.work = os.path.abspath(args.source), os.path.abspath(args.work)
    args.src, args.build = os.path.join(args.work, "src"), os.path.join(args.work, "build")
    os.makedirs(args.src, exist_ok=True)
    files = [f for f in sync(args.source, args.src) if f.endswith(".cpp")
             and f.split("/")[0] in PRODUCT_DIRS and f not in NOT_IN_TESTS]
    if args.files:
        files = [f for f in files if any(fnmatch.fnmatch(f, p) for p in args.files)]
        if not files:
            sys.exit("no source file matches %s" % " ".join(args.files))
    chosen = choose(candidates(args.src, files), args.mutants, args.seed)
    originals = {}
    def original(path):
        if path not in originals:
            with open(os.path.join(args.src, path), encoding="utf-8", errors="surrogateescape") as f:
                originals[path] = f.read()
        return originals[path]
    if args.list:
        for i, (path, number, kind, start, end, new) in enumerate(chosen, 1):
            line = original(path).split("\n")[number - 1]
            print("%3d %s:%d %s" % (i, path, number, change(kind, line, start, end, new)))
        return

    programs = test_programs(args.src)
    home = os.path.join(args.work, "home")
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", HOME=home,
               XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_DATA_HOME=os.path.join(home, "data"), TMPDIR=os.path.join(home, "tmp"))
    def fresh_home():
        shutil.rmtree(home, ignore_errors=True)
        os.makedirs(env["TMPDIR"])

    configure(args.src, args.build)
    print("building the unit-test programs in %s ..." % args.build, flush=True)
    if not build(args.build, programs, args.jobs, os.path.join(args.work, "build.log")):
        sys.exit("the unmutated code does not build; see %s/build.log" % args.work)
    fresh_home()
    no_limit = {name: 3600 for name in programs}
    outcome, program, test, cpu = run_tests(args, programs, no_limit, env)
    if outcome != "missed":
        sys.exit("the unmutated tests do not pass: %s %s" % (program, test or ""))
    limits = {n: int(max(10, args.time_factor * cpu[n])) + 1 for n in programs}
    print("unmutated CPU seconds:", {n: round(t, 1) for n, t in cpu.items()}, flush=True)

    settings = {"seed": args.seed, "mutants": args.mutants, "source": args.source,
                "programs": programs, "cpu_limits": limits}
    results, started = [], time.time()
    for i, (path, number, kind, start, end, new) in enumerate(chosen, 1):
        t0, text = time.time(), original(path)
        lines = text.split("\n")
        line = lines[number - 1]
        lines[number - 1] = line[:start] + new + line[end:]
        target = os.path.join(args.src, path)
        try:
            with open(target, "w", encoding="utf-8", errors="surrogateescape") as f:
                f.write("\n".join(lines))
            if build(args.build, programs, args.jobs):
                # The programs of the mutated subsystem first, then the rest, quickest first.
                order = sorted(programs, key=lambda n: (n != "test_" + path.split("/")[0],
                                                        cpu[n]))
                fresh_home()
                outcome, program, test, _ = run_tests(args, order, limits, env)
            else:
                outcome, program, test = "build failure", None, None
        finally:
            with open(target, "w", encoding="utf-8", errors="surrogateescape") as f:
                f.write(text)
        sync(args.source, args.src)  # in case a test wrote into the tree
        results.append({"id": i, "file": path, "line": number, "kind": kind,
                        "change": change(kind, line, start, end, new),
                        "original": line, "mutated": lines[number - 1], "outcome": outcome,
                        "program": program, "test": test, "seconds": round(time.time() - t0, 1)})
        s = write_reports(args.work, settings, results, started)
        print("%3d/%d %-13s %s:%d %s %s" % (i, len(chosen), outcome, path, number,
                                             results[-1]["change"], program or ""), flush=True)
    build(args.build, programs, args.jobs)  # leave the build matching the code
    print("caught %(caught)d, missed %(missed)d, build failures %(build failure)d, "
          "time-outs %(time-out)d of %(tried)d: %(caught share)s %% caught" % s)
    print("report: %s" % os.path.join(args.work, "report.md"))


if __name__ == "__main__":
    main()
