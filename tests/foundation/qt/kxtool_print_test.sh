#!/usr/bin/env bash
# kxtool print-test writes a two-page PDF whose text reads back as the Czech
# line it drew.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

kxtool print-test "$tmp/out.pdf"
pages=$(pdfinfo "$tmp/out.pdf" | awk '/^Pages:/ {print $2}')
if [ "$pages" != 2 ]; then
    echo "expected 2 pages, pdfinfo reports '$pages'" >&2
    exit 1
fi
text=$(pdftotext "$tmp/out.pdf" -)
expected="Příliš žluťoučký kůň úpěl ďábelské ódy"
if ! grep -qF "$expected" <<<"$text"; then
    echo "text of the PDF does not hold '$expected':" >&2
    echo "$text" >&2
    exit 1
fi
grep -qF "Strana 2" <<<"$text"
echo ok
