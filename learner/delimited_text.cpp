#include "learner/delimited_text.h"

namespace quorvi::learner {
namespace {

bool opensFormula(char c) {
  return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

// Apostrophes, then a character that opens a formula: the cells inertInSpreadsheet marks
// (an apostrophe written before text that already starts so is marked once more).
bool apostrophesBeforeFormula(const std::string& cell, std::size_t first) {
  std::size_t i = first;
  while (i < cell.size() && cell[i] == '\'') ++i;
  return i < cell.size() && opensFormula(cell[i]);
}

}  // namespace

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

std::string forEachRecord(std::string_view text, char separator,
                          const std::function<bool(Record&, std::size_t)>& onRecord) {
  Record record;
  std::string field;
  bool inQuotes = false;
  bool fieldStarted = false;  // anything of this record read yet
  auto endField = [&] {
    record.push_back(std::move(field));
    field.clear();
  };
  // False when the reader wants no more.
  auto endRecord = [&](std::size_t next) {
    bool more = true;
    if (fieldStarted || !record.empty()) {
      endField();
      more = onRecord(record, next);
    }
    record.clear();
    field.clear();
    fieldStarted = false;
    return more;
  };
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
      if (!endRecord(i + 1)) return {};
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      // the LF ends it
    } else {
      field += c;
      fieldStarted = true;
    }
  }
  if (inQuotes) return "a quoted field is never closed";
  endRecord(text.size());
  return {};
}

std::vector<Record> readRecords(std::string_view text, char separator, std::string& error) {
  std::vector<Record> records;
  error = forEachRecord(text, separator, [&](Record& record, std::size_t) {
    records.push_back(std::move(record));
    return true;
  });
  if (!error.empty()) records.clear();
  return records;
}

std::string inertInSpreadsheet(std::string cell) {
  if (apostrophesBeforeFormula(cell, 0)) cell.insert(cell.begin(), '\'');
  return cell;
}

std::string spreadsheetText(std::string cell) {
  if (!cell.empty() && cell[0] == '\'' && apostrophesBeforeFormula(cell, 1)) cell.erase(0, 1);
  return cell;
}

}  // namespace quorvi::learner
