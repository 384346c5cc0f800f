#!/usr/bin/env bash
# Installs the Debian packages the game needs (with --test also what the tests
# need, with --bench what the benchmarks need), then configures and builds
# into build/. Safe to run again: it installs only what is missing and
# rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

runtime_pkgs=(cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev fonts-liberation)
test_pkgs=(pulseaudio pulseaudio-utils poppler-utils xvfb xauth xdotool imagemagick sox x11-utils desktop-file-utils appstream dpkg-dev file clang libclang-rt-dev)

# The benchmarks also trace and talk to the X server themselves.
bench_pkgs=(strace libx11-dev)

want=("${runtime_pkgs[@]}")
case "${1:-}" in
  --test) want+=("${test_pkgs[@]}") ;;
  --bench) want+=("${test_pkgs[@]}" "${bench_pkgs[@]}") ;;
esac

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
  apt_get=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)
  echo "Installing: ${missing[*]}"
  # The package lists may be missing or stale on a fresh machine.
  if ! "${apt_get[@]}" install -y --no-install-recommends "${missing[@]}"; then
    "${apt_get[@]}" update
    "${apt_get[@]}" install -y --no-install-recommends "${missing[@]}"
  fi
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
