# The database library commands of kxtool, as a user would run them.
set -euo pipefail
fail() { echo "FAIL: $*"; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# "heslo" scrambled with the connection file's key.
cat > "$tmp/connect.xml" <<'XML'
<?xml version="1.0" encoding="Windows-1250" ?>
<connection name="!Net" password="2t9wbemerd" user="kx" dbname="songs" server="db.local" port="5433" engine="1" encoding="UTF-8" />
XML
out=$(kxtool dbw-connection "$tmp/connect.xml")
grep -qx 'password=heslo' <<<"$out" || fail "password: $out"
grep -qx 'port=5433' <<<"$out" || fail "port: $out"
grep -qx 'engine=1' <<<"$out" || fail "engine: $out"

cat > "$tmp/dbdef.xml" <<'XML'
<dbdef lastid="9" versioned="1">
<tables>
<item id="1" name="songs">
<fields>
<item id="2" name="id"><type id="3"><data sqltype="serial" /></type></item>
<item id="4" name="title"><type id="5" basetype="8"><data size="60" /></type></item>
</fields>
<indexes><item id="6" name="ix" fields="4,,2" /></indexes>
</item>
</tables>
<types><item id="8" name="text"><data sqltype="varchar" size="20" /></item></types>
</dbdef>
XML
out=$(kxtool dbw-dbdef "$tmp/dbdef.xml")
grep -qx '  field 2 id serial size=0' <<<"$out" || fail "serial field: $out"
grep -qx '  field 4 title varchar size=60' <<<"$out" || fail "derived type: $out"
grep -q 'fields="4,2"' <<<"$out" || fail "index fields: $out"
