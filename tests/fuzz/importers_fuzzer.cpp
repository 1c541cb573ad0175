// The dictionary importers on arbitrary input: the bytes are offered as a TSV word list and as
// a CSV dictionary, each strict and lenient, and every imported transcription goes through the
// normaliser the builder uses. The input lives in an anonymous in-memory file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ecdict_importer.h"
#include "phonetic_notation.h"
#include "spelling_adjustments.h"
#include "transcription_normaliser.h"
#include "tsv_importer.h"
#include "utf8.h"

namespace db = quorvi::dictbuild;

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
  std::abort();
}

void checkEntries(const db::ImportResult& result) {
  for (const db::DictEntry& e : result.entries) {
    if (e.caption.empty() || e.caption.find_first_not_of(' ') == std::string::npos)
      fail("blank headword imported", e.caption);
    if (e.caption.size() > db::kMaxCaptionBytes) fail("over-long headword imported", e.caption);
    if (!db::isValidUtf8(e.caption)) fail("headword not UTF-8", e.caption);
    for (const std::string& line : e.explainLines)
      if (line.empty() || line.find('\n') != std::string::npos)
        fail("explanation line empty or holding a line break", line);
    if (e.transcription.empty()) continue;
    const db::NormalisedTranscription n = db::normaliseTranscription(e.transcription);
    if (n.ok() == n.symbols.empty()) fail("normaliser result and error disagree", e.transcription);
    if (!n.ok()) continue;
    const std::u16string adjusted = db::adjustForSpelling(e.caption, n.symbols);
    for (const std::u16string* symbols : {&n.symbols, &adjusted})
      for (char c : db::encodeStoredPhonetic(*symbols))
        if (static_cast<unsigned char>(c) >= 0x80)
          fail("stored notation not ASCII", e.transcription);
  }
}

using Importer = db::ImportResult (*)(const std::string&, const db::ImportOptions&,
                                      db::SkipReport&);

void importBothWays(Importer import, const std::string& path) {
  db::SkipReport strictSkips, lenientSkips;
  const db::ImportResult strict = import(path, db::ImportOptions{false}, strictSkips);
  const db::ImportResult lenient = import(path, db::ImportOptions{true}, lenientSkips);
  checkEntries(strict);
  checkEntries(lenient);
  // Leniency only skips what strict mode stops at: a clean strict import reads the same.
  if (strict.ok() && (!lenient.ok() || lenient.entries.size() != strict.entries.size() ||
                      lenientSkips.total() != strictSkips.total()))
    fail("lenient import differs from a clean strict import", lenient.error);
  if (!strict.ok() && strict.error.rfind(path, 0) != 0)
    fail("error does not name the file", strict.error);
}

int memoryFile = -1;
std::string memoryPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  memoryFile = memfd_create("import", 0);
  if (memoryFile < 0) fail("memfd_create", "");
  memoryPath = "/proc/self/fd/" + std::to_string(memoryFile);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (ftruncate(memoryFile, 0) != 0 ||
      pwrite(memoryFile, data, size, 0) != static_cast<ssize_t>(size))
    fail("cannot write the input", memoryPath);
  importBothWays(db::importTsv, memoryPath);
  importBothWays(db::importEcdict, memoryPath);
  return 0;
}
