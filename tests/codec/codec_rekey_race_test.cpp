// A rekey racing a writer in another process: what the writer commits while the rekey waits for
// the write lock is kept. The two processes take turns through pipes, so the order is fixed.
#include <sys/wait.h>
#include <unistd.h>

#include "codec_db_support.h"

namespace quorvi::codec::testing {
namespace {

struct Pipe {
  int fd[2] = {-1, -1};
  Pipe() { EXPECT_EQ(pipe(fd), 0); }
  ~Pipe() {
    for (int f : fd) close(f);
  }
  void send(char c) const { EXPECT_EQ(write(fd[1], &c, 1), 1); }
  char receive() const {  // blocks until the other side writes or closes
    char c = 0;
    return read(fd[0], &c, 1) == 1 ? c : 0;
  }
};

// The writer: opens a write transaction, says so, commits when told, says so.
[[noreturn]] void writer(const std::string& path, const Pipe& toRekeyer, const Pipe& fromRekeyer) {
  Db db(path, "k1");
  bool ok = db.exec("BEGIN IMMEDIATE; INSERT INTO t(b) VALUES('committed meanwhile')") == SQLITE_OK;
  toRekeyer.send(ok ? 'L' : 'E');
  if (ok && fromRekeyer.receive() == 'G') ok = db.exec("COMMIT") == SQLITE_OK;
  toRekeyer.send(ok ? 'C' : 'E');
  _exit(ok ? 0 : 1);
}

struct Turns {
  const Pipe* toWriter;
  const Pipe* fromWriter;
  int calls = 0;
};

// Called when the rekey finds the write lock taken: lets the writer commit, then retries.
int letTheWriterCommit(void* arg, int) {
  auto* turns = static_cast<Turns*>(arg);
  if (++turns->calls > 1) return 0;
  turns->toWriter->send('G');
  return turns->fromWriter->receive() == 'C' ? 1 : 0;
}

TEST(RekeyRaceTest, RowsCommittedWhileTheRekeyWaitsAreKept) {
  setUpCodecVfs();
  quorvi::testing::TemporaryFolder dir;
  const std::string path = dir.file("race.db");
  fillTable(Db(path, "k1"), 200);
  Pipe toWriter, fromWriter;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) writer(path, fromWriter, toWriter);
  ASSERT_EQ(fromWriter.receive(), 'L');  // the writer holds the write lock, its row uncommitted

  Db rekeyer(path, "k1");
  Turns turns{&toWriter, &fromWriter};
  sqlite3_busy_handler(rekeyer.get(), letTheWriterCommit, &turns);
  EXPECT_EQ(sqlite3_rekey(rekeyer.get(), "k2", 2), SQLITE_OK) << sqlite3_errmsg(rekeyer.get());
  EXPECT_EQ(turns.calls, 1);  // the rekey did wait for the writer
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  Db check(path, "k2");
  EXPECT_EQ(check.query("PRAGMA integrity_check"), "ok");
  EXPECT_EQ(check.query("SELECT count(*) FROM t WHERE b = 'committed meanwhile'"), "1");
  EXPECT_EQ(check.query("SELECT count(*) FROM t"), "201");
}

}  // namespace
}  // namespace quorvi::codec::testing
