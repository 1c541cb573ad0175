// The full entry of one headword: headword, transcription in brackets, explanation.
#include <sqlite3.h>

#include "engine/phonetic_dictionary.h"

namespace {

const char kEntrySql[] = "SELECT w_caption, w_phonetic, w_explain FROM dict_word WHERE w_caption=?";

struct Reference {
  const char* text;
  char16_t symbol;
};

// The references of the stored notation, in the order they are replaced.
constexpr Reference kReferences[] = {
    {"&#230;", u'\u00E6'}, {"&#240;", u'\u00F0'}, {"&#331;", u'\u014B'}, {"&#593;", u'\u0251'},
    {"&#596;", u'\u0254'}, {"&#601;", u'\u0259'}, {"&#603;", u'\u025B'}, {"&#609;", u'\u0261'},
    {"&#618;", u'\u026A'}, {"&#643;", u'\u0283'}, {"&#652;", u'\u028C'}, {"&#658;", u'\u0292'},
    {"&#712;", u'\u02C8'}, {"&#716;", u'\u02CC'}, {"&#720;", u'\u02D0'}, {"&#952;", u'\u03B8'},
};

QString columnText(sqlite3_stmt* row, int column) {
  return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, column)), -1);
}

void appendEntryLines(QStringList& results, sqlite3_stmt* row) {
  QString explanation = columnText(row, 2);
  explanation.replace(QStringLiteral("<br/>"), QStringLiteral("\n"));
  const QString transcription =
      QStringLiteral("[") +
      QString::fromStdU16String(PhoneticDictionary::decodePhoneticEntities(columnText(row, 1))) +
      QStringLiteral("]");
  results.append(columnText(row, 0));
  results.append(transcription);
  results.append(explanation);
}

}  // namespace

std::u16string PhoneticDictionary::decodePhoneticEntities(const QString& stored) {
  if (!stored.contains(QStringLiteral("&#"))) return stored.toStdU16String();
  QString text = stored;
  for (const Reference& ref : kReferences) {
    const QString reference = QString::fromLatin1(ref.text);
    if (text.contains(reference)) text.replace(reference, QString(QChar(ref.symbol)));
  }
  return text.toStdU16String();
}

const QStringList& PhoneticDictionary::entryText(const std::string& utf8Headword) {
  runQuery(kEntrySql, utf8Headword, appendEntryLines);
  return results;
}
