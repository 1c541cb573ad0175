// SHA-256 (FIPS 180-2) with a portable compression function and, where the CPU has the SHA
// extensions, a hardware one chosen at run time; both give identical digests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvi::codec {

struct Sha256Context {
  std::uint64_t blockBytes = 0;    // bytes in whole blocks compressed so far
  std::uint32_t pendingBytes = 0;  // bytes waiting in `pending` (always < 64 between calls)
  std::uint8_t pending[128] = {};  // two blocks: the final padding may need both
  std::uint32_t h[8] = {};         // chaining words
};

void sha256Init(Sha256Context& context);
void sha256Update(Sha256Context& context, const void* data, std::size_t count);
void sha256Final(Sha256Context& context, std::uint8_t digest[32]);

// One-call digest of a message short enough for a single block (at most 55 bytes), with no
// buffering; used for the per-page key and the key derivation rounds.
void sha256Short(const void* data, std::size_t count, std::uint8_t digest[32]);

enum class Sha256Implementation { Auto, Portable, Hardware };
void setSha256Implementation(Sha256Implementation which);
bool sha256HardwareAvailable();

}  // namespace quorvi::codec
