// Helpers shared by the codec tests: hex conversion and running a test on each implementation.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codec/aes_cipher.h"
#include "codec/sha256.h"

namespace quorvi::codec::testing {

inline std::vector<std::uint8_t> fromHex(std::string_view hex) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(
        static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  return bytes;
}

inline std::string toHex(const std::uint8_t* data, std::size_t count) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < count; ++i) {
    hex += digits[data[i] >> 4];
    hex += digits[data[i] & 15];
  }
  return hex;
}

template <typename Container>
std::string toHex(const Container& bytes) {
  return toHex(bytes.data(), bytes.size());
}

// Hex SHA-256 of `size` bytes, fed to one context `piece` bytes at a time.
inline std::string sha256Hex(const void* data, std::size_t size, std::size_t piece = SIZE_MAX) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  Sha256Context context;
  sha256Init(context);
  for (std::size_t offset = 0; offset < size; offset += piece)
    sha256Update(context, bytes + offset, std::min(piece, size - offset));
  std::uint8_t digest[32];
  sha256Final(context, digest);
  return toHex(digest, 32);
}

inline std::string sha256Hex(std::string_view message, std::size_t piece = SIZE_MAX) {
  return sha256Hex(message.data(), message.size(), piece);
}

// Parameter for tests that must give the same bytes on the portable and the hardware path.
enum class Path { Portable, Hardware };

inline std::string pathName(const ::testing::TestParamInfo<Path>& info) {
  return info.param == Path::Portable ? "Portable" : "Hardware";
}

// Which hardware paths a test exercises: its "Hardware" case is skipped, not silently run on
// the portable code, when the processor lacks any of them.
enum class Needs { Aes = 1, Sha256 = 2 };

template <Needs needs>
class BothPathsOf : public ::testing::TestWithParam<Path> {
 protected:
  void SetUp() override {
    if (GetParam() == Path::Hardware) {
      const bool needAes = (static_cast<int>(needs) & static_cast<int>(Needs::Aes)) != 0;
      const bool needSha = (static_cast<int>(needs) & static_cast<int>(Needs::Sha256)) != 0;
      if (needAes && !aesHardwareAvailable()) GTEST_SKIP() << "no AES instructions";
      if (needSha && !sha256HardwareAvailable()) GTEST_SKIP() << "no SHA instructions";
      setAesImplementation(AesImplementation::Hardware);
      setSha256Implementation(Sha256Implementation::Hardware);
    } else {
      setAesImplementation(AesImplementation::Portable);
      setSha256Implementation(Sha256Implementation::Portable);
    }
  }
  void TearDown() override {
    setAesImplementation(AesImplementation::Auto);
    setSha256Implementation(Sha256Implementation::Auto);
  }
};

}  // namespace quorvi::codec::testing
