# kxtool xml-resave, gzip-cat and gzip-write from a shell.
set -euo pipefail
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# An XML file with LF line ends, entities and a Czech byte (CP1250 0x9A).
printf '<?xml version="1.0" encoding="Windows-1250"?>\n<melodar_data version="4.0" cats="">\n<database>\n<song title="A &amp; B \x9a">\n<text xml:space="preserve">Am C\nG</text>\n</song>\n</database>\n</melodar_data>\n' > "$dir/in.xml"
kxtool xml-resave "$dir/in.xml" "$dir/once.xml"
kxtool xml-resave "$dir/once.xml" "$dir/twice.xml"
cmp "$dir/once.xml" "$dir/twice.xml"
# Every line ends in CR LF.
od -c "$dir/once.xml" | grep -q '\\r  \\n'
test "$(tr -d '\r' < "$dir/once.xml" | wc -l)" = "$(grep -c $'\r$' "$dir/once.xml")"
head -c 46 "$dir/once.xml" | grep -q '^<?xml version="1.0" encoding="Windows-1250"?>'
grep -q 'title="A &amp; B ' "$dir/once.xml"
kxtool xml-resave "$dir/in.xml" "$dir/utf.xml" UTF-8
grep -q 'encoding="UTF-8"' "$dir/utf.xml"

# Malformed input: the specified text, exit status 1, no crash, old file kept.
printf '<a><b>' > "$dir/eof.xml"
printf '<a>&nbsp;</a>' > "$dir/entity.xml"
{ printf '<e>%.0s' {1..10000}; printf '</e>%.0s' {1..10000}; } > "$dir/deep.xml"
cp "$dir/once.xml" "$dir/keep.xml"
for bad in 'eof:neočekávaný konec souboru' 'entity:neznámá entita' 'deep:vnořené hlouběji'; do
  if kxtool xml-resave "$dir/${bad%%:*}.xml" "$dir/keep.xml" 2> "$dir/err"; then exit 1; fi
  grep -q "${bad#*:}" "$dir/err"
  cmp "$dir/once.xml" "$dir/keep.xml"
done
# Saving into a folder that does not exist fails.
if kxtool xml-resave "$dir/in.xml" "$dir/none/x.xml" 2> "$dir/err"; then exit 1; fi

# gzip: our writer is read by gzip, and gzip-cat reads both forms.
printf 'line 1\nline 2\n' | kxtool gzip-write "$dir/w.xgz"
test "$(gzip -dc "$dir/w.xgz")" = "$(printf 'line 1\nline 2')"
gzip -c "$dir/once.xml" > "$dir/once.xgz"
kxtool gzip-cat "$dir/once.xgz" | cmp - "$dir/once.xml"
kxtool gzip-cat "$dir/once.xml" | cmp - "$dir/once.xml"

# A truncated gzip file fails with a message instead of passing as complete.
seq 1 20000 | gzip -c > "$dir/big.gz"
head -c 20000 "$dir/big.gz" > "$dir/cut.gz"
if kxtool gzip-cat "$dir/cut.gz" > /dev/null 2> "$dir/err"; then exit 1; fi
test -s "$dir/err"
echo ok
