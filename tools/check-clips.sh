#!/usr/bin/env bash
# Checks with an offline recogniser (pocketsphinx, US English model) that every
# voice clip in resources/ says its words, and that a few amounts chained from
# the clips are heard as the sentence they make. The recogniser may hear any
# sequence of the game's phrases (the grammar is made from voice/clips.h), as
# the game only ever chains whole clips: a clip passes only when no other
# clip, nor a run of them, fits it better.
#
# With --words the recogniser may hear any sequence of single words instead, a
# harder test that the flite voice passes but for one word.
#
# Usage: tools/check-clips.sh [--words] [clip folder]   (default: resources/)
# Needs: pocketsphinx pocketsphinx-en-us sox. Exit status 1 if any clip fails.
set -euo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/.." && pwd)
unit=phrase
if [ "${1:-}" = --words ]; then unit=word; shift; fi
clips=${1:-$root/resources}
model=/usr/share/pocketsphinx/model/en-us
for tool in pocketsphinx_batch sox; do
  command -v "$tool" >/dev/null || { echo "check-clips: $tool is missing" >&2; exit 1; }
done
[ -d "$model/en-us" ] || { echo "check-clips: pocketsphinx-en-us is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/audio"

# name|words for every clip, from the clip catalogue.
sed -n 's/^ *{Clip::[A-Za-z]*, "\([A-Za-z]*\)", "\([^"]*\)"}.*/\1|\2/p' \
  "$root/voice/clips.h" >"$work/clips"
: >"$work/expected"
while IFS='|' read -r name words; do
  cp "$clips/$name.wav" "$work/audio/$name.wav" 2>/dev/null || sox -n -r 16000 -b 16 -c 1 "$work/audio/$name.wav" trim 0 0.1
  echo "$name|${words//,/}" >>"$work/expected"
done <"$work/clips"

# Chained amounts, as the counter says them.
chain() { # id words clip...
  local id=$1 words=$2; shift 2
  local files=()
  for c in "$@"; do files+=("$clips/$c.wav"); done
  sox "${files[@]}" "$work/audio/$id.wav"
  echo "$id|$words" >>"$work/expected"
}
chain Amount1234 "twelve dollars thirty four cents please" \
  SndTwelve SndDollars SndThirty SndFour SndCents SndPlease
chain Amount12345 "one hundred twenty three dollars forty five cents please" \
  SndOne SndHundred SndTwenty SndThree SndDollars SndForty SndFive SndCents SndPlease
chain Change1729 "your change is seventeen dollars twenty nine cents" \
  YourChangeIs SndSeventeen SndDollars SndTwenty SndNine SndCents
chain Order "okay fries anything else" SndOK SndFries SndAnythingElse

# pocketsphinx_batch reads raw samples after a fixed-size header: write every
# file with sox's plain 44-byte header at the model's rate. A clip is heard
# in a quiet room: a third of a second of silence around it gives the
# recogniser its noise floor, as it has when the game speaks.
for f in "$work/audio"/*.wav; do
  sox "$f" -r 16000 -b 16 -c 1 -e signed-integer "$work/tmp.wav" pad 0.3 0.3 && mv "$work/tmp.wav" "$f"
done

cut -d'|' -f1 "$work/expected" >"$work/ctl"
if [ "$unit" = word ]; then
  cut -d'|' -f2 "$work/clips" | tr -d , | tr ' ' '\n' | sort -u >"$work/phrases"
else
  cut -d'|' -f2 "$work/clips" | tr -d , | sort -u >"$work/phrases"
fi
{
  echo "#JSGF V1.0;"
  echo "grammar zingaroo;"
  printf 'public <utterance> = <%s>+;\n<%s> = %s;\n' "$unit" "$unit" \
    "$(sed 's/.*/(&)/' "$work/phrases" | paste -sd'|' | sed 's/|/ | /g')"
} >"$work/grammar.jsgf"

pocketsphinx_batch -hmm "$model/en-us" -dict "$model/cmudict-en-us.dict" \
  -jsgf "$work/grammar.jsgf" -ctl "$work/ctl" -cepdir "$work/audio" -cepext .wav \
  -adcin yes -adchdr 44 -samprate 16000 -hyp "$work/hyp" >"$work/log" 2>&1 || {
  tail -20 "$work/log" >&2
  exit 1
}

pass=0
total=0
while IFS='|' read -r id words; do
  total=$((total + 1))
  # Lines of the form: words heard (id score)
  heard=$(sed -n "s/^\(.*\) ($id -*[0-9]*)\$/\1/p; s/^($id -*[0-9]*)\$//p" "$work/hyp" | head -1)
  if [ "$heard" = "$words" ]; then
    pass=$((pass + 1))
    printf 'ok    %-24s "%s"\n' "$id" "$words"
  else
    printf 'FAIL  %-24s "%s" heard as "%s"\n' "$id" "$words" "$heard"
  fi
done <"$work/expected"
echo "check-clips: $pass of $total recognised as their words"
[ "$pass" -eq "$total" ]
