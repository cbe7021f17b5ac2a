#!/usr/bin/env python3
"""gather_bundle.py BUILD-DIR QT-PREFIX: BUILD-DIR/bundle/ holds what the Windows menu needs to run on a
reader's Windows 10/11 x64 machine: the programs, unrar.dll, the Qt DLLs and plugins, and every DLL they
import that such a machine lacks (found by reading each file's import table). Files are copied, never
linked, and stripped. A DLL that is neither ours, Qt's, MinGW's nor the system's stops the gathering."""
import os
import re
import shutil
import subprocess
import sys

OBJDUMP = "x86_64-w64-mingw32-objdump"
STRIP = "x86_64-w64-mingw32-strip"
MINGW_DIRS = ["/usr/lib/gcc/x86_64-w64-mingw32/12-posix", "/usr/x86_64-w64-mingw32/lib"]
PROGRAMS = ["kelvox-menu.exe", "kelvox-check.exe", "unrar.dll"]
PLUGINS = ["platforms/qwindows.dll", "styles/qwindowsvistastyle.dll"]
# What every Windows 10/11 x64 installation has in System32 (the API sets resolve there too).
SYSTEM = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "d3d11.dll", "d3d9.dll", "dwmapi.dll", "dwrite.dll",
    "dxgi.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll", "netapi32.dll", "ntdll.dll",
    "ole32.dll", "oleaut32.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "userenv.dll", "uxtheme.dll", "version.dll", "winmm.dll", "ws2_32.dll", "wtsapi32.dll", "mpr.dll",
    "authz.dll", "bcrypt.dll", "crypt32.dll", "d2d1.dll", "dcomp.dll", "windowscodecs.dll", "shcore.dll",
    "secur32.dll", "iphlpapi.dll", "oleacc.dll", "wtsapi32.dll", "cfgmgr32.dll", "propsys.dll",
}


def imports(path):
    out = subprocess.run([OBJDUMP, "-p", path], check=True, capture_output=True, text=True).stdout
    return [name.lower() for name in re.findall(r"DLL Name: (\S+)", out)]


def find_dll(name, dirs):
    for directory in dirs:
        for candidate in os.listdir(directory) if os.path.isdir(directory) else []:
            if candidate.lower() == name:
                return os.path.join(directory, candidate)
    return None


def main():
    build, qt = sys.argv[1], sys.argv[2]
    bundle = os.path.join(build, "bundle")
    if os.path.isdir(bundle):
        shutil.rmtree(bundle)
    os.makedirs(bundle)
    outputs = [os.path.join(root, f) for root, _, files in os.walk(build)
               if "bundle" not in root.split(os.sep) for f in files]
    queue = []
    for program in PROGRAMS:
        found = [p for p in outputs if os.path.basename(p) == program]
        if not found:
            sys.exit(f"gather_bundle: {program} was not built in {build}")
        queue.append((found[0], program))
    queue += [(os.path.join(qt, "plugins", plugin), plugin) for plugin in PLUGINS]
    search = [os.path.join(qt, "bin")] + MINGW_DIRS
    placed = set()
    while queue:
        source, relative = queue.pop()
        if relative.lower() in placed:
            continue
        placed.add(relative.lower())
        target = os.path.join(bundle, relative)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(source, target)
        subprocess.run([STRIP, "--strip-unneeded", target], check=True)
        for dll in imports(source):
            if dll in SYSTEM or dll.startswith("api-ms-win-") or dll in placed:
                continue
            found = find_dll(dll, search)
            if not found:
                sys.exit(f"gather_bundle: {relative} needs {dll}, which is neither built here nor a system DLL")
            queue.append((found, os.path.basename(found)))
    total = sum(os.path.getsize(os.path.join(r, f)) for r, _, fs in os.walk(bundle) for f in fs)
    print(f"bundle: {len(placed)} files, {total / 1e6:.1f} MB in {bundle}")
    for root, _, files in sorted(os.walk(bundle)):
        for name in sorted(files):
            print(f"  {os.path.relpath(os.path.join(root, name), bundle)}")


if __name__ == "__main__":
    main()
