#!/usr/bin/env python3
"""Runs every hostile disc of disc_cases.py through kelvox-check, and those that stop the menu's start
through the real menu under Xvfb. Each must end with its expected message within seconds and with its
memory bounded.

  run_disc_cases.py check KELVOX-CHECK GOOD-DISC [--sanitized]
  run_disc_cases.py menu KELVOX-MENU GOOD-DISC [--sanitized]

--sanitized: the program is built with AddressSanitizer, whose shadow memory cannot live under an
address-space limit; its peak resident memory is bounded instead."""
import os
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [here, os.path.join(here, "..", "..", "scripts")]
from disc_cases import CASES, make_disc, registry_text  # noqa: E402
from x_server import NoXServer, answers, start_xvfb  # noqa: E402

TIME_LIMIT = 60  # seconds; a case takes about one, several on a loaded machine under ASan
ADDRESS_SPACE_LIMIT = 4 << 30
RESIDENT_LIMIT_KB = 1536 << 10


def limited(sanitized):
    def apply():
        if not sanitized:
            resource.setrlimit(resource.RLIMIT_AS, (ADDRESS_SPACE_LIMIT, ADDRESS_SPACE_LIMIT))
        os.setsid()
    return apply


def run_bounded(command, cwd, env, sanitized, wait_for=None):
    """Starts the program, calls wait_for(output file) (when given) while it runs, then waits for its end.
    Returns (status, output, seconds, peak resident kB, what wait_for returned)."""
    out = tempfile.TemporaryFile()
    started = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, env=env, stdout=out, stderr=subprocess.STDOUT,
                               preexec_fn=limited(sanitized))
    seen = wait_for(out) if wait_for else None
    status, usage = None, None
    # A program that has shown what it must is given a few seconds more to end.
    deadline = max(started + TIME_LIMIT, time.monotonic() + 5)
    while time.monotonic() < deadline:
        pid, raw, usage = os.wait4(process.pid, os.WNOHANG)
        if pid == process.pid:
            status = os.waitstatus_to_exitcode(raw)
            break
        time.sleep(0.05)
    if status is None:
        os.killpg(process.pid, signal.SIGKILL)
        _, raw, usage = os.wait4(process.pid, 0)
    process.returncode = 0  # reaped above
    out.seek(0)
    return status, out.read().decode("utf-8", "replace"), time.monotonic() - started, usage.ru_maxrss, seen


def check_case(checker, good_disc, sanitized, case, work):
    disc = os.path.join(work, case)
    make_disc(good_disc, disc, case)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    status, output, seconds, peak_kb, _ = run_bounded([checker, disc], work, env, sanitized)
    expected = CASES[case]["check"]
    failures = []
    if status != 1:
        failures.append(f"exit status {status}, expected 1")
    if expected not in output:
        failures.append(f"no problem reading {expected!r}")
    if peak_kb > RESIDENT_LIMIT_KB:
        failures.append(f"peak memory {peak_kb} kB")
    return failures, f"{seconds:.1f} s, {peak_kb // 1024} MB"


def visible_windows(env):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "kelvox-menu"], env=env,
                           capture_output=True, text=True)
    return found.stdout.split()


def xdotool(env, *arguments):
    return subprocess.run(["xdotool", *arguments], env=env, capture_output=True, text=True).stdout


def wait_for_window(env, want_main, seconds):
    """The menu's main window (full screen, 1024 x 768) or another of its windows (a message box)."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for window in visible_windows(env):
            if ("1024x768" in xdotool(env, "getwindowgeometry", window)) == want_main:
                return window
        time.sleep(0.2)
    return None


def click(env, x, y):
    # A move first: the menu's hover marks decide what a press hits.
    xdotool(env, "mousemove", str(x - 2), str(y))
    time.sleep(0.3)
    xdotool(env, "mousemove", str(x), str(y), "click", "1")


def shown_messages(out):
    """The texts of the message boxes shown so far, as the menu logs them for its kelvox.messages
    category."""
    out.seek(0)
    marker = "kelvox.messages: message: "
    lines = out.read().decode("utf-8", "replace").splitlines()
    return [line[line.index(marker) + len(marker):] for line in lines if marker in line]


def answer_message_box(env, out):
    """Waits for a message box, takes its text from the log, and presses its button."""
    box = wait_for_window(env, False, TIME_LIMIT / 2)
    if box is None:
        return None
    messages = shown_messages(out)
    xdotool(env, "windowfocus", "--sync", box)
    xdotool(env, "key", "Return")
    return messages[-1] if messages else ""


# Full screen on 768 lines: the band starts at 144; the first section's name stands right of bar x 48, the
# first row of the list at list y 56; the close button at bar x 786.
FIRST_SECTION = (252, 182)
FIRST_ROW = (60, 144 + 22 + 56 + 8)
CLOSE_BUTTON = (188 + 787, 173 + 8)


def drive_menu(env, road, out):
    """Follows the case's road to its message box; returns the box's text, or None when none came."""
    if road == "entry":
        if wait_for_window(env, True, TIME_LIMIT / 2) is None:
            return None
        # The intro and the list's slide-in take longer on a busy machine, and a press that comes before
        # the list has stopped hits no row: the section and the row are pressed again, a few times,
        # until a box comes.
        for _ in range(3):
            time.sleep(2)  # the bar's intro
            click(env, *FIRST_SECTION)
            time.sleep(3)  # the list's slide-in
            click(env, *FIRST_ROW)
            if wait_for_window(env, False, 10) is not None:
                break
    text = answer_message_box(env, out)
    if road != "start":
        for _ in range(5):
            if wait_for_window(env, True, 5) is None:
                break
            time.sleep(1)
            click(env, *CLOSE_BUTTON)
    return text


def menu_case(menu, good_disc, sanitized, case, work, env):
    disc = os.path.join(work, case)
    make_disc(good_disc, disc, case)
    shutil.copy(menu, os.path.join(disc, "kelvox-menu"))
    shutil.copy(os.path.join(os.path.dirname(menu), "libkelvox_music.so"), disc)
    registry = os.path.join(work, case + ".reg")
    if CASES[case]["wallpaper"] is not None:
        with open(registry, "w", encoding="utf-8") as f:
            f.write(registry_text(CASES[case]["wallpaper"]))
    env = dict(env, KELVOX_REGISTRY=registry)
    status, output, seconds, peak_kb, text = run_bounded(["./kelvox-menu"], disc, env, sanitized,
                                                         lambda out: drive_menu(env, CASES[case]["road"], out))
    expected = CASES[case]["menu"]
    failures = []
    if text is None or expected not in text:
        failures.append(f"message box {text!r:.300}, expected {expected!r:.300}")
    if status != 0:
        failures.append(f"exit status {status}, expected 0")
    if peak_kb > RESIDENT_LIMIT_KB:
        failures.append(f"peak memory {peak_kb} kB")
    if failures:
        failures.append("output: " + output[-2000:])
    return failures, f"{seconds:.1f} s, {peak_kb // 1024} MB"


def main():
    mode, program, good_disc = sys.argv[1], os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3])
    sanitized = "--sanitized" in sys.argv[4:]
    work = tempfile.mkdtemp(prefix="kelvox-hostile-")
    xvfb = None
    try:
        if mode == "check":
            cases = [case for case in CASES if CASES[case]["check"] is not None]
            run = lambda case: check_case(program, good_disc, sanitized, case, work)  # noqa: E731
        else:
            for tool in ("Xvfb", "xdotool"):
                if shutil.which(tool) is None:
                    print(f"SKIPPED: {tool} is missing")
                    return 77
            try:
                xvfb, display = start_xvfb("-screen", "0", "1024x768x24")
            except NoXServer as cause:
                print(f"SKIPPED: {cause}")
                return 77
            runtime = os.path.join(work, "runtime")
            os.mkdir(runtime, 0o700)
            env = dict(os.environ, XDG_RUNTIME_DIR=runtime, QT_MEDIA_BACKEND="gstreamer",
                       QT_LOGGING_RULES="kelvox.messages.info=true",
                       ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":detect_leaks=0")
            env.pop("QT_QPA_PLATFORM", None)
            cases = [case for case in CASES if CASES[case]["menu"] is not None]

            def run(case):
                nonlocal xvfb, display
                # A server lost between cases is replaced, so that the loss fails no case but its own.
                if xvfb.poll() is not None or not answers(display):
                    print(f"note: the X server on {display} has ended or does not answer; starting another")
                    xvfb.kill()
                    xvfb.wait()
                    xvfb, display = start_xvfb("-screen", "0", "1024x768x24")
                failures, figures = menu_case(program, good_disc, sanitized, case, work, dict(env, DISPLAY=display))
                if failures and xvfb.poll() is not None:
                    failures.insert(0, f"the X server on {display} ended during the case")
                return failures, figures
        failed = 0
        for case in cases:
            try:
                failures, figures = run(case)
            except NoXServer as cause:
                print(f"FAIL {case}: no X server for it and the cases after it: {cause}")
                return 1
            print(f"{'FAIL' if failures else 'ok  '} {case} ({figures})")
            for failure in failures:
                print("     " + failure)
            failed += bool(failures)
        return 1 if failed else 0
    finally:
        if xvfb is not None:
            xvfb.kill()
            xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
