"""A private X server for a harness: Xvfb on a display it picks itself, taken only once a client has been
answered by it. On a shared machine a server may name its display and then end, or never answer; waiting
on it would leave the harness talking to nothing, or to whatever server takes the number next.
The shell scripts' twin is x-server.sh beside this file."""
import os
import select
import subprocess
import sys
import tempfile
import time

TRIES = int(os.environ.get("X_SERVER_TRIES", "5"))
SECONDS = float(os.environ.get("X_SERVER_SECONDS", "10"))


class NoXServer(Exception):
    """No server answered; the message names the cause of the last try."""


class XServerFailed(Exception):
    """One server failed; the message names why."""


def answers(display, seconds=5):
    """A client is answered on the display within the seconds (a stopped server takes the connection
    and never answers)."""
    try:
        return subprocess.run(["xdotool", "getdisplaygeometry"], env=dict(os.environ, DISPLAY=display),
                              capture_output=True, timeout=seconds).returncode == 0
    except subprocess.TimeoutExpired:
        return False


def _named_display(read_end, xvfb, deadline):
    """The display Xvfb names on the pipe: None once it has ended or the deadline has passed."""
    named = b""
    while not named.endswith(b"\n"):  # the number and its newline come apart
        ready, _, _ = select.select([read_end], [], [], max(0.0, min(0.1, deadline - time.monotonic())))
        if ready:
            chunk = os.read(read_end, 64)
            if not chunk:
                return None
            named += chunk
        elif xvfb.poll() is not None or time.monotonic() >= deadline:
            return None
    return ":" + named.decode().strip()


def _start_once(options, seconds):
    """One server: (process, display) once it answers; else it is ended and XServerFailed names why."""
    log = tempfile.TemporaryFile()
    read_end, write_end = os.pipe()
    # -noreset: a server that resets when its last client leaves refuses the next one for a moment.
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), *options, "-nolisten", "tcp", "-noreset"],
                            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=log)
    os.close(write_end)
    deadline = time.monotonic() + seconds
    try:
        display = _named_display(read_end, xvfb, deadline)
    finally:
        os.close(read_end)
    cause = None if display else f"Xvfb named no display within {seconds:g} s"
    while cause is None and xvfb.poll() is None:
        # What answered must be ours: another program's server may take the number after ours ends.
        if answers(display) and xvfb.poll() is None:
            log.close()
            return xvfb, display
        if time.monotonic() >= deadline:
            cause = f"Xvfb on {display} did not answer within {seconds:g} s"
        time.sleep(0.1)
    if xvfb.poll() is not None:
        log.seek(0)
        said = [line for line in log.read().decode("utf-8", "replace").splitlines() if line.strip()]
        cause = f"Xvfb{' on ' + display if display else ''} ended with status {xvfb.returncode}: " + \
            (said[-1] if said else "")
    xvfb.kill()
    xvfb.wait()
    log.close()
    raise XServerFailed(cause)


def start_xvfb(*options, tries=TRIES, seconds=SECONDS):
    """Starts Xvfb with the options; returns (process, display) once a client has been answered there.
    A server that fails is ended (by its pid) and another display tried, up to the tries; then NoXServer."""
    for attempt in range(1, tries + 1):
        try:
            return _start_once(options, seconds)
        except XServerFailed as failed:
            cause = str(failed)
        if attempt < tries:
            print(f"note: {cause}; trying another display", file=sys.stderr, flush=True)
    raise NoXServer(f"{cause} (tried {tries} servers)")
