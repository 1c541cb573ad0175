#include "import_common.h"

#include "line_reader.h"

namespace quorvi::dictbuild {

std::string trimmed(const std::string& text) {
  const size_t b = text.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return text.substr(b, text.find_last_not_of(" \t") - b + 1);
}

bool readable(const LineReader& reader, const std::string& path, ImportResult& result) {
  if (reader.isOpen()) return true;
  result.error = path + ": cannot read the file";
  return false;
}

const char* headwordProblem(const std::string& caption) {
  if (caption.empty()) return "empty headword";
  if (caption.size() > kMaxCaptionBytes) return "headword too long";
  return nullptr;
}

bool skipMalformedLine(const std::string& where, const std::string& error, bool skippable,
                       ImportResult& result, SkipReport& skipped) {
  if (!skippable) {
    result.error = where + ": " + error;
    return false;
  }
  skipped.add("malformed line: " + error, where);
  return true;
}

double frequencyOfRank(long rank) {
  return rank > 0 ? 20000.0 / static_cast<double>(rank) : 0.0;
}

std::vector<std::string> splitExplanation(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (size_t i = 0; i < text.size(); ++i) {
    bool brk = false;
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      brk = true;
      ++i;
    } else if (text[i] == '\n') {
      brk = true;
    } else if (text[i] != '\r') {
      current.push_back(text[i]);
    }
    if (brk) {
      if (!current.empty()) lines.push_back(current);
      current.clear();
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

}  // namespace quorvi::dictbuild
