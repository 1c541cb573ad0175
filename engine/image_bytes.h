// Fixed-size values and byte runs in the stored images of the search rows: written in the
// machine's byte order, read back with every length checked.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace quorvi::engine {

template <typename T>
void put(std::string& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.append(bytes, sizeof(T));
}

template <typename T>
void putAll(std::string& out, const std::vector<T>& values) {
  out.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
}

// Reads fixed-size values and byte runs off the front of an image; fails once anything is
// short, and stays failed.
class ImageReader {
 public:
  explicit ImageReader(std::string_view image) : rest_(image) {}
  template <typename T>
  bool get(T& value) {
    if (!take(sizeof(T))) return false;
    std::memcpy(&value, taken_.data(), sizeof(T));
    return true;
  }
  template <typename T>
  bool getAll(std::vector<T>& values, size_t count) {
    if (count > rest_.size() / sizeof(T) || !take(count * sizeof(T))) return false;
    values.resize(count);
    if (count != 0) std::memcpy(values.data(), taken_.data(), count * sizeof(T));
    return true;
  }
  bool getBytes(std::string& bytes, size_t count) {
    if (!take(count)) return false;
    bytes.assign(taken_);
    return true;
  }
  // Passes over `count` bytes.
  bool skip(size_t count) { return take(count); }
  // Bytes not read yet.
  size_t rest() const { return rest_.size(); }
  bool atEnd() const { return ok_ && rest_.empty(); }

 private:
  bool take(size_t count) {
    if (!ok_ || count > rest_.size()) return ok_ = false;
    taken_ = rest_.substr(0, count);
    rest_.remove_prefix(count);
    return true;
  }
  std::string_view rest_;
  std::string_view taken_;
  bool ok_ = true;
};

}  // namespace quorvi::engine
