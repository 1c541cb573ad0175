#include "tsv_importer.h"

#include <cstdlib>

#include "line_reader.h"
#include "utf8.h"

namespace quorvi::dictbuild {

ImportResult importTsv(const std::string& path, const ImportOptions& options, SkipReport& skipped) {
  ImportResult result;
  LineReader reader(path, kMaxRecordBytes);
  if (!readable(reader, path, result)) return result;
  std::string line;
  while (reader.next(line)) {
    const std::string where = path + ":" + std::to_string(reader.lineNumber());
    if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t") == std::string::npos)
      continue;
    std::string error;
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
      size_t tab = line.find('\t', start);
      fields.push_back(
          line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (!isValidUtf8(line))
      error = "not valid UTF-8";
    else if (fields.size() < 3)
      error = "expected 3 tab-separated fields (word, transcription, explanation), found " +
              std::to_string(fields.size());
    else if (fields.size() > 4)
      error = "expected at most 4 tab-separated fields, found " + std::to_string(fields.size());
    else
      for (size_t i = 0; i < fields.size() && error.empty(); ++i)
        if (fields[i].size() > kMaxFieldBytes)
          error = "field " + std::to_string(i + 1) + " is longer than " +
                  std::to_string(kMaxFieldBytes) + " bytes";
    if (!error.empty()) {
      if (!skipMalformedLine(where, error, options.lenient, result, skipped)) return result;
      continue;
    }
    DictEntry e;
    e.caption = trimmed(fields[0]);
    if (const char* problem = headwordProblem(e.caption)) {
      skipped.add(problem, where);
      continue;
    }
    e.transcription = fields[1];
    e.explainLines = splitExplanation(fields[2]);
    if (fields.size() == 4)
      e.frequency = frequencyOfRank(std::strtol(fields[3].c_str(), nullptr, 10));
    e.imported = true;
    result.entries.push_back(std::move(e));
  }
  if (reader.tooLong())
    result.error = path + ":" + std::to_string(reader.lineNumber()) + ": line longer than " +
                   std::to_string(kMaxRecordBytes) + " bytes";
  return result;
}

}  // namespace quorvi::dictbuild
