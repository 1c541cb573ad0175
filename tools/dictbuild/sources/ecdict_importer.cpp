#include "ecdict_importer.h"

#include <algorithm>
#include <cstdlib>

#include "line_reader.h"
#include "utf8.h"

namespace quorvi::dictbuild {
namespace {

// Splits one CSV record (RFC 4180 quoting). `more` is set when a quoted field runs on past
// the end of the text, i.e. the record continues on the next line.
bool splitCsv(const std::string& text, std::vector<std::string>& fields, bool& more,
              std::string& error) {
  fields.clear();
  more = false;
  std::string field;
  size_t i = 0;
  const size_t n = text.size();
  while (true) {
    field.clear();
    if (i < n && text[i] == '"') {
      ++i;
      bool closed = false;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            field.push_back('"');
            i += 2;
            continue;
          }
          closed = true;
          ++i;
          break;
        }
        field.push_back(text[i++]);
      }
      if (!closed) {
        more = true;
        return true;
      }
      if (i < n && text[i] != ',') {
        error = "text after a closing quote in field " + std::to_string(fields.size() + 1);
        return false;
      }
    } else {
      while (i < n && text[i] != ',') {
        if (text[i] == '"') {
          error = "stray quote in unquoted field " + std::to_string(fields.size() + 1);
          return false;
        }
        field.push_back(text[i++]);
      }
    }
    if (field.size() > kMaxFieldBytes) {
      error = "field " + std::to_string(fields.size() + 1) + " is longer than " +
              std::to_string(kMaxFieldBytes) + " bytes";
      return false;
    }
    fields.push_back(field);
    if (i >= n) return true;
    ++i;  // the comma
  }
}

long parseRank(const std::string& s) {
  if (s.empty()) return 0;
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  return (end && *end == '\0' && v > 0) ? v : 0;
}

// The columns of an ECDICT file that the import reads, by their names in the header line.
struct EcdictColumns {
  int word = -1, phonetic = -1, definition = -1, translation = -1, bnc = -1, frq = -1;

  static EcdictColumns fromHeader(const std::vector<std::string>& header) {
    EcdictColumns c;
    for (size_t i = 0; i < header.size(); ++i) {
      const std::string& h = header[i];
      const int col = static_cast<int>(i);
      if (h == "word")
        c.word = col;
      else if (h == "phonetic")
        c.phonetic = col;
      else if (h == "definition")
        c.definition = col;
      else if (h == "translation")
        c.translation = col;
      else if (h == "bnc")
        c.bnc = col;
      else if (h == "frq")
        c.frq = col;
    }
    return c;
  }
  bool usable() const { return word >= 0 && (definition >= 0 || translation >= 0); }
};

}  // namespace

bool readCsvRecord(LineReader& reader, std::vector<std::string>& fields, std::string& error) {
  std::string line;
  if (!reader.next(line)) {
    if (reader.tooLong()) error = "line longer than " + std::to_string(kMaxRecordBytes) + " bytes";
    return reader.tooLong();
  }
  std::string record = line;
  bool more = false;
  bool parsed = splitCsv(record, fields, more, error);
  while (parsed && more) {
    if (!reader.next(line)) {
      error = reader.tooLong() ? "line longer than " + std::to_string(kMaxRecordBytes) + " bytes"
                               : "quoted field not closed before the end of the file";
      return true;
    }
    record += '\n';
    record += line;
    if (record.size() > kMaxRecordBytes) {
      error = "record longer than " + std::to_string(kMaxRecordBytes) + " bytes";
      return true;
    }
    parsed = splitCsv(record, fields, more, error);
  }
  if (parsed && !isValidUtf8(record)) error = "not valid UTF-8";
  return true;
}

namespace {

// The entry of one data record; empty caption when the record must be left out (`why` says
// why).
DictEntry entryOf(const std::vector<std::string>& fields, const EcdictColumns& columns,
                  std::string& why) {
  auto col = [&](int c) -> const std::string& {
    static const std::string empty;
    return c >= 0 ? fields[static_cast<size_t>(c)] : empty;
  };
  DictEntry e;
  e.caption = trimmed(col(columns.word));
  if (const char* problem = headwordProblem(e.caption)) {
    why = problem;
    e.caption.clear();
    return e;
  }
  std::string explain = col(columns.translation);
  if (explain.empty()) explain = col(columns.definition);
  e.explainLines = splitExplanation(explain);
  e.transcription = col(columns.phonetic);
  long rank = parseRank(col(columns.frq));
  if (rank == 0) rank = parseRank(col(columns.bnc));
  e.frequency = frequencyOfRank(rank);
  e.imported = true;
  return e;
}

}  // namespace

ImportResult importEcdict(const std::string& path, const ImportOptions& options,
                          SkipReport& skipped) {
  ImportResult result;
  LineReader reader(path, kMaxRecordBytes);
  if (!readable(reader, path, result)) return result;
  auto where = [&](size_t lineNo) { return path + ":" + std::to_string(lineNo); };
  std::vector<std::string> fields, header;
  EcdictColumns columns;
  std::string error;
  while (true) {
    error.clear();
    const size_t startLine = reader.lineNumber() + 1;
    if (!readCsvRecord(reader, fields, error)) break;
    if (error.empty() && header.empty()) {
      header = fields;
      columns = EcdictColumns::fromHeader(header);
      if (!columns.usable()) {
        result.error =
            where(startLine) + ": header must name the columns word and translation or definition";
        return result;
      }
      continue;
    }
    if (error.empty() && fields.size() != header.size())
      error = "expected " + std::to_string(header.size()) + " fields, found " +
              std::to_string(fields.size());
    if (!error.empty()) {
      if (!skipMalformedLine(where(startLine), error, options.lenient && !reader.tooLong(), result,
                             skipped))
        return result;
      continue;
    }
    std::string why;
    DictEntry e = entryOf(fields, columns, why);
    if (e.caption.empty()) {
      skipped.add(why, where(startLine));
      continue;
    }
    result.entries.push_back(std::move(e));
  }
  if (header.empty()) result.error = path + ":1: the file is empty (no header line)";
  return result;
}

}  // namespace quorvi::dictbuild
