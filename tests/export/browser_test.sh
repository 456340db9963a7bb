#!/bin/bash
# Headless Chromium shows the exported HTML: song data that looks like
# markup stays text (no script from a song runs). A page with the frames the
# web directory expects walks it from the group list through a group to a
# song, whose title is text, and calls the song page's own transposition
# functions there: a semitone up ("Es" becomes "E") and back (named "D#" by
# the script), the chord line keeping its columns. The export's own entry
# page does the same walk through its frames and transposes with its buttons.
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

# The page's DOM after its scripts ran (timers included), from a fresh
# profile, offline; the pages of one folder may reach into each other.
dom() {
  timeout 60 chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --allow-file-access-from-files --virtual-time-budget=10000 \
    --user-data-dir="$(mktemp -d "$tmp/profile.XXXXXX")" \
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

# The group list with the two frames its links name: the first group, its
# one song ("Rock & {roll} <i>"), its title, its last chord line up and back.
# The walks' shared script: when(frame, suffix, step) runs step once the
# window frame() returns shows a page whose address ends with the suffix, and
# writes what went wrong into the element "result".
walk_script() {
  cat > "$1/when.js" <<'JS'
function when(frame, suffix, step) {
  var result = document.getElementById('result');
  var tries = 0;
  (function poll() {
    var doc = null;
    try { doc = frame() && frame().document; } catch (e) { result.textContent = 'no access: ' + e; return; }
    if (doc && doc.readyState == 'complete' && doc.location.href.endsWith(suffix)) return step(doc);
    if (++tries > 200) { result.textContent = 'timeout waiting for ' + suffix; return; }
    setTimeout(poll, 20);
  })();
}
JS
}

kxtool webdir "$data/program" web "$data/songs.xml" "$tmp/web"
walk_script "$tmp/web"
cat > "$tmp/web/walk.html" <<'HTML'
<html><body>
<iframe name="groups" src="grplist.html"></iframe>
<iframe name="songsframe"></iframe>
<iframe name="songframe"></iframe>
<div id="result">not finished</div>
<script src="when.js"></script>
<script>
var result = document.getElementById('result');
function frame(name) { return function () { return window.frames[name]; }; }
when(frame('groups'), 'grplist.html', function (doc) {
  doc.links[0].click();
  when(frame('songsframe'), 'data/grp0.html', function (doc) {
    doc.links[0].click();
    when(frame('songframe'), 'data/song1.html', function (doc) {
      var page = window.frames['songframe'];
      var title = doc.getElementsByTagName('H2')[0];
      var pre = doc.getElementsByTagName('PRE')[0];
      function chords() { return pre.textContent.split('\n')[3]; }
      var seen = [title.textContent, title.children.length, chords()];
      page.transpright(); seen.push(chords());
      page.originalchords(); seen.push(chords());
      result.textContent = seen.join('|');
    });
  });
});
</script>
</body></html>
HTML
dom "$tmp/web/walk.html" > "$tmp/walk.dom"
grep -qF '<div id="result">Rock &amp; {roll} &lt;i&gt;|0|  Es|  E |  D#</div>' "$tmp/walk.dom" \
  || { grep 'id="result"' "$tmp/walk.dom" >&2; fail "walking the web directory"; }

# index.html of the web-directory filter a fresh program folder ships, inside
# a page of the test: its list frame, a group, a song, then its buttons up,
# original and down.
kxtool webdir "$KX6_SOURCE_DIR/dist" "Webový adresář" "$data/songs.xml" "$tmp/site"
walk_script "$tmp/site"
cat > "$tmp/site/entry.html" <<'HTML'
<html><body>
<iframe name="site" src="index.html" style="width:1000px;height:600px"></iframe>
<div id="result">not finished</div>
<script src="when.js"></script>
<script>
var result = document.getElementById('result');
function siteWindow() { return window.frames['site']; }
function inner(name) { return function () { return siteWindow().frames[name]; }; }
when(siteWindow, 'index.html', function (index) {
  when(inner('listframe'), 'grplist.html', function (doc) {
    doc.links[0].click();
    when(inner('songsframe'), 'data/grp0.html', function (doc) {
      doc.links[0].click();
      when(inner('songframe'), 'data/song1.html', function (doc) {
        var pre = doc.getElementsByTagName('PRE')[0];
        function chords() { return pre.textContent.split('\n')[3]; }
        var seen = [chords()];
        index.getElementById('up').click(); seen.push(chords());
        index.getElementById('original').click(); seen.push(chords());
        index.getElementById('down').click(); seen.push(chords());
        result.textContent = seen.join('|');
      });
    });
  });
});
</script>
</body></html>
HTML
dom "$tmp/site/entry.html" > "$tmp/entry.dom"
grep -qF '<div id="result">  Es|  E |  D#|  D </div>' "$tmp/entry.dom" \
  || { grep 'id="result"' "$tmp/entry.dom" >&2; fail "transposing with the buttons of index.html"; }
echo ok
