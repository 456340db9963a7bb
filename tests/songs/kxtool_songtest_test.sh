#!/bin/bash
# kxtool's song service commands: sort by a column in the Czech order,
# dupltest with DBLTEST's argument text, isync of two database files.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# kxtool prints UTF-8; the expected texts below are Windows-1250.
kx() { kxtool "$@" | iconv -f UTF-8 -t CP1250; }

# song LOCID NETID TITLE GROUP TEXT: one song element; \x escapes become
# Windows-1250 bytes.
song() {
  printf '<song title="%b" group="%b" lang="cz" locid="%s" netid="%s" >\n<text xml:space="preserve" >%b</text>\n</song>\n' \
    "$3" "$4" "$1" "$2" "$5"
}
database() {
  printf '<?xml version="1.0" encoding="Windows-1250"?>\n<melodar_data version="4.0" cats="" >\n<database dbversion="0" isinetdb="0" customcols="" >\n'
  cat
  printf '</database>\n</melodar_data>\n'
}

# Czech order: "ch" after "h", "\xc8" (C with caron) after "c".
{
  song 1 0 'Ivan' 'A' 'x'
  song 2 0 'Chata' 'A' 'x'
  song 3 0 'Hora' 'A' 'x'
  song 4 0 '\xc8\xe1p' 'A' 'x'
  song 5 0 'Cesta' 'A' 'x'
} | database > "$tmp/order.xml"
out=$(kx sort title "$tmp/order.xml")
[ "$out" = "$(printf 'Cesta\n\xc8\xe1p\nHora\nChata\nIvan')" ] || fail "sort title: $out"
out=$(kx sort 8 "$tmp/order.xml" | tr '\n' ' ')
[ "$out" = "Ivan Chata Hora $(printf '\xc8\xe1p') Cesta " ] || fail "sort locid: $out"

# Duplicates: songs 1 and 3 differ only in chords, case and a label line;
# song 2 differs in 11 of its 31 letters.
{
  song 1 0 'Prvn\xed' 'Pop' '[C]Sly\x9a\xed\x9a m\xec, m\xe1 mil\xe1, tak poj\xef domu'
  song 2 0 'Druh\xe1' 'Pop' 'Sly\x9a\xed\x9a m\xec, ty zl\xe1 \x9eeno, b\xec\x9e pry\xe8'
  song 3 0 'T\xf8et\xed' 'Rock' '.R:\n[G]SLY\x8a\xcd\x8a ME ma [Am]mila, tak pojd domu'
} | database > "$tmp/dupl.xml"
expected=$(printf 'K vymaz\xe1n\xed:\n%5d %30s %30s | n\xe1hrada:%5d %30s %30s' \
  1 "$(printf 'Prvn\xed')" Pop 3 "$(printf 'T\xf8et\xed')" Rock)
out=$(kx dupltest 'MAX_LEN_DIF=10' "$tmp/dupl.xml")
[ "$out" = "$expected" ] || fail "dupltest: $out"
# A share of 0 tolerates no difference at all: still the same pair.
out=$(kx dupltest 'MAX_TEXT_DIFF_KOEF=0' "$tmp/dupl.xml")
[ "$out" = "$expected" ] || fail "dupltest exact: $out"
# Lower-case keys are not keys: the defaults hold.
out=$(kx dupltest 'max_len_dif=-1' "$tmp/dupl.xml")
[ "$out" = "$expected" ] || fail "dupltest lower-case key: $out"
# A negative length is refused: the default holds.
out=$(kx dupltest 'MAX_LEN_DIF=-1' "$tmp/dupl.xml")
[ "$out" = "$expected" ] || fail "dupltest MAX_LEN_DIF=-1: $out"

# Internal synchronisation: 7 is new, 8 changed, 9 deleted; local songs
# (internet id 0) are neither added, changed nor deleted, only counted.
{
  song 1 7 'Nov\xe1' 'G' 'nov\xfd text'
  song 2 8 'Zm\xecn\xecn\xe1' 'G' 'nov\xfd text'
  song 3 0 'M\xedstn\xed' 'G' 'x'
} | database > "$tmp/src.xml"
{
  song 1 8 'Zm\xecn\xecn\xe1' 'G' 'star\xfd text'
  song 2 9 'Smazan\xe1' 'G' 'x'
  song 3 0 'Jin\xe1 m\xedstn\xed' 'G' 'vlastn\xed text'
} | database > "$tmp/dst.xml"
out=$(kx isync "$tmp/src.xml" "$tmp/dst.xml")
expected=$(printf 'Zdrojov\xe1 datab\xe1ze:src\nP\xf8idan\xe9 p\xedsn\xec:\n%5d # %30s %30s\nUpraven\xe9 p\xedsn\xec:\n%5d # %30s %30s\nSmazan\xe9 p\xedsn\xec:\n%5d # %30s %30s\nP\xedsn\xec bez internetov\xe9ho ID vynechan\xe9 ze synchronizace: ve zdrojov\xe9 datab\xe1zi 1, v c\xedlov\xe9 datab\xe1zi 1' \
  4 "$(printf 'Nov\xe1')" G \
  1 "$(printf 'Zm\xecn\xecn\xe1')" G \
  2 "$(printf 'Smazan\xe1')" G)
[ "$out" = "$expected" ] || fail "isync report: $out"
info=$(kx db-info "$tmp/dst.xml")
[ "$info" = "$(printf '3\n1\tZm\xecn\xecn\xe1\tG\n3\tJin\xe1 m\xedstn\xed\tG\n4\tNov\xe1\tG')" ] || fail "isync target: $info"
grep -q 'netid="7"' "$tmp/dst.xml" || fail "new song lost its internet id"
grep -q "$(printf 'nov\xfd text')" "$tmp/dst.xml" || fail "changed text not saved"
grep -q "$(printf 'vlastn\xed text')" "$tmp/dst.xml" || fail "the target's own song was overwritten"
# A second run finds nothing more to do.
out=$(kx isync "$tmp/src.xml" "$tmp/dst.xml" | grep -c '#' || true)
[ "$out" = 0 ] || fail "second isync: $out lines"
echo OK
