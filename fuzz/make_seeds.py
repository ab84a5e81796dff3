#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora: a few meaningful inputs each.

The registry seeds follow the format that registry_contents.h describes;
the Settings dialog's seeds start with the user's choices and the program's
path. Run it again after changing that format:  fuzz/make_seeds.py
"""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
SETTINGS, RUN, POLICY = 0, 1, 2
NAMES = ["Force", "System", "StartUp", "WinKey", "CtrlShiftKey", "LastSeenTaskbarPosition",
         "ShCloak", "TaskbarNoMultimon", "", "Unknown", "StayHidden"]
TYPES = {"none": 0, "sz": 1, "expand_sz": 2, "binary": 3, "dword": 4, "dword_be": 5, "link": 6,
         "multi_sz": 7, "qword": 11}
# Forced statuses as the decoder reads them.
NONE, NOT_FOUND, DENIED, BAD_HANDLE, NO_KEY = 0, 3, 4, 5, 6


def key(exists, read=NONE, write=NONE, create=NONE, set_value=NONE):
    return bytes([1 if exists else 0, read, write, create, set_value])


def value(where, name, kind, data, unreadable=False):
    assert len(data) < 12
    return bytes([where, NAMES.index(name), list(TYPES).index(kind), len(data)]) + data + \
        bytes([1 if unreadable else 0])


def dword(number):
    return struct.pack("<I", number)


STORED = [
    value(SETTINGS, "System", "dword", dword(1)),
    value(SETTINGS, "CtrlShiftKey", "dword", dword(0)),
    value(SETTINGS, "WinKey", "dword", dword(9)),
    value(SETTINGS, "Force", "dword", dword(0)),
    value(SETTINGS, "StartUp", "dword", dword(0)),
    value(SETTINGS, "LastSeenTaskbarPosition", "dword", dword(4)),
]

REGISTRIES = {
    "first-run": key(False) + key(True) + key(False),
    "stored": key(True) + key(True) + key(False) + b"".join(STORED),
    "win-q-force-at-logon": key(True) + key(True) + key(True) + b"".join([
        value(SETTINGS, "System", "dword", dword(0)),
        value(SETTINGS, "WinKey", "dword", dword(6)),
        value(SETTINGS, "Force", "dword", dword(2)),
        value(SETTINGS, "StartUp", "dword", dword(1)),
        value(RUN, "ShCloak", "sz", b'"C:\\x"\0'),
        value(POLICY, "TaskbarNoMultimon", "dword", dword(1)),
    ]),
    "hostile-types": key(True) + key(True) + key(True) + b"".join([
        value(SETTINGS, "Force", "qword", dword(1) + dword(0)),
        value(SETTINGS, "System", "sz", b"0\0"),
        value(SETTINGS, "WinKey", "dword", dword(0xFFFFFFFF)),
        value(SETTINGS, "CtrlShiftKey", "binary", dword(3) + dword(3)),
        value(SETTINGS, "StartUp", "none", b""),
        value(SETTINGS, "LastSeenTaskbarPosition", "dword", dword(0xFFFFFFFF)),
        value(POLICY, "TaskbarNoMultimon", "multi_sz", b"a\0b\0\0"),
    ]),
    "unreadable-values": key(True) + key(True) + key(False) + b"".join(
        v[:-1] + b"\x01" for v in STORED),
    "settings-denied": key(True, read=DENIED, write=DENIED, create=DENIED) + key(True) +
    key(False) + b"".join(STORED),
    "run-key-broken": key(True) + key(False, write=BAD_HANDLE, create=NO_KEY) + key(False) +
    b"".join(STORED),
    "writes-refused": key(True, set_value=DENIED) + key(True, set_value=DENIED) +
    key(True, write=DENIED, set_value=DENIED) + b"".join(STORED),
}


def dialog_prefix(flags, ctrl_shift, win, path):
    """The program's path in UTF-16 code units, as GetModuleFileNameW gives it."""
    units = path.encode("utf-16-le")
    length = struct.pack("<H", len(units) // 2)
    return bytes([flags]) + dword(ctrl_shift) + dword(win) + length + units


DIALOG_CHOICES = {
    "ok-unchanged": dialog_prefix(0b001, 0, 9, "C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe"),
    "ok-win-q-force-at-logon": dialog_prefix(0b110, 0, 6, "C:\\Tools\\Shelfcloak.exe"),
    "ok-no-selection": dialog_prefix(0b101, 0xFFFFFFFF, 0xFFFFFFFF, "C:\\a b\\Shelfcloak.exe"),
    "ok-path-too-long": dialog_prefix(0b100, 25, 11, "C:\\" + "d" * 270),
    "ok-held-elsewhere": dialog_prefix(0b10000001, 0, 9, "C:\\Shelfcloak.exe"),
    # A folder outside the ANSI code page, under a user's profile.
    "ok-omega-at-logon": dialog_prefix(0b100, 0, 9, "C:\\Users\\\u03a9mega\\Shelfcloak.exe"),
}

COMMAND_LINES = {
    "plain": b'"C:\\Program Files\\Shelf Cloak\\Shelfcloak.exe"',
    "hide-exit": b'"C:\\Shelf Cloak\\Shelfcloak.exe" -hide -exit',
    "show-wins": b"Shelfcloak.exe -HIDE -Show",
    "hider-folder": b"C:\\my-hider\\Shelfcloak.exe -hide -nomulti",
    "multi-first": b"Shelfcloak.exe -nomulti -multi",
    "policy-copy": b'"C:\\Shelf Cloak\\Shelfcloak.exe" -nomulti -exit',
    "glued": b"Shelfcloak.exe/-hideNOW-exit",
    "beyond-259": b"Shelfcloak.exe " + b"x" * 300 + b" -show",
    "across-259": b"Shelfcloak.exe " + b"y" * 241 + b"-hide",
    "high-bytes": b"Shelfcloak.exe \xc4\xd6\xdc -\xc8XIT -SHOW\x7f",
    "toggle-exit": b'"C:\\x -toggle\\Shelfcloak.exe" -TOGGLE\t-exit -nomulti',
}


def write(target, seeds):
    folder = HERE / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.iterdir():
        old.unlink()
    for name, data in seeds.items():
        (folder / name).write_bytes(data)


def main():
    write("command_line", COMMAND_LINES)
    write("settings_load", REGISTRIES)
    dialog = {}
    for choice, prefix in DIALOG_CHOICES.items():
        for registry in ("stored", "hostile-types", "settings-denied"):
            dialog[f"{choice}--{registry}"] = prefix + REGISTRIES[registry]
    dialog["ok-win-q-force-at-logon--run-key-broken"] = \
        DIALOG_CHOICES["ok-win-q-force-at-logon"] + REGISTRIES["run-key-broken"]
    dialog["ok-unchanged--first-run"] = DIALOG_CHOICES["ok-unchanged"] + REGISTRIES["first-run"]
    write("settings_dialog", dialog)


if __name__ == "__main__":
    main()
