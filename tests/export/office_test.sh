#!/bin/bash
# LibreOffice opens the exported RTF: the titles, authors and lyrics come
# back as text with their Czech letters, and escaped braces and backslashes
# as the characters themselves. In the normal style with labels in the text
# the document reads line for line as the plain text export.
set -euo pipefail
data="$KX6_SOURCE_DIR/tests/export/data"
fail() { echo "FAIL: $*" >&2; exit 1; }
if ! command -v soffice >/dev/null; then
  [ "${CI:-}" = true ] && fail "soffice is missing (package libreoffice-writer-nogui)"
  echo "soffice is missing: skipped"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

kxtool export "$data/program" rich "$data/songs.xml" "$tmp/songs.rtf"
# A fresh profile: nothing of a user's LibreOffice set-up takes part.
timeout 120 soffice -env:UserInstallation="file://$tmp/profile" --headless --norestore \
  --convert-to 'txt:Text (encoded):UTF8' --outdir "$tmp" "$tmp/songs.rtf" >"$tmp/soffice.log" 2>&1 \
  || { cat "$tmp/soffice.log" >&2; fail "soffice failed"; }
[ -s "$tmp/songs.txt" ] || { cat "$tmp/soffice.log" >&2; fail "soffice wrote no text"; }

# The text without its byte order mark and line-end differences.
sed '1s/^\xef\xbb\xbf//' "$tmp/songs.txt" | tr -d '\r' > "$tmp/read.txt"
# The footer's "\par" ends the document with one more, empty, paragraph.
{ iconv -f CP1250 -t UTF-8 "$data/golden/text.out"; echo; } > "$tmp/expected.txt"
diff "$tmp/expected.txt" "$tmp/read.txt" || fail "LibreOffice read other text than the plain text export"
grep -qF 'Příliš žluťoučký' "$tmp/read.txt" || fail "Czech letters lost"
grep -qF 'Rock & {roll} <i>' "$tmp/read.txt" || fail "braces lost"
echo ok
