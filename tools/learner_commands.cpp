#include "tools/learner_commands.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/phonetic_dictionary.h"
#include "learner/data_folder.h"
#include "learner/dictionary_facts.h"
#include "learner/headword_spellings.h"
#include "learner/history.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"
#include "learner/text_decoding.h"
#include "learner/word_export.h"
#include "learner/word_import.h"
#include "tools/command_outcome.h"
#include "tools/lookup_commands.h"

namespace fs = std::filesystem;
using namespace quorvi::learner;

namespace quorvi::tools {
namespace {

fs::path gFileFolder;

fs::path fileArgument(const char* argument) {
  const fs::path path(argument);
  if (path == kStandardOutput) return path;
  return path.is_absolute() || gFileFolder.empty() ? path : gFileFolder / path;
}

enum class Access { kRead, kWrite };

// The store, or null after saying why it cannot be used. What the learner should know of it
// (a damaged file set aside, changes that cannot be saved) is said once on stderr; a store
// that can only be read serves reading commands.
std::unique_ptr<LearnerStore> openStore(Access access) {
  auto store = std::make_unique<LearnerStore>(learnerDatabasePath());
  if (!store->isOpen() || (access == Access::kWrite && store->isReadOnly())) {
    if (!store->setAsideFile().empty())
      std::fprintf(stderr, "quorvi-dict: %s\n", store->notice().c_str());
    std::fprintf(stderr, "quorvi-dict: %s\n", store->error().c_str());
    return nullptr;
  }
  if (!store->notice().empty()) std::fprintf(stderr, "quorvi-dict: %s\n", store->notice().c_str());
  return store;
}

// Every headword, for checking words in any letter case; null after saying why not.
std::unique_ptr<HeadwordSpellings> readHeadwords(PhoneticDictionary& dictionary) {
  std::string error;
  auto spellings = std::make_unique<HeadwordSpellings>(dictionary.connection(), error);
  if (error.empty()) return spellings;
  std::fprintf(stderr, "quorvi-dict: cannot read the dictionary's headwords: %s\n", error.c_str());
  return nullptr;
}

int dataError(const std::string& error) {
  std::fprintf(stderr, "quorvi-dict: %s\n", error.c_str());
  return kExitLearnerData;
}

bool dictionaryOpen(PhoneticDictionary& dictionary) {
  if (dictionary.isOpen()) return true;
  std::fprintf(stderr, "quorvi-dict: cannot open the dictionary ./dict/words.db\n");
  return false;
}

int listWords() {
  auto store = openStore(Access::kRead);
  if (!store) return kExitLearnerData;
  std::string error;
  const std::vector<SavedWord> words = savedWords(*store, error);
  if (!error.empty()) return dataError(error);
  for (const SavedWord& word : words)
    std::printf("%s\t%s\t%lld\n", word.word.c_str(), utcTimeText(word.added).c_str(), word.lookups);
  return kExitOk;
}

int addOrRemove(bool add, const char* word) {
  if (add) {
    PhoneticDictionary dictionary;
    if (!dictionaryOpen(dictionary)) return kExitNoDictionary;
    const std::unique_ptr<HeadwordSpellings> headwords = readHeadwords(dictionary);
    if (!headwords) return kExitQueryFailed;
    const std::optional<std::string> headword = headwords->spellingOf(word);
    if (!headword) {
      const std::string close = headwords->closeSpelling(word);
      std::fprintf(stderr, "quorvi-dict: \"%s\" is no headword of the dictionary%s\n",
                   printableText(word).c_str(),
                   close.empty() ? "" : (" (close: " + close + ")").c_str());
      return kExitBadInput;
    }
    auto store = openStore(Access::kWrite);
    if (!store) return kExitLearnerData;
    bool added = false;
    if (const std::string error = addWord(*store, *headword, &added); !error.empty())
      return dataError(error);
    std::printf(added ? "added %s\n" : "%s is already in my words\n", headword->c_str());
    return kExitOk;
  }
  auto store = openStore(Access::kWrite);
  if (!store) return kExitLearnerData;
  bool removed = false;
  if (const std::string error = removeWord(*store, word, &removed); !error.empty())
    return dataError(error);
  std::printf(removed ? "removed %s\n" : "%s is not in my words\n", printableText(word).c_str());
  return kExitOk;
}

int exportTo(const char* file, bool csv) {
  auto store = openStore(Access::kRead);
  if (!store) return kExitLearnerData;
  // Without the dictionary the words still go out, without what it says of them.
  PhoneticDictionary dictionary;
  FactsLookup facts;
  if (dictionary.isOpen())
    facts = factsLookup(dictionary);
  else
    std::fprintf(stderr,
                 "quorvi-dict: the dictionary ./dict/words.db cannot be opened: the words are "
                 "exported without transcription, Chinese or sense\n");
  size_t count = 0;
  const fs::path path = fileArgument(file);
  const std::string error =
      exportWords(*store, facts, csv ? ExportFormat::kCsv : ExportFormat::kAnki, path, &count);
  if (!error.empty()) return dataError(error);
  // Standard output holds the words: the count goes to the messages.
  if (path == kStandardOutput)
    std::fprintf(stderr, "quorvi-dict: exported %zu word%s\n", count, count == 1 ? "" : "s");
  else
    std::printf("exported %zu word%s to %s\n", count, count == 1 ? "" : "s",
                printableText(path.string()).c_str());
  return kExitOk;
}

int importFrom(const char* file) {
  PhoneticDictionary dictionary;
  if (!dictionaryOpen(dictionary)) return kExitNoDictionary;
  const fs::path path = fileArgument(file);
  std::error_code failure;
  if (!fs::exists(path, failure)) {
    std::fprintf(stderr, "quorvi-dict: cannot read %s: no such file\n",
                 printableText(path.string()).c_str());
    return kExitBadInput;
  }
  auto store = openStore(Access::kWrite);
  if (!store) return kExitLearnerData;
  const std::unique_ptr<HeadwordSpellings> headwords = readHeadwords(dictionary);
  if (!headwords) return kExitQueryFailed;
  ImportOptions options;
  options.headwords = headwords.get();
  ImportReport report;
  const std::string error = importFile(*store, path, options, report);
  if (!error.empty()) {
    // A file it cannot read or parse is bad input; the store's failure is the data's.
    std::fprintf(stderr, "quorvi-dict: %s\n", printableText(error).c_str());
    return error.starts_with("cannot use the learner's data") ? kExitLearnerData : kExitBadInput;
  }
  std::printf("added %zu, already in my words %zu, not in the dictionary %zu\n",
              report.added.size(), report.alreadyThere, report.unknownCount);
  for (const UnknownWord& unknown : report.unknown) {
    std::printf("not in the dictionary: %s", printableText(unknown.written).c_str());
    if (!unknown.closeSpelling.empty()) std::printf(" (close: %s)", unknown.closeSpelling.c_str());
    std::printf("\n");
  }
  if (report.unknownCount > report.unknown.size())
    std::printf("and %zu more not in the dictionary\n",
                report.unknownCount - report.unknown.size());
  return kExitOk;
}

}  // namespace

void setFileFolder(const fs::path& folder) {
  gFileFolder = folder;
}

int runHistoryCommand(int argc, char** argv) {
  size_t limit = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--limit" && i + 1 < argc) {
      char* end = nullptr;
      const long long value = std::strtoll(argv[++i], &end, 10);
      if (end == argv[i] || *end != '\0' || value <= 0)
        return usageError("history", "--limit needs a positive number");
      limit = static_cast<size_t>(value);
    } else {
      return usageError("history", ("unexpected argument " + std::string(arg)).c_str());
    }
  }
  auto store = openStore(Access::kRead);
  if (!store) return kExitLearnerData;
  std::string error;
  const std::vector<HistoryItem> items = history(*store, limit, error);
  if (!error.empty()) return dataError(error);
  for (const HistoryItem& item : items)
    std::printf("%s\t%s\t%lld\n", item.word.c_str(), utcTimeText(item.lastOpened).c_str(),
                item.count);
  return kExitOk;
}

int runWordsCommand(int argc, char** argv) {
  const std::string_view action = argc > 1 ? argv[1] : "list";
  if (action == "list") {
    if (argc > 2) return usageError("words list", "takes no arguments");
    return listWords();
  }
  if (action == "add" || action == "remove") {
    if (argc != 3 || argv[2][0] == '\0')
      return usageError("words", "add and remove take exactly one WORD");
    return addOrRemove(action == "add", argv[2]);
  }
  if (action == "export") {
    const char* file = nullptr;
    bool csv = false;
    for (int i = 2; i < argc; ++i) {
      if (std::string_view(argv[i]) == "--csv")
        csv = true;
      else if (file == nullptr)
        file = argv[i];
      else
        return usageError("words export", "give exactly one FILE");
    }
    if (file == nullptr) return usageError("words export", "FILE is missing");
    return exportTo(file, csv);
  }
  if (action == "import") {
    if (argc != 3) return usageError("words import", "give exactly one FILE");
    return importFrom(argv[2]);
  }
  return usageError("words", ("unknown action " + std::string(action)).c_str());
}

}  // namespace quorvi::tools
