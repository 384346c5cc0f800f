#!/usr/bin/env bash
# Speech figures: runs zbench_speech against a private sound server with a null
# sink (started and stopped here unless ZINGAROO_TEST_SINK names one already),
# and counts the WAV files the game opens while it starts. Prints, never fails.
#
# Usage: bench/speech/run.sh <folder with zbench_speech and zingaroo>
set -uo pipefail
bin=${1:?usage: run.sh <bin folder>}
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen

if [[ -z "${ZINGAROO_TEST_SINK:-}" ]]; then
  mkdir -m 700 "$work/run"
  export XDG_RUNTIME_DIR="$work/run" PULSE_RUNTIME_PATH="$work/run/pulse"
  unset PULSE_SERVER PULSE_LATENCY_MSEC
  pulseaudio --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disallow-exit -n \
    --load=module-native-protocol-unix --load="module-null-sink sink_name=zsink rate=44100" \
    --log-level=error >"$work/pulse.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink zsink >/dev/null 2>&1
  # Without a low-latency reader the null sink runs at about two seconds of latency.
  parec -d zsink.monitor --latency-msec=10 --rate=8000 --channels=1 >/dev/null 2>&1 &
  pids+=($!)
  sleep 3 # a fresh null sink settles to its low latency in about three seconds
  export ZINGAROO_TEST_SINK=zsink
fi

"$bin/zbench_speech" "$ZINGAROO_TEST_SINK" 7

if [[ -x "$bin/zingaroo" ]] && command -v strace >/dev/null; then
  mkdir -p "$work/home"
  HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" timeout 3 \
    strace -f -e trace=openat,open -o "$work/strace.txt" "$bin/zingaroo" >/dev/null 2>&1
  echo "  WAV files opened while the game starts (strace, 3 s): $(grep -c '\.wav' "$work/strace.txt")"
fi
exit 0
