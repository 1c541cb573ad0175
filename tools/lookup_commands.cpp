#include "tools/lookup_commands.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include <QString>
#include <QStringList>

#include "engine/phonetic_dictionary.h"

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

// Reports an engine that failed to open; the engine has already logged its own line.
bool dictionaryOpen(const PhoneticDictionary& dictionary) {
  if (dictionary.isOpen()) return true;
  std::fprintf(stderr,
               "quorvi-dict: cannot open the dictionary ./dict/words.db (missing, or not a "
               "dictionary this program can read)\n");
  return false;
}

// Exit code after a query: the rows found are printed already.
int queryOutcome(const PhoneticDictionary& dictionary) {
  const std::string& error = dictionary.lastError();
  if (error.empty()) return kExitOk;
  std::fprintf(stderr, "quorvi-dict: the query stopped: %s\n", error.c_str());
  return error.starts_with("regexp: ") ? kExitBadInput : kExitQueryFailed;
}

}  // namespace

int runSearchCommand(int argc, char** argv) {
  bool all = false;
  bool spelling = false;
  const char* text = nullptr;
  bool optionsDone = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (!optionsDone && arg == "--all") {
      all = true;
    } else if (!optionsDone && arg == "--spelling") {
      spelling = true;
    } else if (!optionsDone && arg == "--") {
      optionsDone = true;
    } else if (!optionsDone && arg.size() > 1 && arg[0] == '-') {
      return usageError("search", ("unknown option " + std::string(arg)).c_str());
    } else if (text == nullptr) {
      text = argv[i];
    } else {
      return usageError("search", "give exactly one TEXT");
    }
  }
  if (text == nullptr) return usageError("search", "TEXT is missing");
  const int limitMode = all ? 1 : 0;

  if (spelling) {
    PhoneticDictionary dictionary;
    if (!dictionaryOpen(dictionary)) return kExitNoDictionary;
    dictionary.searchByCaption(text, limitMode);
    printLines(dictionary.getResults());
    return queryOutcome(dictionary);
  }

  const std::u16string typed = typedText(text);
  PhoneticDictionary::assignSymbolMap();
  if (!PhoneticDictionary::checkPhonetic(typed)) return notATranscription(text);
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
  printLines(dictionary.entryText(argv[1]));
  return queryOutcome(dictionary);
}

int runPatternCommand(int argc, char** argv) {
  if (argc != 2) return usageError("pattern", "give exactly one TEXT");
  const std::u16string typed = typedText(argv[1]);
  PhoneticDictionary::assignSymbolMap();
  if (!PhoneticDictionary::checkPhonetic(typed)) return notATranscription(argv[1]);
  const std::string pattern = PhoneticDictionary::buildPhoneticPattern(typed);
  std::printf("%s\n", pattern.c_str());
  return kExitOk;
}

}  // namespace quorvi::tools
