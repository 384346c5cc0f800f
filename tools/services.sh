# Sourced by the scripts that start helper processes (test, bench, end-to-end).
# They collect the PIDs in the array `pids`; stop_started ends them all.

# start_private_display FIRST LAST LOGFILE: starts Xvfb on the first free
# display number in FIRST…LAST, exports DISPLAY and waits until it answers.
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

stop_started() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
