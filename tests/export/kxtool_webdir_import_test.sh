#!/bin/bash
# kxtool webdir and import: the web directory of the sample database file
# for file as its golden copy; hand-made text files through each import
# filter, as whole databases; a failure exits non-zero and keeps the rest.
set -euo pipefail
data="$KX6_SOURCE_DIR/tests/export/data"
in="$data/import"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

kxtool webdir "$data/program" web "$data/songs.xml" "$tmp/web" || fail "webdir"
diff -r "$data/golden/web" "$tmp/web" >/dev/null || { diff -r "$data/golden/web" "$tmp/web" | head -20 >&2; fail "web directory"; }

kxtool import 0 "$tmp/i0.xml" "$in/prepared.txt" "$in/title-only.txt"
kxtool import 1 "$tmp/i1.xml" "$in/grouped.txt" "$in/prepared.txt"
kxtool import 2 "$tmp/i2.xml" "$in/plain.txt" "$in/blanks.txt" "$in/author-line.txt" "$in/chords-second.txt"
for i in 0 1 2; do cmp "$tmp/i$i.xml" "$data/golden/import$i.xml" || fail "import filter $i"; done

# A file that cannot be read fails the run; the songs of the others stay.
if kxtool import 0 "$tmp/part.xml" "$in/prepared.txt" "$tmp/missing.txt" 2>"$tmp/err"; then
  fail "import of a missing file succeeded"
fi
grep -q 'missing.txt' "$tmp/err" || fail "the unreadable file is not named"
cmp "$tmp/part.xml" "$data/golden/import0.xml" || fail "the readable file's song is lost"

echo ok
