#include "tools/lookup_commands.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include <QString>
#include <QStringList>

#include "engine/american_transcriptions.h"
#include "engine/learner_search.h"
#include "engine/phonetic_dictionary.h"
#include "tools/empty_list_report.h"

namespace quorvi::tools {
namespace {

void printLine(const QString& line) {
  const QByteArray utf8 = line.toUtf8();
  std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stdout);
  std::fputc('\n', stdout);
}

void printLines(const QStringList& lines) {
  for (const QString& line : lines) printLine(line);
  std::fflush(stdout);
}

std::u16string typedText(const char* argument) {
  return QString::fromUtf8(argument).toStdU16String();
}

int usageError(const char* command, const char* message) {
  std::fprintf(stderr, "quorvi-dict %s: %s (see quorvi-dict --help)\n", command, message);
  return kExitUsage;
}

int notATranscription(const char* text) {
  std::fprintf(stderr, "quorvi-dict: \"%s\" is not a transcription it can read\n", text);
  return kExitBadInput;
}

// Reports an engine that failed to open, and why; the engine has already logged its own line.
bool dictionaryOpen(const PhoneticDictionary& dictionary) {
  if (dictionary.isOpen()) return true;
  const SearchOutcome outcome = dictionaryNotOpen();
  std::fprintf(
      stderr, "quorvi-dict: cannot open the dictionary ./dict/words.db: %s\n",
      describeDictionaryFile(outcome.dictionaryFile, outcome.folder.toStdString()).c_str());
  return false;
}

// Exit code after a query: the rows found are printed already.
int queryOutcome(const PhoneticDictionary& dictionary) {
  const std::string& error = dictionary.lastError();
  if (error.empty()) return kExitOk;
  std::fprintf(stderr, "quorvi-dict: the query stopped: %s\n", error.c_str());
  return error.starts_with("regexp: ") ? kExitBadInput : kExitQueryFailed;
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
  for (qsizetype i = 0; i < outcome.words.size(); ++i)
    printLine(outcome.isNearSound(i) ? QStringLiteral("~ ") + outcome.words[i] : outcome.words[i]);
  std::fflush(stdout);
}

}  // namespace

int runSearchCommand(int argc, char** argv) {
  SearchOptions options;
  if (const int usage = readSearchOptions(argc, argv, options); usage != kExitOk) return usage;
  const int limitMode = options.all ? 1 : 0;
  if (!options.exact) {
    PhoneticDictionary dictionary;
    LearnerSearch search(dictionary);
    const SearchOutcome outcome = options.spelling
                                      ? search.bySpelling(options.text, limitMode)
                                      : search.bySound(QString::fromUtf8(options.text), limitMode);
    printOutcome(outcome);
    return reportOutcome(outcome, options.spelling);
  }
  if (options.spelling) {
    PhoneticDictionary dictionary;
    if (!dictionaryOpen(dictionary)) return kExitNoDictionary;
    dictionary.searchByCaption(options.text, limitMode);
    printLines(dictionary.getResults());
    return queryOutcome(dictionary);
  }
  const std::u16string typed = typedText(options.text);
  if (!PhoneticDictionary::checkPhonetic(typed)) return notATranscription(options.text);
  PhoneticDictionary dictionary;
  if (!dictionaryOpen(dictionary)) return kExitNoDictionary;
  dictionary.searchByPhonetic(typed, limitMode);
  printLines(dictionary.getResults());
  return queryOutcome(dictionary);
}

int runEntryCommand(int argc, char** argv) {
  if (argc != 2) return usageError("entry", "give exactly one WORD");
  PhoneticDictionary dictionary;
  if (!dictionaryOpen(dictionary)) return kExitNoDictionary;
  // The engine's three lines a row, each row followed by its American transcription on a
  // line of its own: a reader of the first lines finds them where they always were.
  const QStringList lines = dictionary.entryTextInAnyCase(argv[1]);
  if (lines.isEmpty() && dictionary.lastError().empty()) {
    std::fprintf(stderr, "quorvi-dict entry: no entry for \"%s\"\n", argv[1]);
    return kExitNoEntry;
  }
  const std::vector<AmericanTranscription> american =
      lines.isEmpty() ? std::vector<AmericanTranscription>()
                      : americanTranscriptions(dictionary, lines.first().toStdString());
  for (qsizetype i = 0; i < lines.size(); ++i) {
    printLine(lines[i]);
    const auto row = static_cast<std::size_t>(i / 3);
    if (i % 3 == 2 && row < american.size() && !american[row].ipa.isEmpty())
      printLine(QStringLiteral("US [") + american[row].ipa +
                (american[row].byMachine ? QStringLiteral("] (machine-made)") : QStringLiteral("]")));
  }
  std::fflush(stdout);
  return queryOutcome(dictionary);
}

int runPatternCommand(int argc, char** argv) {
  if (argc != 2) return usageError("pattern", "give exactly one TEXT");
  const std::u16string typed = typedText(argv[1]);
  if (!PhoneticDictionary::checkPhonetic(typed)) return notATranscription(argv[1]);
  const std::string pattern = PhoneticDictionary::buildPhoneticPattern(typed);
  std::printf("%s\n", pattern.c_str());
  return kExitOk;
}

}  // namespace quorvi::tools
