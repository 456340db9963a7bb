# The foundation commands of kxtool, as a user would run them.
set -euo pipefail
fail() { echo "FAIL: $*"; exit 1; }

s=$(kxtool scramble abc)
[ "$(kxtool unscramble "$s")" = abc ] || fail "scramble round trip"
[ "$(kxtool scramble '')" = "" ] || fail "empty scramble"

text=$(printf 'Příliš žluťoučký kůň')
[ "$(printf '%s' "$text" | iconv -f UTF-8 -t CP1250 | kxtool convert CP1250 UTF-8)" = "$text" ] \
    || fail "CP1250 to UTF-8"
long=$(for i in $(seq 30); do printf 'čtyři '; done)
[ ${#long} -ge 150 ]
one=$(printf '%s' "$long" | iconv -f UTF-8 -t CP1250 | kxtool convert CP1250 UTF-8)
[ "$one" = "$long" ] || fail "300-byte text"

[ "$(printf 'Šárka ŽLUŤ abc' | iconv -f UTF-8 -t CP1250 | kxtool fold)" = "SARKA ZLUT ABC" ] || fail fold

tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
printf 'Sví[C]tí mě[Ami]síček na nebi' | iconv -f UTF-8 -t CP1250 > "$tmp"
[ "$(kxtool find 'sviti mesicek' "$tmp")" = found ] || fail "find across a chord"
[ "$(kxtool find 'mesic na zemi' "$tmp")" = "not found" ] || fail "find must miss"
