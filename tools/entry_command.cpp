#include "tools/entry_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "engine/american_transcriptions.h"
#include "engine/phonetic_dictionary.h"
#include "tools/command_outcome.h"
#include "tools/lookup_commands.h"

namespace quorvi::tools {
namespace {

void printLine(const QString& line) {
  const QByteArray utf8 = line.toUtf8();
  std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stdout);
  std::fputc('\n', stdout);
}

}  // namespace

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
      printLine(
          QStringLiteral("US [") + american[row].ipa +
          (american[row].byMachine ? QStringLiteral("] (machine-made)") : QStringLiteral("]")));
  }
  std::fflush(stdout);
  return queryOutcome(dictionary);
}

}  // namespace quorvi::tools
