#!/usr/bin/env bash
# Runs the libFuzzer targets of tests/fuzz, each for a given time, starting
# from the seed corpus kept in the repository.
#
#   tools/fuzz.sh [--smoke] [--time SECONDS] [--build DIR] [TARGET ...]
#
#   --smoke        every target for 20 s (the test command's short run)
#   --time S       every target for S seconds (default 300)
#   --build DIR    the clang build folder (default build-fuzz); configured and
#                  built here when needed
#   TARGET         fuzz_prefs, fuzz_rules, fuzz_update (default: all that exist)
#
# New inputs go to DIR/fuzz-work/<target>/, findings to DIR/fuzz-findings/; the
# repository's corpus is only read. The script exits non-zero when any target
# reports a crash, a hang, a sanitizer report or a broken property; the input
# is then kept in DIR/fuzz-findings/ and belongs in tst_fuzz_regressions.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=300
build="$root/build-fuzz"
targets=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --smoke) seconds=20 ;;
    --time) seconds="$2"; shift ;;
    --build) build=$(realpath -m "$2"); shift ;;
    -h|--help) sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1") ;;
  esac
  shift
done

# libFuzzer comes with clang's runtime libraries.
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  if [[ $(id -u) -eq 0 ]] && command -v apt-get >/dev/null; then
    echo "fuzz.sh: installing clang and libFuzzer"
    apt-get install -y -o DPkg::Lock::Timeout=600 clang libclang-rt-dev >/dev/null \
      || { apt-get update >/dev/null && apt-get install -y -o DPkg::Lock::Timeout=600 clang libclang-rt-dev >/dev/null; }
  else
    echo "fuzz.sh: needs clang++ and libFuzzer (Debian: apt-get install clang libclang-rt-dev)" >&2
    exit 2
  fi
fi

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DZINGAROO_FUZZ=ON -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build.configure.log" 2>&1 \
    || { cat "$build.configure.log" >&2; exit 2; }
fi
cmake --build "$build" --target fuzz_targets >"$build/fuzz-build.log" 2>&1 \
  || { tail -40 "$build/fuzz-build.log" >&2; exit 2; }

if [[ ${#targets[@]} -eq 0 ]]; then
  for exe in "$build"/fuzz/fuzz_*; do
    [[ -x "$exe" ]] && targets+=("$(basename "$exe")")
  done
fi

# Crashes and broken properties abort; UBSan stops at its first report too.
export ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=10:quarantine_size_mb=64}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

failed=0
summary=()
for target in "${targets[@]}"; do
  exe="$build/fuzz/$target"
  seeds="$root/tests/fuzz/corpus/$target"
  work="$build/fuzz-work/$target"
  findings="$build/fuzz-findings"
  # Saving the preferences syncs the file to disk: a memory file system keeps
  # that from dominating the run.
  scratch=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
  mkdir -p "$work" "$findings"
  [[ -x "$exe" ]] || { echo "fuzz.sh: no target $target in $build/fuzz" >&2; exit 2; }
  dict=()
  [[ -f "$root/tests/fuzz/$target.dict" ]] && dict=(-dict="$root/tests/fuzz/$target.dict")
  log="$build/fuzz-work/$target.log"
  echo "fuzz.sh: $target for ${seconds} s"
  status=0
  # Scratch files of a target (the preferences file) go to a private folder.
  TMPDIR="$scratch" "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$findings/$target-" "${dict[@]}" \
    "$work" "$seeds" >"$log" 2>&1 || status=$?
  rm -rf "$scratch"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [[ $status -ne 0 ]]; then
    failed=1
    summary+=("$target: FINDING after ${runs:-?} executions (exit $status), see $log")
    grep -E 'ERROR|runtime error|fuzz_[a-z]+: |Test unit written' "$log" | head -8 >&2 || true
  else
    summary+=("$target: ${runs:-?} executions in ${seconds} s, no findings")
  fi
done

printf '%s\n' "${summary[@]}"
exit $failed
