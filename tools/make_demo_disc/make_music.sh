#!/bin/sh
# make_music.sh OUT.mp3: an eight-second loop in A minor (arpeggios over Am F C G, a soft bass and a
# quiet off-beat tick) synthesised with sox and encoded with lame, since Debian's sox writes no MP3.
set -eu
out="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
rate=44100
step=0.25 # an eighth note at 120 beats a minute

# note FILE SEMITONES-FROM-A440 LENGTH VOICE VOLUME
note() {
  sox -q -n -r "$rate" -c 1 "$1" synth "$3" "$4" "%$2" fade q 0.005 "$3" 0.12 vol "$5"
}

# One chord: its root for the bass, then the eight arpeggio steps (semitones from A440).
chords="-24:-12,-5,0,3,7,3,0,-5 -28:-16,-9,-4,0,3,0,-4,-9 -21:-9,-2,3,7,10,7,3,-2 -26:-14,-7,-2,2,5,2,-2,-7"

arp_parts=""
bass_parts=""
n=0
for chord in $chords; do
  root="${chord%%:*}"
  steps="${chord#*:}"
  note "$work/bass$n.wav" "$root" 2 triangle 0.35
  bass_parts="$bass_parts $work/bass$n.wav"
  i=0
  for s in $(echo "$steps" | tr ',' ' '); do
    note "$work/arp$n-$i.wav" "$s" "$step" pluck 0.45
    arp_parts="$arp_parts $work/arp$n-$i.wav"
    i=$((i + 1))
  done
  n=$((n + 1))
done

sox -q -n -r "$rate" -c 1 "$work/tick.wav" synth 0.04 whitenoise vol 0.3 highpass 6000 fade 0 0.04 0.03 vol 0.25
sox -q -n -r "$rate" -c 1 "$work/rest.wav" trim 0 0.21
tick_parts=""
for i in $(seq 1 32); do tick_parts="$tick_parts $work/rest.wav $work/tick.wav"; done

# shellcheck disable=SC2086
sox -q $arp_parts "$work/arp.wav"
# shellcheck disable=SC2086
sox -q $bass_parts "$work/bass.wav"
# shellcheck disable=SC2086
sox -q $tick_parts "$work/ticks.wav"
sox -q -m "$work/arp.wav" "$work/bass.wav" "$work/ticks.wav" "$work/mix.wav" trim 0 8 \
  equalizer 3000 1q -2 gain -n -3 channels 2
lame --quiet -b 96 --resample 44.1 "$work/mix.wav" "$out"
