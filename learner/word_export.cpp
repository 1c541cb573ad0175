#include "learner/word_export.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "learner/delimited_text.h"
#include "learner/safe_file_output.h"

namespace fs = std::filesystem;

namespace quorvi::learner {
namespace {

std::string joined(const std::vector<std::string>& parts, std::string_view between) {
  std::string text;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!text.empty()) text += between;
    text += part;
  }
  return text;
}

std::string front(const std::string& word, const WordFacts& facts) {
  return facts.transcription.empty() ? word : word + " [" + facts.transcription + "]";
}

std::string back(const WordFacts& facts) {
  std::vector<std::string> lines = facts.chinese;
  lines.push_back(facts.firstSense);
  return joined(lines, "\n");
}

}  // namespace

std::string utcTimeText(long long secondsSinceEpoch) {
  const std::time_t time = static_cast<std::time_t>(secondsSinceEpoch);
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string exportText(const std::vector<SavedWord>& words, const FactsLookup& facts,
                       ExportFormat format) {
  std::string text;
  if (format == ExportFormat::kAnki) {
    text = "#separator:tab\n#html:false\n#tags column:3\n";
  } else {
    text = writeRecord(Record(std::begin(kCsvColumns), std::end(kCsvColumns)), ',', "\r\n");
  }
  for (const SavedWord& saved : words) {
    std::optional<WordFacts> found = facts ? facts(saved.word) : std::nullopt;
    const WordFacts entry = found.value_or(WordFacts{});
    if (format == ExportFormat::kAnki) {
      text += writeRecord({front(saved.word, entry), back(entry), joined(entry.levels, " ")}, '\t',
                          "\n");
    } else {
      Record cells{saved.word,       entry.transcription,        joined(entry.chinese, "\n"),
                   entry.firstSense, joined(entry.levels, " "),  utcTimeText(saved.added),
                   std::to_string(saved.lookups)};
      for (std::string& cell : cells) cell = inertInSpreadsheet(std::move(cell));
      text += writeRecord(cells, ',', "\r\n");
    }
  }
  return text;
}

std::string exportWords(LearnerStore& store, const FactsLookup& facts, ExportFormat format,
                        const fs::path& file, size_t* count) {
  std::string error;
  const std::vector<SavedWord> words = savedWords(store, error);
  if (!error.empty()) return error;
  const std::string text = exportText(words, facts, format);

  if (file == kStandardOutput) {
    if (!writeAll(STDOUT_FILENO, text))
      return std::string("cannot write to standard output: ") + std::strerror(errno);
  } else if (std::string failed = writeWholeFile(file, text); !failed.empty()) {
    return failed;
  }
  if (count != nullptr) *count = words.size();
  return {};
}

}  // namespace quorvi::learner
