#include "tools/empty_list_report.h"

#include <cstdio>

#include "tools/lookup_commands.h"

namespace quorvi::tools {
namespace {

// The character and its code point, as in: "ʊ" (U+028A).
void printCharacter(char32_t c) {
  const QByteArray text = QString::fromUcs4(&c, 1).toUtf8();
  std::fprintf(stderr, "\"%s\" (U+%04X)", text.constData(), static_cast<unsigned>(c));
}

}  // namespace

int reportOutcome(const SearchOutcome& outcome, bool spelling) {
  switch (outcome.reason) {
    case EmptyListReason::None:
      return kExitOk;
    case EmptyListReason::NoMatch:
      std::fprintf(stderr, "quorvi-dict: %s\n",
                   spelling ? "no word is spelt like this" : "no word holds these sounds");
      return kExitOk;
    case EmptyListReason::NothingTyped:
      std::fprintf(stderr, "quorvi-dict: nothing to search for\n");
      return kExitBadInput;
    case EmptyListReason::UnreadableText:
      std::fprintf(stderr, "quorvi-dict: not a transcription it can read: character %d, ",
                   outcome.position);
      printCharacter(outcome.character);
      std::fprintf(stderr, ", is no phonetic symbol\n");
      return kExitBadInput;
    case EmptyListReason::BadPattern:
      std::fprintf(stderr, "quorvi-dict: the query stopped: regexp: %s\n", outcome.message.c_str());
      return kExitBadInput;
    case EmptyListReason::NoDictionary:
      std::fprintf(stderr, "quorvi-dict: %s %s\n",
                   outcome.dictionaryFileExists ? "cannot read the dictionary words.db in"
                                                : "dictionary not found in",
                   outcome.folder.toUtf8().constData());
      return kExitNoDictionary;
    case EmptyListReason::QueryFailed:
      std::fprintf(stderr, "quorvi-dict: the query stopped: %s\n", outcome.message.c_str());
      return kExitQueryFailed;
  }
  return kExitQueryFailed;
}

}  // namespace quorvi::tools
