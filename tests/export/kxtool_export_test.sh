#!/bin/bash
# kxtool export: each stream kind of the sample program folder written for
# the sample database, byte for byte as its golden file; failures exit
# non-zero and leave no file.
set -euo pipefail
data="$KX6_SOURCE_DIR/tests/export/data"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

for filter in text page rich brief tmpl; do
  kxtool export "$data/program" "$filter" "$data/songs.xml" "$tmp/$filter.out" || fail "export $filter"
  cmp "$tmp/$filter.out" "$data/golden/$filter.out" || fail "$filter differs from its golden file"
done

# The sample database of the program folder through every kind.
for filter in text page rich tmpl; do
  kxtool export "$data/program" "$filter" "$KX6_SOURCE_DIR/dist/db/lidovky.xml" "$tmp/sample.$filter" || fail "sample $filter"
  [ -s "$tmp/sample.$filter" ] || fail "sample $filter is empty"
done
kxtool webdir "$data/program" web "$KX6_SOURCE_DIR/dist/db/lidovky.xml" "$tmp/sample.web" || fail "sample webdir"
[ "$(ls "$tmp/sample.web/data" | grep -c '^song')" = "$(grep -c '<song ' "$KX6_SOURCE_DIR/dist/db/lidovky.xml")" ] \
  || fail "sample webdir: a song page per song"

# The filters a fresh program folder ships, each over the sample database.
shipped=0
for exp in "$KX6_SOURCE_DIR"/dist/data/expf/*.exp; do
  name=$(basename "$exp" .exp)
  shipped=$((shipped + 1))
  if grep -q '^<online' "$exp"; then
    kxtool webdir "$KX6_SOURCE_DIR/dist" "$name" "$KX6_SOURCE_DIR/dist/db/lidovky.xml" "$tmp/shipped$shipped" \
      || fail "shipped $name"
    [ -s "$tmp/shipped$shipped/index.html" ] || fail "shipped $name: no index.html"
  else
    kxtool export "$KX6_SOURCE_DIR/dist" "$name" "$KX6_SOURCE_DIR/dist/db/lidovky.xml" "$tmp/shipped$shipped" \
      || fail "shipped $name"
    # Into a file first: grep -q ending early would fail the pipe under pipefail.
    iconv -f CP1250 -t UTF-8 "$tmp/shipped$shipped" > "$tmp/shipped$shipped.txt"
    grep -q 'Holka modr' "$tmp/shipped$shipped.txt" || fail "shipped $name: a title is missing"
  fi
done
[ "$shipped" = 5 ] || fail "a fresh program folder ships $shipped export filters, not 5"

if kxtool export "$data/program" text "$data/songs.xml" "$tmp/missing/x.out" 2>/dev/null; then
  fail "export into a missing folder succeeded"
fi
if kxtool export "$data/program" nosuch "$data/songs.xml" "$tmp/x.out" 2>/dev/null; then
  fail "export with a missing filter succeeded"
fi
[ ! -e "$tmp/x.out" ] || fail "a failed export left a file"
echo ok
