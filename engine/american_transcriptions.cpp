#include "engine/american_transcriptions.h"

#include <sqlite3.h>

#include "engine/phonetic_dictionary.h"

std::vector<AmericanTranscription> americanTranscriptions(const PhoneticDictionary& dictionary,
                                                          const std::string& utf8Headword) {
  std::vector<AmericanTranscription> rows;
  if (!dictionary.isOpen()) return rows;
  // The entry's statement's condition, so the rows come in its order.
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(dictionary.connection(),
                         "SELECT w_phonetic_us, w_us_by_machine FROM dict_word WHERE w_caption=?",
                         -1, &statement, nullptr) != SQLITE_OK) {
    sqlite3_finalize(statement);
    return rows;
  }
  sqlite3_bind_text(statement, 1, utf8Headword.data(), static_cast<int>(utf8Headword.size()),
                    SQLITE_STATIC);
  while (sqlite3_step(statement) == SQLITE_ROW)
    rows.push_back(
        {QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))),
         sqlite3_column_int(statement, 1) != 0});
  sqlite3_finalize(statement);
  return rows;
}
