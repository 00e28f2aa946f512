#!/bin/sh
# Extracts the game's texts, the Russian keys of the message catalogs, from the sources into
# the template given (po/quillon.pot when none): every text marked with Tr, TrDrawn or TrMark.
# After a text is added or changed: po/extract.sh, then msgmerge --update po/en.po po/quillon.pot
# and translate what msgmerge left empty or fuzzy.
set -eu
cd "$(dirname "$0")/.."
out=${1:-po/quillon.pot}
# shellcheck disable=SC2046 # one argument per source file
xgettext --from-code=UTF-8 --language=C++ --keyword --keyword=Tr --keyword=TrDrawn --keyword=TrMark \
  --add-location=file --sort-by-file --package-name=quillon --msgid-bugs-address=https://quillon.example \
  -o "$out" $(find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
