#include "app/entry/entry_text.h"

#include <QStringList>

#include "app/common/level_names.h"
#include "engine/phonetic_dictionary.h"

QString entryForDisplay(PhoneticDictionary& dictionary, const QString& word) {
  QStringList lines = dictionary.entryTextInAnyCase(word.toStdString());
  // The explanation (every third line from the third) holds the levels line.
  for (qsizetype i = 2; i < lines.size(); i += 3) {
    QStringList explanation = lines[i].split(QLatin1Char('\n'));
    for (QString& line : explanation) line = levelsLineForDisplay(line);
    lines[i] = explanation.join(QLatin1Char('\n'));
  }
  return lines.join(QLatin1Char('\n'));
}
