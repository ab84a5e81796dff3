#!/usr/bin/env python3
"""The program's folders use only the folders below them.

    layers_test.py SOURCE_DIR

Reads every '#include "..."' line of the program's sources and fails on one
that names a folder at its own level or above, printing the file, the line
and both levels. A folder may always include its own files.
"""
import pathlib
import re
import sys

# From the bottom up. Folders of one level do not use each other.
LEVELS = [
    ["platform"],                                  # the seam
    ["platform/win32", "shared", "res"],           # its one implementation; the shared vocabulary
    ["taskbar", "settings", "hyperlink"],          # the subsystems
    ["about"],                                     # the About box, which uses the hyperlink control
    ["app"],                                       # the application, which assembles them
]
LEVEL = {folder: level for level, folders in enumerate(LEVELS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    """The program folder a repository path lies in, the longest that fits, or None."""
    parts = pathlib.PurePosixPath(path).parts
    for length in range(len(parts) - 1, 0, -1):
        folder = "/".join(parts[:length])
        if folder in LEVEL:
            return folder
    return None


def main(source_dir):
    root = pathlib.Path(source_dir)
    wrong = []
    checked = 0
    for file in sorted(root.rglob("*")):
        if file.suffix not in (".h", ".cpp", ".rc") or "build" in file.relative_to(root).parts:
            continue
        relative = file.relative_to(root).as_posix()
        own = folder_of(relative)
        if own is None:
            continue
        checked += 1
        for number, text in enumerate(file.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(text)
            if not match:
                continue
            used = folder_of(match.group(1))
            if used is None or used == own or LEVEL[used] < LEVEL[own]:
                continue
            wrong.append(f"{relative}:{number}: includes {match.group(1)}, from {used}/ "
                         f"(level {LEVEL[used] + 1}), which is not below {own}/ "
                         f"(level {LEVEL[own] + 1})")
    for line in wrong:
        print(line, file=sys.stderr)
    if checked == 0:
        print(f"no program sources found under {root}", file=sys.stderr)
        return 1
    print(f"{checked} files, {len(wrong)} includes up the order")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
