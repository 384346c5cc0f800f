#!/usr/bin/env bash
# Sets up, builds and runs every test headless. It brings up what the tests
# need (a private PulseAudio server with a null sink) and stops it afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh --test

export QT_QPA_PLATFORM=offscreen
runtime_dir=$(mktemp -d)
chmod 700 "$runtime_dir"
pids=()
source tools/services.sh
cleanup() {
  stop_started
  rm -rf "$runtime_dir"
}
trap cleanup EXIT

# A private sound server: tests that play real sound record its null sink.
export XDG_RUNTIME_DIR="$runtime_dir"
export PULSE_RUNTIME_PATH="$runtime_dir/pulse"
unset PULSE_SERVER PULSE_LATENCY_MSEC
if command -v pulseaudio >/dev/null; then
  pulseaudio --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disallow-exit -n \
    --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=zsink rate=44100" \
    --log-level=error >"$runtime_dir/pulse.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  if pactl info >/dev/null 2>&1; then
    pactl set-default-sink zsink >/dev/null 2>&1 || true
    # Without a low-latency reader the null sink runs at about two seconds of latency.
    parec -d zsink.monitor --latency-msec=10 --rate=8000 --channels=1 >/dev/null 2>&1 &
    pids+=($!)
    export ZINGAROO_TEST_SINK=zsink
  else
    echo "note: no sound server could be started; the real-sound tests will skip" >&2
  fi
fi

status=0
(cd build && ctest --output-on-failure -j"$(nproc)" "$@") || status=1

# The fuzz targets (clang, libFuzzer) each run briefly from the kept corpus.
echo "== fuzz smoke runs"
tools/fuzz.sh --smoke --build build-fuzz || status=1

# The same suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer:
# any report fails the run. Checks of the package itself (label nosan) run once.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DZINGAROO_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS="suppressions=$PWD/tools/sanitizer.supp:print_suppressions=0"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
echo "== the same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
(cd build-asan && ctest --output-on-failure -j"$(nproc)" -LE "nosan|packaging" "$@") || status=1

exit "$status"
