#include "learner/word_import.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <set>
#include <sstream>
#include <unordered_set>

#include "learner/delimited_text.h"
#include "learner/file_problem.h"
#include "learner/headword_spellings.h"
#include "learner/learner_store.h"
#include "learner/my_words.h"
#include "learner/text_decoding.h"

namespace fs = std::filesystem;

namespace quorvi::learner {
namespace {

// Larger files are no word list.
constexpr std::uintmax_t kLargestFile = 512u << 20;
constexpr std::size_t kLongestWord = 200;
// How often progress is told and a cancel looked for, in entries.
constexpr std::size_t kEntriesBetweenLooks = 8192;

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string lowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// "word [ˈwɜːd]" and "word /wɜːd/" -> "word".
std::string_view withoutTranscription(std::string_view front) {
  front = trimmed(front);
  for (const auto& [open, close] : {std::pair{" [", ']'}, std::pair{" /", '/'}}) {
    if (front.size() > 2 && front.back() == close) {
      const std::size_t start = front.rfind(open);
      if (start != std::string_view::npos && start > 0) return trimmed(front.substr(0, start));
    }
  }
  return front;
}

// "12. cat", "12) cat", "12、cat" -> "cat".
std::string_view withoutNumbering(std::string_view line) {
  std::size_t digits = 0;
  while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
  if (digits == 0 || digits == line.size()) return line;
  std::string_view rest = line.substr(digits);
  if (rest.starts_with(".") || rest.starts_with(")")) {
    rest.remove_prefix(1);
  } else if (rest.starts_with("、")) {
    rest.remove_prefix(std::string_view("、").size());
  } else {
    return line;
  }
  return trimmed(rest);
}

// The leading English of "abandon v. 放弃" or "abandon - 放弃": letters, blanks, hyphens,
// apostrophes and dots, without a trailing part of speech.
std::string_view leadingEnglish(std::string_view line) {
  std::size_t end = 0;
  while (end < line.size()) {
    const char c = line[end];
    const bool english = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ' ' ||
                         c == '-' || c == '\'' || c == '.';
    if (!english) break;
    ++end;
  }
  std::string_view lead = trimmed(line.substr(0, end));
  while (!lead.empty() && (lead.back() == '-' || lead.back() == ' ')) lead.remove_suffix(1);
  static const char* const kPartsOfSpeech[] = {" n.",   " v.",    " vt.",   " vi.",  " adj.",
                                               " adv.", " prep.", " conj.", " pron.", " num.",
                                               " art.", " int.",  " aux."};
  for (const char* part : kPartsOfSpeech)
    if (lead.ends_with(part)) return trimmed(lead.substr(0, lead.size() - std::string_view(part).size()));
  return lead;
}

std::string withoutSoundTags(std::string text) {
  for (std::size_t at; (at = text.find("[sound:")) != std::string::npos;) {
    const std::size_t end = text.find(']', at);
    text.erase(at, end == std::string::npos ? std::string::npos : end - at + 1);
  }
  return text;
}

// HTML of an Anki field as plain text: tags dropped, the usual entities read.
std::string htmlText(std::string_view html) {
  std::string text;
  for (std::size_t i = 0; i < html.size(); ++i) {
    if (html[i] == '<') {
      const std::size_t end = html.find('>', i);
      if (end == std::string_view::npos) break;
      i = end;
      continue;
    }
    if (html[i] == '&') {
      const std::size_t end = html.find(';', i);
      if (end != std::string_view::npos && end - i <= 10) {
        const std::string_view name = html.substr(i + 1, end - i - 1);
        static const std::pair<const char*, const char*> kEntities[] = {
            {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}};
        bool known = false;
        for (const auto& [entity, value] : kEntities)
          if (name == entity) {
            text += value;
            known = true;
          }
        if (!known && name.starts_with("#")) {
          const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
          const std::string digits(name.substr(hex ? 2 : 1));
          char* stop = nullptr;
          const unsigned long code = std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
          if (!digits.empty() && *stop == '\0' && code > 0 && code < 0x80) {
            text += static_cast<char>(code);
            known = true;
          } else if (!digits.empty() && *stop == '\0' && code == 0xA0) {
            text += ' ';
            known = true;
          }
        }
        if (known) {
          i = end;
          continue;
        }
      }
    }
    text += html[i];
  }
  return text;
}

// The names a header row gives the column of words.
bool namesWords(std::string_view name) {
  const std::string lower = lowerAscii(trimmed(name));
  static const char* const kNames[] = {"word",     "words", "front", "expression", "vocabulary",
                                       "headword", "term",  "english", "单词",     "词汇",
                                       "英文",     "英语",  "词"};
  for (const char* known : kNames)
    if (lower == known) return true;
  return false;
}

// "#name:value" lines Anki writes at the top of a text export.
bool isAnkiHeader(std::string_view line) {
  if (!line.starts_with('#')) return false;
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string name = lowerAscii(trimmed(line.substr(1, colon - 1)));
  static const char* const kNames[] = {"separator",  "html",          "tags column", "columns",
                                       "notetype",   "notetype column", "deck",      "deck column",
                                       "guid column", "tags"};
  for (const char* known : kNames)
    if (name == known) return true;
  return false;
}

char separatorNamed(std::string_view value) {
  const std::string name = lowerAscii(trimmed(value));
  if (name == "tab" || value == "\t") return '\t';
  if (name == "comma" || name == ",") return ',';
  if (name == "semicolon" || name == ";") return ';';
  if (name == "space" || value == " ") return ' ';
  if (name == "pipe" || name == "|") return '|';
  if (name == "colon" || name == ":") return ':';
  return '\t';
}

std::string_view firstLine(std::string_view text) {
  return text.substr(0, text.find('\n'));
}

std::string_view afterFirstLine(std::string_view text) {
  const std::size_t end = text.find('\n');
  return end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
}

using OnEntry = std::function<bool(const ListEntry&, std::size_t)>;

std::string ankiEntries(std::string_view text, const OnEntry& onEntry) {
  char separator = '\t';
  bool html = false;
  std::set<std::size_t> metaColumns;  // 1-based, as Anki counts
  std::string columns;
  std::size_t offset = 0;
  while (text.substr(offset).starts_with('#')) {
    const std::string_view line = firstLine(text.substr(offset));
    offset = std::min(offset + line.size() + 1, text.size());
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string name = lowerAscii(trimmed(line.substr(1, colon - 1)));
    const std::string_view value = line.substr(colon + 1);
    if (name == "separator") separator = separatorNamed(value);
    if (name == "html") html = lowerAscii(trimmed(value)) == "true";
    if (name == "columns") columns = std::string(value);
    if (name.ends_with(" column")) {
      const long column = std::strtol(std::string(trimmed(value)).c_str(), nullptr, 10);
      if (column > 0) metaColumns.insert(static_cast<std::size_t>(column));
    }
  }
  // The note's first field, unless a named column holds the words.
  std::size_t wordColumn = 0;
  while (metaColumns.contains(wordColumn + 1)) ++wordColumn;
  if (!columns.empty()) {
    std::string error;
    const std::vector<Record> names = readRecords(columns, separator, error);
    if (!names.empty())
      for (std::size_t i = 0; i < names[0].size(); ++i)
        if (!metaColumns.contains(i + 1) && namesWords(names[0][i])) {
          wordColumn = i;
          break;
        }
  }
  const std::string_view body = text.substr(offset);
  return forEachRecord(body, separator, [&](Record& record, std::size_t next) {
    ListEntry entry;
    if (wordColumn < record.size()) {
      std::string field = withoutSoundTags(html ? htmlText(record[wordColumn]) : record[wordColumn]);
      entry.add(std::string(withoutTranscription(field)));
    }
    return onEntry(entry, offset + next);
  });
}

std::string tableEntries(std::string_view text, char separator, std::size_t wordColumn,
                         const OnEntry& onEntry) {
  const std::size_t offset = text.size() - afterFirstLine(text).size();
  return forEachRecord(afterFirstLine(text), separator, [&](Record& record, std::size_t next) {
    ListEntry entry;
    if (wordColumn < record.size())
      entry.add(std::string(withoutTranscription(spreadsheetText(std::string(trimmed(record[wordColumn]))))));
    return onEntry(entry, offset + next);
  });
}

std::string plainEntries(std::string_view text, const OnEntry& onEntry) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = trimmed(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.starts_with('#')) continue;
    line = withoutNumbering(line);
    ListEntry entry;
    entry.add(std::string(withoutTranscription(line)));
    const std::size_t cut = line.find_first_of(line.find('\t') != std::string_view::npos ? "\t" : ",;");
    if (cut != std::string_view::npos)
      entry.add(std::string(withoutTranscription(line.substr(0, cut))));
    // "abandon v. 放弃", "cat - 猫": the English before a translation.
    const bool translated = std::any_of(line.begin(), line.end(), [](char c) { return (c & 0x80) != 0; }) ||
                            line.find(" - ") != std::string_view::npos;
    if (translated) entry.add(std::string(leadingEnglish(line)));
    if (!onEntry(entry, std::min(start, text.size()))) break;
  }
  return {};
}

// A word worth asking the dictionary about: not too long, no control characters.
bool plausibleWord(std::string_view word) {
  if (word.empty() || word.size() > kLongestWord) return false;
  for (const char c : word)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  return true;
}

// How an entry the dictionary lacks is named: its shortest spelling that could be a word
// ("recieve" of "recieve\t接收"), else the whole line.
const std::string& nameOf(const ListEntry& entry) {
  const std::string* name = &entry.candidates[0];
  bool plausible = false;
  for (int i = 0; i < entry.count; ++i) {
    const std::string& candidate = entry.candidates[i];
    if (plausibleWord(candidate) && (!plausible || candidate.size() < name->size())) {
      name = &candidate;
      plausible = true;
    }
  }
  return *name;
}

// Takes the entries one by one: what is new, what was there, what is unknown.
class Collector {
 public:
  Collector(const ImportOptions& options, ImportReport& report)
      : headwords_(options.headwords), report_(report) {
    report_ = {};
    if (headwords_ != nullptr) seenHeadword_.resize(headwords_->rows());
  }

  void take(const ListEntry& entry) {
    for (int i = 0; i < entry.count; ++i) {
      const std::string& candidate = entry.candidates[i];
      if (!plausibleWord(candidate)) continue;
      if (headwords_ == nullptr) {
        if (seenWord_.insert(candidate).second)
          toAdd_.push_back(candidate);
        else
          ++report_.alreadyThere;
        return;
      }
      if (const std::optional<std::uint32_t> index = headwords_->find(candidate)) {
        if (seenHeadword_[*index]) {
          ++report_.alreadyThere;
        } else {
          seenHeadword_[*index] = true;
          toAdd_.emplace_back(headwords_->spelling(*index));
        }
        return;
      }
    }
    ++report_.unknownCount;
    if (report_.unknown.size() < kNamedUnknown && entry.count > 0)
      report_.unknown.push_back({nameOf(entry), {}});
  }

  std::string finish(LearnerStore& store) {
    std::vector<std::string> added;
    if (const std::string error = addWords(store, toAdd_, added); !error.empty()) return error;
    report_.alreadyThere += toAdd_.size() - added.size();
    report_.added = std::move(added);
    if (headwords_ != nullptr)
      for (UnknownWord& unknown : report_.unknown)
        unknown.closeSpelling = headwords_->closeSpelling(unknown.written);
    return {};
  }

 private:
  const HeadwordSpellings* headwords_;
  ImportReport& report_;
  std::vector<bool> seenHeadword_;           // by the headword's number
  std::unordered_set<std::string> seenWord_;  // without a dictionary
  std::vector<std::string> toAdd_;
};

}  // namespace

void ListEntry::add(std::string word) {
  if (word.empty() || count == static_cast<int>(std::size(candidates))) return;
  for (int i = 0; i < count; ++i)
    if (candidates[i] == word) return;
  candidates[count++] = std::move(word);
}

std::string forEachListEntry(std::string_view text, const OnEntry& onEntry) {
  if (isAnkiHeader(firstLine(text))) return ankiEntries(text, onEntry);
  const std::string_view header = firstLine(text);
  const char* separators = "\t,;";
  for (const char* separator = separators; *separator != '\0'; ++separator) {
    if (header.find(*separator) == std::string_view::npos) continue;
    std::string error;
    const std::vector<Record> fields = readRecords(header, *separator, error);
    if (fields.empty()) break;
    for (std::size_t i = 0; i < fields[0].size(); ++i)
      if (namesWords(fields[0][i])) return tableEntries(text, *separator, i, onEntry);
    break;
  }
  return plainEntries(text, onEntry);
}

std::vector<std::string> wordsOfFile(std::string_view bytes, std::string& error) {
  std::vector<std::string> words;
  const std::optional<std::string> text = decodeText(bytes, error);
  if (!text) return words;
  error = forEachListEntry(*text, [&](const ListEntry& entry, std::size_t) {
    if (entry.count > 0) words.push_back(entry.candidates[0]);
    return true;
  });
  if (!error.empty()) words.clear();
  return words;
}

std::string importEntries(LearnerStore& store, const std::vector<ListEntry>& entries,
                          const ImportOptions& options, ImportReport& report) {
  Collector collector(options, report);
  for (const ListEntry& entry : entries) collector.take(entry);
  return collector.finish(store);
}

std::string importWords(LearnerStore& store, const std::vector<std::string>& words,
                        const ImportOptions& options, ImportReport& report) {
  std::vector<ListEntry> entries(words.size());
  for (std::size_t i = 0; i < words.size(); ++i) {
    entries[i].candidates[0] = words[i];
    entries[i].count = 1;
  }
  return importEntries(store, entries, options, report);
}

std::string importFile(LearnerStore& store, const fs::path& file, const ImportOptions& options,
                       ImportReport& report, FileProblem* problem) {
  report = {};
  FileProblem ignored;
  FileProblem& kind = problem != nullptr ? *problem : ignored;
  kind = FileProblem::kNone;
  auto refuse = [&](FileProblem why, const std::string& text) {
    kind = why;
    report = {};
    return text;
  };
  struct stat st {};
  if (stat(file.c_str(), &st) != 0) {
    const FileProblem why = problemOfErrno(errno);
    return refuse(why, "cannot read " + file.string() + ": " + describeProblem(why));
  }
  if (S_ISDIR(st.st_mode))
    return refuse(FileProblem::kNotAFile, file.string() + " is a folder, not a word list");
  if (!S_ISREG(st.st_mode))
    return refuse(FileProblem::kNotAFile, file.string() + " is not a regular file, not a word list");
  if (static_cast<std::uintmax_t>(st.st_size) > kLargestFile)
    return refuse(FileProblem::kOther, file.string() + " is too large for a word list");
  std::string text;
  {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      const FileProblem why = problemOfErrno(errno);
      return refuse(why, "cannot read " + file.string() + ": " + describeProblem(why));
    }
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return refuse(FileProblem::kDiskFailed, "cannot read " + file.string());
    std::string why;
    std::optional<std::string> decoded = decodeText(bytes, why);
    if (!decoded) return refuse(FileProblem::kNotText, file.string() + ": " + why);
    text = std::move(*decoded);
  }
  Collector collector(options, report);
  std::size_t taken = 0;
  const auto cancelled = [&] { return options.cancel != nullptr && options.cancel->load(); };
  const std::string error = forEachListEntry(text, [&](const ListEntry& entry, std::size_t next) {
    collector.take(entry);
    if (++taken % kEntriesBetweenLooks != 0) return true;
    if (cancelled()) return false;
    if (options.progress)
      options.progress(static_cast<double>(next) / static_cast<double>(text.size()));
    return true;
  });
  if (cancelled()) return refuse(FileProblem::kNone, kImportCancelled);
  if (!error.empty()) return refuse(FileProblem::kOther, file.string() + ": " + error);
  if (std::string failed = collector.finish(store); !failed.empty())
    return refuse(store.problem(), failed);
  return {};
}

}  // namespace quorvi::learner
