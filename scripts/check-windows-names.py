#!/usr/bin/env python3
"""scripts/check-windows-names.py CONTENT [LEFT-OUT...]: the names in a disc's content that a reader on
Windows could not open from the disc. Windows reads a disc's Joliet names: UTF-16 of at most 103 units
(xorriso's long Joliet names), without the characters its file system refuses, not ending in a dot or
a space, no device name, no two names in a folder that differ only in case (Windows shows one of them),
and a whole path that fits its 260 characters under a drive letter. Prints one line a name; exit status
1 when there is any, 0 otherwise. LEFT-OUT names top-level folders that are not put on the disc."""
import os
import sys

JOLIET_NAME_UNITS = 103
# "D:\" and the terminating zero leave this much of MAX_PATH for the path on the disc.
PATH_CHARACTERS = 260 - len("D:\\") - 1
REFUSED = set('<>:"/\\|?*') | {chr(code) for code in range(32)}
DEVICES = {"CON", "PRN", "AUX", "NUL"} | {f"{kind}{n}" for kind in ("COM", "LPT") for n in range(1, 10)}


def utf16_units(text):
    return len(text.encode("utf-16-le")) // 2


def name_problem(name):
    try:
        name.encode("utf-8")
    except UnicodeEncodeError:
        return "is not valid UTF-8, so it has no Windows name"
    if any(ord(c) > 0xFFFF for c in name):
        return "has a character beyond the 16-bit range, which a Joliet name cannot hold"
    refused = sorted({c for c in name if c in REFUSED})
    if refused:
        shown = " ".join(repr(c)[1:-1] for c in refused)
        return f"has characters Windows refuses in a name ({shown})"
    if name.endswith((".", " ")):
        return "ends in a dot or a space, which Windows drops"
    if name.split(".")[0].rstrip(" ").upper() in DEVICES:
        return "is a device name on Windows"
    if utf16_units(name) > JOLIET_NAME_UNITS:
        return f"is longer than the {JOLIET_NAME_UNITS} characters of a Joliet name"
    return None


def problems(content, left_out):
    found = []
    for folder, dirs, files in os.walk(content):
        relative_folder = os.path.relpath(folder, content)
        if relative_folder == ".":
            dirs[:] = [d for d in dirs if d not in left_out]
            files = [f for f in files if f not in left_out]
        seen = {}
        for name in sorted(dirs + files):
            path = name if relative_folder == "." else os.path.join(relative_folder, name)
            problem = name_problem(name)
            if problem is None and utf16_units(path) > PATH_CHARACTERS:
                problem = f"is a path longer than the {PATH_CHARACTERS} characters Windows opens on a disc"
            if problem is None:
                other = seen.setdefault(name.casefold(), name)
                if other != name:
                    problem = f"differs from {other} only in case: Windows shows only one of them"
            if problem:
                found.append((path, problem))
    return found


def main():
    if len(sys.argv) < 2 or not os.path.isdir(sys.argv[1]):
        print("usage: check-windows-names.py CONTENT [LEFT-OUT...]", file=sys.stderr)
        return 2
    found = problems(sys.argv[1], set(sys.argv[2:]))
    for path, problem in found:
        shown = path.encode("utf-8", "backslashreplace").decode("utf-8")
        print(f"problem: {shown}: the name {problem}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
