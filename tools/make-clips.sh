#!/usr/bin/env bash
# Makes the forty voice clips in resources/ from Debian's flite voice "rms".
#
# The clips are chained into sentences at run time ("twelve" "dollars"
# "thirty" "four" "cents" "please"), so they must sound like one speaker:
#  - mono, 16-bit PCM, 16000 Hz (flite's own rate, so nothing is resampled);
#  - silence trimmed at both ends with a threshold 50 dB below the clip's
#    peak, which keeps the weak "th" and "h", then 30 ms padded at each end;
#  - every clip brought to the same RMS loudness (-18 dBFS), with its peak
#    kept at or below -1 dBFS; peak normalising alone leaves them up to 9 dB
#    apart.
# No dither and the C locale make every run give byte-identical files.
#
# Usage: tools/make-clips.sh [output folder]   (default: resources/)
#        tools/make-clips.sh --check   makes them afresh in a scratch folder and
#                                      checks that resources/ holds the same bytes
# The clip names and words come from voice/clips.h.
set -euo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/.." && pwd)
check=false
if [ "${1:-}" = --check ]; then check=true; shift; fi
out=${1:-$root/resources}

target_rms=-18   # dBFS
peak_cap=-1      # dBFS
trim_db=-50      # below the peak
pad=0.03         # seconds at each end

for tool in flite sox awk; do
  command -v "$tool" >/dev/null || { echo "make-clips: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if $check; then
  committed=$out
  out=$work/fresh
fi
mkdir -p "$out"

# Lines of voice/clips.h such as {Clip::SndOne, "SndOne", "one"},
sed -n 's/^ *{Clip::[A-Za-z]*, "\([A-Za-z]*\)", "\([^"]*\)"}.*/\1|\2/p' \
  "$root/voice/clips.h" >"$work/list"
count=$(wc -l <"$work/list")
if [ "$count" -ne 40 ]; then
  echo "make-clips: expected 40 clips in voice/clips.h, found $count" >&2
  exit 1
fi

# stat value: prints the named figure of sox's "stats" effect for a file.
stat() { sox -D "$1" -n stats 2>&1 | awk -v k="$2" 'index($0, k) == 1 { print $NF }'; }

while IFS='|' read -r name words; do
  say=${words//,/}   # no pause inside a phrase
  flite -voice rms -t "$say" -o "$work/raw.wav"
  # Peak to -1 dBFS first so that the trim threshold is relative to the peak.
  sox -D "$work/raw.wav" -c 1 -b 16 -e signed-integer "$work/norm.wav" \
    rate 16000 gain -n -1 \
    silence 1 0.002 $((trim_db - 1))d reverse silence 1 0.002 $((trim_db - 1))d reverse
  rms=$(stat "$work/norm.wav" "RMS lev dB")
  peak=$(stat "$work/norm.wav" "Pk lev dB")
  gain=$(awk -v r="$rms" -v p="$peak" -v t="$target_rms" -v c="$peak_cap" \
    'BEGIN { g = t - r; if (p + g > c) g = c - p; printf "%.2f", g }')
  sox -D "$work/norm.wav" -b 16 -e signed-integer "$out/$name.wav" gain "$gain" pad $pad $pad
  printf '%-24s %-30s rms %6s dB  gain %6s dB  %s s\n' "$name" "\"$words\"" "$rms" "$gain" \
    "$(soxi -D "$out/$name.wav")"
done <"$work/list"

if $check; then
  differ=0
  while IFS='|' read -r name _; do
    if ! cmp -s "$out/$name.wav" "$committed/$name.wav"; then
      echo "make-clips: $name.wav differs from the one in $committed" >&2
      differ=$((differ + 1))
    fi
  done <"$work/list"
  if [ "$differ" -ne 0 ]; then exit 1; fi
  echo "make-clips: all $count clips regenerate byte-identically"
fi
