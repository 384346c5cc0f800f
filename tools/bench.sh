#!/usr/bin/env bash
# Builds the game and the benchmarks and prints their figures. Run after the
# README's set-up; it needs Xvfb, strace and a sound server of its own, which it
# starts and stops itself. Figures are printed, never judged.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh --bench

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZINGAROO_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j"$(nproc)"
bin=build-bench/bin

work=$(mktemp -d)
pids=()
source tools/services.sh
cleanup() {
  stop_started
  rm -rf "$work"
}
trap cleanup EXIT

start_private_display 90 139 "$work/xvfb.log"

echo "== Start-up against the floor of a Qt Widgets + QtMultimedia program (7 runs each, interleaved)"
"$bin/zbench_startup" "$bin/zingaroo" "$bin/zbench_floor" 7 || true

echo
echo "== Lazy clips: WAV files opened while the game starts"
home="$work/home"; mkdir -p "$home"
HOME="$home" XDG_CONFIG_HOME="$home/.config" timeout 3 strace -f -e trace=openat -o "$work/strace.txt" \
  "$bin/zingaroo" >/dev/null 2>&1 || true
echo "WAV files opened at start: $(grep -c '\.wav' "$work/strace.txt" || true)"

if [[ -x "$bin/zbench_presses" ]]; then
  echo
  echo "== Press latency, sound off"
  QT_QPA_PLATFORM=offscreen HOME="$home" XDG_CONFIG_HOME="$home/.config" "$bin/zbench_presses" || true
fi

if [[ -x bench/speech/run.sh ]]; then
  echo
  echo "== Speech"
  bench/speech/run.sh "$bin" || true
fi
