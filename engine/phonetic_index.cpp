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

// Calls `onSymbol` with every symbol of lower-cased stored notation: a reference "&#digits;"
// is one symbol, any other byte is a symbol of its own. Every symbol of a piece of a pattern
// that occurs in a text is also a symbol of that text.
template <typename OnSymbol>
void forEachSymbol(std::string_view text, OnSymbol onSymbol) {
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i + 1;
    if (text[i] == '&' && i + 2 < text.size() && text[i + 1] == '#' && isDigit(text[i + 2])) {
      size_t j = i + 2;
      while (j < text.size() && isDigit(text[j])) ++j;
      if (j < text.size() && text[j] == ';') end = j + 1;
    }
    onSymbol(text.substr(i, end - i));
    i = end;
  }
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

int PhoneticIndex::lookupId(std::string_view symbol) const {
  if (symbol.size() == 1) return byteIds_[static_cast<unsigned char>(symbol[0])];
  const auto it = referenceIds_.find(std::string(symbol));
  return it == referenceIds_.end() ? -1 : it->second;
}

// Each kind of symbol gets a one-byte id in the order first seen; -1 once all are taken.
int PhoneticIndex::assignId(std::string_view symbol) {
  int id = lookupId(symbol);
  if (id >= 0 || idsUsed_ == kMaxIds) return id;
  id = idsUsed_++;
  if (symbol.size() == 1)
    byteIds_[static_cast<unsigned char>(symbol[0])] = id;
  else
    referenceIds_.emplace(std::string(symbol), id);
  return id;
}

bool PhoneticIndex::load(sqlite3* db) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, kLoadSql, -1, &statement, nullptr) != SQLITE_OK) return false;
  sqlite3_bind_text(statement, 1, "", 0, SQLITE_STATIC);
  std::string lowered;
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    captions_.append(
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), -1));
    const char* value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
    const std::string_view phonetic(value ? value : "",
                                    static_cast<size_t>(sqlite3_column_bytes(statement, 1)));
    Row row{static_cast<std::uint32_t>(symbols_.size()), 0, 0, true};
    lowered.clear();
    for (char c : phonetic) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte >= 0x7F) row.plain = false;
      lowered.push_back(lower(c));
    }
    if (row.plain) {
      forEachSymbol(lowered, [&](std::string_view symbol) {
        const int id = assignId(symbol);
        if (id < 0) row.plain = false;
        symbols_.push_back(static_cast<char>(id));
        row.signature |= std::uint64_t{1} << (id < 63 ? id : 63);
      });
      if (!row.plain) symbols_.resize(row.offset);
    }
    if (row.plain) {
      row.length = static_cast<std::uint32_t>(symbols_.size() - row.offset);
    } else {
      row.offset = static_cast<std::uint32_t>(otherText_.size());
      row.length = static_cast<std::uint32_t>(phonetic.size());
      row.signature = ~std::uint64_t{0};
      otherText_.append(phonetic);
    }
    rows_.push_back(row);
  }
  sqlite3_finalize(statement);
  if (rc != SQLITE_DONE || symbols_.size() > UINT32_MAX || otherText_.size() > UINT32_MAX) {
    symbols_.clear();
    otherText_.clear();
    rows_.clear();
    captions_.clear();
    return false;
  }
  loaded_ = true;
  return true;
}

namespace {

// The pattern compiled as the REGEXP module compiles it, on first use.
class CompiledPattern {
 public:
  explicit CompiledPattern(std::string_view pattern) : pattern_(pattern) {}
  ~CompiledPattern() {
    pcre2_match_data_free(data_);
    pcre2_code_free(code_);
  }
  bool matches(std::string_view value) {
    if (code_ == nullptr) {
      int errorCode = 0;
      PCRE2_SIZE errorOffset = 0;
      code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern_.data()), pattern_.size(),
                            kPcreOptions, &errorCode, &errorOffset, nullptr);
      if (code_ == nullptr) return false;
      data_ = pcre2_match_data_create(1, nullptr);
    }
    return pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(value.data()), value.size(), 0, 0,
                       data_, nullptr) >= 0;
  }

 private:
  std::string_view pattern_;
  pcre2_code* code_ = nullptr;
  pcre2_match_data* data_ = nullptr;
};

}  // namespace

bool PhoneticIndex::search(const std::string& pattern, int limit, QStringList& results) const {
  std::vector<std::string_view> textPieces;
  if (!loaded_ || !splitPattern(pattern, textPieces)) return false;
  // The pieces as symbol ids. A symbol that no plain text holds rules out every plain text,
  // not the others.
  std::vector<std::string> pieces(textPieces.size());
  std::uint64_t required = 0;
  bool plainPossible = true;
  for (size_t p = 0; p < textPieces.size(); ++p)
    forEachSymbol(textPieces[p], [&](std::string_view symbol) {
      const int id = lookupId(symbol);
      if (id < 0) {
        plainPossible = false;
        return;
      }
      pieces[p].push_back(static_cast<char>(id));
      required |= std::uint64_t{1} << (id < 63 ? id : 63);
    });

  CompiledPattern compiled(pattern);
  int found = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& row = rows_[i];
    if ((row.signature & required) != required) continue;
    bool match;
    if (row.plain) {
      if (!plainPossible) continue;
      // The pieces in order, each after the end of the one before: what "p1.*p2.*" finds on
      // a single line of text.
      std::string_view rest(symbols_.data() + row.offset, row.length);
      match = true;
      for (const std::string& piece : pieces) {
        const size_t at = rest.find(piece);
        if (at == std::string_view::npos) {
          match = false;
          break;
        }
        rest.remove_prefix(at + piece.size());
      }
    } else {
      match = compiled.matches(std::string_view(otherText_.data() + row.offset, row.length));
    }
    if (!match) continue;
    results.append(captions_[static_cast<qsizetype>(i)]);
    if (++found == limit) break;
  }
  return true;
}
