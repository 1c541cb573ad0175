// Building blocks shared by the AES dispatch and the two implementations. Not for other callers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "codec/aes_cipher.h"

namespace quorvi::codec::aes_detail {

using RoundKeys = std::uint8_t[15][16];

// Portable, table-driven implementation.
void expandKeyPortable(const std::uint8_t key[32], RoundKeys& roundKeys);
void prepareDecryptKeysPortable(RoundKeys& roundKeys);
void cbcEncryptPortable(const RoundKeys& roundKeys, const std::uint8_t iv[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks);
void cbcDecryptPortable(const RoundKeys& roundKeys, const std::uint8_t iv[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks);

// AES-NI implementation; only to be called when hardwareSupported() is true.
bool hardwareSupported();
void expandKeyHardware(const std::uint8_t key[32], RoundKeys& roundKeys);
void prepareDecryptKeysHardware(RoundKeys& roundKeys);
void cbcEncryptHardware(const RoundKeys& roundKeys, const std::uint8_t iv[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks);
void cbcDecryptHardware(const RoundKeys& roundKeys, const std::uint8_t iv[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks);

// VAES: CBC decryption of whole groups of sixteen blocks; only to be called when
// wideHardwareSupported() is true. `chain` holds the IV (or the block before `in`) and is left
// holding the last ciphertext block read. Returns the blocks done, a multiple of sixteen.
bool wideHardwareSupported();
std::size_t cbcDecryptWide(const RoundKeys& roundKeys, std::uint8_t chain[16], const std::uint8_t* in,
                           std::uint8_t* out, std::size_t blocks);

// True when the block calls currently run on the hardware path.
bool useHardware();

// Key set-up and CBC pass over whole blocks with no bit-count limit, for the page transform.
// Same effect as aesInit followed by one block call, minus the argument checks.
void initUnchecked(AesCipher& cipher, int direction, const std::uint8_t key[32],
                   const std::uint8_t iv[16]);
void cbcUnchecked(const AesCipher& cipher, const std::uint8_t* in, std::uint8_t* out,
                  std::size_t blocks);

}  // namespace quorvi::codec::aes_detail
