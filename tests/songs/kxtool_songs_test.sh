#!/bin/bash
# kxtool's song commands: a hand-written database survives db-resave byte
# for byte, plain and through gzip, and a resave keeps the look-alikes of
# temporary files beside it; db-info lists it; transpose rewrites
# chords; a commit into a read-only folder keeps the old file.
set -euo pipefail
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# kxtool prints UTF-8; the expected texts below are Windows-1250.
kx() { kxtool "$@" | iconv -f UTF-8 -t CP1250; }

# Two songs in Windows-1250: escaped title, Czech letters, a lone CR in a
# text, variables, custom columns, an empty text, flags.
printf '%s\n' \
  '<?xml version="1.0" encoding="Windows-1250"?>' \
  '<melodar_data version="4.0" cats="" >' \
  '<database dbversion="7" isinetdb="1" customcols="T\xf3nina;Rok;" >' \
  '<song title="Rock &amp; &quot;roll&quot; &lt;&gt; &apos;x&apos;" group="Kapela" author="\x8e\xe1k" remark="r" special="netdelete" lang="cz" locid="1" netid="12" netmodified="1" nonet="1" version="3" >' \
  '<text xml:space="preserve" >[C]Ahoj&#13;hola' \
  '[G]sv\xecte</text>' \
  '<vars >' \
  '<var name="T\xf3nina" >C dur</var>' \
  '<var name="Rok" >1999</var>' \
  '</vars>' \
  '</song>' \
  '<song title="Pr\xe1zdn\xe1" locid="2" >' \
  '<text xml:space="preserve" ></text>' \
  '</song>' \
  '</database>' \
  '</melodar_data>' > "$tmp/raw.txt"
printf "$(cat "$tmp/raw.txt" | sed 's/%/%%/g')\n" > "$tmp/in.xml"
# The printf above turned the \x escapes into Windows-1250 bytes.
grep -q $'\x8e' "$tmp/in.xml" || fail "test data has no Windows-1250 letter"

kxtool db-resave "$tmp/in.xml" "$tmp/out.xml"
cmp "$tmp/in.xml" "$tmp/out.xml" || fail "plain resave changed the file"
kxtool db-resave "$tmp/in.xml" "$tmp/out.xgz"
[ "$(head -c2 "$tmp/out.xgz" | od -An -tx1 | tr -d ' ')" = 1f8b ] || fail "out.xgz is not gzip"
gzip -dc < "$tmp/out.xgz" | cmp - "$tmp/in.xml" || fail "gzip resave changed the content"
kxtool db-resave "$tmp/out.xgz" "$tmp/back.xml"
cmp "$tmp/in.xml" "$tmp/back.xml" || fail "reading gzip changed the content"

# A save onto itself keeps the files beside it that only look temporary
# and removes the abandoned temporary file of one of its own saves.
lookalikes=(backup old001 tmp abc123)
for n in "${lookalikes[@]}"; do echo x > "$tmp/.out.xml.$n"; done
echo x > "$tmp/.out.xml.kx6save-a1B2c3"
kxtool db-resave "$tmp/out.xml" "$tmp/out.xml"
for n in "${lookalikes[@]}"; do [ -f "$tmp/.out.xml.$n" ] || fail "the save removed .out.xml.$n"; done
[ ! -e "$tmp/.out.xml.kx6save-a1B2c3" ] || fail "abandoned temporary file left"
cmp "$tmp/in.xml" "$tmp/out.xml" || fail "resave onto itself changed the file"

info=$(kx db-info "$tmp/in.xml")
expected=$(printf '2\n1\tRock & "roll" <> '"'"'x'"'"'\tKapela\n2\tPr\xe1zdn\xe1\t')
[ "$info" = "$expected" ] || fail "db-info: $info"

out=$(printf '[C]Ahoj [Ami/G]svete' | kxtool transpose 2)
[ "$out" = '[D]Ahoj [Hmi/A]svete' ] || fail "transpose: $out"
out=$(printf '[D]x\n[(G7)]' | kxtool transpose -7)
[ "$out" = $'[G]x\n[(C7)]' ] || fail "transpose -7: $out"

# An unreadable input fails.
echo 'nonsense' > "$tmp/bad.xml"
if kxtool db-resave "$tmp/bad.xml" "$tmp/x.xml" 2>/dev/null; then fail "resave of a broken file succeeded"; fi

# A read-only folder: the old file stays byte-identical and the command
# fails (folder permissions do not bind root).
mkdir "$tmp/ro"
cp "$tmp/in.xml" "$tmp/ro/db.xml"
printf '<melodar_data><database><song title="jiny"/></database></melodar_data>' > "$tmp/other.xml"
chmod 555 "$tmp/ro"
as_user=()
if [ "$(id -u)" = 0 ]; then
  # Folder permissions do not bind root: write as the user nobody.
  chmod 755 "$tmp"
  chmod 644 "$tmp/other.xml"
  as_user=(runuser -u nobody --)
fi
if "${as_user[@]}" "$(command -v kxtool)" db-resave "$tmp/other.xml" "$tmp/ro/db.xml" 2>/dev/null; then
  fail "write into a read-only folder succeeded"
fi
cmp "$tmp/in.xml" "$tmp/ro/db.xml" || fail "read-only file changed"
echo OK
