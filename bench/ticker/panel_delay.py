#!/usr/bin/env python3
"""The detail panel's delay after a press on an entry while a long ticker line runs: the real menu on a
copy of the demo disc under Xvfb (full screen, 1024 x 768), whose first section's ticker line is made
LENGTH bytes long. The first section is chosen (its line starts running when the list has slid in), then
its first entry is pressed, and the panel's area is watched in screenshots until it changes.

  panel_delay.py MENU-PROGRAM DEMO-DISC [LENGTH...]   (default 100 100000 1000000)

The last line gives the delay for each length side by side."""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from x_server import start_xvfb  # noqa: E402

# Full screen on 768 lines: the band starts at 144; the first section's name right of bar x 48, the first
# row of the list at list y 66, the panel from x 200 and band y 86.
FIRST_SECTION = (252, 182)
FIRST_ROW = (100, 144 + 22 + 66)
PANEL_AREA = "400x300+250+250"


def x(env, *arguments):
    return subprocess.run(["xdotool", *arguments], env=env, capture_output=True, text=True).stdout


def panel_sum(env):
    shot = subprocess.run(["import", "-window", "root", "-crop", PANEL_AREA, "rgb:-"], env=env,
                          capture_output=True).stdout
    return hashlib.md5(shot).hexdigest()


def click(env, point):
    x(env, "mousemove", str(point[0] - 1), str(point[1]))
    time.sleep(0.1)
    x(env, "mousemove", str(point[0]), str(point[1]))
    time.sleep(0.15)
    x(env, "click", "1")


def delay(menu, demo_disc, length, work):
    disc = tempfile.mkdtemp(prefix=f"disc-{length}-", dir=work) + "/disc"
    shutil.copytree(demo_disc, disc)
    shutil.copy(menu, os.path.join(disc, "kelvox-menu"))
    shutil.copy(os.path.join(os.path.dirname(menu), "libkelvox_music.so"), disc)
    ticker = os.path.join(disc, "menu/reklamy.txt")
    with open(ticker, "rb") as f:
        lines = f.read().split(b"\r\n")
    lines[0] = (b"Nowe gry i programy na plycie! " * (length // 31 + 1))[:length]
    with open(ticker, "wb") as f:
        f.write(b"\r\n".join(lines))
    xvfb, display = start_xvfb("-screen", "0", "1024x768x24")
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, 0o700, exist_ok=True)
    env = dict(os.environ, DISPLAY=display, KELVOX_REGISTRY=os.path.join(work, f"{length}.reg"),
               XDG_RUNTIME_DIR=runtime, QT_MEDIA_BACKEND="gstreamer")
    env.pop("QT_QPA_PLATFORM", None)
    menu_process = None
    try:
        menu_process = subprocess.Popen(["./kelvox-menu"], cwd=disc, env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        while not x(env, "search", "--onlyvisible", "--class", "kelvox-menu").split():
            time.sleep(0.1)
        time.sleep(4)  # the bar's intro
        click(env, FIRST_SECTION)
        time.sleep(6)  # the list's slide-in, and the line's restart at its end
        before = panel_sum(env)
        started = time.monotonic()
        click(env, FIRST_ROW)
        while panel_sum(env) == before:
            if time.monotonic() - started > 120:
                return None
        return time.monotonic() - started
    finally:
        if menu_process:
            menu_process.kill()
            menu_process.wait()
        xvfb.kill()
        xvfb.wait()


def main():
    menu, demo_disc = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    lengths = [int(a) for a in sys.argv[3:]] or [100, 100000, 1000000]
    work = tempfile.mkdtemp(prefix="kelvox-panel-delay-")
    try:
        delays = []
        for length in lengths:
            delays.append(delay(menu, demo_disc, length, work))
            print(f"line of {length} bytes: panel {delays[-1]:.2f} s after the press" if delays[-1] is not None
                  else f"line of {length} bytes: no panel within 120 s", flush=True)
        print("panel after a press: " + ", ".join(
            f"{d:.2f} s" if d is not None else "none" for d in delays) +
            " for ticker lines of " + ", ".join(f"{n} B" for n in lengths))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
