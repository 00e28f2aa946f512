#!/bin/sh
# The Debian packages: builds quillon and quillon-scores from a clean export of the
# repository's files (the package's own test step runs the tests in that build, warnings as
# errors), checks them with lintian, installs both, checks the installed game and server,
# then removes and purges them and checks what is left. Installing and removing need root
# (sudo is used when not run as root); it never reaches the network. Usage: scripts/test-packages.sh [OUTPUT_DIR] (default build-deb).
set -eu
cd "$(dirname "$0")/.."
repo=$(pwd)
out=${1:-build-deb}
jobs=$(nproc 2>/dev/null || echo 2)
step() { printf '\n== %s\n' "$*"; }
fail() { echo "test-packages: $*" >&2; exit 1; }
as_root=""
[ "$(id -u)" -eq 0 ] || as_root=sudo

version=$(dpkg-parsechangelog -l debian/changelog -S Version)
arch=$(dpkg --print-architecture)
game_deb=quillon_${version}_${arch}.deb
server_deb=quillon-scores_${version}_${arch}.deb

# The export: the files git tracks, as they are in the working tree (no build trees, no
# untracked files), in a folder named as dpkg-source expects.
step "export quillon-$version into $out"
rm -rf "$out"
mkdir -p "$out/quillon-$version"
git ls-files -z | tar --null -T - -cf - | tar -xf - -C "$out/quillon-$version"

# The compiler cache of the caller serves the package build too (debhelper gives the build a
# home of its own, where ccache would start empty).
if command -v ccache >/dev/null 2>&1; then
  CCACHE_DIR=$(ccache -k cache_dir 2>/dev/null || echo "$HOME/.cache/ccache")
  CCACHE_BASEDIR=$(ccache -k base_dir 2>/dev/null || true)
  export CCACHE_DIR CCACHE_BASEDIR
fi

step "dpkg-buildpackage -us -uc -b"
testdata=$(cd "$repo/.." && pwd)/shared/testdata
[ -d "$testdata" ] && export QUILLON_TESTDATA_DIR="$testdata"
( cd "$out/quillon-$version" &&
  DEB_BUILD_OPTIONS="werror noautodbgsym parallel=$jobs" dpkg-buildpackage -us -uc -b ) \
  > "$out/build.log" 2>&1 || { tail -n 150 "$out/build.log"; fail "the package build failed (log: $out/build.log)"; }
grep -E "tests passed|tests failed" "$out/build.log" || true
ls -l "$out"/*.deb
[ -s "$out/$game_deb" ] && [ -s "$out/$server_deb" ] || fail "the build made no $game_deb and $server_deb"

step "lintian"
lintian --fail-on error,warning --info --display-info "$out"/quillon_"${version}"_"${arch}".changes ||
  fail "lintian reports errors or warnings"

# Whatever happens from here on, the packages leave the machine again.
installed=""
cleanup() {
  if [ -n "$installed" ]; then
    $as_root dpkg -P quillon quillon-scores >/dev/null 2>&1 || true
  fi
  [ -z "${work:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
work=$(mktemp -d)

step "install"
for p in quillon quillon-scores; do
  if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q " installed$"; then
    fail "$p is installed already: this test would remove it"
  fi
done
installed=yes
# dpkg itself: it never fetches anything, and fails when a dependency is missing here.
$as_root dpkg -i "$out/$game_deb" "$out/$server_deb"
dpkg -L quillon quillon-scores > "$work/files"
for file in /usr/share/quillon/Data/Res/en/Res1.dxg /usr/share/quillon/Data/Res/en/Res2.dxg \
    /usr/share/quillon-scores/en/title.png; do
  grep -qx "$file" "$work/files" || fail "the packages do not hold $file"
done

step "the installed game"
reported=$(/usr/games/quillon --version)
echo "$reported"
[ "$reported" = "quillon $version" ] || fail "quillon --version says '$reported', the package is $version"
desktop-file-validate /usr/share/applications/ru.quillon.Quillon.desktop
appstreamcli validate --no-net /usr/share/metainfo/ru.quillon.Quillon.metainfo.xml
grep -q "^/usr/share/man/ru/man6/quillon.6" "$work/files" || fail "the Russian manual page is not installed"
. tests/shell/common/replay_type.sh
replay_type_check /usr/share "$work/types" || fail "replay files are not the game's"

# A few hundred frames of the installed game, headless: the main menu from the installed
# data, a race started from it, saves in the player's data folder. It runs in a folder
# holding data, link files and an exit launcher of its own, which it must leave alone.
mkdir -p "$work/home" "$work/planted/Data/Res" "$work/planted/fscommand"
echo "not the game's data" > "$work/planted/Data/Res/Res1.dxg"
printf '[InternetShortcut]\nURL=https://planted.example/play\n' > "$work/planted/play.url"
echo planted > "$work/planted/fscommand/wgame.exe"
cat > "$work/run.txt" <<'SCRIPT'
100 state menu.json
120 race 1 1
300 state race.json
395 shot race.png
396 tap Escape
SCRIPT
( cd "$work/planted" && env -u XDG_DATA_HOME HOME="$work/home" \
    /usr/games/quillon --headless --frames 400 --fps 85 --seed 1 --script "$work/run.txt" ) > "$work/run.log" 2>&1 ||
  { cat "$work/run.log"; fail "the installed game did not end with status 0"; }
cat "$work/run.log"
grep -q '"CurrentScreen": *1' "$work/planted/menu.json" || fail "the installed game did not show its main menu"
grep -q '"race"' "$work/planted/race.json" || fail "the installed game did not race"
[ -s "$work/planted/race.png" ] || fail "the installed game took no screenshot"
grep -q planted.example "$work/planted/menu.json" "$work/planted/race.json" && fail "the installed game opened a planted link"
[ -e "$work/planted/Data/Save" ] && fail "the installed game saved into the folder it was started in"
# The race's replay is what such a run saves (the options are saved on the way out of the menus).
ls "$work/home/.local/share/quillon/Save/Replays/"*.qrp >/dev/null 2>&1 ||
  fail "the installed game did not save its race's replay in ~/.local/share/quillon/Save/Replays"
echo "the installed game ran 400 frames from /usr/share/quillon and saved its replay in the player's data folder"

step "the installed server"
reported=$(/usr/sbin/quillon-scores --version)
[ "$reported" = "quillon-scores $version" ] || fail "quillon-scores --version says '$reported', the package is $version"
unit=/lib/systemd/system/quillon-scores.service
[ -f "$unit" ] || fail "no unit $unit"
[ -f /etc/default/quillon-scores ] || fail "no /etc/default/quillon-scores"
if command -v systemd-analyze >/dev/null 2>&1; then
  systemd-analyze verify "$unit" || fail "systemd-analyze finds fault with $unit"
fi
for line in NoNewPrivileges=yes ProtectSystem=strict ProtectHome=yes PrivateTmp=yes \
    ReadWritePaths=/var/lib/quillon-scores EnvironmentFile=-/etc/default/quillon-scores; do
  grep -qx "$line" "$unit" || fail "the unit has no $line"
done
# The unit's command line with the default file's options, then a free port of this machine
# and a database of the test's own (later options win).
command_line=$(sed -n 's/^ExecStart=//p' "$unit")
# shellcheck disable=SC1091
. /etc/default/quillon-scores
command_line=$(echo "$command_line" | sed "s|\$QUILLON_SCORES_OPTIONS|$QUILLON_SCORES_OPTIONS|")
echo "unit command line: $command_line"
# shellcheck disable=SC2086
$command_line --listen 127.0.0.1:0 --db "$work/scores.db" --verify-with /usr/games/quillon \
  > "$work/server.out" 2> "$work/server.err" &
server=$!
port=""
for _ in $(seq 50); do
  port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/server.out")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { cat "$work/server.err"; kill "$server"; fail "the installed server did not start"; }
page=$(python3 -c 'import sys, urllib.request; print(urllib.request.urlopen(sys.argv[1], timeout=10).read().decode("utf-8", "replace"))' \
  "http://127.0.0.1:$port/cgi/version.pl?prg=Quillon&show&type=0") || { kill "$server"; fail "the server did not answer its page"; }
# The page's title art comes from the package's share folder, the English page's from its en
# folder (a page asked for in no language is English).
title=$(python3 -c 'import sys, urllib.request; print(urllib.request.urlopen(sys.argv[1], timeout=10).read()[:8].hex())' \
  "http://127.0.0.1:$port/static/title.png") || { kill "$server"; fail "the server did not serve the page's title art"; }
english_title=$(python3 -c 'import sys, urllib.request; print(urllib.request.urlopen(sys.argv[1], timeout=10).read()[:8].hex())' \
  "http://127.0.0.1:$port/static/en/title.png") || { kill "$server"; fail "the server did not serve the English page's title art"; }
# A race the installed game plays and sends with its replay: the installed server verifies it
# in its sandbox (the pilot drives long enough to beat the fresh table's last score).
mkdir -p "$work/sender/home"
cat > "$work/send.txt" <<'SCRIPT'
80 race 2 1
80 pilot on
8000 tap Escape
8002 tap Y
8005 text Тест
8009 tap Return
8012 tap Y
SCRIPT
( cd "$work/sender" && env -u XDG_DATA_HOME HOME="$work/sender/home" QUILLON_SCORE_SERVER="http://127.0.0.1:$port" \
    /usr/games/quillon --headless --frames 8040 --seed 3 --script "$work/send.txt" ) > "$work/send.log" 2>&1 ||
  { cat "$work/send.log"; kill "$server"; fail "the installed game did not play and send its race"; }
verified=""
for _ in $(seq 120); do
  verified=$(python3 -c 'import json, sys, urllib.request; print(len(json.load(urllib.request.urlopen(sys.argv[1], timeout=10))["scores"]))' \
    "http://127.0.0.1:$port/api/scores?verified=1") || break
  [ "$verified" = 1 ] && break
  sleep 0.5
done
[ "$verified" = 1 ] || { cat "$work/server.err"; kill "$server"; fail "the installed server did not verify the installed game's race"; }
kill -TERM "$server"
wait "$server" || fail "the server did not stop with status 0 on SIGTERM"
echo "$page" | grep -qi "<html" || fail "the server's page is no HTML page"
echo "$page" | grep -q 'src="/static/en/title.png"' || fail "the server's page shows no title art"
[ "$title" = "89504e470d0a1a0a" ] || fail "the page's title art is no PNG picture"
[ "$english_title" = "89504e470d0a1a0a" ] || fail "the English page's title art is no PNG picture"
[ -s "$work/scores.db" ] || fail "the server made no database"
echo "the installed server answered its page on port $port, verified a race of the installed game in its sandbox and stopped on SIGTERM"

step "remove and purge"
# The service's table, as the unit would leave it (its dynamic user keeps it behind a link).
$as_root mkdir -p /var/lib/private/quillon-scores
$as_root ln -sfn private/quillon-scores /var/lib/quillon-scores
$as_root cp "$work/scores.db" /var/lib/private/quillon-scores/scores.db
$as_root dpkg -r quillon quillon-scores
[ -s /var/lib/quillon-scores/scores.db ] || fail "removing the server took the operator's table"
[ -f /etc/default/quillon-scores ] || fail "removing the server took its configuration file"
$as_root dpkg -P quillon quillon-scores
installed=""
[ -e /var/lib/quillon-scores ] || [ -e /var/lib/private/quillon-scores ] && fail "purging the server left its table"
[ -e /etc/default/quillon-scores ] && fail "purging the server left /etc/default/quillon-scores"
left=""
while read -r path; do
  [ -d "$path" ] && continue  # shared folders such as /usr/share stay
  { [ -e "$path" ] || [ -L "$path" ]; } && left="$left $path"
done < "$work/files"
[ -z "$left" ] || fail "left after the purge:$left"
for folder in /usr/share/quillon /usr/share/doc/quillon /usr/share/doc/quillon-scores; do
  [ -e "$folder" ] && fail "left after the purge: $folder"
done
echo "packages removed; the table kept on remove and gone on purge"
echo "packages: $out/$game_deb $out/$server_deb"
