# Sourced inside xvfb-run: start_window_manager starts openbox and returns once it
# manages the screen (sets `wm` to its process id). Under load openbox can start
# before the new X server takes connections and exit at once ("Failed to open the
# display"); a window mapped without a manager gets no frame and no close box, so
# it is started again until it has taken the screen (at most about 20 s).
start_window_manager() {
  local attempt _
  for attempt in 1 2 3 4 5; do
    openbox >/dev/null 2>&1 & wm=$!
    for _ in $(seq 40); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
      kill -0 "$wm" 2>/dev/null || break
      sleep 0.1
    done
    kill "$wm" 2>/dev/null
    sleep 0.2
  done
  echo "no window manager after $attempt attempts" >&2
  return 1
}
