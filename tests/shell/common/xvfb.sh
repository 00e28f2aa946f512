# Sourced by the shell tests. start_xvfb WORKDIR [WxHxD] starts an X server of the test's own
# (1024x768x24 unless given): the
# server picks a free display number itself (-displayfd) and writes it only once it takes
# clients, so tests run side by side never race for a display or talk to a server that is
# not up yet. It exports DISPLAY; stop_xvfb ends the server. Returns non-zero when no
# server came up.
start_xvfb() {
  xvfb_pid=""
  Xvfb -displayfd 3 -screen 0 "${2:-1024x768x24}" -nolisten tcp 3> "$1/xvfb.display" > "$1/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for i in $(seq 1 100); do
    if [ -s "$1/xvfb.display" ]; then
      DISPLAY=":$(head -n 1 "$1/xvfb.display")"
      export DISPLAY
      return 0
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "the X server did not start:"; cat "$1/xvfb.log"
  return 1
}

stop_xvfb() {
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}
