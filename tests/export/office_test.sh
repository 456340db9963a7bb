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
# A filter without colours (and with sizes no document can hold) exports
# text LibreOffice shows in the automatic colour, never white.
cp -r "$data/program" "$tmp/program"
cat > "$tmp/program/data/expf/nocolour.exp" <<'XML'
<?xml version="1.0" encoding="Windows-1250"?>
<rtf >
<rtf exportstyle="normal" >
<fntitle size="1073741824" name="Arial" />
<fnauthor size="-5" name="Arial" />
</rtf>
<rtftext >
<fntext size="11" name="Courier New" />
</rtftext>
<text inacs="0" outacs="0" textlab="1" />
</rtf>
XML
kxtool export "$tmp/program" nocolour "$data/songs.xml" "$tmp/nocolour.rtf"
grep -q 'fs-' "$tmp/nocolour.rtf" && fail "a negative font size was written"
timeout 120 soffice -env:UserInstallation="file://$tmp/profile" --headless --norestore \
  --convert-to fodt --outdir "$tmp" "$tmp/nocolour.rtf" >"$tmp/soffice.log" 2>&1 \
  || { cat "$tmp/soffice.log" >&2; fail "soffice failed on the filter without colours"; }
grep -q 'Příliš' "$tmp/nocolour.fodt" || fail "the document without colours lost its text"
grep -qi 'fo:color="#ffffff"' "$tmp/nocolour.fodt" && fail "text without a colour is white"
# The RTF filter a fresh program folder ships, over the sample database.
kxtool export "$KX6_SOURCE_DIR/dist" "RTF dokument" "$KX6_SOURCE_DIR/dist/db/lidovky.xml" "$tmp/sample.rtf"
timeout 120 soffice -env:UserInstallation="file://$tmp/profile" --headless --norestore \
  --convert-to 'txt:Text (encoded):UTF8' --outdir "$tmp" "$tmp/sample.rtf" >"$tmp/soffice.log" 2>&1 \
  || { cat "$tmp/soffice.log" >&2; fail "soffice failed on the shipped RTF filter"; }
grep -qF 'Holka modrooká' "$tmp/sample.txt" || fail "the shipped RTF filter's document lost a title"
echo ok
