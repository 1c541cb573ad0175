#include "learner/word_import.h"

#include <fstream>
#include <set>
#include <sstream>

#include "learner/delimited_text.h"
#include "learner/my_words.h"
#include "learner/word_export.h"

namespace fs = std::filesystem;

namespace quorvi::learner {
namespace {

// Larger files are no word list.
constexpr std::uintmax_t kLargestFile = 64u << 20;
constexpr size_t kLongestWord = 200;

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// "word [ˈwɜːd]" -> "word".
std::string withoutTranscription(std::string_view front) {
  front = trimmed(front);
  if (!front.empty() && front.back() == ']') {
    const size_t open = front.rfind(" [");
    if (open != std::string_view::npos) front = trimmed(front.substr(0, open));
  }
  return std::string(front);
}

bool isAnkiText(std::string_view text) {
  return text.starts_with("#separator:") || text.starts_with("#html:") ||
         text.starts_with("#tags") || text.starts_with("#columns:");
}

bool isCsvHeader(std::string_view line) {
  return trimmed(line).starts_with(std::string(kCsvColumns[0]) + "," + kCsvColumns[1]);
}

// A word worth asking the dictionary about: not too long, no control characters.
bool plausibleWord(std::string_view word) {
  if (word.empty() || word.size() > kLongestWord) return false;
  for (const char c : word)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  return true;
}

}  // namespace

std::vector<std::string> wordsOfFile(std::string_view text, std::string& error) {
  error.clear();
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::string> words;
  const size_t firstLineEnd = text.find('\n');
  const std::string_view firstLine = text.substr(0, firstLineEnd);
  if (isAnkiText(text)) {
    // Header lines first, then records whose separator they name (a tab here).
    std::string_view body = text;
    char separator = '\t';
    while (body.starts_with("#")) {
      const size_t end = body.find('\n');
      const std::string_view header = trimmed(body.substr(0, end));
      if (header == "#separator:comma" || header == "#separator:,") separator = ',';
      if (header == "#separator:semicolon" || header == "#separator:;") separator = ';';
      body = end == std::string_view::npos ? std::string_view() : body.substr(end + 1);
    }
    for (const Record& record : readRecords(body, separator, error))
      words.push_back(withoutTranscription(record.empty() ? "" : record[0]));
  } else if (isCsvHeader(firstLine)) {
    const std::string_view body =
        firstLineEnd == std::string_view::npos ? std::string_view() : text.substr(firstLineEnd + 1);
    for (const Record& record : readRecords(body, ',', error))
      words.push_back(std::string(trimmed(record.empty() ? "" : record[0])));
  } else {
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      words.push_back(std::string(trimmed(text.substr(start, end - start))));
      start = end + 1;
    }
  }
  if (!error.empty()) return {};
  std::erase_if(words, [](const std::string& word) { return word.empty(); });
  return words;
}

std::string importWords(LearnerStore& store, const std::vector<std::string>& words,
                        const HeadwordCheck& check, ImportReport& report) {
  report = {};
  std::vector<std::string> candidates;
  std::set<std::string> seen;
  for (const std::string& word : words) {
    std::optional<std::string> headword;
    if (plausibleWord(word)) headword = check ? check(word) : std::optional<std::string>(word);
    if (!headword) {
      report.unknown.push_back(word);
    } else if (!seen.insert(*headword).second) {
      report.alreadyThere.push_back(*headword);
    } else {
      candidates.push_back(*headword);
    }
  }
  std::vector<std::string> added;
  if (const std::string error = addWords(store, candidates, added); !error.empty()) return error;
  const std::set<std::string> isNew(added.begin(), added.end());
  for (const std::string& word : candidates)
    if (!isNew.contains(word)) report.alreadyThere.push_back(word);
  report.added = std::move(added);
  return {};
}

std::string importFile(LearnerStore& store, const fs::path& file, const HeadwordCheck& check,
                       ImportReport& report) {
  report = {};
  std::error_code failure;
  if (fs::is_directory(file, failure)) return file.string() + " is a folder, not a word list";
  const std::uintmax_t size = fs::file_size(file, failure);
  if (failure) return "cannot read " + file.string() + ": " + failure.message();
  if (size > kLargestFile) return file.string() + " is too large for a word list";
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in && !in.eof()) return "cannot read " + file.string();
  std::string error;
  const std::vector<std::string> words = wordsOfFile(text.str(), error);
  if (!error.empty()) return file.string() + ": " + error;
  return importWords(store, words, check, report);
}

}  // namespace quorvi::learner
