#include "learner/delimited_text.h"

namespace quorvi::learner {

std::string writeRecord(const Record& fields, char separator, std::string_view lineEnd) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += separator;
    const std::string& field = fields[i];
    const bool quoted =
        field.find_first_of(std::string{separator, '"', '\n', '\r'}) != std::string::npos ||
        (!field.empty() && field[0] == '#');
    if (!quoted) {
      line += field;
      continue;
    }
    line += '"';
    for (const char c : field) {
      if (c == '"') line += '"';
      line += c;
    }
    line += '"';
  }
  line += lineEnd;
  return line;
}

std::vector<Record> readRecords(std::string_view text, char separator, std::string& error) {
  std::vector<Record> records;
  Record record;
  std::string field;
  bool inQuotes = false;
  bool fieldStarted = false;  // anything of this record read yet
  auto endField = [&] {
    record.push_back(std::move(field));
    field.clear();
  };
  auto endRecord = [&] {
    if (fieldStarted || !record.empty()) {
      endField();
      records.push_back(std::move(record));
    }
    record.clear();
    field.clear();
    fieldStarted = false;
  };
  error.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inQuotes) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        inQuotes = false;
      }
      continue;
    }
    if (c == '"' && field.empty()) {
      inQuotes = true;
      fieldStarted = true;
    } else if (c == separator) {
      endField();
      fieldStarted = true;
    } else if (c == '\n') {
      endRecord();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      // the LF ends it
    } else {
      field += c;
      fieldStarted = true;
    }
  }
  if (inQuotes) {
    error = "a quoted field is never closed";
    return {};
  }
  endRecord();
  return records;
}

}  // namespace quorvi::learner
