// The transcriptions of the whole dictionary in memory, in the order in which the search
// statement reads them, so that a search by sound does not walk the table's pages.
//
// It answers exactly what "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ?" answers
// for the patterns buildPhoneticPattern makes (pieces of stored notation, each followed by
// ".*"): the same rows in the same order. Plain ASCII transcriptions are matched here; any other
// is matched by PCRE2 with the REGEXP module's options.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
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
  // A transcription of printable ASCII is kept lower-cased as a string of symbol ids (a
  // reference "&#digits;" or any other byte is one symbol), in which a piece of a pattern
  // occurs exactly where its text occurs in the transcription. Any other is kept as stored.
  struct Row {
    std::uint32_t offset;  // into symbols_ or otherText_
    std::uint32_t length;
    std::uint64_t signature;  // bit min(id, 63) for every symbol present; all ones if not plain
    bool plain;
  };
  static constexpr int kMaxIds = 255;

  int lookupId(std::string_view symbol) const;  // -1: no plain transcription holds it
  int assignId(std::string_view symbol);

  std::string symbols_;
  std::string otherText_;
  std::vector<Row> rows_;
  QStringList captions_;
  bool loaded_ = false;
  std::array<int, 256> byteIds_ = unassignedIds();
  std::unordered_map<std::string, int> referenceIds_;
  int idsUsed_ = 0;

  static std::array<int, 256> unassignedIds() {
    std::array<int, 256> ids;
    ids.fill(-1);
    return ids;
  }
};
