// A learner's word list of arbitrary bytes: decoding and reading it never fails unsafely;
// whatever it reads is UTF-8 text, every word it gives is text without a line break, and what
// printableText makes of any word holds no control character.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "learner/delimited_text.h"
#include "learner/text_decoding.h"
#include "learner/word_import.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& text) {
  std::fprintf(stderr, "%s: \"%s\"\n", what, quorvi::learner::printableText(text).c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvi::learner;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string why;
  const std::optional<std::string> text = decodeText(bytes, why);
  if (!text) {
    if (why.empty()) fail("refused without a reason", std::string(bytes));
    return 0;
  }
  if (text->find('\r') != std::string::npos) fail("a carriage return kept", *text);
  forEachListEntry(*text, [](const ListEntry& entry, std::size_t) {
    for (int i = 0; i < entry.count; ++i) {
      const std::string shown = printableText(entry.candidates[i]);
      for (const char c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) fail("a control character shown", shown);
    }
    return true;
  });
  // A spreadsheet's apostrophe is taken off exactly as it is put on.
  const std::string cell(bytes.substr(0, 64));
  if (spreadsheetText(inertInSpreadsheet(cell)) != cell) fail("apostrophe round trip", cell);
  return 0;
}
