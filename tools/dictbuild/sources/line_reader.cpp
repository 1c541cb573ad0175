#include "line_reader.h"

namespace quorvi::dictbuild {

LineReader::LineReader(const std::string& path, size_t maxLineBytes)
    : in_(path, std::ios::binary),
      buffer_(new char[maxLineBytes + 2]),
      maxLineBytes_(maxLineBytes) {}

bool LineReader::next(std::string& line) {
  if (tooLong_ || !in_.good()) return false;
  in_.getline(buffer_.get(), static_cast<std::streamsize>(maxLineBytes_ + 2));
  std::streamsize got = in_.gcount();
  if (in_.fail() && !in_.eof()) {
    // No line break within the limit.
    ++lineNumber_;
    tooLong_ = true;
    return false;
  }
  if (got == 0 && in_.eof()) return false;
  ++lineNumber_;
  size_t length = static_cast<size_t>(got);
  if (length > 0 && !in_.eof()) --length;  // the '\n' counted by gcount
  line.assign(buffer_.get(), length);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (lineNumber_ == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
  if (line.size() > maxLineBytes_) {
    tooLong_ = true;
    return false;
  }
  return true;
}

}  // namespace quorvi::dictbuild
