# A private X server for a script: Xvfb on a display it picks itself, taken only once a client has
# been answered by it. On a shared machine a server may name its display and then end, or never answer;
# waiting on it would leave the script talking to nothing, or to whatever server takes the number next.
# Sourced by the end-to-end roads, the smoke run, the reader's-machine test and run-demo.sh.

x_server_tries="${X_SERVER_TRIES:-5}"
x_server_seconds="${X_SERVER_SECONDS:-10}"

# x_server_start DIR XVFB-OPTIONS...: sets x_server_pid and x_display (":N") to a server that answers,
# trying another display (after ending the one that failed, by its pid) up to x_server_tries times.
# DIR holds the display number and the server's output. Returns 1 with the cause in x_server_error.
x_server_start() {
  local dir="$1" try status tool
  shift
  for tool in Xvfb xdotool timeout; do
    command -v "$tool" >/dev/null || { x_server_error="$tool is missing"; return 1; }
  done
  for try in $(seq "$x_server_tries"); do
    x_display=""; x_server_error=""
    rm -f "$dir/display"
    # -noreset: a server that resets when its last client (xdotool) leaves refuses the next one for a moment.
    Xvfb -displayfd 3 "$@" -nolisten tcp -noreset 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    x_server_pid=$!
    x_server_answers "$dir" "$x_server_seconds" && return 0
    kill "$x_server_pid" 2>/dev/null || true
    status=0
    wait "$x_server_pid" 2>/dev/null || status=$?
    if [ -z "$x_server_error" ]; then
      x_server_error="Xvfb${x_display:+ on $x_display} ended with status $status"
      x_server_error+=": $(grep -v '^$' "$dir/xvfb.log" | tail -n 1 || true)"
    fi
    [ "$try" -eq "$x_server_tries" ] || echo "note: $x_server_error; trying another display" >&2
  done
  x_server_pid=""; x_display=""
  x_server_error+=" (tried $x_server_tries servers)"
  return 1
}

# x_server_answers DIR SECONDS: the server named its display in DIR/display and a client was answered
# there while it still runs. Sets x_display; leaves x_server_error empty when the server has ended.
x_server_answers() {
  local end=$((SECONDS + $2)) number
  # Xvfb writes the number and its newline apart: a line without its end may be cut.
  until read -r number 2>/dev/null <"$1/display"; do
    kill -0 "$x_server_pid" 2>/dev/null || return 1
    [ "$SECONDS" -lt "$end" ] || { x_server_error="Xvfb named no display within $2 s"; return 1; }
    sleep 0.1
  done
  x_display=":$number"
  # A server that has stopped takes the connection and never answers: each client is given a limit.
  until DISPLAY="$x_display" timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1; do
    kill -0 "$x_server_pid" 2>/dev/null || return 1
    [ "$SECONDS" -lt "$end" ] || { x_server_error="Xvfb on $x_display did not answer within $2 s"; return 1; }
    sleep 0.1
  done
  # What answered may be another program's server that took the number after ours ended.
  kill -0 "$x_server_pid" 2>/dev/null
}
