#!/usr/bin/env bash
# libdbwlib.so exports exactly one symbol, the connection factory, and loads
# none of the program's own libraries.
set -euo pipefail
lib=${1:?usage: dbwlib_exports_test.sh LIBRARY}
exports=$(nm -D --defined-only "$lib" | awk '{print $3}')
if [ "$exports" != "_dbw_create_connection" ]; then
  echo "unexpected exports of $lib:"
  echo "$exports"
  exit 1
fi
if ldd "$lib" | grep -E 'libfoundation|libdbw\.|libsongs'; then
  echo "$lib depends on the program's libraries"
  exit 1
fi
# Its own engine classes live in their namespace: dbw/ has classes of the
# same names (dbwPostgreSQLConnection, dbwPostgreSQLResult), and one program
# may link both.
if nm -C "$lib" | grep -E ' (dbwPostgreSQL|dbwMySQL|dbwSQLite)[A-Za-z]*::'; then
  echo "$lib defines engine classes outside its namespace"
  exit 1
fi
echo "exports: $exports"
