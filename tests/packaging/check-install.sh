#!/usr/bin/env bash
# Checks that the game installs like a desktop application:
#   1. the launcher and the AppStream data pass desktop-file-validate and
#      appstreamcli validate;
#   2. `cmake --install` into a staging folder gives the FHS layout, with the
#      command on PATH a relative link to the program and the clips beside it;
#   3. cpack builds the Debian package with the right name, version and
#      Depends (fonts-liberation and the package of every Qt library the
#      program links);
#   4. the package unpacked with `dpkg-deb -x` into another staging folder
#      starts under a private Xvfb display and shows its window "GUI".
# Nothing is installed into the system; every file goes into a temporary
# folder that is removed at the end, and every process started here is
# stopped by its PID.
#
# Usage: check-install.sh BUILD_DIR    (CMAKE and CPACK may name the tools)
set -euo pipefail

build_dir=${1:?usage: check-install.sh BUILD_DIR}
build_dir=$(cd "$build_dir" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
cmake_cmd=${CMAKE:-cmake}
cpack_cmd=${CPACK:-cpack}

fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }

for tool in desktop-file-validate appstreamcli dpkg-deb dpkg-shlibdeps file objdump ldd Xvfb xdotool "$cmake_cmd" "$cpack_cmd"; do
  command -v "$tool" >/dev/null || fail "$tool is missing (packages: desktop-file-utils appstream dpkg-dev file binutils xvfb xdotool cmake)"
done

work=$(mktemp -d)
app_pid=
x_pid=
stop_pid() {
  # Asks politely, then insists; waits so that nothing is left behind.
  local pid=$1
  [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null || return 0
  kill -TERM "$pid" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
cleanup() {
  stop_pid "$app_pid"
  stop_pid "$x_pid"
  rm -rf "$work"
}
trap cleanup EXIT

# --- 1. launcher and AppStream data --------------------------------------------
desktop_files=("$build_dir"/packaging/*.desktop)
metainfo_files=("$build_dir"/packaging/*.metainfo.xml)
[[ -f "${desktop_files[0]}" ]] || fail "no .desktop file in $build_dir/packaging"
[[ -f "${metainfo_files[0]}" ]] || fail "no metainfo file in $build_dir/packaging"
desktop_name=$(basename "${desktop_files[0]}")
app_id=${desktop_name%.desktop}

echo "== desktop-file-validate $desktop_name"
desktop-file-validate "${desktop_files[0]}" || fail "desktop-file-validate"
ok "desktop-file-validate passed"

# --no-net: the addresses are on a reserved example domain and tests stay offline.
echo "== appstreamcli validate --no-net $(basename "${metainfo_files[0]}")"
appstreamcli validate --no-net "${metainfo_files[0]}" || fail "appstreamcli validate"
ok "appstreamcli validate passed"

# --- 2. cmake --install into a staging folder ----------------------------------
stage=$work/install
echo "== cmake --install into a staging folder (prefix /usr)"
DESTDIR=$stage "$cmake_cmd" --install "$build_dir" --prefix /usr >"$work/install.log" \
  || { cat "$work/install.log"; fail "cmake --install"; }

png_size() {
  # Width and height from a PNG's IHDR chunk.
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

check_layout() {
  local root=$1 what=$2
  local program=$root/usr/lib/zingaroo/bin/zingaroo
  local link=$root/usr/bin/zingaroo
  [[ -f "$program" && -x "$program" ]] || fail "$what: no program at usr/lib/zingaroo/bin/zingaroo"
  [[ -L "$link" ]] || fail "$what: usr/bin/zingaroo is not a link"
  local target
  target=$(readlink "$link")
  [[ "$target" != /* ]] || fail "$what: usr/bin/zingaroo points at the absolute path $target"
  [[ "$(readlink -f "$link")" == "$(readlink -f "$program")" ]] \
    || fail "$what: usr/bin/zingaroo -> $target does not lead to the program"
  ok "$what: usr/bin/zingaroo -> $target"

  # The program takes its clips from <its own folder>/../Resources; the link
  # is resolved first, so that is usr/lib/zingaroo/Resources.
  local resources
  resources=$(dirname "$(readlink -f "$link")")/../Resources
  local clip count=0
  for clip in "$source_dir"/resources/*.wav; do
    [[ -e "$clip" ]] || continue
    [[ -f "$resources/$(basename "$clip")" ]] || fail "$what: clip $(basename "$clip") not installed beside the program"
    count=$((count + 1))
  done
  ok "$what: $count clips in usr/lib/zingaroo/Resources"

  local desktop=$root/usr/share/applications/$app_id.desktop
  local metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
  [[ -f "$desktop" ]] || fail "$what: no usr/share/applications/$app_id.desktop"
  [[ -f "$metainfo" ]] || fail "$what: no usr/share/metainfo/$app_id.metainfo.xml"
  local exec icon
  exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [[ -e "$root/usr/bin/$exec" ]] || fail "$what: the launcher runs '$exec', which is not in usr/bin"
  local hicolor=$root/usr/share/icons/hicolor
  [[ -f "$hicolor/scalable/apps/$icon.svg" ]] || fail "$what: no scalable icon $icon.svg"
  local size
  for size in 16 22 24 32 48 64 128 256; do
    local png=$hicolor/${size}x${size}/apps/$icon.png
    [[ -f "$png" ]] || fail "$what: no ${size}x${size} icon"
    [[ "$(png_size "$png")" == "${size}x${size}" ]] || fail "$what: $png is $(png_size "$png")"
  done
  ok "$what: launcher $app_id.desktop (Exec=$exec), metainfo, icon '$icon' in scalable and 8 PNG sizes"
}
check_layout "$stage" "cmake --install"

# The installed tree as a whole: the metainfo together with its launcher and icon.
echo "== appstreamcli validate-tree --no-net (installed tree)"
appstreamcli validate-tree --no-net "$stage" || fail "appstreamcli validate-tree"
ok "appstreamcli validate-tree passed"

# --- 3. the Debian package -------------------------------------------------------
echo "== cpack -G DEB"
"$cpack_cmd" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack -G DEB"; }
debs=("$work"/package/*.deb)
deb=${debs[0]}
[[ -f "$deb" ]] || { cat "$work/cpack.log"; fail "cpack made no .deb"; }
ok "built $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == zingaroo ]] || fail "package name is '$(field Package)'"
[[ "$(field Version)" == 2.2.0 ]] || fail "package version is '$(field Version)'"
[[ -n "$(field Maintainer)" && -n "$(field Description)" && -n "$(field Section)" ]] \
  || fail "Maintainer, Description or Section missing"
depends=$(field Depends)
echo "Depends: $depends"
has_dep() { tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | grep -qx "$1"; }
has_dep fonts-liberation || fail "Depends lacks fonts-liberation"
# Every Qt library the program links must come from a package it depends on.
qt_count=0
linked=$(ldd "$build_dir/bin/zingaroo")
for lib in $(objdump -p "$build_dir/bin/zingaroo" | awk '$1 == "NEEDED" && $2 ~ /^libQt6/ { print $2 }'); do
  path=$(awk -v l="$lib" '$1 == l && $2 == "=>" { print $3; exit }' <<<"$linked")
  [[ -n "$path" && -e "$path" ]] || fail "cannot find $lib on this system"
  # Merged /usr: dpkg knows the file under its real path.
  owner=$( (dpkg -S "$(readlink -f "$path")" || dpkg -S "$path") 2>/dev/null | head -n1 | cut -d: -f1) || true
  [[ -n "$owner" ]] || fail "no package owns $path"
  has_dep "$owner" || fail "the program links $lib from $owner, which Depends lacks"
  qt_count=$((qt_count + 1))
done
((qt_count > 0)) || fail "the program links no Qt library?"
ok "package zingaroo 2.2.0: Depends names fonts-liberation and the packages of all $qt_count linked Qt libraries"

# --- 4. unpack the package and start the program from it -------------------------
unpacked=$work/unpacked
dpkg-deb -x "$deb" "$unpacked"
check_layout "$unpacked" "dpkg-deb -x"

echo "== start the unpacked usr/bin/zingaroo under a private Xvfb"
# -displayfd lets the server pick a free display and tell us its number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
x_pid=$!
for _ in $(seq 100); do
  [[ -s "$work/display" ]] && break
  kill -0 "$x_pid" 2>/dev/null || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
  sleep 0.1
done
[[ -s "$work/display" ]] || fail "Xvfb gave no display number"
display=:$(tr -dc '0-9' <"$work/display")

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
# A fresh user: own HOME and XDG folders, no session bus (a dead address, so
# nothing is started on demand), no sound server; the X display above only.
env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME -u WAYLAND_DISPLAY \
  HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
  DBUS_SESSION_BUS_ADDRESS="unix:path=$work/runtime/no-bus" \
  DISPLAY="$display" QT_QPA_PLATFORM=xcb \
  PATH="$unpacked/usr/bin:$PATH" \
  zingaroo >"$work/app.log" 2>&1 &
app_pid=$!

window=
for _ in $(seq 300); do
  kill -0 "$app_pid" 2>/dev/null || { cat "$work/app.log"; fail "the program ended before its window appeared"; }
  window=$(DISPLAY=$display xdotool search --onlyvisible --name '^GUI$' 2>/dev/null | head -n1) || true
  [[ -n "$window" ]] && break
  sleep 0.2
done
[[ -n "$window" ]] || { cat "$work/app.log"; fail "no window named GUI appeared within 60 s"; }
running=$(readlink -f "/proc/$app_pid/exe")
[[ "$running" == "$(readlink -f "$unpacked/usr/lib/zingaroo/bin/zingaroo")" ]] \
  || fail "the process runs $running, not the unpacked program"
# Qt takes the program's folder from the same /proc entry, so this is the
# folder the running program looks in for its clips.
for clip in "$source_dir"/resources/*.wav; do
  [[ -e "$clip" ]] || continue
  [[ -f "$(dirname "$running")/../Resources/$(basename "$clip")" ]] \
    || fail "the running program has no $(basename "$clip") in its Resources folder"
done
geometry=$(DISPLAY=$display xdotool getwindowgeometry "$window" | sed -n 's/^ *Geometry: //p')
ok "window 'GUI' shown by the unpacked program (size $geometry), its clips in $(dirname "$running" | sed "s|^$unpacked/||")/../Resources"

stop_pid "$app_pid"
app_pid=
stop_pid "$x_pid"
x_pid=
echo "packaging checks passed"
