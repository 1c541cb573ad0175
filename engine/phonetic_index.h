// The transcriptions of the whole dictionary in memory, in the order in which the search
// statement reads them, so that a search by sound does not walk the table's pages.
//
// It answers exactly what "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ?" answers
// for the patterns buildPhoneticPattern makes (pieces of stored notation, each followed by
// ".*"): the same rows in the same order. Plain ASCII transcriptions are matched here; any other
// is matched by PCRE2 with the REGEXP module's options.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QStringList>

struct sqlite3;

class PhoneticIndex {
 public:
  PhoneticIndex() = default;
  ~PhoneticIndex();
  PhoneticIndex(const PhoneticIndex&) = delete;
  PhoneticIndex& operator=(const PhoneticIndex&) = delete;

  // Reads every row through the REGEXP module's own statement. False when it cannot.
  bool load(sqlite3* db);
  bool loaded() const { return loaded_; }

  // Appends the headwords whose transcription matches `pattern`, at most `limit` (0: all).
  // False when `pattern` is not of the form this index answers.
  bool search(const std::string& pattern, int limit, QStringList& results) const;

 private:
  struct Row {
    std::uint32_t offset;  // into text_
    std::uint32_t length;
    std::uint64_t signature;  // one bit per kind of symbol present (hashed)
    bool plain;               // printable ASCII, stored lower-cased in text_
  };

  bool matchesOther(std::string_view pattern, std::string_view value) const;

  std::string text_;
  std::vector<Row> rows_;
  QStringList captions_;
  bool loaded_ = false;
};
