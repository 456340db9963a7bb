#!/bin/bash
# Czech names through kxtool: arguments typed in a UTF-8 terminal, files
# named in UTF-8 on disk, names stored inside files in Windows-1250, and
# messages printed in UTF-8.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prog="$tmp/Zpěvníky/kx6"
mkdir -p "$prog/db" "$prog/melodary" "$prog/data/expf"
cp "$KX6_SOURCE_DIR/dist/db/lidovky.xml" "$prog/db/Lidové písně.xml"
printf '<?xml version="1.0" encoding="Windows-1250"?>\n<kxtype><page hcnt="2" /></kxtype>\n' > "$prog/melodary/Můj typ.kxt"

# A type and a database with Czech names are found; the book lands under
# its UTF-8 name and holds the type's name in Windows-1250.
kxtool book-new "$prog" 'Lidové písně.xml' "$prog/melodary/Lesní zpěvník.kx" 'Můj typ' || fail "book-new"
[ -f "$prog/melodary/Lesní zpěvník.kx" ] || fail "book not under its UTF-8 name"
grep -aq "basetype=\"$(printf 'M\xf9j typ')\"" "$prog/melodary/Lesní zpěvník.kx" || fail "type name not Windows-1250"
kxtool book-info "$prog" "$prog/melodary/Lesní zpěvník.kx" | grep -qx 'basetype=Můj typ' || fail "book-info not UTF-8"
kxtool book-info "$prog" "$prog/melodary/Lesní zpěvník.kx" | grep -qx 'hcnt=2' || fail "type not loaded"

# An export filter with a Czech name is loaded from data/expf.
cp "$KX6_SOURCE_DIR/tests/export/data/program/data/expf/text.exp" "$prog/data/expf/Čistý text.exp"
kxtool export "$prog" 'Čistý text' "$prog/db/Lidové písně.xml" "$prog/výstup.txt" || fail "export"
[ -s "$prog/výstup.txt" ] || fail "export wrote nothing"

# The same song as Windows-1250, UTF-8 and UTF-8 with a byte-order mark.
printf 'Lesní píseň - Jan Žák\nC    G\nŠla Nanynka do zelí\n' > "$tmp/utf8.txt"
iconv -f UTF-8 -t CP1250 "$tmp/utf8.txt" > "$tmp/cp1250.txt"
{ printf '\xef\xbb\xbf'; cat "$tmp/utf8.txt"; } > "$tmp/bom.txt"
for f in cp1250 utf8 bom; do kxtool import 2 "$tmp/$f.xml" "$tmp/$f.txt" || fail "import $f"; done
cmp "$tmp/cp1250.xml" "$tmp/utf8.xml" || fail "UTF-8 import differs"
cmp "$tmp/cp1250.xml" "$tmp/bom.xml" || fail "UTF-8 with BOM import differs"
grep -aq "title=\"$(printf 'Lesn\xed p\xedse\xf2')\"" "$tmp/utf8.xml" || fail "imported title"

# A message names the missing file as the user typed it.
err=$(kxtool book-new "$prog" 'Žádná.xml' "$tmp/x.kx" 2>&1 || true)
[[ "$err" == *"Žádná.xml"* ]] || fail "message: $err"
# find opens a Czech file name. An argument without a Windows-1250 form is
# refused, and nothing lands under a '?' name.
printf 'Sv\xedt\xed m\xecs\xed\xe8ek\n' > "$tmp/Píseň.txt"
[ "$(kxtool find 'sviti mesicek' "$tmp/Píseň.txt")" = found ] || fail "find of a Czech file name"
if kxtool db-resave "$prog/db/Lidové písně.xml" "$tmp/Жук.xml" 2> "$tmp/err"; then fail "Cyrillic name accepted"; fi
grep -q 'Жук.xml' "$tmp/err" || fail "refusal: $(cat "$tmp/err")"
if ls "$tmp" | grep -qF '?'; then fail "a file under a '?' name"; fi

# A file in db/ without a Windows-1250 name is left out with one notice in
# plain UTF-8.
cp "$prog/db/Lidové písně.xml" "$prog/db/Жук.xml"
echo | kxtool console "$prog" > /dev/null 2> "$tmp/err" || true
grep -qxF "Soubor nemá název ve Windows-1250, program ho vynechává: $prog/db/Жук.xml" "$tmp/err" ||
  fail "notice: $(cat "$tmp/err")"
echo OK
