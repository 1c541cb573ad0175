"""A keyed database through Python's sqlite3 in shared-cache mode: a connection without the key
that joins it reads and writes nothing, whatever authorizer it sets (none, or one of its own
that allows everything), and the keyed connection and the file stay as they were."""
import os
import shutil
import sqlite3
import sys
import tempfile
import warnings


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def refused(connection, sql):
    try:
        connection.execute(sql).fetchall()
        connection.commit()
    except sqlite3.DatabaseError as error:
        return str(error)
    return None


work = tempfile.mkdtemp()
try:
    shutil.copy(sys.argv[1], os.path.join(work, "quorvi-codec.so"))
    os.chdir(work)
    loader = sqlite3.connect(":memory:")
    loader.enable_load_extension(True)
    loader.load_extension("./quorvi-codec")
    if hasattr(sqlite3, "enable_shared_cache"):
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")
            sqlite3.enable_shared_cache(True)

    owner = sqlite3.connect("file:words.db?cache=shared&key=k1", uri=True)
    owner.execute("CREATE TABLE secret(v)")
    owner.execute("INSERT INTO secret VALUES ('hidden')")
    owner.commit()
    if owner.execute("SELECT v FROM secret").fetchall() != [("hidden",)]:
        fail("the keyed connection does not read its row")

    allow_all = lambda *args: sqlite3.SQLITE_OK
    for name, authorizer in (("no authorizer", None), ("its own authorizer", allow_all)):
        intruder = sqlite3.connect("file:words.db?cache=shared", uri=True)
        intruder.set_authorizer(authorizer)
        got = refused(intruder, "SELECT v FROM secret")
        if got != "file is not a database":
            fail("%s: the read gave %r" % (name, got))
        got = refused(intruder, "INSERT INTO secret VALUES ('planted')")
        if got != "file is not a database":
            fail("%s: the write gave %r" % (name, got))
        intruder.close()

    if owner.execute("SELECT group_concat(v) FROM secret").fetchall() != [("hidden",)]:
        fail("the keyed connection lost its row")
    owner.close()
    check = sqlite3.connect("file:words.db?key=k1", uri=True)
    if check.execute("PRAGMA integrity_check").fetchall() != [("ok",)]:
        fail("the file is damaged")
    if check.execute("SELECT group_concat(v) FROM secret").fetchall() != [("hidden",)]:
        fail("the file changed")
    check.close()
    print("ok")
finally:
    os.chdir("/")
    shutil.rmtree(work)
