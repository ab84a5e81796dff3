#!/usr/bin/env python3
"""The program's folders use only the folders below them.

    layers_test.py SOURCE_DIR NM OBJDUMP OBJECT_LIST

Fails on a use that names a folder at its own level or above, printing the
user, the use and both levels. A folder may always use its own files. Two
kinds of use are read:

- every '#include "..."' line of the program's sources;
- every name an object of the program leaves undefined that another
  program object defines strongly: what the linker will join them by.

OBJECT_LIST names the objects of this build's program targets, one a line,
so that the stale object of a source that has since moved cannot speak for
it. A missing object, or one older than its source, fails, and so does a
list without program objects: a build that is stale or was never made must
not pass.

A name defined in every object that uses it (an inline function, a
template's instance, a vtable without a key function, an inline variable)
belongs to no one folder: ELF
marks those weak (W, V) or unique (u), while COFF keeps them as T or R in a
COMDAT section, which OBJDUMP's symbol table tells. Both are left out.
Names the program does not define (the C++ runtime, Windows' imports, the
sanitizers) are never resolved, so they are left out too.
"""
import pathlib
import re
import subprocess
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

# nm's letters for a definition the linker must take from this one object:
# code, data, zeroed data, read-only data, and the small-data kinds of both.
STRONG = set("TDBRGS")
# A weak reference is a use too, when the program has what it names.
UNDEFINED = set("Uwv")
# "0000000000000010 T name" or, undefined, "                 U name"; a
# demangled name may hold spaces.
NM_LINE = re.compile(r"^([0-9a-fA-F]*)\s+(\S) (.+)$")
# A COFF symbol in objdump -t: its section's number, storage class and name.
# A section's own symbol (class 3) is followed by an AUX line whose
# "comdat N" is not 0 when the section is a COMDAT.
COFF_SYMBOL = re.compile(r"^\[\s*\d+\]\(sec\s+(-?\d+)\).*\(scl\s+(\d+)\) \(nx \d+\) 0x[0-9a-fA-F]+ (.+)$")
COFF_COMDAT = re.compile(r"^AUX .*\bcomdat (\d+)")
COFF_EXTERNAL = 2
COFF_STATIC = 3
# CMake keeps an object at CMakeFiles/<target>.dir/<source path>.o (.obj for
# mingw; the resource script's is .res).
OBJECT_PATH = re.compile(r"/CMakeFiles/[^/]+\.dir/(.+)\.(?:o|obj|res)$")


def folder_of(path):
    """The program folder a repository path lies in, the longest that fits, or None."""
    parts = pathlib.PurePosixPath(path).parts
    for length in range(len(parts) - 1, 0, -1):
        folder = "/".join(parts[:length])
        if folder in LEVEL:
            return folder
    return None


def up_the_order(used, own):
    """Whether a file of folder own may not use folder used."""
    return used != own and LEVEL[used] >= LEVEL[own]


def levels(used, own):
    return (f"{used}/ (level {LEVEL[used] + 1}), which is not below {own}/ "
            f"(level {LEVEL[own] + 1})")


def include_faults(root):
    """(files read, lines naming an include up the order)."""
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
            if used is None or not up_the_order(used, own):
                continue
            wrong.append(f"{relative}:{number}: includes {match.group(1)}, from "
                         f"{levels(used, own)}")
    return checked, wrong


def run(command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def comdat_names(objdump, obj):
    """The mangled names an object defines in COMDAT sections (COFF only;
    an ELF object's table has no such lines and gives none)."""
    comdat_sections = set()
    externals = []
    section_symbol = None
    for line in run([objdump, "-t", obj]).splitlines():
        symbol = COFF_SYMBOL.match(line)
        if symbol:
            section, storage, name = int(symbol.group(1)), int(symbol.group(2)), symbol.group(3)
            section_symbol = section if storage == COFF_STATIC else None
            if storage == COFF_EXTERNAL and section > 0:
                externals.append((section, name))
            continue
        comdat = COFF_COMDAT.match(line)
        if comdat and section_symbol is not None and int(comdat.group(1)) != 0:
            comdat_sections.add(section_symbol)
        section_symbol = None
    return {name for section, name in externals if section in comdat_sections}


def symbols(nm, objdump, obj):
    """(strong definitions, undefined names) of one object, as
    {mangled: demangled}. nm lists a table in its own order with -p, so its
    mangled and demangled listings pair line by line."""
    mangled = run([nm, "-p", obj]).splitlines()
    demangled = run([nm, "-p", "-C", obj]).splitlines()
    if len(mangled) != len(demangled):
        raise RuntimeError(f"{nm} listed {obj} differently with -C")
    comdat = comdat_names(objdump, obj)
    defined, undefined = {}, {}
    for plain, readable in zip(mangled, demangled):
        entry, shown = NM_LINE.match(plain), NM_LINE.match(readable)
        if not entry or not shown:
            continue
        kind, name = entry.group(2), entry.group(3)
        if kind in STRONG and name not in comdat:
            defined[name] = shown.group(3)
        elif kind in UNDEFINED:
            undefined[name] = shown.group(3)
    return defined, undefined


def link_faults(root, nm, objdump, objects):
    """(objects read, objects missing or older than their sources, uses up
    the order)."""
    stale, wrong = [], []
    read = {}  # source path -> (folder, strong definitions, undefined names)
    for obj in objects:
        path = pathlib.Path(obj)
        match = OBJECT_PATH.search(path.as_posix())
        source = match.group(1) if match else None
        folder = folder_of(source) if source else None
        if folder is None:
            continue
        if not path.is_file():
            stale.append(f"{source}: no object at {obj}; build first")
            continue
        if (root / source).is_file() and (root / source).stat().st_mtime > path.stat().st_mtime:
            stale.append(f"{source}: its object {obj} is older than it; build first")
            continue
        read[source] = (folder, *symbols(nm, objdump, obj))

    definers = {}
    for source, (_, defined, _) in read.items():
        for name in defined:
            definers.setdefault(name, []).append(source)
    for source, (own, _, undefined) in sorted(read.items()):
        uses = set()
        for name, shown in undefined.items():
            for definer in definers.get(name, []):
                used = read[definer][0]
                if up_the_order(used, own):
                    uses.add(f"{source}: uses {shown}, defined in {definer}, from "
                             f"{levels(used, own)}")
        wrong.extend(sorted(uses))
    return len(read), stale, wrong


def main(argv):
    if len(argv) != 4:
        print("usage: layers_test.py SOURCE_DIR NM OBJDUMP OBJECT_LIST", file=sys.stderr)
        return 2
    root = pathlib.Path(argv[0])
    nm, objdump = argv[1], argv[2]
    objects = [line for line in pathlib.Path(argv[3]).read_text().splitlines() if line]
    files, includes = include_faults(root)
    read, stale, links = link_faults(root, nm, objdump, objects)
    for line in includes + stale + links:
        print(line, file=sys.stderr)
    if files == 0:
        print(f"no program sources found under {root}", file=sys.stderr)
    if read == 0:
        print(f"no program objects in {argv[3]}; build first", file=sys.stderr)
    print(f"{files} files, {len(includes)} includes up the order; "
          f"{read} objects, {len(links)} uses up the order")
    return 1 if includes or stale or links or files == 0 or read == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
