# A private virtual X display for headless runs.

XVFB_PID=""

# The first display number from 90 up with neither a lock file nor a socket;
# a race with another run is caught by Xvfb itself, then the next one is tried.
start_xvfb() {
  [[ -n $XVFB_PID ]] && return 0
  local n
  for ((n = 90; n < 130; n++)); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for ((i = 0; i < 100; i++)); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        say "Xvfb is running on $DISPLAY"
        return 0
      fi
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  done
  warn "could not start Xvfb"
  return 1
}

stop_xvfb() {
  [[ -n $XVFB_PID ]] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
}

# Waits until an X window whose name or class contains $1 exists; Wine's
# hidden helper windows (no name, "Default IME") do not count.
wait_for_x_window() {
  local pattern=$1 seconds=${2:-30} i found
  for ((i = 0; i < seconds * 5; i++)); do
    found=$(xwininfo -root -tree 2>/dev/null | grep -F -- "$pattern" |
      grep -v -e 'has no name' -e '"Default IME"' || true)
    [[ -n $found ]] && return 0
    sleep 0.2
  done
  return 1
}
