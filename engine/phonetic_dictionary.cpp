// The engine's searches and entries in the toolkit's list; the full entry of one headword:
// headword, transcription in brackets, explanation.
#include "engine/phonetic_dictionary.h"

#include <sqlite3.h>

#include <QDebug>
#include <string_view>

namespace {

const char kEntrySql[] = "SELECT w_caption, w_phonetic, w_explain FROM dict_word WHERE w_caption=?";

// The references of the stored notation and their symbols. A symbol is never part of a
// reference, so replacing them all in one pass gives what replacing one after another gives.
struct Reference {
  int number;
  char16_t symbol;
};

constexpr Reference kReferences[] = {
    {230, u'\u00E6'}, {240, u'\u00F0'}, {331, u'\u014B'}, {593, u'\u0251'},
    {596, u'\u0254'}, {601, u'\u0259'}, {603, u'\u025B'}, {609, u'\u0261'},
    {618, u'\u026A'}, {643, u'\u0283'}, {652, u'\u028C'}, {658, u'\u0292'},
    {712, u'\u02C8'}, {716, u'\u02CC'}, {720, u'\u02D0'}, {952, u'\u03B8'},
};

// The symbol of "&#ddd;" at the start of `text` (three digits exactly), or 0.
char16_t referenceAt(std::u16string_view text) {
  if (text.size() < 6 || text[0] != u'&' || text[1] != u'#' || text[5] != u';') return 0;
  int number = 0;
  for (size_t i = 2; i < 5; ++i) {
    if (text[i] < u'0' || text[i] > u'9') return 0;
    number = number * 10 + (text[i] - u'0');
  }
  if (text[2] == u'0') return 0;
  for (const Reference& ref : kReferences)
    if (ref.number == number) return ref.symbol;
  return 0;
}

// The engine's lines go to the toolkit's debug output, where the window's log takes them.
void logLine(const char* line) {
  qDebug("%s", line);
}

QString columnText(sqlite3_stmt* row, int column) {
  return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, column)), -1);
}

void appendHeadword(void* sink, sqlite3_stmt* row) {
  static_cast<QStringList*>(sink)->append(columnText(row, 0));
}

void appendEntryLines(void* sink, sqlite3_stmt* row) {
  QStringList& results = *static_cast<QStringList*>(sink);
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

PhoneticDictionary::PhoneticDictionary() : DictionaryEngine(logLine) {}

void PhoneticDictionary::searchByCaption(const std::string& utf8Pattern, int limitMode) {
  results.clear();
  runQuery(spellingSql(limitMode), utf8Pattern, &results, appendHeadword);
}

void PhoneticDictionary::searchByPhonetic(const std::u16string& typed, int limitMode) {
  results.clear();
  if (!startQuery() || !checkPhonetic(typed)) return;
  runQuery(soundSql(limitMode), buildPhoneticPattern(typed), &results, appendHeadword);
}

std::u16string PhoneticDictionary::decodePhoneticEntities(const QString& stored) {
  const std::u16string_view text(reinterpret_cast<const char16_t*>(stored.utf16()),
                                 static_cast<size_t>(stored.size()));
  std::u16string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (const char16_t symbol = text[i] == u'&' ? referenceAt(text.substr(i)) : 0) {
      decoded.push_back(symbol);
      i += 6;
    } else {
      decoded.push_back(text[i++]);
    }
  }
  return decoded;
}

const QStringList& PhoneticDictionary::entryText(const std::string& utf8Headword) {
  results.clear();
  runQuery(kEntrySql, utf8Headword, &results, appendEntryLines);
  return results;
}

const QStringList& PhoneticDictionary::entryTextInAnyCase(const std::string& utf8Headword) {
  entryText(utf8Headword);
  if (!results.isEmpty() || !lastError().empty()) return results;
  // Another case only when no headword has the typed one: "peggy" finds Peggy, "CAT" cat; a
  // typed "No" stays the element. Lower case first, then capitalised, then all capitals.
  const QString typed = QString::fromStdString(utf8Headword);
  const QString lower = typed.toLower();
  const QString capitalised = lower.isEmpty() ? lower : lower.left(1).toUpper() + lower.mid(1);
  for (const QString& other : {lower, capitalised, typed.toUpper()}) {
    if (other == typed) continue;
    entryText(other.toStdString());
    if (!results.isEmpty() || !lastError().empty()) break;
  }
  return results;
}
