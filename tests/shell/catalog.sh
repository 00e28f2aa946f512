#!/bin/sh
# The message catalogs are whole: po/quillon.pot holds exactly the texts the sources mark for
# translation (extracted again with xgettext), po/en.po translates every one of them with no
# fuzzy or untranslated entry and no text the sources dropped, and no Russian text in the
# sources escapes the catalog by being drawn without its mark. Usage: catalog.sh QUILLON_BINARY BUILD_DIR.
# Exit 77 skips (no gettext tools here).
set -u
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
for tool in xgettext msgcmp msgattrib msgfmt; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool not installed: skipping"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }
po=$source_dir/po

"$po/extract.sh" "$work/now.pot" || fail "xgettext could not extract the texts"
msgcmp --use-untranslated "$po/quillon.pot" "$work/now.pot" > "$work/log" 2>&1 &&
  msgcmp --use-untranslated "$work/now.pot" "$po/quillon.pot" >> "$work/log" 2>&1 ||
  { cat "$work/log"; fail "po/quillon.pot is not the sources' texts: run po/extract.sh"; }
msgcmp "$po/en.po" "$work/now.pot" > "$work/log" 2>&1 ||
  { cat "$work/log"; fail "po/en.po does not translate every text of the sources"; }
msgcmp --use-untranslated --use-fuzzy "$work/now.pot" "$po/en.po" > "$work/log" 2>&1 ||
  { cat "$work/log"; fail "po/en.po holds texts the sources no longer have"; }
for kind in only-fuzzy untranslated; do
  msgattrib --$kind --no-obsolete "$po/en.po" > "$work/$kind.po" 2>&1 || fail "msgattrib cannot read po/en.po"
  if grep -q '^msgid' "$work/$kind.po"; then
    cat "$work/$kind.po"
    fail "po/en.po has ${kind#only-} messages"
  fi
done
msgfmt --check -o /dev/null "$po/en.po" || fail "msgfmt finds faults in po/en.po"

# Every Russian string in the sources is a marked text, except in the files whose Russian words
# are not the game's to translate: the settings file's comment (the game's files do not change
# with the language) and the usage text.
cd "$source_dir"
# shellcheck disable=SC2046 # one argument per source file
xgettext --from-code=UTF-8 --language=C++ --extract-all --no-wrap -o "$work/all.pot" \
  $(find src -name '*.cpp' -o -name '*.h' | grep -v -e '^src/app/Settings.cpp$' -e '^src/app/CommandLine.cpp$' |
    LC_ALL=C sort) 2> "$work/xgettext.log"
[ -s "$work/all.pot" ] || { cat "$work/xgettext.log"; fail "xgettext could not read the sources"; }
msgcat --no-wrap -o "$work/marked.pot" "$work/now.pot" || fail "msgcat cannot read the extracted texts"
cyrillic=$(printf '[\320\321]')
russian_lines() { grep -E '^(msgid )?"' "$1" | sed 's/^msgid //' | LC_ALL=C grep "$cyrillic" | LC_ALL=C sort -u; }
russian_lines "$work/all.pot" > "$work/all.txt"
russian_lines "$work/marked.pot" > "$work/marked.txt"
LC_ALL=C comm -23 "$work/all.txt" "$work/marked.txt" > "$work/unmarked.txt"
if [ -s "$work/unmarked.txt" ]; then
  cat "$work/unmarked.txt"
  fail "Russian texts in the sources without Tr, TrDrawn or TrMark: the catalog does not know them"
fi
echo "po/quillon.pot matches the sources; po/en.po translates all $(grep -c '^msgid' "$po/quillon.pot") entries; no Russian text is unmarked"
