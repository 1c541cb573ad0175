#!/bin/sh
# The codec as a loadable extension: the stock sqlite3 shell writes a keyed database, reads it
# back, and Debian's Python reads it too; without the key both see no database.
set -eu
module="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$module" "$work/quorvi-codec.so"
cd "$work"

shell() { sqlite3 -batch -cmd ".load ./quorvi-codec" -cmd ".open $1" :memory: "$2"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

shell "file:words.db?key=harbor_lanternfish_sonatina" \
  "CREATE TABLE dict_word(w_caption TEXT, w_phonetic TEXT);
   INSERT INTO dict_word VALUES ('example', 'ig''za:mpl'), ('harbor', 'ha:b');"
[ "$(head -c 15 words.db)" != "SQLite format 3" ] || fail "the file is not encrypted"

got=$(shell "file:words.db?key=harbor_lanternfish_sonatina" "SELECT group_concat(w_caption) FROM dict_word;")
[ "$got" = "example,harbor" ] || fail "shell read: $got"
got=$(shell "words.db" "PRAGMA key='harbor_lanternfish_sonatina'; SELECT count(*) FROM dict_word;")
[ "$got" = "2" ] || fail "shell with PRAGMA key: $got"
if sqlite3 words.db "SELECT count(*) FROM dict_word;" 2>/dev/null; then fail "plain shell read the database"; fi

got=$(/usr/bin/python3 - <<'PY'
import sqlite3
loader = sqlite3.connect(":memory:")
loader.enable_load_extension(True)
loader.load_extension("./quorvi-codec")
db = sqlite3.connect("file:words.db?key=harbor_lanternfish_sonatina", uri=True)
print(",".join(r[0] for r in db.execute("SELECT w_caption FROM dict_word ORDER BY 1")))
try:
    sqlite3.connect("file:words.db?key=wrong", uri=True).execute("SELECT 1 FROM dict_word")
    print("wrong key read")
except sqlite3.DatabaseError as e:
    print(e)
PY
)
[ "$got" = "example,harbor
file is not a database" ] || fail "python: $got"
echo "ok"
