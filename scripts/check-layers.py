#!/usr/bin/env python3
"""Keeps the layers as the folders show them: reads every #include of the
production code against the folders each folder may use, and the build files
for who links the headless host. Prints each line that breaks a rule and
exits 1; a new edge between layers is a decision, made here."""
import fnmatch, pathlib, re, subprocess, sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
DIALOGS = ["src/toolkit/", "src/editor/", "src/parse/", "src/viewer/", "src/app/"]
# The most specific folder a file lies in names what it may include.
MAY_INCLUDE = {
    "format/": ["format/"],
    "engine/core/": ["engine/core/", "format/"],
    "engine/": ["engine/", "format/"],
    "src/results/": ["src/results/", "engine/core/", "format/"],
    "src/toolkit/": ["src/toolkit/", "format/"],
    "src/": DIALOGS + ["src/results/", "engine/core/", "format/"],
    "src/headless/": ["src/headless/"] + DIALOGS + ["engine/core/", "format/"],
    "src/win32/": ["src/win32/"] + DIALOGS + ["src/results/", "engine/core/", "format/"],
}
# System headers that belong to one place: the Windows API to the Win32 host
# and the engine's per-system files, SQLite to the storage and the reader.
SYSTEM_HEADER_HOMES = {
    "windows.h": ["src/win32/", "engine/odbc/odbc_api.h", "engine/*_win32.cpp"],
    "sqlite3.h": ["engine/storage/", "engine/run/", "engine/command/", "src/results/"],
    "sql.h": ["engine/odbc/odbc_api.h"],
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def rule_for(path):
    best = max((p for p in MAY_INCLUDE if path.startswith(p)), key=len, default=None)
    return MAY_INCLUDE.get(best)


def at_home(path, homes):
    return any(fnmatch.fnmatch(path, h) if "*" in h else path.startswith(h) for h in homes)


def main():
    files = subprocess.run(["git", "ls-files", "format", "engine", "src"], cwd=ROOT, check=True,
                           capture_output=True, text=True).stdout.split()
    faults = []
    for path in files:
        if not path.endswith((".cpp", ".h")):
            continue
        allowed = rule_for(path)
        text = (ROOT / path).read_text(encoding="utf-8", errors="replace")
        for m in INCLUDE.finditer(text):
            kind, name = m.groups()
            line = text.count("\n", 0, m.start()) + 1
            if kind == '"' and allowed and not any(name.startswith(a) for a in allowed):
                faults.append(f"{path}:{line}: may not include \"{name}\"")
            homes = SYSTEM_HEADER_HOMES.get(name.lower())
            if kind == "<" and homes and not at_home(path, homes):
                faults.append(f"{path}:{line}: <{name}> belongs to {', '.join(homes)}")
    # The headless host is for tests (and benchmarks), never a shipped program.
    for cmake in ROOT.glob("**/CMakeLists.txt"):
        rel = cmake.relative_to(ROOT).as_posix()
        if rel.startswith(("build/", "tests/", "bench/")):
            continue
        for n, line in enumerate(cmake.read_text().splitlines(), 1):
            if "velmora_headless" in line and "target_link_libraries" in line and "velmora_headless PUBLIC" not in line:
                faults.append(f"{rel}:{n}: links the headless host outside the tests")
    for f in faults:
        print(f)
    if faults:
        print(f"{len(faults)} include(s) break the layers (scripts/check-layers.py says who may use whom)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
