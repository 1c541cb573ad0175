#include "app/entry/entry_text.h"

#include <QCoreApplication>
#include <QStringList>

#include "app/common/level_names.h"
#include "engine/american_transcriptions.h"
#include "engine/phonetic_dictionary.h"

namespace {

QString tr(const char* text) {
  return QCoreApplication::translate("EntryText", text);
}

}  // namespace

QString entryForDisplay(PhoneticDictionary& dictionary, const QString& word) {
  const QStringList lines = dictionary.entryTextInAnyCase(word.toStdString());
  if (lines.isEmpty()) return {};
  // The rows found, in whichever case they were found.
  const std::vector<AmericanTranscription> american =
      americanTranscriptions(dictionary, lines.first().toStdString());
  QStringList shown;
  // Each row is three lines: headword, [British transcription], explanation. The British one
  // is labelled, the American one follows it on a line of its own, and the explanation's
  // levels line is in the interface language.
  for (qsizetype i = 0; i + 2 < lines.size(); i += 3) {
    const auto row = static_cast<std::size_t>(i / 3);
    shown << lines[i];
    if (row < american.size() && !american[row].ipa.isEmpty()) {
      shown << tr("英 %1").arg(lines[i + 1]);
      shown << (american[row].byMachine ? tr("美 [%1]（机器标音）") : tr("美 [%1]"))
                   .arg(american[row].ipa);
    } else {
      shown << lines[i + 1];
    }
    QStringList explanation = lines[i + 2].split(QLatin1Char('\n'));
    for (QString& line : explanation) line = levelsLineForDisplay(line);
    shown << explanation.join(QLatin1Char('\n'));
  }
  return shown.join(QLatin1Char('\n'));
}
