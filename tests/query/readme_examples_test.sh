#!/bin/bash
# The worked examples of README.md's console section, run in order through
# kxtool console on a program folder made from dist/: every line of the
# examples block that does not start with "→" is a console line; the "→"
# lines are what the README says it prints, a "→ VDBn (count)..." line the
# result view that the main window then shows (kxtool's ":view").
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cp -r "$KX6_SOURCE_DIR/dist" "$tmp/p"
mkdir -p "$tmp/p/data" "$tmp/p/cfg"

block=$(awk '/<!-- console examples -->/ { inside = 1; next }
             /<!-- end of console examples -->/ { inside = 0 }
             inside && !/^```/ && NF' "$KX6_SOURCE_DIR/README.md")
[ -n "$block" ] || fail "no examples block in README.md"
lines=$(printf '%s\n' "$block" | awk '/^→ VDB[0-9]+ \(/ { print ":view"; next } /^→/ { next } { print }')
expected=$(printf '%s\n' "$block" | sed -n 's/^→ //p')
[ "$(printf '%s\n' "$lines" | grep -vc '^:view')" -ge 6 ] || fail "fewer than 6 examples"

got=$(printf '%s\n' "$lines" | iconv -f utf-8 -t cp1250 | kxtool console "$tmp/p" --db lidovky |
  iconv -f cp1250 -t utf-8)
[ "$got" = "$expected" ] || fail "README examples: got"$'\n'"$got"$'\n'"README shows"$'\n'"$expected"
exit 0
