#include "codec/memory_file.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace quorvi::codec {
namespace {

// Lives in the memory SQLite gives the VFS for a file: constructed in xOpen, destroyed in xClose.
struct MemoryFile {
  sqlite3_file base;
  std::vector<unsigned char> data;
};

// SQLite never lets a temporary file grow past its size limits; this only stops a runaway
// offset from asking for absurd amounts of memory.
constexpr sqlite3_int64 kMaxMemoryFile = sqlite3_int64(1) << 40;

std::vector<unsigned char>& bytes(sqlite3_file* f) {
  return reinterpret_cast<MemoryFile*>(f)->data;
}

int memClose(sqlite3_file* f) {
  reinterpret_cast<MemoryFile*>(f)->~MemoryFile();
  return SQLITE_OK;
}

int memRead(sqlite3_file* f, void* buf, int amt, sqlite3_int64 off) {
  const auto& d = bytes(f);
  sqlite3_int64 size = static_cast<sqlite3_int64>(d.size());
  sqlite3_int64 have = off >= size ? 0 : std::min<sqlite3_int64>(amt, size - off);
  if (have > 0) std::memcpy(buf, d.data() + off, static_cast<std::size_t>(have));
  if (have < amt) {
    std::memset(static_cast<unsigned char*>(buf) + have, 0, static_cast<std::size_t>(amt - have));
    return SQLITE_IOERR_SHORT_READ;
  }
  return SQLITE_OK;
}

int memWrite(sqlite3_file* f, const void* buf, int amt, sqlite3_int64 off) {
  auto& d = bytes(f);
  if (off < 0 || amt < 0 || off + amt > kMaxMemoryFile) return SQLITE_FULL;
  try {
    if (static_cast<sqlite3_int64>(d.size()) < off + amt)
      d.resize(static_cast<std::size_t>(off + amt));
  } catch (const std::bad_alloc&) {
    return SQLITE_IOERR_NOMEM;
  }
  std::memcpy(d.data() + off, buf, static_cast<std::size_t>(amt));
  return SQLITE_OK;
}

int memTruncate(sqlite3_file* f, sqlite3_int64 size) {
  auto& d = bytes(f);
  if (size >= 0 && size < static_cast<sqlite3_int64>(d.size()))
    d.resize(static_cast<std::size_t>(size));
  return SQLITE_OK;
}

int memSync(sqlite3_file*, int) {
  return SQLITE_OK;
}
int memFileSize(sqlite3_file* f, sqlite3_int64* size) {
  *size = static_cast<sqlite3_int64>(bytes(f).size());
  return SQLITE_OK;
}
int memLock(sqlite3_file*, int) {
  return SQLITE_OK;
}
int memCheckReservedLock(sqlite3_file*, int* out) {
  *out = 0;
  return SQLITE_OK;
}
// The key pragmas sent to a temporary database (PRAGMA temp.rekey, once the temp schema has a
// file) are refused: there is nothing on disk to key.
int memFileControl(sqlite3_file*, int op, void* arg) {
  if (op != SQLITE_FCNTL_PRAGMA) return SQLITE_NOTFOUND;
  char** args = static_cast<char**>(arg);
  for (const char* name : {"key", "hexkey", "rekey", "hexrekey"}) {
    if (sqlite3_stricmp(args[1], name) != 0) continue;
    args[0] = sqlite3_mprintf("%s", "a temporary database takes no key");
    return SQLITE_ERROR;
  }
  return SQLITE_NOTFOUND;
}
int memSectorSize(sqlite3_file*) {
  return 512;
}
int memDeviceCharacteristics(sqlite3_file*) {
  return SQLITE_IOCAP_ATOMIC | SQLITE_IOCAP_SAFE_APPEND | SQLITE_IOCAP_SEQUENTIAL |
         SQLITE_IOCAP_POWERSAFE_OVERWRITE;
}

const sqlite3_io_methods kMemoryMethods = {1,
                                           memClose,
                                           memRead,
                                           memWrite,
                                           memTruncate,
                                           memSync,
                                           memFileSize,
                                           memLock,
                                           memLock,
                                           memCheckReservedLock,
                                           memFileControl,
                                           memSectorSize,
                                           memDeviceCharacteristics,
                                           nullptr,
                                           nullptr,
                                           nullptr,
                                           nullptr,
                                           nullptr,
                                           nullptr};

}  // namespace

int memoryFileSize() {
  return static_cast<int>(sizeof(MemoryFile));
}

int openMemoryFile(sqlite3_file* file, int flags, int* outFlags) {
  auto* f = new (file) MemoryFile();
  if (outFlags != nullptr) *outFlags = flags;
  f->base.pMethods = &kMemoryMethods;
  return SQLITE_OK;
}

}  // namespace quorvi::codec
