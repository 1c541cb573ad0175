#include "dictionary_generator.h"

#include <sqlite3.h>

#include <random>
#include <set>
#include <vector>

#include "codec/codec_vfs.h"

namespace quorvi::bench {
namespace {

struct Phone {
  const char* stored;   // stored notation
  const char* spelled;  // a plausible spelling
  int weight;
};

const Phone kOnsets[] = {
    {"p", "p", 6},        {"b", "b", 6},       {"t", "t", 8},       {"d", "d", 6},
    {"k", "c", 7},        {"&#609;", "g", 4},  {"f", "f", 5},       {"v", "v", 3},
    {"s", "s", 8},        {"z", "z", 1},       {"&#952;", "th", 2}, {"&#240;", "th", 1},
    {"&#643;", "sh", 2},  {"h", "h", 4},       {"m", "m", 6},       {"n", "n", 5},
    {"l", "l", 6},        {"r", "r", 6},       {"w", "w", 3},       {"j", "y", 1},
    {"t&#643;", "ch", 2}, {"d&#658;", "j", 2}, {"tr", "tr", 2},     {"dr", "dr", 1},
    {"pr", "pr", 3},      {"st", "st", 3},     {"kl", "cl", 2},     {"bl", "bl", 2},
};
const Phone kVowels[] = {
    {"&#230;", "a", 8},
    {"e", "e", 8},
    {"&#618;", "i", 10},
    {"&#594;", "o", 5},
    {"&#652;", "u", 5},
    {"&#601;", "a", 10},
    {"i&#720;", "ee", 4},
    {"&#593;&#720;", "ar", 3},
    {"&#596;&#720;", "or", 3},
    {"u&#720;", "oo", 3},
    {"&#604;&#720;", "er", 2},
    {"ei", "ay", 4},
    {"ai", "i", 4},
    {"&#596;i", "oy", 1},
    {"&#601;u", "o", 4},
    {"au", "ow", 2},
    {"i&#601;", "ear", 1},
    {"&#603;&#601;", "air", 1},
    {"u&#601;", "ure", 1},
    {"&#650;", "oo", 2},
};
const Phone kCodas[] = {
    {"", "", 14},         {"t", "t", 8},  {"d", "d", 5},       {"n", "n", 9},   {"s", "ss", 5},
    {"z", "s", 3},        {"l", "ll", 5}, {"m", "m", 4},       {"k", "ck", 5},  {"p", "p", 3},
    {"&#331;", "ng", 3},  {"r", "r", 2},  {"nt", "nt", 3},     {"st", "st", 2}, {"&#643;", "sh", 1},
    {"&#331;k", "nk", 1}, {"ks", "x", 1}, {"&#658;", "ge", 1}, {"v", "ve", 2},  {"&#952;", "th", 1},
};

const char* kSenses[] = {
    "n. a thing that is used for a purpose",
    "v. to move or cause to move in a particular direction",
    "adj. having the quality of being easy to see or understand",
    "adv. in a way that shows care and attention",
    "n. a person who works in a particular trade or profession",
    "v. to make something happen or exist",
    "n. the state of being in a particular place or condition",
    "adj. relating to the body or to physical things",
};

template <typename T, size_t N>
const T& pick(const T (&items)[N], std::mt19937& rng) {
  int total = 0;
  for (const T& item : items) total += item.weight;
  int r = std::uniform_int_distribution<int>(0, total - 1)(rng);
  for (const T& item : items) {
    if (r < item.weight) return item;
    r -= item.weight;
  }
  return items[0];
}

int exec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

sqlite3* openForWriting(const std::filesystem::path& path, const std::string& passphrase,
                        std::string& error) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  sqlite3* db = nullptr;
  const char* vfs = nullptr;
  if (passphrase.empty())
    vfs = "unix";
  else
    quorvi::codec::registerCodecVfs();
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, vfs) !=
      SQLITE_OK) {
    error = "cannot create " + path.string();
    sqlite3_close(db);
    return nullptr;
  }
  if (!passphrase.empty()) sqlite3_key(db, passphrase.data(), static_cast<int>(passphrase.size()));
  if (exec(db,
           "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
           "CREATE TABLE dict_word (w_id INTEGER PRIMARY KEY, w_caption TEXT, w_phonetic TEXT,"
           " w_explain TEXT);") != SQLITE_OK) {
    error = std::string("cannot write ") + path.string() + ": " + sqlite3_errmsg(db);
    sqlite3_close(db);
    return nullptr;
  }
  return db;
}

std::string finish(sqlite3* db, std::string error, const std::vector<std::string>& indexes) {
  for (const std::string& sql : indexes)
    if (error.empty() && exec(db, sql.c_str()) != SQLITE_OK)
      error = std::string("cannot index: ") + sqlite3_errmsg(db);
  if (error.empty() && exec(db, "COMMIT") != SQLITE_OK)
    error = std::string("cannot commit: ") + sqlite3_errmsg(db);
  sqlite3_close(db);
  return error;
}

}  // namespace

std::string generateDictionary(const std::filesystem::path& path, int rows,
                               const std::string& passphrase) {
  std::string error;
  sqlite3* db = openForWriting(path, passphrase, error);
  if (db == nullptr) return error;
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO dict_word (w_caption, w_phonetic, w_explain) VALUES (?,?,?)",
                     -1, &insert, nullptr);
  std::mt19937 rng(20261208);
  std::set<std::string> seen;
  std::uniform_int_distribution<int> syllableCount(1, 4), senseCount(1, 4), senseIndex(0, 7);
  while (static_cast<int>(seen.size()) < rows) {
    std::string caption, phonetic;
    const int syllables = syllableCount(rng);
    const int stressed = std::uniform_int_distribution<int>(0, syllables - 1)(rng);
    for (int s = 0; s < syllables; ++s) {
      if (syllables > 1 && s == stressed) phonetic += "&#712;";
      const Phone& onset = pick(kOnsets, rng);
      const Phone& vowel = pick(kVowels, rng);
      const Phone& coda = pick(kCodas, rng);
      phonetic += std::string(onset.stored) + vowel.stored + coda.stored;
      caption += std::string(onset.spelled) + vowel.spelled + coda.spelled;
    }
    if (!seen.insert(caption).second) continue;
    std::string explain;
    for (int n = senseCount(rng), i = 0; i < n; ++i) {
      if (i) explain += "<br/>";
      explain += std::to_string(i + 1) + ". " + kSenses[senseIndex(rng)];
    }
    sqlite3_bind_text(insert, 1, caption.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, phonetic.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 3, explain.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(insert) != SQLITE_DONE) {
      error = std::string("insert: ") + sqlite3_errmsg(db);
      break;
    }
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  return finish(db, error, {"CREATE INDEX dict_word_caption ON dict_word (w_caption)"});
}

std::string copyToPlain(const std::filesystem::path& keyed, const std::string& passphrase,
                        const std::filesystem::path& plain) {
  quorvi::codec::registerCodecVfs();
  std::error_code ignored;
  std::filesystem::remove(plain, ignored);
  sqlite3* source = nullptr;
  if (sqlite3_open_v2(keyed.c_str(), &source, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(source);
    return "cannot open " + keyed.string();
  }
  sqlite3_key(source, passphrase.data(), static_cast<int>(passphrase.size()));
  // Same schema, same pages, no key: "key=" writes the copy plain.
  std::string error;
  sqlite3_stmt* vacuum = nullptr;
  const std::string target = "file:" + plain.string() + "?key=";
  if (sqlite3_prepare_v2(source, "VACUUM INTO ?", -1, &vacuum, nullptr) != SQLITE_OK) {
    error = std::string("cannot copy: ") + sqlite3_errmsg(source);
  } else {
    sqlite3_bind_text(vacuum, 1, target.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(vacuum) != SQLITE_DONE)
      error = std::string("cannot copy: ") + sqlite3_errmsg(source);
  }
  sqlite3_finalize(vacuum);
  sqlite3_close(source);
  return error;
}

}  // namespace quorvi::bench
