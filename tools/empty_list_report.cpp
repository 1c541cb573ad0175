#include "tools/empty_list_report.h"

#include <cstdio>
#include <string>

#include "engine/unicode_text.h"
#include "tools/lookup_commands.h"

namespace quorvi::tools {
namespace {

// The character and its code point, as in: "ʊ" (U+028A).
void printCharacter(char32_t c) {
  std::string text;
  quorvi::engine::appendUtf8(text, c);
  std::fprintf(stderr, "\"%s\" (U+%04X)", text.c_str(), static_cast<unsigned>(c));
}

int reportReason(const SearchOutcome& outcome, bool spelling) {
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
    case EmptyListReason::NoDictionary: {
      std::fprintf(stderr, "quorvi-dict: %s\n",
                   describeDictionaryFile(outcome.dictionaryFile, outcome.folder).c_str());
      return kExitNoDictionary;
    }
    case EmptyListReason::QueryFailed:
      std::fprintf(stderr, "quorvi-dict: the query stopped: %s\n", outcome.message.c_str());
      return kExitQueryFailed;
  }
  return kExitQueryFailed;
}

}  // namespace

std::string describeDictionaryFile(DictionaryFileState state, const std::string& folder) {
  switch (state) {
    case DictionaryFileState::Missing:
      return "dictionary not found in " + folder;
    case DictionaryFileState::LinkLoop:
      return "cannot open the dictionary words.db in " + folder +
             ": its symbolic links lead round in a loop";
    case DictionaryFileState::NoAccess:
      return "cannot open the dictionary words.db in " + folder +
             ": permission denied (the file, or a folder on the way to it, may not be read)";
    case DictionaryFileState::NotAFile:
      return "cannot open the dictionary words.db in " + folder + ": it is not a regular file";
    case DictionaryFileState::Present:
      break;
  }
  return "cannot read the dictionary words.db in " + folder +
         ": not a dictionary this program can read";
}

int reportOutcome(const SearchOutcome& outcome, bool spelling) {
  const int code = reportReason(outcome, spelling);
  if (!outcome.incomplete) return code;
  std::fprintf(stderr,
               "quorvi-dict: the search is incomplete: the search rows could not be read, so "
               "the list holds the plain matches in the table's order, without near-sound "
               "matches\n");
  return code == kExitOk ? kExitIncomplete : code;
}

}  // namespace quorvi::tools
