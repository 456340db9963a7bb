#!/bin/bash
# kxtool console on a program folder made from dist/: a SELECT becomes the
# active view, errors print as ERROR lines and change nothing, FILTER needs
# a view, an UPDATE reaches the file through :commit, QUIT ends the session.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cp -r "$KX6_SOURCE_DIR/dist" "$tmp/p"
mkdir -p "$tmp/p/data" "$tmp/p/cfg"
# Runs the console on the UTF-8 lines of stdin; prints its output in UTF-8.
console() { iconv -f utf-8 -t cp1250 | kxtool console "$tmp/p" "$@" | iconv -f cp1250 -t utf-8; }
check() { [ "$1" = "$2" ] || fail "$3: got"$'\n'"$1"$'\n'"expected"$'\n'"$2"; }

out=$(printf '%s\n' ':active' 'filter locid = 3' ':active' ':list VDB1' \
  "select from 'LIDOVKY.xml' where 'koně' in title or locid = 2" ':active' ':list VDB2' \
  'SELECT FROM lidovky DELETE FROM lidovky' 'filter locid = 13' ':list VDB2' \
  "update lidovky set title = 'Nová ' & title where locid = 1" ':commit' 'quit' 'echo after quit' \
  | console --db lidovky)
check "$out" "lidovky
VDB1
3	Skákal pes
VDB2
2	Kočka leze dírou
13	Já mám koně, vraný koně
ERROR: Očekáván konec dotazu, nalezeno DELETE
13	Já mám koně, vraný koně" "first session"

out=$(printf '%s\n' ':active' 'filter 1' 'dbinfo' 'echo  x' ':list lidovky' | console | head -5)
check "$out" "
ERROR: Není otevřen pohled
ERROR: Není otevřen pohled
  x
1	Nová Holka modrooká" "second session"

# A hostile nesting depth is an error line; the session goes on.
deep=$(printf '(%.0s' $(seq 20000))
out=$(printf '%s\n' "select from lidovky where ${deep}1" "filter locid = 2" ':list VDB1' | console --db lidovky)
check "$out" "ERROR: Výraz je příliš hluboce vnořený (nejvýše 256 úrovní závorek)
2	Kočka leze dírou" "deep nesting"

# Doubling a text until it passes the reader's limit: that UPDATE is refused,
# and what :commit writes loads again.
doubling=$(for i in $(seq 20); do echo 'update lidovky set text = text & text where locid = 1'; done)
errors=$(printf '%s\n' "$doubling" ':commit' | console --db lidovky | grep -c '^ERROR: Úprava nebyla provedena.')
[ "$errors" -ge 1 ] || fail "no UPDATE was refused"
kxtool db-info "$tmp/p/db/lidovky.xml" > /dev/null || fail "the committed database does not load"

# A database file replaced on disk after the console read it: :commit
# refuses, naming the file, and leaves the other program's file as it is.
db="$tmp/p/db/lidovky.xml"
mkfifo "$tmp/in"
kxtool console "$tmp/p" --db lidovky < "$tmp/in" > "$tmp/out" 2>/dev/null &
session=$!
exec 3> "$tmp/in"
printf '%s\n' "update lidovky set title = 'Moje' where locid = 1" 'echo read' >&3
for _ in $(seq 300); do grep -q 'read$' "$tmp/out" && break; sleep 0.1; done
{ cat "$db"; echo '<!-- saved by another program -->'; } > "$tmp/theirs.xml"
cp "$tmp/theirs.xml" "$tmp/expected.xml"
mv "$tmp/theirs.xml" "$db"
printf ':commit\nquit\n' >&3
exec 3>&-
wait "$session" || fail "console session"
cmp -s "$db" "$tmp/expected.xml" || fail ":commit wrote over a file replaced on disk"
out=$(iconv -f cp1250 -t utf-8 "$tmp/out" | grep '^ERROR:' || true)
check "$out" "ERROR: Databáze nebyla uložena: soubor $db byl od načtení změněn jiným programem" "replaced file"

# Load failures name the file and say why, in Czech.
out=$(kxtool book-info "$tmp/p" "$tmp/nic.kx" 2>&1 || true)
check "$out" "kxtool: Soubor $tmp/nic.kx nelze načíst: soubor neexistuje" "missing book"
printf '<melodar >\n<items >\0</items>\n</melodar>\n' > "$tmp/nul.kx"
out=$(kxtool book-info "$tmp/p" "$tmp/nul.kx" 2>&1 || true)
check "$out" "kxtool: Soubor $tmp/nul.kx nelze načíst: nepovolený bajt 0 (NUL) v textu (bajt 19)" "NUL in a book"

kxtool console "$tmp/p" --db nic < /dev/null 2>/dev/null && fail "an unknown view was accepted"
exit 0
