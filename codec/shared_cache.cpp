// Keyed databases and shared cache.
//
// Connections in shared-cache mode share one file and one page cache: they cannot hold keys of
// their own, and one that never gave a key would read the decrypted pages straight from the
// cache. So a keyed database is never shared. SQLite lets a connection join a cache when the
// full pathname the VFS gives for its file name equals the name of a file already open with a
// shared cache; the shim answers with a name of its own (the same file, spelt with "./" and
// "//" steps that the system ignores, never given out twice) when
//   - a keyed database file with that path is open: the joining connection gets a cache of its
//     own and reads the file with its own key, or with none;
//   - the name carries a key parameter: a connection bringing a key does not join a plain cache
//     (its key would be dropped) and is never joined by another one, even while it is still
//     being opened.
// The pager opens the file under that name, so it is what sqlite3_db_filename shows.
// Nothing a connection does to its own settings undoes this. The other order is refused where
// the key is given: a file that several connections share cannot be keyed or rekeyed (even
// after the others closed; key_operations.cpp, rekey.cpp).
//
// What remains is a race between threads: a connection that has already compared names while
// another thread keys the file it joins. The join is noted when SQLite names the connection to
// the file, and that connection is then refused every statement by an authorizer.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "codec/codec_vfs_internal.h"

namespace quorvi::codec::detail {
namespace {

std::mutex gMutex;
std::vector<CodecFile*> gMainFiles;  // every database file open through the shim
std::uint64_t gLastVariant = 0;

int refuseEverything(void*, int, const char*, const char*, const char*, const char*) {
  return SQLITE_DENY;
}

// The path without "." steps and repeated slashes, as the base VFS would give it.
std::string canonicalPath(const char* name) {
  std::string out;
  for (const char* p = name; *p != 0; ++p) {
    if (*p == '/' && !out.empty() && out.back() == '/') continue;
    if (*p == '.' && !out.empty() && out.back() == '/' && (p[1] == '/' || p[1] == 0)) continue;
    out += *p;
  }
  return out;
}

bool keyedFileOpen(const std::string& path) {
  return std::any_of(gMainFiles.begin(), gMainFiles.end(), [&](const CodecFile* f) {
    return f->codec != nullptr && f->canonicalName == path;
  });
}

// `path` with the steps "./" (bit 0) and ".//" (bit 1) spelling `n` before its last component.
std::string variantOf(const std::string& path, std::uint64_t n) {
  std::string steps;
  for (; n != 0; n >>= 1) steps.insert(0, (n & 1) != 0 ? ".//" : "./");
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return steps + path;
  return path.substr(0, slash + 1) + steps + path.substr(slash + 1);
}

// SQLite asks for full pathnames of its database names, which carry their URI parameters.
bool carriesKey(const char* name) {
  return sqlite3_uri_parameter(name, "key") != nullptr ||
         sqlite3_uri_parameter(name, "hexkey") != nullptr;
}

}  // namespace

void registerMainFile(CodecFile* file, const char* name) {
  file->canonicalName = canonicalPath(name);
  std::lock_guard<std::mutex> lock(gMutex);
  gMainFiles.push_back(file);
}

void unregisterMainFile(CodecFile* file) {
  std::lock_guard<std::mutex> lock(gMutex);
  gMainFiles.erase(std::remove(gMainFiles.begin(), gMainFiles.end(), file), gMainFiles.end());
}

void setCodec(CodecFile* file, std::unique_ptr<PageCodec> codec) {
  {
    std::lock_guard<std::mutex> lock(gMutex);
    file->codec.swap(codec);
  }
  codec.reset();  // the earlier state, freed outside the lock
}

int fullPathnameOutsideSharedKeys(sqlite3_vfs* base, const char* name, int size, char* out) {
  const int rc = base->xFullPathname(base, name, size, out);
  if ((rc & 0xff) != SQLITE_OK || name == nullptr) return rc;
  const std::string path = canonicalPath(out);
  std::string variant;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    if (!carriesKey(name) && !keyedFileOpen(path)) return rc;
    variant = variantOf(path, ++gLastVariant);
  }
  if (variant.size() + 1 > static_cast<std::size_t>(size)) return SQLITE_CANTOPEN;
  std::memcpy(out, variant.c_str(), variant.size() + 1);
  return rc;
}

void noteSharedAttachment(CodecFile* file, sqlite3* db) {
  if (db != nullptr && activeCodec(file) != nullptr)
    sqlite3_set_authorizer(db, refuseEverything, nullptr);
}

}  // namespace quorvi::codec::detail
