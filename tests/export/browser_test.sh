#!/bin/bash
# Headless Chromium shows the exported HTML: song data that looks like
# markup stays text (no script from a song runs), and the transposition
# functions of a song page, called by a script appended to it, move the
# chords a semitone up and back with the chord line still aligned.
set -euo pipefail
data="$KX6_SOURCE_DIR/tests/export/data"
fail() { echo "FAIL: $*" >&2; exit 1; }
if ! command -v chromium >/dev/null; then
  [ "${CI:-}" = true ] && fail "chromium is missing (package chromium)"
  echo "chromium is missing: skipped"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The page's DOM after its scripts ran, from a fresh profile, offline.
dom() {
  timeout 60 chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$(mktemp -d "$tmp/profile.XXXXXX")" \
    --dump-dom "file://$1" 2>>"$tmp/chromium.log" || { cat "$tmp/chromium.log" >&2; fail "chromium failed on $1"; }
}

# A song whose title, author and lyrics carry markup that would run.
cat > "$tmp/evil.xml" <<'XML'
<?xml version="1.0" encoding="Windows-1250"?>
<melodar_data version="4.0" cats="" >
<database >
<song title="&lt;script&gt;document.body.setAttribute('data-'+'title','1')&lt;/script&gt;" author="&lt;b&gt;bold&lt;/b&gt;" locid="1" >
<text xml:space="preserve" >[C]&lt;img src=x onerror="document.body.setAttribute('data-'+'img','1')"&gt;</text>
</song>
</database>
</melodar_data>
XML
kxtool export "$data/program" page "$tmp/evil.xml" "$tmp/evil.html"
dom "$tmp/evil.html" > "$tmp/evil.dom"
grep -q 'data-title=\|data-img=' "$tmp/evil.dom" && fail "a script from song data ran"
grep -qF "<h2>&lt;script&gt;document.body.setAttribute('data-'+'title','1')&lt;/script&gt;</h2>" "$tmp/evil.dom" \
  || fail "the title is not shown as text"
grep -qF '<h3>&lt;b&gt;bold&lt;/b&gt;</h3>' "$tmp/evil.dom" || fail "the author is not shown as text"
grep -q '<img' "$tmp/evil.dom" && fail "lyrics became an element"

# The first song page of the sample, with a script that transposes it up a
# semitone and back and notes the chord line each time.
kxtool webdir "$data/program" web "$data/songs.xml" "$tmp/web"
cat "$tmp/web/data/song0.html" - > "$tmp/transpose.html" <<'HTML'
<script>
var pre = document.getElementsByTagName('PRE')[0];
function chordLine() { return pre.textContent.split('\n')[0]; }
var seen = [chordLine()];
transpright(); seen.push(chordLine());
transpleft(); seen.push(chordLine());
var result = document.createElement('div');
result.id = 'result';
result.textContent = seen.join('|');
document.body.appendChild(result);
</script>
HTML
dom "$tmp/transpose.html" > "$tmp/transpose.dom"
grep -qF '<div id="result">  C      G7 |  C#     G#7|  C      G7 </div>' "$tmp/transpose.dom" \
  || { grep 'id="result"' "$tmp/transpose.dom" >&2; fail "transposition"; }
echo ok
