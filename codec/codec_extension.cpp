// Loadable-extension entry points: loading the module makes the codec shim the default VFS of
// the process, so that databases opened afterwards (for instance with "file:x.db?key=...")
// are read and written encrypted. The module stays loaded for the life of the process.
#include <sqlite3.h>

#include "codec/codec_vfs.h"

namespace {

int loadCodec(char** errorMessage) {
  int rc = quorvi::codec::registerCodecVfs();
  if (rc != SQLITE_OK) {
    if (errorMessage != nullptr) *errorMessage = sqlite3_mprintf("cannot register the codec VFS");
    return rc;
  }
  return SQLITE_OK_LOAD_PERMANENTLY;
}

}  // namespace

// The generic entry point, and the one SQLite derives from the file name "quorvi-codec".
extern "C" __attribute__((visibility("default"))) int sqlite3_extension_init(sqlite3*,
                                                                             char** errorMessage,
                                                                             const void*) {
  return loadCodec(errorMessage);
}

extern "C" __attribute__((visibility("default"))) int sqlite3_quorvicodec_init(sqlite3*,
                                                                               char** errorMessage,
                                                                               const void*) {
  return loadCodec(errorMessage);
}
