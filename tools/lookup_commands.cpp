#include "tools/lookup_commands.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include <vector>

#include "engine/dictionary_engine.h"
#include "engine/learner_search.h"
#include "engine/unicode_text.h"
#include "tools/command_outcome.h"
#include "tools/empty_list_report.h"

namespace quorvi::tools {
namespace {

// Headwords are printed as the toolkit would write them back: a byte sequence that is no
// UTF-8 character as U+FFFD.
void printLine(std::string_view prefix, const std::string& line) {
  const std::string utf8 = quorvi::engine::utf8FromUtf16(quorvi::engine::utf16FromUtf8(line));
  if (!prefix.empty()) std::fwrite(prefix.data(), 1, prefix.size(), stdout);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fputc('\n', stdout);
}

void printLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) printLine({}, line);
  std::fflush(stdout);
}

std::u16string typedText(const char* argument) {
  return quorvi::engine::utf16FromUtf8(argument);
}

struct SearchOptions {
  bool all = false;
  bool spelling = false;
  bool exact = false;
  const char* text = nullptr;
};

int readSearchOptions(int argc, char** argv, SearchOptions& options) {
  bool optionsDone = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (!optionsDone && arg == "--all") {
      options.all = true;
    } else if (!optionsDone && arg == "--spelling") {
      options.spelling = true;
    } else if (!optionsDone && arg == "--exact") {
      options.exact = true;
    } else if (!optionsDone && arg == "--") {
      optionsDone = true;
    } else if (!optionsDone && arg.size() > 1 && arg[0] == '-') {
      return usageError("search", ("unknown option " + std::string(arg)).c_str());
    } else if (options.text == nullptr) {
      options.text = argv[i];
    } else {
      return usageError("search", "give exactly one TEXT");
    }
  }
  if (options.text == nullptr) return usageError("search", "TEXT is missing");
  return kExitOk;
}

// The window's list: near-sound rows start with "~ ".
void printOutcome(const SearchOutcome& outcome) {
  for (HeadwordList::Index i = 0; i < outcome.words.size(); ++i)
    printLine(outcome.isNearSound(i) ? "~ " : "", outcome.words[i]);
  std::fflush(stdout);
}

}  // namespace

int runSearchCommand(int argc, char** argv) {
  SearchOptions options;
  if (const int usage = readSearchOptions(argc, argv, options); usage != kExitOk) return usage;
  const int limitMode = options.all ? 1 : 0;
  if (!options.exact) {
    DictionaryEngine dictionary(logToStderr);
    LearnerSearch search(dictionary);
    const SearchOutcome outcome = options.spelling
                                      ? search.bySpelling(options.text, limitMode)
                                      : search.bySound(typedText(options.text), limitMode);
    printOutcome(outcome);
    return reportOutcome(outcome, options.spelling);
  }
  if (options.spelling) {
    DictionaryEngine dictionary(logToStderr);
    if (!dictionaryOpen(dictionary)) return kExitNoDictionary;
    printLines(dictionary.headwordsBySpelling(options.text, limitMode));
    return queryOutcome(dictionary);
  }
  const std::u16string typed = typedText(options.text);
  if (!DictionaryEngine::checkPhonetic(typed)) return notATranscription(options.text);
  DictionaryEngine dictionary(logToStderr);
  if (!dictionaryOpen(dictionary)) return kExitNoDictionary;
  printLines(dictionary.headwordsBySound(typed, limitMode));
  return queryOutcome(dictionary);
}

int runPatternCommand(int argc, char** argv) {
  if (argc != 2) return usageError("pattern", "give exactly one TEXT");
  const std::u16string typed = typedText(argv[1]);
  if (!DictionaryEngine::checkPhonetic(typed)) return notATranscription(argv[1]);
  const std::string pattern = DictionaryEngine::buildPhoneticPattern(typed);
  std::printf("%s\n", pattern.c_str());
  return kExitOk;
}

}  // namespace quorvi::tools
