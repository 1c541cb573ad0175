// Search by spelling and search by sound. The variable text is always a bound parameter.
#include <sqlite3.h>

#include "engine/phonetic_dictionary.h"

namespace {

const char kCaptionSqlCapped[] =
    "SELECT w_caption FROM dict_word WHERE w_caption REGEXP ? LIMIT 100;";
const char kCaptionSqlAll[] = "SELECT w_caption FROM dict_word WHERE w_caption REGEXP ?";
const char kPhoneticSqlCapped[] =
    "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ? LIMIT 100;";
const char kPhoneticSqlAll[] = "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ?;";

void appendHeadword(QStringList& results, sqlite3_stmt* row) {
  results.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, 0)), -1));
}

}  // namespace

void PhoneticDictionary::searchByCaption(const std::string& utf8Pattern, int limitMode) {
  runQuery(limitMode == 0 ? kCaptionSqlCapped : kCaptionSqlAll, utf8Pattern, appendHeadword);
}

void PhoneticDictionary::searchByPhonetic(const std::u16string& typed, int limitMode) {
  results.clear();
  lastError_.clear();
  if (!isOpen_) return;
  if (!checkPhonetic(typed)) return;
  runQuery(limitMode == 0 ? kPhoneticSqlCapped : kPhoneticSqlAll, buildPhoneticPattern(typed),
           appendHeadword);
}
