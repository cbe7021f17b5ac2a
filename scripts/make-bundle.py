#!/usr/bin/env python3
"""make-bundle.py PROGRAM-DIR BUNDLE-DIR: gathers the menu from a build's program directory (kelvox-menu,
its modules libunrar.so and libkelvox_music.so) with every library and Qt plugin it loads that a reader's machine may lack, into one folder
that runs on any Debian 12 with the reader's base (scripts/reader-base-packages.txt).

Each library is stored under the name the loader asks for, as a plain file (a FAT-formatted stick has no
symbolic links), and every file carries a $ORIGIN RUNPATH, so the bundle finds its own libraries first and
the reader's environment is never needed. Prints the bundled files, one a line."""
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
BASE_LIST = os.path.join(HERE, "reader-base-packages.txt")
# The Qt plugins the menu needs: the X11 platform and the multimedia backend.
PLATFORM_PLUGIN = "platforms/libqxcb.so"
MEDIA_PLUGIN = "multimedia/libgstreamermediaplugin.so"
QT_CONF = "[Paths]\nPrefix = .\nPlugins = plugins\n"
# The menu's modules, loaded from beside it: the RAR module, and the music (Qt Multimedia, loaded when
# the music starts).
MODULES = ("libunrar.so", "libkelvox_music.so")


def fail(message):
    sys.exit("make-bundle: " + message)


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def read_base_list():
    """The reader's base: (packages always there, packages there only for the music, packages whose own
    dependencies are not relied on)."""
    core, media, sealed = [], [], set()
    with open(BASE_LIST, encoding="utf-8") as lines:
        for line in lines:
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            if words[1:] == ["sealed"]:
                sealed.add(words[0])
            else:
                (media if words[1:] == ["media"] else core).append(words[0])
    return core, media, sealed


def installed_packages():
    """Installed package → (priority, its dependency groups, each a list of alternatives); and the
    packages that provide each virtual name."""
    output = run("dpkg-query", "-W",
                 "-f=${Package}\t${db:Status-Status}\t${Priority}\t${Depends}, ${Pre-Depends}\t${Provides}\n")
    packages, providers = {}, {}
    bare = lambda text: re.split(r"[\s(:]", text.strip())[0]
    for line in output.splitlines():
        name, status, priority, depends, provides = line.split("\t")
        if status != "installed":
            continue
        groups = [[bare(choice) for choice in group.split("|")] for group in depends.split(",") if group.strip()]
        packages[name] = (priority, groups)
        for virtual in provides.split(","):
            if virtual.strip():
                providers.setdefault(bare(virtual), []).append(name)
    return packages, providers


def closure(start, packages, providers, sealed):
    """The installed packages these depend on, themselves included, following Depends and Pre-Depends
    (every installed alternative) but not past a sealed package."""
    seen, todo = set(), [name for name in start if name in packages]
    while todo:
        name = todo.pop()
        if name in seen:
            continue
        seen.add(name)
        if name in sealed:
            continue
        for group in packages[name][1]:
            for choice in group:
                todo.extend([choice] if choice in packages else providers.get(choice, []))
    return seen


def minimal_system(packages):
    """What a minimal Debian holds: the packages of priority "required", and apt."""
    return [name for name, (priority, _) in packages.items() if priority == "required"] + ["apt"]


def library_files(packages):
    """The real paths of the shared libraries these packages install."""
    result = subprocess.run(["dpkg-query", "-L", *sorted(packages)], capture_output=True, text=True)
    files = set()
    for path in result.stdout.splitlines():
        if ".so" in os.path.basename(path) and os.path.isfile(path):
            files.add(os.path.realpath(path))
    return files


def needed_libraries(elf):
    """Every library the loader brings in for this file: the name it asks for → the file found."""
    libraries = {}
    for line in run("ldd", elf).splitlines():
        match = re.match(r"\s*(\S+) => (\S+) \(0x", line)
        if match:
            libraries[match.group(1)] = os.path.realpath(match.group(2))
        elif "not found" in line:
            fail(f"{elf}: {line.strip()}")
    return libraries


def copy_elf(source, target, runpath):
    shutil.copyfile(source, target)
    os.chmod(target, 0o755 if os.access(source, os.X_OK) else 0o644)
    run("patchelf", "--set-rpath", runpath, target)


def make_bundle(program_dir, bundle):
    menu = os.path.join(program_dir, "kelvox-menu")
    modules = [os.path.join(program_dir, name) for name in MODULES]
    for path in (menu, *modules):
        if not os.path.isfile(path):
            fail(f"{path} was not built")
    plugins = run("qtpaths6", "--query", "QT_INSTALL_PLUGINS").strip()

    core_packages, media_packages, sealed = read_base_list()
    packages, providers = installed_packages()
    core_closure = closure(minimal_system(packages) + core_packages, packages, providers, sealed)
    core_files = library_files(core_closure)
    media_closure = closure(minimal_system(packages) + core_packages + media_packages, packages, providers, set())
    media_files = core_files | library_files(media_closure)

    # The menu's own libraries may count only on the base without the media packages; the multimedia
    # plugin's may count on those too, since without them the menu only goes without music.
    wanted = {}
    for elf in (menu, *modules, os.path.join(plugins, PLATFORM_PLUGIN)):
        for name, path in needed_libraries(elf).items():
            if path not in core_files:
                wanted[name] = path
    for name, path in needed_libraries(os.path.join(plugins, MEDIA_PLUGIN)).items():
        if path not in media_files:
            wanted.setdefault(name, path)

    work = bundle + ".tmp"
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    for path in (menu, *modules):
        copy_elf(path, os.path.join(work, os.path.basename(path)), "$ORIGIN")
        run("strip", "--strip-unneeded", os.path.join(work, os.path.basename(path)))
    for name, path in sorted(wanted.items()):
        copy_elf(path, os.path.join(work, name), "$ORIGIN")
    for plugin in (PLATFORM_PLUGIN, MEDIA_PLUGIN):
        os.makedirs(os.path.join(work, "plugins", os.path.dirname(plugin)), exist_ok=True)
        copy_elf(os.path.join(plugins, plugin), os.path.join(work, "plugins", plugin), "$ORIGIN/../..")
    with open(os.path.join(work, "qt.conf"), "w", encoding="utf-8") as conf:
        conf.write(QT_CONF)

    shutil.rmtree(bundle, ignore_errors=True)
    os.rename(work, bundle)
    for root, _, files in sorted(os.walk(bundle)):
        for name in sorted(files):
            print(os.path.relpath(os.path.join(root, name), bundle))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    make_bundle(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
