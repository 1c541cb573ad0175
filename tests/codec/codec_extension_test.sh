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
[ "$got" = "ok
2" ] || fail "shell with PRAGMA key: $got"
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

# The key pragmas through Python: each answers a named row, and each took effect.
got=$(/usr/bin/python3 - <<'PY'
import sqlite3
loader = sqlite3.connect(":memory:")
loader.enable_load_extension(True)
loader.load_extension("./quorvi-codec")
def run(*pragmas):
    db = sqlite3.connect("words.db")
    answers = [db.execute(p).fetchall() for p in pragmas]
    count = db.execute("SELECT count(*) FROM dict_word").fetchone()[0]
    db.close()
    return "%s %d" % (answers, count)
print(run("PRAGMA key='harbor_lanternfish_sonatina'", "PRAGMA rekey='k2'"))
print(run("PRAGMA hexkey='6b32'", "PRAGMA hexrekey='6b33'"))
print(run("PRAGMA key='k3'"))
PY
)
[ "$got" = "[[('ok',)], [('ok',)]] 2
[[('ok',)], [('ok',)]] 2
[[('ok',)]] 2" ] || fail "python pragmas: $got"
echo "ok"
