#!/bin/bash
# kxtool's song-book commands on the sample database: book-new makes a book
# of every song, book-info lists the type and the items in database order,
# a book saved, loaded and saved again is byte-identical, and a type file
# becomes the book's base type.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$tmp/prog/db" "$tmp/prog/melodary"
cp "$KX6_SOURCE_DIR/dist/db/lidovky.xml" "$tmp/prog/db/"
count=$(kxtool db-info "$tmp/prog/db/lidovky.xml" | head -1)
[ "$count" -gt 0 ] || fail "sample database has no songs"

kxtool book-new "$tmp/prog" lidovky "$tmp/a.kx"
kxtool book-info "$tmp/prog" "$tmp/a.kx" > "$tmp/info.txt"
grep -aqx 'hcnt=1' "$tmp/info.txt" || fail "default type not in book-info"
grep -aqx 'songspacehi=200' "$tmp/info.txt" || fail "default spacing not in book-info"
[ "$(grep -ac $'^song\t' "$tmp/info.txt")" = "$count" ] || fail "not every song is an item"
diff <(grep -a $'^song\t' "$tmp/info.txt" | cut -f2) \
     <(kxtool db-info "$tmp/prog/db/lidovky.xml" | tail -n +2 | cut -f2) || fail "items not in database order"

kxtool book-resave "$tmp/prog" "$tmp/a.kx" "$tmp/b.kx"
kxtool book-resave "$tmp/prog" "$tmp/b.kx" "$tmp/c.kx"
cmp "$tmp/a.kx" "$tmp/b.kx" || fail "resave changed the book"
cmp "$tmp/b.kx" "$tmp/c.kx" || fail "second resave changed the book"

printf '<?xml version="1.0" encoding="Windows-1250"?>\n<kxtype><page hcnt="2" /></kxtype>\n' \
  > "$tmp/prog/melodary/dva.kxt"
kxtool book-new "$tmp/prog" lidovky.xml "$tmp/d.kx" dva
grep -aq '<kxtype savediff="1" basetype="dva"' "$tmp/d.kx" || fail "type not the book's base"
kxtool book-info "$tmp/prog" "$tmp/d.kx" | grep -aqx 'hcnt=2' || fail "base type not resolved"
if kxtool book-new "$tmp/prog" lidovky "$tmp/e.kx" ../dva 2> /dev/null; then fail "a path as type name"; fi
if kxtool book-new "$tmp/prog" nothing "$tmp/e.kx" 2> /dev/null; then fail "a missing database"; fi
[ ! -e "$tmp/e.kx" ] || fail "a failed book-new wrote a file"
echo OK
