// Records of delimited text as RFC 4180 writes them: a field holding the separator, a double
// quote, a line break (or starting with '#', which Anki reads as a header) is quoted, its
// quotes doubled. The same rules read comma- and tab-separated files back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvi::learner {

using Record = std::vector<std::string>;

// One record and its line end ("\r\n" for CSV, "\n" for Anki's files).
std::string writeRecord(const Record& fields, char separator, std::string_view lineEnd);

// Every record of `text`; a line break inside quotes belongs to the field, CRLF and LF both
// end a record, blank lines are no records. A quote left open is an error.
std::vector<Record> readRecords(std::string_view text, char separator, std::string& error);

}  // namespace quorvi::learner
