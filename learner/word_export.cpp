#include "learner/word_export.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "learner/delimited_text.h"

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

// Writes all of `text` to `fd`; false with errno set otherwise.
bool writeAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
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
      text += writeRecord(
          {saved.word, entry.transcription, joined(entry.chinese, "\n"), entry.firstSense,
           joined(entry.levels, " "), utcTimeText(saved.added), std::to_string(saved.lookups)},
          ',', "\r\n");
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

  std::string temporary = file.string() + ".partXXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return "cannot write " + file.string() + ": " + std::strerror(errno);
  fchmod(fd, 0644);
  const bool written = writeAll(fd, text) && fsync(fd) == 0;
  const int writeErrno = errno;
  if (::close(fd) != 0 || !written) {
    unlink(temporary.c_str());
    return "cannot write " + file.string() + ": " + std::strerror(written ? errno : writeErrno);
  }
  if (rename(temporary.c_str(), file.c_str()) != 0) {
    const int renameErrno = errno;
    unlink(temporary.c_str());
    return "cannot write " + file.string() + ": " + std::strerror(renameErrno);
  }
  if (count != nullptr) *count = words.size();
  return {};
}

}  // namespace quorvi::learner
