#!/bin/sh
# The desktop game speaks the locale's language: started under Xvfb with LANG=en_US.UTF-8 (and
# nothing else of the locale set), its window's title is "Quillon" and its main menu matches the
# headless driver's picture of the same menu with --lang en; where the --lang ru picture differs
# from it, the window does not match that one. desktop_menu.sh starts the game with
# LANG=ru_RU.UTF-8 and finds "Квиллон" and the --lang ru menu.
# Usage: desktop_language.sh QUILLON_BINARY BUILD_DIR. Exit 77 skips (no Xvfb, xdotool, xwd,
# netpbm or python3 here).
set -u
. "$(dirname "$0")/common/game_folder.sh"
. "$(dirname "$0")/common/xvfb.sh"
. "$(dirname "$0")/common/desktop_test.sh"
here=$(cd "$(dirname "$0")" && pwd)
game=$1
desktop_test_start "$2" xdotool xwd pngtopnm pamdepth python3

for lang in en ru; do
  printf '150 shot %s/%s.png\n' "$work" "$lang" > "$work/reference.txt"
  "$game" --headless --frames 151 --lang "$lang" --root "$work/game" --script "$work/reference.txt" > "$work/headless.log" 2>&1 ||
    { echo "the headless $lang reference run failed"; cat "$work/headless.log"; exit 1; }
  pngtopnm "$work/$lang.png" | pamdepth 255 > "$work/$lang.ppm" || exit 1
done
rm -rf "$work/game/Data/Save"
# Whether the two languages' menus differ enough (as compare_window.py counts) for the window
# to tell them apart.
apart=""
cmp -s "$work/en.ppm" "$work/ru.ppm" || apart=$(python3 - "$here/common" "$work/en.ppm" "$work/ru.ppm" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
from pictures import read_ppm
_, _, a = read_ppm(sys.argv[2])
_, _, b = read_ppm(sys.argv[3])
differ = sum(1 for i in range(0, len(a), 3) if any(abs(a[i + c] - b[i + c]) > 12 for c in range(3)))
print("yes" if differ > 0.02 * len(a) / 3 else "")
PY
) || exit 1

cat > "$work/inner.sh" <<INNER
#!/bin/sh
. "$here/common/game_window.sh"
# run LOCALE CODE TITLE OTHER
run() {
  env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=\$1 SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 \
    "$game" --root "$work/game" > "$work/game-\$2.log" 2>&1 &
  pid=\$!
  find_game_window 200
  [ -n "\$window" ] || { echo "LANG=\$1: no window appeared"; kill -9 \$pid; exit 1; }
  title=\$(xdotool getwindowname "\$window")
  [ "\$title" = "\$3" ] || { echo "LANG=\$1: the window's title is '\$title', not '\$3'"; kill -9 \$pid; exit 1; }
  xdotool windowfocus --sync "\$window" 2>/dev/null || xdotool windowfocus "\$window"
  shown=""
  for i in \$(seq 1 40); do
    sleep 0.5
    xwd -id "\$window" -silent > "$work/\$2.xwd"
    python3 "$here/common/compare_window.py" menu "$work/\$2.xwd" "$work/\$2.ppm" > "$work/\$2.txt" 2>&1 && { shown=yes; break; }
  done
  [ -n "\$shown" ] || { echo "LANG=\$1: the window does not show the --lang \$2 main menu:"; cat "$work/\$2.txt"; kill -9 \$pid; exit 1; }
  if [ -n "$apart" ] && python3 "$here/common/compare_window.py" menu "$work/\$2.xwd" "$work/\$4.ppm" > /dev/null 2>&1; then
    echo "LANG=\$1: the window matches the --lang \$4 main menu too"; kill -9 \$pid; exit 1
  fi
  kill \$pid
  game_ended_within 100 \$pid || { echo "LANG=\$1: the game did not stop"; kill -9 \$pid; exit 1; }
  echo "LANG=\$1: '\$title', \$(cat "$work/\$2.txt")"
}
run en_US.UTF-8 en Quillon ru
INNER
chmod +x "$work/inner.sh"
start_xvfb "$work" || exit 1
timeout 120 "$work/inner.sh" || { cat "$work"/game-*.log; exit 1; }
