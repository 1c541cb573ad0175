// The rows of the dictionary that the concurrency test writes and its readers check: every row
// of one version carries that version, so a reader can tell a consistent snapshot from a torn
// one or from rows that decrypted into something else. Also the handshake between the writer
// and its reader processes: each step is a file in the shared folder that one side creates and
// the other waits for, so the order of reads and writes is fixed, not left to timing.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace quorvi::testing {

inline constexpr int kConcurrentRows = 400;
inline constexpr char kConcurrentKey[] = "harbor_lanternfish_sonatina";
inline constexpr char kConcurrentNewKey[] = "a different passphrase";

inline std::string concurrentCaption(int id) {
  return "word" + std::to_string(id);
}
inline std::string concurrentExplain(int id, int version) {
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict, an impossible overlap
  // inside char_traits) about the same text built as one chain of operator+.
  std::string text = "v";
  text += std::to_string(version);
  text += " row ";
  text += std::to_string(id);
  text += ' ';
  text.append(static_cast<std::size_t>(60 + id % 50), static_cast<char>('a' + id % 26));
  return text;
}

// The handshake files: the writer's "spilled-R" (a write transaction of round R has pages in the
// file), "settled-R" (round R committed or rolled back; holds the version now committed) and
// "rekeyed"; reader I's "read-R-I" and "checked-R-I" once it has read in that state.
inline constexpr int kConcurrentRounds = 6;
inline std::string handshakeName(const std::string& step, int round, int reader = -1) {
  std::string name = step;  // appended piece by piece, like concurrentExplain
  name += '-';
  name += std::to_string(round);
  if (reader >= 0) {
    name += '-';
    name += std::to_string(reader);
  }
  return name;
}

inline void signalStep(const std::filesystem::path& file, const std::string& content = "") {
  const std::filesystem::path partial = file.string() + ".part";
  std::ofstream(partial) << content << "\n";
  std::filesystem::rename(partial, file);  // the other side never sees a half-written file
}

// Waits for the other side's file; false when it has not come within `limit` (the other side
// died or hangs).
inline bool waitForStep(const std::filesystem::path& file,
                        std::chrono::seconds limit = std::chrono::seconds(60)) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!std::filesystem::exists(file)) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

inline int readStepNumber(const std::filesystem::path& file) {
  int number = -1;
  std::ifstream(file) >> number;
  return number;
}

}  // namespace quorvi::testing
