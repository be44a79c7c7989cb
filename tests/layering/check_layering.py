#!/usr/bin/env python3
"""Checks that the folders depend on each other the way docs/architecture.md draws them:

- nothing includes app/ (the program is put together there, and nothing builds on it) but the
  tests of its own pieces in tests/app and the benchmark that times its journal file;
- the engine includes only the standard library and its own headers, and is compiled with no
  include path beyond its own folder and the identity leaf; each of its rooms includes only
  the rooms below it (ROOM_USES), so no include runs back up and none goes round in a circle;
- the main window includes nothing of the host link or the About box, and its tests link
  neither (checked when the Windows build is there).

    check_layering.py SOURCE_DIR BUILD_DIR
"""
import json
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
SOURCE_SUFFIXES = (".h", ".cpp", ".rc")
# The engine's rooms, from the ground floor up, and the rooms each may include.
ROOM_USES = {
    "numbers": set(),
    "request": {"numbers"},
    "journal": {"numbers"},
    "spread": {"numbers"},
    "passes": {"numbers", "request", "journal"},
    "pricing": {"numbers", "request", "passes", "spread"},
    "policy": {"numbers", "request", "pricing"},
}


def sources(root, folder):
    for dirpath, _, filenames in os.walk(os.path.join(root, folder)):
        for name in sorted(filenames):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(dirpath, name)


def includes(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return INCLUDE.findall(f.read())


def main():
    root, build = sys.argv[1], sys.argv[2]
    problems = []
    rel = lambda p: os.path.relpath(p, root)

    for folder in ("engine", "host", "ui", "identity", "standin", "tests", "bench"):
        for path in sources(root, folder):
            own_tests = rel(path).startswith(os.path.join("tests", "app") + os.sep)
            for name in includes(path):
                if own_tests or (folder == "bench" and name == "app/win_journal_file.h"):
                    continue
                if name.startswith("app/"):
                    problems.append("%s includes %s" % (rel(path), name))

    engine = os.path.join(root, "engine")
    for path in sources(root, "engine"):
        for name in includes(path):
            if not os.path.exists(os.path.join(engine, name)):
                problems.append("%s includes %s, which is not the engine's own" % (rel(path), name))
                continue
            room, used = os.path.relpath(path, engine).split(os.sep)[0], name.split("/")[0]
            if room not in ROOM_USES:
                problems.append("%s lies in no room of the engine" % rel(path))
            elif used != room and used not in ROOM_USES[room]:
                problems.append("%s includes %s, a room it may not use" % (rel(path), name))

    for path in sources(root, os.path.join("ui", "main-window")):
        for name in includes(path):
            if name.startswith(("host/", "ui/about-box/", "app/")):
                problems.append("%s includes %s" % (rel(path), name))

    commands = os.path.join(build, "compile_commands.json")
    if os.path.exists(commands):
        allowed = (engine, os.path.join(build, "generated"))
        with open(commands) as f:
            for entry in json.load(f):
                if not entry["file"].startswith(engine + os.sep):
                    continue
                for flag in re.findall(r"(?:^|\s)-I\s*(\S+)", entry["command"]):
                    if not os.path.abspath(flag).startswith(allowed):
                        problems.append("%s is compiled with -I%s" % (rel(entry["file"]), flag))

    link = os.path.join(build, "tests", "main-window", "CMakeFiles", "main_window_tests.dir",
                        "linkLibs.rsp")
    if os.path.exists(link):
        with open(link) as f:
            libraries = f.read()
        for library in ("tarvello_host", "tarvello_about_box"):
            if library in libraries:
                problems.append("main_window_tests links %s" % library)

    if problems:
        print("check_layering:\n  " + "\n  ".join(problems))
        sys.exit(1)
    print("check_layering: the folders depend on each other as drawn")


if __name__ == "__main__":
    main()
