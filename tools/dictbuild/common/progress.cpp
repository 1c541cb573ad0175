#include "progress.h"

#include <unistd.h>

#include <cstdio>

namespace quorvi::dictbuild {

Progress::Progress(std::string label, size_t total)
    : label_(std::move(label)),
      total_(total),
      terminal_(::isatty(STDERR_FILENO) == 1),
      start_(std::chrono::steady_clock::now()),
      lastDraw_(start_) {}

std::string Progress::clock(double seconds) {
  if (seconds < 0) seconds = 0;
  long s = static_cast<long>(seconds + 0.5);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%ld:%02ld", s / 60, s % 60);
  return buf;
}

void Progress::update(size_t done) {
  auto now = std::chrono::steady_clock::now();
  double elapsed = std::chrono::duration<double>(now - start_).count();
  double rate = elapsed > 0 ? done / elapsed : 0;
  double left = rate > 0 && total_ > done ? (total_ - done) / rate : 0;
  if (terminal_) {
    if (now - lastDraw_ < std::chrono::milliseconds(200)) return;
    lastDraw_ = now;
    std::fprintf(stderr, "\r\033[K%s: %zu/%zu  %.0f/s  %s left", label_.c_str(), done, total_, rate,
                 clock(left).c_str());
    std::fflush(stderr);
  } else if (total_ > 0 && nextQuarter_ < 4 &&
             done * 4 >= total_ * static_cast<size_t>(nextQuarter_)) {
    std::fprintf(stderr, "%s: %zu/%zu (%zu%%), %.0f/s, %s left\n", label_.c_str(), done, total_,
                 done * 100 / total_, rate, clock(left).c_str());
    while (nextQuarter_ < 4 && done * 4 >= total_ * static_cast<size_t>(nextQuarter_))
      ++nextQuarter_;
  }
}

void Progress::finish() {
  double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  std::fprintf(stderr, "%s%s: %zu done in %s\n", terminal_ ? "\r\033[K" : "", label_.c_str(),
               total_, clock(elapsed).c_str());
}

}  // namespace quorvi::dictbuild
