#include "tools/command_outcome.h"

#include <cstdio>
#include <string>

#include "engine/dictionary_engine.h"
#include "engine/search_outcome.h"
#include "tools/empty_list_report.h"
#include "tools/lookup_commands.h"

namespace quorvi::tools {

void logToStderr(const char* line) {
  std::fprintf(stderr, "%s\n", line);
}

int usageError(const char* command, const char* message) {
  std::fprintf(stderr, "quorvi-dict %s: %s (see quorvi-dict --help)\n", command, message);
  return kExitUsage;
}

int notATranscription(const char* text) {
  std::fprintf(stderr, "quorvi-dict: \"%s\" is not a transcription it can read\n", text);
  return kExitBadInput;
}

bool dictionaryOpen(const DictionaryEngine& dictionary) {
  if (dictionary.isOpen()) return true;
  const SearchOutcome outcome = dictionaryNotOpen();
  std::fprintf(stderr, "quorvi-dict: cannot open the dictionary ./dict/words.db: %s\n",
               describeDictionaryFile(outcome.dictionaryFile, outcome.folder).c_str());
  return false;
}

int queryOutcome(const DictionaryEngine& dictionary) {
  const std::string& error = dictionary.lastError();
  if (error.empty()) return kExitOk;
  std::fprintf(stderr, "quorvi-dict: the query stopped: %s\n", error.c_str());
  return error.starts_with("regexp: ") ? kExitBadInput : kExitQueryFailed;
}

}  // namespace quorvi::tools
