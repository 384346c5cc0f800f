#!/usr/bin/env bash
# Plays one order on the real program as a player would: a private X display,
# real mouse clicks and keys, the voice listened to on the test sound server's
# null sink. Then starts it again with prepared preferences.
# Usage: play.sh PATH/TO/zingaroo     (exit 77: skipped)
set -euo pipefail
program=$(readlink -f "$1")
for tool in Xvfb xdotool xdpyinfo sox parec; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
if [[ -z "${ZINGAROO_TEST_SINK:-}" ]] || ! pactl info >/dev/null 2>&1; then
  echo "SKIP: no test sound server (run through the README's test command)"
  exit 77
fi

source "$(dirname "$0")/../../tools/services.sh"
work=$(mktemp -d)
pids=()
app_pid=""
cleanup() {
  [[ -n "$app_pid" ]] && kill -9 "$app_pid" 2>/dev/null || true
  stop_started
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

start_private_display 140 199 "$work/xvfb.log" || fail "Xvfb did not start"

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb
unset DBUS_SESSION_BUS_ADDRESS
mkdir -p "$XDG_CONFIG_HOME"
prefs="$XDG_CONFIG_HOME/zingaroo2a.txt"

start_game() {
  "$program" >"$work/app.log" 2>&1 &
  app_pid=$!
  wid=""
  for _ in $(seq 100); do
    wid=$(xdotool search --onlyvisible --name '^GUI$' 2>/dev/null | head -n 1) && [[ -n "$wid" ]] && break
    sleep 0.1
  done
  [[ -n "$wid" ]] || fail "the counter window did not appear"
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  # The content area (683 x 590) sits below the menu bar.
  ox=$X
  oy=$((Y + HEIGHT - 590))
}

# Clicks at a point of the content area and reports whether the voice spoke
# within the next two and a half seconds.
heard_after_click() {
  local x=$1 y=$2 raw="$work/rec.raw"
  parec -d "$ZINGAROO_TEST_SINK.monitor" --format=s16le --rate=16000 --channels=1 --latency-msec=10 >"$raw" &
  local rec=$!
  sleep 0.3
  xdotool mousemove $((ox + x)) $((oy + y)) click 1
  sleep 2.5
  kill "$rec"; wait "$rec" 2>/dev/null || true
  local peak
  peak=$(sox -t raw -r 16000 -e signed -b 16 -c 1 "$raw" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
  awk -v p="${peak:-0}" 'BEGIN { exit !(p > 0.02) }'
}

expect() { # expect yes|no NAME X Y
  local want=$1 name=$2
  if heard_after_click "$3" "$4"; then got=yes; else got=no; fi
  echo "  $name: voice heard: $got"
  [[ "$got" == "$want" ]] || fail "$name: expected voice heard: $want"
}

echo "First start, default preferences; one whole order:"
start_game
sleep 3 # the null sink settles
expect yes "Burger" 346 195
expect yes "Burger again" 346 195
expect yes "Fries" 346 261
expect yes "Total" 598 261
expect no "\$1 bill" 95 547
expect no "\$.01 coin" 364 547
expect yes "OK (change)" 352 487
expect yes "Next Order" 598 328

xdotool mousemove $((ox + 600)) $((oy + 20))
xdotool windowfocus --sync "$wid" key ctrl+q
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "Ctrl+Q did not end the program"
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "  Ctrl+Q ended the program"
[[ $(wc -l <"$prefs") -eq 11 ]] || fail "the preferences file does not hold eleven lines"
head -n 1 "$prefs" | grep -qx "#Window1Position $Y,$X" || fail "saved position: $(head -n 1 "$prefs"), window was at $X,$Y"
echo "  preferences saved: $(head -n 1 "$prefs")"

echo "Second start with prepared preferences:"
{
  echo "#Window1Position 100,50"
  for n in 1 2 3 4 5 6 7 8; do echo "#Item$n 20"; done
  echo "#SoundFlag SoundOff"
  echo "#SaleFlag SaleOn"
} >"$prefs"
start_game
[[ "$X,$Y" == "50,100" ]] || fail "window at $X,$Y, expected left 50, top 100"
echo "  window placed at left 50, top 100"
expect no "Burger with sound off" 346 195
xdotool windowfocus --sync "$wid" key ctrl+q
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "Ctrl+Q did not end the program"
app_pid=""
grep -qx "#SaleFlag SaleOn" "$prefs" || fail "the sale switch was not kept"
echo "PASS: one order played end to end"
