#pragma once
// Progress of a long step on stderr: a live line (count, rate, time left) on a terminal,
// otherwise a few plain lines.
#include <chrono>
#include <cstddef>
#include <string>

namespace quorvi::dictbuild {

class Progress {
 public:
  Progress(std::string label, size_t total);
  void update(size_t done);
  void finish();

  // Formats seconds as m:ss.
  static std::string clock(double seconds);

 private:
  std::string label_;
  size_t total_;
  bool terminal_;
  int nextQuarter_ = 1;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDraw_;
};

}  // namespace quorvi::dictbuild
