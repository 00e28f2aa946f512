#!/bin/sh
# Every manual page formats without a single groff warning: the English ones on a UTF-8
# terminal and on a plain ASCII one (where the game's Cyrillic name falls back to Latin
# letters), the Russian one on a UTF-8 terminal (man shows it only in a Russian locale). Both
# game pages name every option of `quillon --help` and every key of the settings file the game
# writes.
# Usage: manual_pages.sh QUILLON_BINARY BUILD_DIR. Exit 77 skips (no man here).
set -u
game=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
command -v man >/dev/null 2>&1 || { echo "man not installed: skipping"; exit 77; }
failed=0
for case in "data/desktop/quillon.6 C.UTF-8 C" "server/quillon-scores.8 C.UTF-8 C" \
    "data/desktop/quillon.ru.6 C.UTF-8"; do
  set -- $case
  page=$1
  shift
  for locale in "$@"; do
    warnings=$(LC_ALL=$locale MANWIDTH=80 man --warnings -l "$source_dir/$page" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
      echo "$page ($locale): $warnings"
      failed=1
    fi
  done
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
options=$("$game" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
SDL_AUDIODRIVER=dummy "$game" --headless --frames 1 --root "$work" --settings "$work/quillon.ini" > /dev/null 2>&1
keys=$(sed -n 's/^\([A-Za-z]*\) *=.*/\1/p' "$work/quillon.ini" 2>/dev/null | sort -u)
[ -n "$options" ] && [ -n "$keys" ] || { echo "no options or settings keys to look for"; failed=1; }
for page in data/desktop/quillon.6 data/desktop/quillon.ru.6; do
  # One awk for all the names: what the page's text (its \- read as -) does not hold.
  missing=$(printf '%s\n' $options $keys | awk -v page="$source_dir/$page" '
    BEGIN { while ((getline line < page) > 0) { gsub(/\\-/, "-", line); text = text " " line } }
    index(text, $0) == 0')
  [ -z "$missing" ] || { echo "$page does not name:" $missing; failed=1; }
done
[ $failed -eq 0 ] && echo "every manual page formats without warnings and names every option and settings key"
exit $failed
