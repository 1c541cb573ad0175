// SHA-256 message padding and buffering, the portable compression function and the dispatch.
#include "codec/sha256.h"

#include <atomic>
#include <bit>
#include <cstring>

#include "codec/byte_order.h"
#include "codec/sha256_internal.h"

namespace quorvi::codec {

namespace sha256_detail {

void compressPortable(std::uint32_t h[8], const std::uint8_t* data, std::size_t blocks) {
  using std::rotr;
  for (; blocks > 0; --blocks, data += 64) {
    std::uint32_t w[64];
    for (int t = 0; t < 16; ++t) w[t] = loadBe32(data + 4 * t);
    for (int t = 16; t < 64; ++t) {
      const std::uint32_t s0 = rotr(w[t - 15], 7) ^ rotr(w[t - 15], 18) ^ (w[t - 15] >> 3);
      const std::uint32_t s1 = rotr(w[t - 2], 17) ^ rotr(w[t - 2], 19) ^ (w[t - 2] >> 10);
      w[t] = w[t - 16] + s0 + w[t - 7] + s1;
    }
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], hh = h[7];
    for (int t = 0; t < 64; ++t) {
      const std::uint32_t sum1 = rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25);
      const std::uint32_t choose = (e & f) ^ (~e & g);
      const std::uint32_t t1 = hh + sum1 + choose + kRoundConstants[t] + w[t];
      const std::uint32_t sum0 = rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22);
      const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
      const std::uint32_t t2 = sum0 + majority;
      hh = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
    h[5] += f;
    h[6] += g;
    h[7] += hh;
  }
}

}  // namespace sha256_detail

namespace {

using CompressFunction = void (*)(std::uint32_t*, const std::uint8_t*, std::size_t);

constexpr std::uint32_t kInitialHash[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                           0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

bool hardwareAvailable() {
  static const bool available = sha256_detail::hardwareSupported();
  return available;
}

CompressFunction pick(Sha256Implementation which) {
  if (which != Sha256Implementation::Portable && hardwareAvailable())
    return sha256_detail::compressHardware;
  return sha256_detail::compressPortable;
}

std::atomic<CompressFunction>& compressFunction() {
  static std::atomic<CompressFunction> function{pick(Sha256Implementation::Auto)};
  return function;
}

inline void compress(std::uint32_t h[8], const std::uint8_t* data, std::size_t blocks) {
  compressFunction().load(std::memory_order_relaxed)(h, data, blocks);
}

}  // namespace

void sha256Init(Sha256Context& context) {
  context.blockBytes = 0;
  context.pendingBytes = 0;
  std::memcpy(context.h, kInitialHash, sizeof kInitialHash);
}

void sha256Update(Sha256Context& context, const void* data, std::size_t count) {
  if (data == nullptr || count == 0) return;
  auto bytes = static_cast<const std::uint8_t*>(data);
  if (context.pendingBytes > 0) {
    const std::size_t take = count < 64 - context.pendingBytes ? count : 64 - context.pendingBytes;
    std::memcpy(context.pending + context.pendingBytes, bytes, take);
    context.pendingBytes += static_cast<std::uint32_t>(take);
    bytes += take;
    count -= take;
    if (context.pendingBytes < 64) return;
    compress(context.h, context.pending, 1);
    context.blockBytes += 64;
    context.pendingBytes = 0;
  }
  const std::size_t blocks = count / 64;
  if (blocks > 0) {
    compress(context.h, bytes, blocks);
    context.blockBytes += static_cast<std::uint64_t>(blocks) * 64;
    bytes += blocks * 64;
    count -= blocks * 64;
  }
  std::memcpy(context.pending, bytes, count);
  context.pendingBytes = static_cast<std::uint32_t>(count);
}

void sha256Final(Sha256Context& context, std::uint8_t digest[32]) {
  const std::uint32_t used = context.pendingBytes;
  // The length field is the full 64-bit bit count of the message.
  const std::uint64_t bitLength = (context.blockBytes + used) * 8;
  const std::size_t total = used < 56 ? 64 : 128;
  context.pending[used] = 0x80;
  std::memset(context.pending + used + 1, 0, total - 8 - used - 1);
  storeBe64(context.pending + total - 8, bitLength);
  compress(context.h, context.pending, total / 64);
  for (int i = 0; i < 8; ++i) storeBe32(digest + 4 * i, context.h[i]);
  context.blockBytes = 0;
  context.pendingBytes = 0;
}

void sha256Short(const void* data, std::size_t count, std::uint8_t digest[32]) {
  if (count > 55) {
    Sha256Context context;
    sha256Init(context);
    sha256Update(context, data, count);
    sha256Final(context, digest);
    return;
  }
  std::uint8_t block[64] = {};
  if (count > 0) std::memcpy(block, data, count);
  block[count] = 0x80;
  storeBe64(block + 56, static_cast<std::uint64_t>(count) * 8);
  std::uint32_t h[8];
  std::memcpy(h, kInitialHash, sizeof kInitialHash);
  compress(h, block, 1);
  for (int i = 0; i < 8; ++i) storeBe32(digest + 4 * i, h[i]);
}

void setSha256Implementation(Sha256Implementation which) {
  compressFunction().store(pick(which), std::memory_order_relaxed);
}

bool sha256HardwareAvailable() {
  return hardwareAvailable();
}

}  // namespace quorvi::codec
