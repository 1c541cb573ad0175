#pragma once
// Reads a text file line by line with a bound on the line length, counting lines.
#include <fstream>
#include <memory>
#include <string>

namespace quorvi::dictbuild {

class LineReader {
 public:
  LineReader(const std::string& path, size_t maxLineBytes);
  bool isOpen() const { return in_.is_open(); }
  // Next line without its line break (CR LF or LF; a UTF-8 byte-order mark on the first
  // line is dropped). Returns false at the end of the file or on an over-long line, which
  // tooLong() then reports.
  bool next(std::string& line);
  bool tooLong() const { return tooLong_; }
  size_t lineNumber() const { return lineNumber_; }

 private:
  std::ifstream in_;
  std::unique_ptr<char[]> buffer_;
  size_t maxLineBytes_;
  size_t lineNumber_ = 0;
  bool tooLong_ = false;
};

}  // namespace quorvi::dictbuild
