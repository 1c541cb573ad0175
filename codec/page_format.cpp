// Passphrase to database key, per-page key and IV, and the page transform.
#include "codec/page_format.h"

#include <cstring>

#include "codec/aes_internal.h"
#include "codec/byte_order.h"
#include "codec/md5.h"
#include "codec/sha256.h"

namespace quorvi::codec {

namespace {

// Fills short passphrases up to 32 bytes (the PDF standard security handler's password padding).
constexpr std::uint8_t kPassphrasePadding[32] = {
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
    0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A,
};

constexpr int kExtraHashRounds = 4001;

constexpr std::uint8_t kPageKeySalt[4] = {0x76, 0x4F, 0x72, 0x4B};  // "vOrK"

// Park-Miller generator in Schrage's form: z = 40692 * z mod 2147483399 without overflow.
constexpr std::int32_t kIvMultiplier = 40692;
constexpr std::int32_t kIvModulus = 2147483399;
constexpr std::int32_t kIvQuotient = 52774;
constexpr std::int32_t kIvRemainder = 3791;
static_assert(kIvModulus == kIvMultiplier * kIvQuotient + kIvRemainder);

}  // namespace

DatabaseKey deriveDatabaseKey(const void* passphrase, int count) {
  int n = count > 32 ? 32 : count;
  if (n < 0 || passphrase == nullptr) n = 0;
  std::uint8_t padded[32];
  if (n > 0) std::memcpy(padded, passphrase, static_cast<std::size_t>(n));
  std::memcpy(padded + n, kPassphrasePadding, static_cast<std::size_t>(32 - n));

  DatabaseKey key;
  sha256Short(padded, sizeof padded, key.data());
  for (int round = 0; round < kExtraHashRounds; ++round)
    sha256Short(key.data(), key.size(), key.data());
  return key;
}

PageKey derivePageKey(const DatabaseKey& databaseKey, std::uint32_t pageNumber) {
  std::uint8_t block[40];
  std::memcpy(block, databaseKey.data(), 32);
  storeLe32(block + 32, pageNumber);
  std::memcpy(block + 36, kPageKeySalt, 4);
  PageKey key;
  sha256Short(block, sizeof block, key.data());
  return key;
}

std::array<std::uint8_t, 16> derivePageIvInput(std::uint32_t pageNumber) {
  // Signed 32-bit steps as the format defines them; page numbers the engine produces keep the
  // seed inside (0, modulus), where no intermediate value can overflow.
  auto z = static_cast<std::int32_t>(pageNumber + 1u);
  std::array<std::uint8_t, 16> input;
  for (int i = 0; i < 4; ++i) {
    const std::int32_t q = z / kIvQuotient;
    z = kIvMultiplier * (z - kIvQuotient * q) - kIvRemainder * q;
    if (z < 0) z += kIvModulus;
    storeLe32(input.data() + 4 * i, static_cast<std::uint32_t>(z));
  }
  return input;
}

PageIv derivePageIv(std::uint32_t pageNumber) {
  const std::array<std::uint8_t, 16> input = derivePageIvInput(pageNumber);
  PageIv iv;
  md5Of16Bytes(input.data(), iv.data());
  return iv;
}

void cryptPage(AesCipher& cipher, const DatabaseKey& databaseKey, std::uint32_t pageNumber,
               CryptDirection direction, const void* in, void* out, std::size_t count) {
  const PageKey pageKey = derivePageKey(databaseKey, pageNumber);
  const PageIv pageIv = derivePageIv(pageNumber);
  const int aesDirection =
      direction == CryptDirection::Decrypt ? kAesDirectionDecrypt : kAesDirectionEncrypt;
  aes_detail::initUnchecked(cipher, aesDirection, pageKey.data(), pageIv.data());
  if (in == nullptr || out == nullptr) return;
  aes_detail::cbcUnchecked(cipher, static_cast<const std::uint8_t*>(in),
                           static_cast<std::uint8_t*>(out), count / 16);
}

}  // namespace quorvi::codec
