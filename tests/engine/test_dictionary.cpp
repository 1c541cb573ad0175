#include "tests/engine/test_dictionary.h"

#include <sqlite3.h>

#include <algorithm>
#include <stdlib.h>

#include "codec/codec_vfs.h"
#include "engine/phonetic_dictionary.h"

namespace fs = std::filesystem;

namespace quorvi::testing {

std::vector<DictionaryRow> sampleRows() {
  return {
      {"example", "i&#609;&#712;z&#593;&#720;mpl", "n. an instance<br/>a model"},
      {"exampling", "i&#609;&#712;z&#593;&#720;mpli&#331;", "v. showing by example"},
      {"cat", "k&#230;t", "n. a small furry animal"},
      {"London", "&#712;l&#652;nd&#601;n", "n. the capital of England"},
      {"about", "&#601;&#712;baut", "prep. concerning<br/>adv. around"},
      {"church", "t&#643;&#601;&#720;t&#643;", "n. a building for worship"},
      {"caf\u00e9", "&#712;k&#230;fei", "n. a small restaurant"},
      {"thought", "&#952;&#596;&#720;t", "n. an idea"},
  };
}

std::string writeDictionary(const fs::path& path, const std::vector<DictionaryRow>& rows,
                            const std::string& passphrase) {
  std::error_code ignored;
  fs::remove(path, ignored);
  codec::registerCodecVfs();
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    std::string error = "cannot create " + path.string() + ": " + sqlite3_errmsg(db);
    sqlite3_close(db);
    return error;
  }
  std::string error;
  auto fail = [&](const char* what) {
    if (error.empty()) error = std::string(what) + ": " + sqlite3_errmsg(db);
  };
  if (sqlite3_key(db, passphrase.data(), static_cast<int>(passphrase.size())) != SQLITE_OK)
    fail("key");
  const bool american = std::any_of(rows.begin(), rows.end(),
                                    [](const DictionaryRow& row) { return row.american; });
  if (error.empty() &&
      sqlite3_exec(db,
                   american ? "BEGIN; CREATE TABLE dict_word (w_id INTEGER PRIMARY KEY, "
                              "w_caption TEXT, w_phonetic TEXT, w_explain TEXT, "
                              "w_phonetic_us TEXT NOT NULL DEFAULT '', "
                              "w_us_by_machine INTEGER NOT NULL DEFAULT 0);"
                            : "BEGIN; CREATE TABLE dict_word (w_id INTEGER PRIMARY KEY, "
                              "w_caption TEXT, w_phonetic TEXT, w_explain TEXT);",
                   nullptr, nullptr, nullptr) != SQLITE_OK)
    fail("create");
  sqlite3_stmt* insert = nullptr;
  if (error.empty() &&
      sqlite3_prepare_v2(db,
                         american ? "INSERT INTO dict_word (w_caption, w_phonetic, w_explain, "
                                    "w_phonetic_us) VALUES (?,?,?,ifnull(?,''))"
                                  : "INSERT INTO dict_word (w_caption, w_phonetic, w_explain) "
                                    "VALUES (?,?,?)",
                         -1, &insert, nullptr) != SQLITE_OK)
    fail("prepare");
  for (const DictionaryRow& row : rows) {
    if (!error.empty()) break;
    const std::optional<std::string>* columns[] = {&row.caption, &row.phonetic, &row.explain,
                                                   &row.american};
    for (int i = 0; i < (american ? 4 : 3); ++i) {
      const auto& value = *columns[i];
      if (value)
        sqlite3_bind_text(insert, i + 1, value->data(), static_cast<int>(value->size()),
                          SQLITE_TRANSIENT);
      else
        sqlite3_bind_null(insert, i + 1);
    }
    if (sqlite3_step(insert) != SQLITE_DONE) fail("insert");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  if (error.empty() && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
    fail("commit");
  sqlite3_close(db);
  return error;
}

std::string layOutRuntimeFolder(const fs::path& folder, const std::vector<DictionaryRow>& rows,
                                bool withRegexp) {
  std::error_code ec;
  fs::create_directories(folder / "dict", ec);
  if (ec) return "cannot create " + (folder / "dict").string() + ": " + ec.message();
  if (std::string error = writeDictionary(folder / "dict" / "words.db", rows); !error.empty())
    return error;
  if (withRegexp) {
    fs::copy_file(regexpModulePath(), folder / "regexp.dll", fs::copy_options::overwrite_existing,
                  ec);
    if (ec) return "cannot copy the REGEXP module: " + ec.message();
  }
  // The folder stands in for the program's folder too, as build/runtime is both.
  PhoneticDictionary::setModuleFolder(folder.string());
  return {};
}

fs::path regexpModulePath() {
  return QUORVI_REGEXP_MODULE;
}

}  // namespace quorvi::testing
