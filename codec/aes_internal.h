// Building blocks shared by the AES dispatch and the two implementations. Not for other callers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "codec/aes_cipher.h"

namespace quorvi::codec::aes_detail {

using RoundKeys = std::uint8_t[15][16];

// What an implementation provides: the key schedule, its turn into the decryption schedule,
// and CBC passes over whole blocks.
using CbcPass = void (*)(const RoundKeys& roundKeys, const std::uint8_t iv[16],
                         const std::uint8_t* in, std::uint8_t* out, std::size_t blocks);
struct AesFunctions {
  void (*expandKey)(const std::uint8_t key[32], RoundKeys& roundKeys);
  void (*prepareDecryptKeys)(RoundKeys& roundKeys);
  CbcPass cbcEncrypt;
  CbcPass cbcDecrypt;
};

// Portable, table-driven implementation.
extern const AesFunctions kPortableAes;

// AES-NI implementation; only to be used when hardwareSupported() is true.
bool hardwareSupported();
extern const AesFunctions kHardwareAes;

// VAES: CBC decryption of whole groups of sixteen blocks; only to be called when
// wideHardwareSupported() is true. `chain` holds the IV (or the block before `in`) and is left
// holding the last ciphertext block read. Returns the blocks done, a multiple of sixteen.
bool wideHardwareSupported();
std::size_t cbcDecryptWide(const RoundKeys& roundKeys, std::uint8_t chain[16],
                           const std::uint8_t* in, std::uint8_t* out, std::size_t blocks);

// True when the block calls currently run on the hardware path.
bool useHardware();

// Key set-up and CBC pass over whole blocks with no bit-count limit, for the page transform.
// Same effect as aesInit followed by one block call, minus the argument checks.
void initUnchecked(AesCipher& cipher, int direction, const std::uint8_t key[32],
                   const std::uint8_t iv[16]);
void cbcUnchecked(const AesCipher& cipher, const std::uint8_t* in, std::uint8_t* out,
                  std::size_t blocks);

}  // namespace quorvi::codec::aes_detail
