#!/bin/sh
# The install: `cmake --install` into a temporary prefix brings the program, its data, the score server,
# font rules, a valid desktop entry and metainfo, the icons at every size, the screenshots
# and the manual; the installed game, started from elsewhere, reads its data from the
# install, opens the links beside it and saves under $XDG_DATA_HOME/quillon/Save
# (~/.local/share/quillon/Save by default). Started inside a folder that looks like a game
# folder (data, link files, an exit launcher), it reads, saves to and opens none of it.
# A replay file is of the game's own type and opens with the game.
# Usage: install.sh QUILLON_BINARY BUILD_DIR.
# Exit 77 skips (no desktop-file-validate, appstreamcli, python3, xdg-mime, gio or the
# type and desktop databases' tools here).
set -u
build=$2
. "$(dirname "$0")/common/replay_type.sh"
for tool in desktop-file-validate appstreamcli python3 xdg-mime gio update-mime-database update-desktop-database; do
  command -v $tool >/dev/null 2>&1 || { echo "$tool not installed: skipping"; exit 77; }
done
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "$*"; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 || { cat "$work/install.log"; fail "the install failed"; }

id=ru.quillon.Quillon
share=$prefix/share
# The program's folder is bin, or games in the Debian packages' build.
game=$prefix/bin/quillon
[ -e "$game" ] || game=$prefix/games/quillon
for file in share/quillon/Data/Res/Res1.dxg share/quillon/Data/Res/Res2.dxg \
    share/quillon/Data/Res/en/Res1.dxg share/quillon/Data/Res/en/Res2.dxg share/quillon-scores/en/title.png \
    share/quillon/Data/Res/Res3.dxg share/quillon/Data/Res/Sounds.dxw share/quillon/Data/Music/Menu.xm \
    share/quillon/Data/Music/Race.xm share/quillon/fonts/quillon-fonts.conf \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/man/man6/quillon.6 \
    share/locale/en/LC_MESSAGES/quillon.mo \
    share/man/ru/man6/quillon.6 \
    sbin/quillon-scores share/man/man8/quillon-scores.8 share/quillon-scores/title.png; do
  [ -s "$prefix/$file" ] || fail "not installed: $file"
done
[ -s "$game" ] || fail "not installed: bin/quillon"
[ -x "$game" ] || fail "the installed program cannot be run"
cmp -s "$build/Data/Res/Res2.dxg" "$share/quillon/Data/Res/Res2.dxg" || fail "the installed data differs from the build's"

desktop-file-validate "$share/applications/$id.desktop" || fail "the desktop entry is not valid"
grep -qx "Categories=Game;ArcadeGame;" "$share/applications/$id.desktop" || fail "the desktop entry's categories are wrong"
for key in "Name=" "Name\[ru\]=" "Comment=" "Comment\[ru\]=" "Icon=$id" "Exec=quillon" \
    "Name\[ru\]=Повтор последней гонки" "Exec=quillon --replay-last"; do
  grep -q "^$key" "$share/applications/$id.desktop" || fail "the desktop entry has no $key"
done
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" || fail "the metainfo is not valid"
grep -qx "MimeType=application/x-quillon-replay;" "$share/applications/$id.desktop" || fail "the desktop entry opens no replays"
grep -q "^Exec=quillon %f$" "$share/applications/$id.desktop" || fail "the desktop entry is not handed the replay"
# What the package's triggers do on a system, done here for the prefix.
update-mime-database "$share/mime" > /dev/null 2>&1 || fail "the replay type does not go into a type database"
update-desktop-database "$share/applications" || fail "the desktop entry does not go into a desktop database"
replay_type_check "$share" "$work/types" || fail "replay files are not the game's"

# Icons: a PNG of its folder's size at every size; screenshots: 800 x 600 PNGs, one for each
# picture the metainfo names.
cat > "$work/check.py" <<'PY'
import os, re, struct, sys
share, doc, id = sys.argv[1], sys.argv[2], sys.argv[3]
def png_size(path):
    data = open(path, 'rb').read(24)
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        sys.exit(path + " is not a PNG")
    return struct.unpack('>II', data[16:24])
sizes = []
hicolor = os.path.join(share, 'icons', 'hicolor')
for folder in sorted(os.listdir(hicolor)):
    w, h = map(int, folder.split('x'))
    got = png_size(os.path.join(hicolor, folder, 'apps', id + '.png'))
    if got != (w, h):
        sys.exit("icon %s is %dx%d" % (folder, got[0], got[1]))
    sizes.append(w)
for needed in (16, 24, 32, 48, 64, 128, 256):
    if needed not in sizes:
        sys.exit("no %dx%d icon" % (needed, needed))
meta = open(os.path.join(share, 'metainfo', id + '.metainfo.xml'), encoding='utf-8').read()
names = re.findall(r'<image[^>]*>[^<]*/screenshots/([^<]+)</image>', meta)
if not names:
    sys.exit("the metainfo shows no screenshots")
for name in names:
    if png_size(os.path.join(doc, 'screenshots', name)) != (800, 600):
        sys.exit("screenshot %s is not 800x600" % name)
for tag in ('<content_rating type="oars-1.1">', '<description>', '<launchable type="desktop-id">' + id + '.desktop',
            '<name xml:lang="ru">', '<summary xml:lang="ru">', '<p xml:lang="ru">', '<caption xml:lang="ru">'):
    if tag not in meta:
        sys.exit("the metainfo has no " + tag)
# Each screenshot in English for everyone and in Russian for Russian readers.
for shot in re.findall(r'<screenshot[ >].*?</screenshot>', meta, re.S):
    english = re.findall(r'<image(?![^>]*xml:lang)[^>]*>[^<]*/screenshots/(en-[^<]+)</image>', shot)
    russian = re.findall(r'<image[^>]*xml:lang="ru"[^>]*>[^<]*/screenshots/([^<]+)</image>', shot)
    if len(english) != 1 or len(russian) != 1 or english[0] != 'en-' + russian[0]:
        sys.exit("a screenshot is not in both languages: " + shot)
print("icons at %s; screenshots %s" % (", ".join(map(str, sizes)), ", ".join(names)))
PY
python3 "$work/check.py" "$share" "$share/doc/quillon" "$id" || fail "icons, screenshots or metainfo are wrong"

if command -v man >/dev/null 2>&1; then
  for page in man6/quillon.6 ru/man6/quillon.6; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "the manual page $page has warnings: $warnings"
  done
fi

# The installed game, run from another folder with a home of its own: the data comes from
# the install, the link files beside it are opened, and the saves go to the player's data
# folder. The folder it is started in holds damaged data, link files and an exit launcher
# of its own, none of which may be read or opened.
printf '[InternetShortcut]\nURL=https://games.example/more\n' > "$share/quillon/moregames.url"
printf '[InternetShortcut]\nURL=https://games.example/play\n' > "$share/quillon/play.url"
mkdir -p "$work/home" "$work/elsewhere/Data/Res" "$work/elsewhere/Data/Music" "$work/elsewhere/fscommand"
for name in Res/Res1.dxg Res/Res2.dxg Res/Res3.dxg Res/Sounds.dxw Music/Menu.xm Music/Race.xm; do
  echo "not the game's data" > "$work/elsewhere/Data/$name"
done
printf '[InternetShortcut]\nURL=https://planted.example/more\n' > "$work/elsewhere/moregames.url"
printf '[InternetShortcut]\nURL=https://planted.example/play\n' > "$work/elsewhere/play.url"
echo planted > "$work/elsewhere/fscommand/wgame.exe"
cat > "$work/leave.txt" <<'SCRIPT'
90 click 470 447
92 state menu.json
95 tap Escape
97 tap Y
97 state end.json
SCRIPT
run_installed() {  # XDG_DATA_HOME or "" for unset
  ( cd "$work/elsewhere" && env -u XDG_DATA_HOME ${1:+XDG_DATA_HOME=$1} HOME="$work/home" \
      "$game" --headless --frames 200 --script "$work/leave.txt" ) > "$work/run.log" 2>&1
}
run_installed "" || { cat "$work/run.log"; fail "the installed game did not end with status 0"; }
grep -q "error" "$work/run.log" && { cat "$work/run.log"; fail "the installed game reported errors"; }
grep -q '"CurrentScreen": *1' "$work/elsewhere/menu.json" || fail "the installed game did not show its main menu"
grep -q "https://games.example/more" "$work/elsewhere/menu.json" || fail "the link beside the installed data was not opened"
grep -q "https://games.example/play" "$work/elsewhere/end.json" || fail "the play link beside the installed data was not opened"
grep -q "planted.example" "$work/elsewhere/menu.json" "$work/elsewhere/end.json" &&
  fail "the installed game opened a link from the folder it was started in"
[ -e "$work/elsewhere/Data/Save" ] && fail "the installed game saved into the folder it was started in"
[ -s "$work/home/.local/share/quillon/Save/options" ] && [ -s "$work/home/.local/share/quillon/Save/hs" ] ||
  fail "the installed game did not save under ~/.local/share/quillon/Save"
[ -e "$share/quillon/Data/Save" ] && fail "the installed game wrote into its install"

# The installed game finds its English catalog in share/locale.
( cd "$work/elsewhere" && HOME="$work/home" "$game" --headless --frames 2 --lang en ) > "$work/run.log" 2>&1 ||
  { cat "$work/run.log"; fail "the installed game did not run in English"; }
grep -q "catalog" "$work/run.log" && { cat "$work/run.log"; fail "the installed game did not read its English catalog"; }
run_installed "$work/xdg" || { cat "$work/run.log"; fail "the installed game did not end with status 0 under XDG_DATA_HOME"; }
[ -s "$work/xdg/quillon/Save/options" ] || fail "the installed game did not save under \$XDG_DATA_HOME/quillon/Save"
# Undone as the README says: every file the install wrote goes (the link files are this test's).
rm -f "$share/quillon/moregames.url" "$share/quillon/play.url"
xargs rm -f < "$build/install_manifest.txt" || fail "the install's manifest could not be removed"
# The type and desktop databases the test made above are the system's (its triggers'), not the
# install's: made again, they no longer know replays.
update-mime-database "$share/mime" > /dev/null 2>&1 || fail "the type database cannot be made again"
update-desktop-database "$share/applications" || fail "the desktop database cannot be made again"
grep -q "x-quillon-replay" "$share/mime/types" "$share/applications/mimeinfo.cache" &&
  fail "the databases still know replays after the removal"
left=$(find "$prefix" -type f ! -path "$share/mime/*" ! -path "$share/applications/mimeinfo.cache" | head -n 5)
[ -z "$left" ] || fail "files left after removing what install_manifest.txt lists: $left"
echo "installed into $prefix: program, server, data, desktop entry, metainfo, icons, screenshots and manuals; saves in the player's data folder; removed again by its manifest"
