#!/usr/bin/env bash
# The harnesses' X server start (scripts/x-server.sh and scripts/x_server.py) against servers that fail
# as they do on a shared machine: one that names the display of another program's server and ends, one
# that names a display and never answers. Each must be ended and another started; when all fail, the
# cause is named.
# Usage: x_server_test.sh SOURCE-DIR
set -euo pipefail
top="$1"
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is missing"; exit 77; }
done
. "$top/scripts/x-server.sh"
work="$(mktemp -d)"
decoy=""; started=""
trap 'kill $decoy $started 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Another program's server, whose display the first fake names.
x_server_start "$work" -screen 0 320x240x16 || fail "no decoy server: $x_server_error"
decoy="$x_server_pid"; decoy_display="$x_display"

# The fake Xvfb plays one word of X_FAKE_PLAN a start, then hands over to the real one.
mkdir "$work/bin"
cat >"$work/bin/Xvfb" <<EOF
#!/usr/bin/env bash
starts=\$((\$(cat "$work/starts" 2>/dev/null || echo 0) + 1)); echo \$starts >"$work/starts"
read -ra plan <<<"\$X_FAKE_PLAN"
fd=\$(sed 's/.*-displayfd \([0-9]*\).*/\1/' <<<"\$*")
case "\${plan[starts - 1]:-real}" in
  ends) echo "${decoy_display#:}" >&\$fd; echo "Fatal server error: a fake end" >&2; exit 1 ;;
  mute) echo \$\$ >>"$work/mute"; echo 4321 >&\$fd; exec sleep 600 ;;
  *) exec "$(command -v Xvfb)" "\$@" ;;
esac
EOF
chmod +x "$work/bin/Xvfb"
export PATH="$work/bin:$PATH"

# starts_with PLAN TRIES SECONDS: runs x_server_start with the fake's plan; its notes go to $work/notes.
starts_with() {
  export X_FAKE_PLAN="$1"; x_server_tries="$2"; x_server_seconds="$3"
  rm -f "$work/starts" "$work/mute"
  x_server_start "$work" -screen 0 320x240x16 2>"$work/notes"
}
mute_ended() { ! kill -0 "$(cat "$work/mute")" 2>/dev/null || fail "the mute server was left running"; }

starts_with "ends mute" 5 2 || fail "no server after two failed ones: $x_server_error"
started="$x_server_pid"
[ "$(cat "$work/starts")" -eq 3 ] || fail "$(cat "$work/starts") starts, expected 3"
[ "$x_display" != "$decoy_display" ] || fail "took the decoy's display $decoy_display"
DISPLAY="$x_display" xdotool getdisplaygeometry | grep -qx "320 240" || fail "$x_display does not answer"
grep -q "on $decoy_display ended with status 1: Fatal server error: a fake end; trying" "$work/notes" &&
  grep -q "Xvfb on :4321 did not answer within 2 s; trying another" "$work/notes" || fail "$(cat "$work/notes")"
mute_ended
kill "$started"; started=""
echo "ok: a server that ended on another's display and a mute one are passed over; the third answers"

starts_with "mute mute" 2 1 && fail "a server was taken where none answered"
[ "$x_server_error" = "Xvfb on :4321 did not answer within 1 s (tried 2 servers)" ] || fail "$x_server_error"
mute_ended
echo "ok: $x_server_error"

# The Python twin, with the same plans.
python_start() {
  export X_FAKE_PLAN="$1"
  rm -f "$work/starts" "$work/mute"
  PYTHONPATH="$top/scripts" python3 - "$2" <<'EOF'
import sys
from x_server import NoXServer, start_xvfb
try:
    xvfb, display = start_xvfb("-screen", "0", "320x240x16", tries=int(sys.argv[1]), seconds=2)
except NoXServer as cause:
    print(cause)
    sys.exit(1)
print(display)
xvfb.kill()
xvfb.wait()
EOF
}
display="$(python_start "ends mute" 5 2>"$work/notes")" || fail "python: $display"
[ "$(cat "$work/starts")" -eq 3 ] && [ "$display" != "$decoy_display" ] || fail "python: took $display"
grep -q "Xvfb on :4321 did not answer within 2 s" "$work/notes" || fail "python: $(cat "$work/notes")"
mute_ended
cause="$(python_start "ends ends" 2 2>/dev/null)" && fail "python: a server was taken where none answered"
[ "$cause" = "Xvfb on $decoy_display ended with status 1: Fatal server error: a fake end (tried 2 servers)" ] ||
  fail "python: $cause"
echo "ok: python: $cause"
echo "OK"
