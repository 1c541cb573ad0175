// On-disk format of an encrypted database: every page is AES-256-CBC encrypted by itself,
// under a key and IV derived from the database key and the page number.
// Every constant behind these functions is part of the file format.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "codec/aes_cipher.h"

namespace quorvi::codec {

using DatabaseKey = std::array<std::uint8_t, 32>;
using PageKey = std::array<std::uint8_t, 32>;
using PageIv = std::array<std::uint8_t, 16>;

enum class CryptDirection : int { Encrypt = 0, Decrypt = 1 };

// Passphrase (only the first 32 bytes count; a count of zero or less is an empty passphrase)
// to the 32-byte database key. Slow on purpose: run once per key operation, never per page.
DatabaseKey deriveDatabaseKey(const void* passphrase, int count);

// SHA-256 of database key || page number (little-endian) || "vOrK".
PageKey derivePageKey(const DatabaseKey& databaseKey, std::uint32_t pageNumber);

// The 16 bytes the page IV is the MD5 digest of: four steps s1..s4 of the generator below,
// each 32-bit little-endian.
std::array<std::uint8_t, 16> derivePageIvInput(std::uint32_t pageNumber);

// MD5 of four steps of a Park-Miller generator seeded with pageNumber + 1; independent of any key.
PageIv derivePageIv(std::uint32_t pageNumber);

// Encrypts or decrypts floor(count / 16) blocks of one page from `in` to `out` (which may be
// the same buffer); bytes past the last whole block are left untouched. `cipher` is the
// caller's context and is re-initialised on every call. Allocates nothing and cannot fail.
void cryptPage(AesCipher& cipher, const DatabaseKey& databaseKey, std::uint32_t pageNumber,
               CryptDirection direction, const void* in, void* out, std::size_t count);

}  // namespace quorvi::codec
