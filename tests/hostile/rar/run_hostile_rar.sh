#!/usr/bin/env bash
# run_hostile_rar.sh DRIVER [SHARED_DIR]: every hostile archive through the RAR module's C interface,
# each under a time limit and with bounded memory. Each must end within seconds printing what its
# `expect` says, and nothing outside its destination may change. The sweep's own inputs are run too
# when the shared folder holds them.
set -euo pipefail
driver="$1"
fixtures="${2:-}/fixtures/hostile"
seconds=10
memory_kb=$((1024 * 1024))
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$driver" make "$work/cases"

add_fixture() { # name expected-output files...
  local name="$1" expect="$2"; shift 2
  mkdir -p "$work/cases/$name"
  for file in "$@"; do cp "$fixtures/$file" "$work/cases/$name/"; done
  chmod u+w "$work/cases/$name"/*
  printf '%s' "$expect" >"$work/cases/$name/expect"
}
if [ -f "$fixtures/newsub_self.rar" ]; then
  add_fixture sweep-newsub-self $'open 13\n' newsub_self.rar
  add_fixture sweep-newsub-after-file $'open 0\nread 0 ok.txt\nprocess 0\nread 13\ntree: ok.txt\n' \
    newsub_after_file.rar
  add_fixture sweep-continuation-of-another-name \
    $'open 0\nread 0 a.bin\nprocess 12\nread 0 zzz_other_name.bin\nprocess 12\nread 10\ntree:\n' \
    cont.part1.rar cont.part2.rar
else
  echo "shared hostile fixtures absent: only the generated cases run"
fi

# Everything under the case's box but its destination: names, kinds, link targets, contents.
outside_of_dest() {
  (cd "$1" && find . -path ./dest -prune -o -printf '%p %y %l\n' &&
    find . -path ./dest -prune -o -type f -exec md5sum {} +) | sort
}

failures=0
for case_dir in "$work"/cases/*/; do
  name="$(basename "$case_dir")"
  box="$work/run/$name"
  mkdir -p "$box/archive" "$box/dest" "$box/outside"
  echo "must stay as it is" >"$box/outside/witness.txt"
  cp "$case_dir"/*.rar "$box/archive/"
  if [ -d "$case_dir/pre" ]; then cp -a "$case_dir/pre/." "$box/dest/"; fi
  first="$box/archive/archive.rar"
  [ -f "$first" ] || first="$(ls "$box"/archive/*.rar | head -n 1)"
  before="$(outside_of_dest "$box")"
  started=$(date +%s%N)
  status=0
  output="$( (ulimit -v "$memory_kb"; timeout -s KILL "$seconds" "$driver" run "$first" "$box/dest") 2>&1)" || status=$?
  took_ms=$(( ($(date +%s%N) - started) / 1000000 ))
  problem=""
  if [ "$status" -ne 0 ]; then
    problem="ended with status $status (137: killed after ${seconds}s)"
  elif [ "$output" != "$(cat "$case_dir/expect")" ]; then
    problem=$'printed\n'"$output"$'\ninstead of\n'"$(cat "$case_dir/expect")"
  elif [ "$before" != "$(outside_of_dest "$box")" ]; then
    problem="changed something outside its destination"
  fi
  if [ -n "$problem" ]; then
    echo "FAIL $name: $problem"
    failures=$((failures + 1))
  else
    echo "ok   $name (${took_ms} ms)"
  fi
done
[ "$failures" -eq 0 ] || { echo "$failures hostile archive(s) misbehaved"; exit 1; }
