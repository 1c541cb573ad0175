// Records of delimited text as RFC 4180 writes them: a field holding the separator, a double
// quote, a line break (or starting with '#', which Anki reads as a header) is quoted, its
// quotes doubled. The same rules read comma- and tab-separated files back.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvi::learner {

using Record = std::vector<std::string>;

// One record and its line end ("\r\n" for CSV, "\n" for Anki's files).
std::string writeRecord(const Record& fields, char separator, std::string_view lineEnd);

// Calls `onRecord` with each record of `text` and the offset where the next one starts; a
// line break inside quotes belongs to the field, CRLF and LF both end a record, blank lines
// are no records. `onRecord` returns false to stop. Returns an empty string, or the error (a
// quote left open).
std::string forEachRecord(std::string_view text, char separator,
                          const std::function<bool(Record&, std::size_t)>& onRecord);

// Every record of `text` (see forEachRecord); empty with `error` set on error.
std::vector<Record> readRecords(std::string_view text, char separator, std::string& error);

// A spreadsheet reads a cell that opens with = + - @ (or a tab or carriage return) as a
// formula and runs it. Such a cell is written with an apostrophe before it, which the
// spreadsheet shows as text; spreadsheetText takes it off again, and the two give back any
// text unchanged.
std::string inertInSpreadsheet(std::string cell);
std::string spreadsheetText(std::string cell);

}  // namespace quorvi::learner
