// AES-256 in CBC mode (FIPS-197, NIST SP 800-38A) with a table-driven software path and a
// hardware (AES-NI) path chosen at run time; both give identical bytes.
#pragma once

#include <cstdint>

namespace quorvi::codec {

struct AesCipher {
  AesCipher() = default;
  // A copy is never ready: it has to go through aesInit before it can be used.
  AesCipher(const AesCipher& other) noexcept { *this = other; }
  AesCipher& operator=(const AesCipher& other) noexcept {
    if (this != &other) {
      mode = other.mode;
      direction = other.direction;
      rounds = other.rounds;
      for (int i = 0; i < 16; ++i) chainingValue[i] = other.chainingValue[i];
      for (int r = 0; r < 15; ++r)
        for (int i = 0; i < 16; ++i) roundKeys[r][i] = other.roundKeys[r][i];
    }
    state = 1;
    return *this;
  }

  int state = 1;      // 0 = ready, 1 = not initialised
  int mode = 1;       // always CBC
  int direction = 0;  // 0 = encrypt, 1 = decrypt
  alignas(16) std::uint8_t chainingValue[16] = {};
  int rounds = 14;
  // Expanded key; for a decrypting context, round keys 1..13 are already transformed for the
  // equivalent inverse cipher.
  alignas(16) std::uint8_t roundKeys[15][16] = {};
};

constexpr int kAesDirectionEncrypt = 0;
constexpr int kAesDirectionDecrypt = 1;

// 0 on success; -2 for a direction other than 0 or 1; -4 when key is null.
// A null iv means 16 zero bytes. The context is not ready after a failure.
int aesInit(AesCipher& cipher, int direction, const std::uint8_t* key32, const std::uint8_t* iv16);

// Both return the number of bits processed, floor(bits / 128) * 128; 0 for a null input or a
// length of 0 or less; -5 when the context is not ready; -6 when it was initialised for the
// other direction. Each call starts its chain from the IV given to aesInit. In place is fine.
int aesEncryptBlocks(const AesCipher& cipher, const std::uint8_t* input, int bits,
                     std::uint8_t* output);
int aesDecryptBlocks(const AesCipher& cipher, const std::uint8_t* input, int bits,
                     std::uint8_t* output);

// Which implementation the block calls use. Auto picks the hardware path when the CPU has it.
enum class AesImplementation { Auto, Portable, Hardware };
void setAesImplementation(AesImplementation which);
bool aesHardwareAvailable();

}  // namespace quorvi::codec
