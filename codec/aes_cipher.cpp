// AES-256-CBC entry points: argument and state checks, and the choice between the portable and
// the AES-NI implementation.
#include "codec/aes_cipher.h"

#include <atomic>
#include <cstring>

#include "codec/aes_internal.h"

namespace quorvi::codec {

namespace {

std::atomic<AesImplementation> requested{AesImplementation::Auto};

}  // namespace

namespace aes_detail {

bool useHardware() {
  static const bool available = hardwareSupported();
  return available && requested.load(std::memory_order_relaxed) != AesImplementation::Portable;
}

void initUnchecked(AesCipher& cipher, int direction, const std::uint8_t key[32],
                   const std::uint8_t iv[16]) {
  cipher.state = 1;
  cipher.mode = 1;
  cipher.rounds = 14;
  cipher.direction = direction;
  if (iv != nullptr) {
    std::memcpy(cipher.chainingValue, iv, 16);
  } else {
    std::memset(cipher.chainingValue, 0, 16);
  }
  const AesFunctions& aes = useHardware() ? kHardwareAes : kPortableAes;
  aes.expandKey(key, cipher.roundKeys);
  if (direction == kAesDirectionDecrypt) aes.prepareDecryptKeys(cipher.roundKeys);
  cipher.state = 0;
}

void cbcUnchecked(const AesCipher& cipher, const std::uint8_t* in, std::uint8_t* out,
                  std::size_t blocks) {
  const AesFunctions& aes = useHardware() ? kHardwareAes : kPortableAes;
  const CbcPass pass = cipher.direction == kAesDirectionDecrypt ? aes.cbcDecrypt : aes.cbcEncrypt;
  pass(cipher.roundKeys, cipher.chainingValue, in, out, blocks);
}

}  // namespace aes_detail

int aesInit(AesCipher& cipher, int direction, const std::uint8_t* key32, const std::uint8_t* iv16) {
  cipher.state = 1;
  if (direction != kAesDirectionEncrypt && direction != kAesDirectionDecrypt) return -2;
  if (key32 == nullptr) return -4;
  aes_detail::initUnchecked(cipher, direction, key32, iv16);
  return 0;
}

namespace {

int runBlocks(const AesCipher& cipher, int expectedDirection, const std::uint8_t* input, int bits,
              std::uint8_t* output) {
  if (cipher.state != 0) return -5;
  if (cipher.direction != expectedDirection) return -6;
  if (input == nullptr || output == nullptr || bits <= 0) return 0;
  const int blocks = bits / 128;
  aes_detail::cbcUnchecked(cipher, input, output, static_cast<std::size_t>(blocks));
  return blocks * 128;
}

}  // namespace

int aesEncryptBlocks(const AesCipher& cipher, const std::uint8_t* input, int bits,
                     std::uint8_t* output) {
  return runBlocks(cipher, kAesDirectionEncrypt, input, bits, output);
}

int aesDecryptBlocks(const AesCipher& cipher, const std::uint8_t* input, int bits,
                     std::uint8_t* output) {
  return runBlocks(cipher, kAesDirectionDecrypt, input, bits, output);
}

void setAesImplementation(AesImplementation which) {
  requested.store(which, std::memory_order_relaxed);
}

bool aesHardwareAvailable() {
  static const bool available = aes_detail::hardwareSupported();
  return available;
}

}  // namespace quorvi::codec
