// Search by spelling and search by sound. The variable text is always a bound parameter.
#include <sqlite3.h>

#include "engine/dictionary_engine.h"

namespace {

const char kCaptionSqlCapped[] =
    "SELECT w_caption FROM dict_word WHERE w_caption REGEXP ? LIMIT 100;";
const char kCaptionSqlAll[] = "SELECT w_caption FROM dict_word WHERE w_caption REGEXP ?";
const char kPhoneticSqlCapped[] =
    "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ? LIMIT 100;";
const char kPhoneticSqlAll[] = "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ?;";

// Read up to the first zero byte, as every column is: a NULL headword is an empty one.
void appendHeadword(void* sink, sqlite3_stmt* row) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, 0));
  static_cast<std::vector<std::string>*>(sink)->emplace_back(text == nullptr ? "" : text);
}

}  // namespace

const char* DictionaryEngine::spellingSql(int limitMode) {
  return limitMode == 0 ? kCaptionSqlCapped : kCaptionSqlAll;
}

const char* DictionaryEngine::soundSql(int limitMode) {
  return limitMode == 0 ? kPhoneticSqlCapped : kPhoneticSqlAll;
}

std::vector<std::string> DictionaryEngine::headwordsBySpelling(const std::string& utf8Pattern,
                                                               int limitMode) {
  std::vector<std::string> found;
  runQuery(spellingSql(limitMode), utf8Pattern, &found, appendHeadword);
  return found;
}

std::vector<std::string> DictionaryEngine::headwordsBySound(const std::u16string& typed,
                                                            int limitMode) {
  std::vector<std::string> found;
  if (!startQuery() || !checkPhonetic(typed)) return found;
  runQuery(soundSql(limitMode), buildPhoneticPattern(typed), &found, appendHeadword);
  return found;
}
