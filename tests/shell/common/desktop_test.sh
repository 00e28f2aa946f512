# Sourced by the desktop tests under Xvfb, after game_folder.sh and xvfb.sh.
# desktop_test_start BUILD_DIR TOOL... skips the test (exit 77) when Xvfb or one of the tools
# is missing, then makes $work, a folder of the test's own removed at the end with the X
# server stopped, holding $work/game, a game folder of the build's data, and the game's
# settings folder.
desktop_test_start() {
  build=$1
  shift
  for tool in Xvfb "$@"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool not installed: skipping"; exit 77; }
  done
  # The X11, GL and D-Bus client libraries keep allocations to the end of the process;
  # leaks of our own code are caught by the headless and unit tests.
  export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
  # The desktop game speaks the locale's language: these tests see a Russian desktop on any
  # machine, as their headless references (a headless run reads no locale) are Russian.
  unset LANGUAGE LC_ALL
  export LC_MESSAGES=ru_RU.UTF-8
  work=$(mktemp -d)
  # The desktop game writes its settings file on the first start: into the test's own folder.
  export XDG_CONFIG_HOME="$work/config"
  trap 'stop_xvfb; rm -rf "$work"' EXIT
  make_game_folder "$work/game" "$build"
}
