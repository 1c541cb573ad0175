#include "data_tables.h"

namespace quorvi::dictbuild {

std::vector<std::string> splitText(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + separator.size();
  }
}

bool readTsvRows(std::string_view text, size_t fields,
                 const std::function<bool(const std::vector<std::string>&, std::string&)>& onRow,
                 std::string& error) {
  size_t number = 0;
  for (const std::string& line : splitText(text, "\n")) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> row = splitText(line, "\t");
    std::string why;
    if (row.size() != fields)
      why = "expected " + std::to_string(fields) + " fields separated by tabs, found " +
            std::to_string(row.size());
    else if (onRow(row, why))
      continue;
    error = "line " + std::to_string(number) + ": " + why;
    return false;
  }
  return true;
}

}  // namespace quorvi::dictbuild
