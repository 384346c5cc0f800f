# Sourced by scripts that need a private X display:
#   start_private_display FIRST LAST LOGFILE
# starts Xvfb on the first free display number in FIRST…LAST, exports DISPLAY,
# appends its PID to the caller's pids array and waits until it answers.
start_private_display() {
  local first=$1 last=$2 log=$3 display="" n
  for n in $(seq "$first" "$last"); do
    if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then display=":$n"; break; fi
  done
  [[ -n "$display" ]] || return 1
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$log" 2>&1 &
  pids+=($!)
  export DISPLAY="$display"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}
