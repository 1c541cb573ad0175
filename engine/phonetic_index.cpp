#include "engine/phonetic_index.h"

#include <sqlite3.h>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstring>

namespace {

// Reads the rows exactly as the search statement does: same table access, same order; the
// empty pattern accepts every row whose transcription is not NULL.
const char kLoadSql[] = "SELECT w_caption, w_phonetic FROM dict_word WHERE w_phonetic REGEXP ?";

// Options of the REGEXP module.
constexpr std::uint32_t kPcreOptions = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_CASELESS;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Calls `onSymbol` with the bit of every symbol of lower-cased stored notation: a reference
// "&#digits;" is one symbol, any other byte is a symbol of its own. A piece of a pattern
// that occurs in a text has all its symbols' bits in the text's signature.
template <typename OnBit>
void forEachSymbolBit(std::string_view text, OnBit onBit) {
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i + 1;
    if (text[i] == '&' && i + 2 < text.size() && text[i + 1] == '#' && isDigit(text[i + 2])) {
      size_t j = i + 2;
      while (j < text.size() && isDigit(text[j])) ++j;
      if (j < text.size() && text[j] == ';') end = j + 1;
    }
    std::uint64_t hash = 1469598103934665603ull;
    for (size_t k = i; k < end; ++k) hash = (hash ^ static_cast<unsigned char>(text[k])) * 1099511628211ull;
    onBit(std::uint64_t{1} << (hash >> 58));
    i = end;
  }
}

std::uint64_t signatureOf(std::string_view text) {
  std::uint64_t signature = 0;
  forEachSymbolBit(text, [&](std::uint64_t bit) { signature |= bit; });
  return signature;
}

// Splits a pattern of pieces each followed by ".*" into the pieces. False for any other form.
bool splitPattern(std::string_view pattern, std::vector<std::string_view>& pieces) {
  while (!pattern.empty()) {
    const size_t wildcard = pattern.find(".*");
    if (wildcard == 0 || wildcard == std::string_view::npos) return false;
    const std::string_view piece = pattern.substr(0, wildcard);
    for (char c : piece) {
      const bool allowed = (c >= 'a' && c <= 'z') || isDigit(c) || c == '&' || c == '#' || c == ';';
      if (!allowed) return false;
    }
    pieces.push_back(piece);
    pattern.remove_prefix(wildcard + 2);
  }
  return !pieces.empty();
}

}  // namespace

PhoneticIndex::~PhoneticIndex() = default;

bool PhoneticIndex::load(sqlite3* db) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, kLoadSql, -1, &statement, nullptr) != SQLITE_OK) return false;
  sqlite3_bind_text(statement, 1, "", 0, SQLITE_STATIC);
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    captions_.append(
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), -1));
    const char* value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
    const std::string_view phonetic(value ? value : "",
                                    static_cast<size_t>(sqlite3_column_bytes(statement, 1)));
    Row row{static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(phonetic.size()),
            0, true};
    for (char c : phonetic) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte >= 0x7F) row.plain = false;
    }
    if (row.plain) {
      for (char c : phonetic) text_.push_back(lower(c));
      row.signature = signatureOf(std::string_view(text_).substr(row.offset, row.length));
    } else {
      text_.append(phonetic);
      row.signature = ~std::uint64_t{0};
    }
    rows_.push_back(row);
  }
  sqlite3_finalize(statement);
  if (rc != SQLITE_DONE || text_.size() > UINT32_MAX) {
    text_.clear();
    rows_.clear();
    captions_.clear();
    return false;
  }
  loaded_ = true;
  return true;
}

bool PhoneticIndex::matchesOther(std::string_view pattern, std::string_view value) const {
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                   kPcreOptions, &errorCode, &errorOffset, nullptr);
  if (code == nullptr) return false;
  pcre2_match_data* data = pcre2_match_data_create(1, nullptr);
  const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(value.data()), value.size(), 0, 0,
                             data, nullptr);
  pcre2_match_data_free(data);
  pcre2_code_free(code);
  return rc >= 0;
}

bool PhoneticIndex::search(const std::string& pattern, int limit, QStringList& results) const {
  std::vector<std::string_view> pieces;
  if (!loaded_ || !splitPattern(pattern, pieces)) return false;
  std::uint64_t required = 0;
  for (std::string_view piece : pieces)
    forEachSymbolBit(piece, [&](std::uint64_t bit) { required |= bit; });

  const char* text = text_.data();
  int found = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& row = rows_[i];
    if ((row.signature & required) != required) continue;
    bool match;
    if (row.plain) {
      // The pieces in order, each after the end of the one before: what "p1.*p2.*" finds on
      // a single line of text.
      std::string_view rest(text + row.offset, row.length);
      match = true;
      for (std::string_view piece : pieces) {
        const size_t at = rest.find(piece);
        if (at == std::string_view::npos) {
          match = false;
          break;
        }
        rest.remove_prefix(at + piece.size());
      }
    } else {
      match = matchesOther(pattern, std::string_view(text + row.offset, row.length));
    }
    if (!match) continue;
    results.append(captions_[static_cast<qsizetype>(i)]);
    if (++found == limit) break;
  }
  return true;
}
