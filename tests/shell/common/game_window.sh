# The game's window under Xvfb, for the scripts the desktop tests run inside the X server.
# find_game_window TENTHS: waits up to TENTHS tenths of a second until the game's visible
# window answers (SDL may make and drop helper windows first; a loaded machine may take a
# while to start the game) and sets `window`; returns 1 when none appeared.
find_game_window() {
  window=""
  for _ in $(seq 1 "$1"); do
    window=$(xdotool search --onlyvisible --classname quillon 2>/dev/null | head -n 1)
    if [ -n "$window" ] && xdotool getwindowname "$window" > /dev/null 2>&1; then
      return 0
    fi
    window=""
    sleep 0.1
  done
  return 1
}

# game_ended_within TENTHS PID: waits up to TENTHS tenths of a second for the game to end;
# returns 1 when it is still running.
game_ended_within() {
  for _ in $(seq 1 "$1"); do
    kill -0 "$2" 2>/dev/null || return 0
    sleep 0.1
  done
  ! kill -0 "$2" 2>/dev/null
}
