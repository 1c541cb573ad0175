#include <algorithm>
#include <cstring>
#include <random>

#include "codec/aes_cipher.h"
#include "codec/aes_internal.h"
#include "codec_test_support.h"

namespace quorvi::codec::testing {
namespace {

std::vector<std::uint8_t> sequence(std::size_t count, std::uint8_t step = 1) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * step);
  return bytes;
}

class AesCipherTest : public BothPathsOf<Needs::Aes> {};

TEST_P(AesCipherTest, Fips197AppendixC3EncryptsAndDecryptsInPlace) {
  const auto key = sequence(32);
  const auto plain = sequence(16, 0x11);
  AesCipher cipher;
  ASSERT_EQ(aesInit(cipher, kAesDirectionEncrypt, key.data(), nullptr), 0);
  std::vector<std::uint8_t> block(16);
  EXPECT_EQ(aesEncryptBlocks(cipher, plain.data(), 128, block.data()), 128);
  EXPECT_EQ(toHex(block), "8ea2b7ca516745bfeafc49904b496089");

  ASSERT_EQ(aesInit(cipher, kAesDirectionDecrypt, key.data(), nullptr), 0);
  EXPECT_EQ(aesDecryptBlocks(cipher, block.data(), 128, block.data()), 128);
  EXPECT_EQ(block, plain);
}

TEST_P(AesCipherTest, Sp80038aCbcAes256EncryptAndDecrypt) {
  const auto key = fromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
  const auto iv = fromHex("000102030405060708090a0b0c0d0e0f");
  const auto plain = fromHex(
      "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
      "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
  const std::string expected =
      "f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d"
      "39f23369a9d9bacfa530e26304231461b2eb05e2c39be9fcda6c19078c6a9d1b";
  AesCipher cipher;
  ASSERT_EQ(aesInit(cipher, kAesDirectionEncrypt, key.data(), iv.data()), 0);
  std::vector<std::uint8_t> buffer(64);
  EXPECT_EQ(aesEncryptBlocks(cipher, plain.data(), 512, buffer.data()), 512);
  EXPECT_EQ(toHex(buffer), expected);

  ASSERT_EQ(aesInit(cipher, kAesDirectionDecrypt, key.data(), iv.data()), 0);
  EXPECT_EQ(aesDecryptBlocks(cipher, buffer.data(), 512, buffer.data()), 512);
  EXPECT_EQ(buffer, plain);
}

// One long call must equal chaining single-block calls by hand, and every call restarts the
// chain from the IV, so the same call twice gives the same bytes.
TEST_P(AesCipherTest, LongCallsChainLikeSingleBlocksAndRestartFromTheIv) {
  const auto key = sequence(32, 7);
  const auto iv = sequence(16, 13);
  const auto plain = sequence(1024, 3);
  AesCipher cipher;
  ASSERT_EQ(aesInit(cipher, kAesDirectionEncrypt, key.data(), iv.data()), 0);
  std::vector<std::uint8_t> whole(1024), again(1024);
  EXPECT_EQ(aesEncryptBlocks(cipher, plain.data(), 1024 * 8, whole.data()), 8192);
  EXPECT_EQ(aesEncryptBlocks(cipher, plain.data(), 1024 * 8, again.data()), 8192);
  EXPECT_EQ(whole, again);
  EXPECT_EQ(0, std::memcmp(cipher.chainingValue, iv.data(), 16));

  std::vector<std::uint8_t> chained(1024);
  std::vector<std::uint8_t> previous = iv;
  for (std::size_t offset = 0; offset < 1024; offset += 16) {
    AesCipher single;
    ASSERT_EQ(aesInit(single, kAesDirectionEncrypt, key.data(), previous.data()), 0);
    ASSERT_EQ(aesEncryptBlocks(single, plain.data() + offset, 128, chained.data() + offset), 128);
    previous.assign(chained.begin() + offset, chained.begin() + offset + 16);
  }
  EXPECT_EQ(whole, chained);

  // In-place decryption over a length that is not a multiple of the eight-block stride.
  ASSERT_EQ(aesInit(cipher, kAesDirectionDecrypt, key.data(), iv.data()), 0);
  EXPECT_EQ(aesDecryptBlocks(cipher, whole.data(), 1008 * 8, whole.data()), 1008 * 8);
  EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + 1008, whole.begin()));
}

TEST_P(AesCipherTest, ProcessesWholeBlocksOnlyAndLeavesTheTailAlone) {
  const auto key = sequence(32);
  const auto plain = sequence(1000, 5);
  for (int direction : {kAesDirectionEncrypt, kAesDirectionDecrypt}) {
    AesCipher cipher;
    ASSERT_EQ(aesInit(cipher, direction, key.data(), nullptr), 0);
    auto run = [&](const std::uint8_t* in, int bits, std::uint8_t* out) {
      return direction == kAesDirectionEncrypt ? aesEncryptBlocks(cipher, in, bits, out)
                                               : aesDecryptBlocks(cipher, in, bits, out);
    };
    std::vector<std::uint8_t> out(1000, 0xee);
    EXPECT_EQ(run(plain.data(), 8000, out.data()), 7936);
    EXPECT_TRUE(
        std::all_of(out.begin() + 992, out.end(), [](std::uint8_t b) { return b == 0xee; }));
    EXPECT_NE(out[991], 0xee);

    std::vector<std::uint8_t> untouched(32, 0xee);
    EXPECT_EQ(run(plain.data(), 127, untouched.data()), 0);
    EXPECT_EQ(run(plain.data(), 255, untouched.data()), 128);
    EXPECT_EQ(untouched[16], 0xee);
    EXPECT_EQ(run(plain.data(), 0, untouched.data()), 0);
    EXPECT_EQ(run(plain.data(), -128, untouched.data()), 0);
    EXPECT_EQ(run(nullptr, 128, untouched.data()), 0);
  }
}

TEST_P(AesCipherTest, ContextStateAndDirectionErrors) {
  const auto key = sequence(32);
  std::uint8_t block[16] = {};
  AesCipher fresh;
  EXPECT_EQ(aesEncryptBlocks(fresh, block, 128, block), -5);
  EXPECT_EQ(aesDecryptBlocks(fresh, block, 128, block), -5);

  AesCipher cipher;
  EXPECT_EQ(aesInit(cipher, 2, key.data(), nullptr), -2);
  EXPECT_EQ(aesInit(cipher, -1, key.data(), nullptr), -2);
  EXPECT_EQ(aesInit(cipher, kAesDirectionEncrypt, nullptr, nullptr), -4);
  EXPECT_EQ(aesEncryptBlocks(cipher, block, 128, block), -5);

  ASSERT_EQ(aesInit(cipher, kAesDirectionDecrypt, key.data(), nullptr), 0);
  EXPECT_EQ(aesEncryptBlocks(cipher, block, 128, block), -6);
  ASSERT_EQ(aesInit(cipher, kAesDirectionEncrypt, key.data(), nullptr), 0);
  EXPECT_EQ(aesDecryptBlocks(cipher, block, 128, block), -6);

  // A failed re-initialisation leaves a previously ready context unusable.
  EXPECT_EQ(aesInit(cipher, kAesDirectionEncrypt, nullptr, nullptr), -4);
  EXPECT_EQ(aesEncryptBlocks(cipher, block, 128, block), -5);

  ASSERT_EQ(aesInit(cipher, kAesDirectionEncrypt, key.data(), nullptr), 0);
  const AesCipher copy = cipher;
  EXPECT_EQ(aesEncryptBlocks(copy, block, 128, block), -5);
}

INSTANTIATE_TEST_SUITE_P(Paths, AesCipherTest, ::testing::Values(Path::Portable, Path::Hardware),
                         pathName);

// Random keys and data through both implementations: the round keys (including the decryption
// key preparation) and all outputs must be identical.
TEST(AesImplementations, AgreeOnRandomKeysAndData) {
  if (!aesHardwareAvailable()) GTEST_SKIP() << "no AES instructions";
  std::mt19937 random(20261208);
  std::vector<std::uint8_t> key(32), iv(16), data(16 * 37);
  for (int trial = 0; trial < 50; ++trial) {
    for (auto& b : key) b = static_cast<std::uint8_t>(random());
    for (auto& b : iv) b = static_cast<std::uint8_t>(random());
    for (auto& b : data) b = static_cast<std::uint8_t>(random());
    for (int direction : {kAesDirectionEncrypt, kAesDirectionDecrypt}) {
      AesCipher portable, hardware;
      setAesImplementation(AesImplementation::Portable);
      ASSERT_EQ(aesInit(portable, direction, key.data(), iv.data()), 0);
      setAesImplementation(AesImplementation::Hardware);
      ASSERT_EQ(aesInit(hardware, direction, key.data(), iv.data()), 0);
      ASSERT_EQ(0, std::memcmp(portable.roundKeys, hardware.roundKeys, sizeof portable.roundKeys));

      std::vector<std::uint8_t> outPortable(data.size()), outHardware(data.size());
      const int bits = static_cast<int>(data.size() * 8);
      setAesImplementation(AesImplementation::Portable);
      if (direction == kAesDirectionEncrypt)
        aesEncryptBlocks(portable, data.data(), bits, outPortable.data());
      else
        aesDecryptBlocks(portable, data.data(), bits, outPortable.data());
      setAesImplementation(AesImplementation::Hardware);
      if (direction == kAesDirectionEncrypt)
        aesEncryptBlocks(hardware, data.data(), bits, outHardware.data());
      else
        aesDecryptBlocks(hardware, data.data(), bits, outHardware.data());
      ASSERT_EQ(outPortable, outHardware) << "trial " << trial << " direction " << direction;
    }
  }
  setAesImplementation(AesImplementation::Auto);
}

// The sixteen-block VAES decryption, then the portable path for the rest from the chain block
// it hands over: the same plaintext as the portable path alone, also decrypting in place.
TEST(AesImplementations, WideDecryptionAgreesWithThePortablePathAlsoInPlace) {
  if (!aes_detail::wideHardwareSupported()) GTEST_SKIP() << "no VAES instructions";
  std::mt19937 random(8122026);
  std::uint8_t key[32], iv[16];
  for (std::size_t blocks :
       {std::size_t{1}, std::size_t{16}, std::size_t{17}, std::size_t{47}, std::size_t{256}}) {
    for (auto& b : key) b = static_cast<std::uint8_t>(random());
    for (auto& b : iv) b = static_cast<std::uint8_t>(random());
    aes_detail::RoundKeys roundKeys;
    aes_detail::kPortableAes.expandKey(key, roundKeys);
    aes_detail::kPortableAes.prepareDecryptKeys(roundKeys);
    std::vector<std::uint8_t> data(16 * blocks), expected(data.size());
    for (auto& b : data) b = static_cast<std::uint8_t>(random());
    aes_detail::kPortableAes.cbcDecrypt(roundKeys, iv, data.data(), expected.data(), blocks);
    for (bool inPlace : {false, true}) {
      std::vector<std::uint8_t> out = inPlace ? data : std::vector<std::uint8_t>(data.size());
      std::uint8_t* target = out.data();
      const std::uint8_t* source = inPlace ? out.data() : data.data();
      std::uint8_t chain[16];
      std::memcpy(chain, iv, sizeof chain);
      const std::size_t done = aes_detail::cbcDecryptWide(roundKeys, chain, source, target, blocks);
      EXPECT_EQ(done, blocks - blocks % 16);
      aes_detail::kPortableAes.cbcDecrypt(roundKeys, chain, source + 16 * done, target + 16 * done,
                                          blocks - done);
      EXPECT_EQ(out, expected) << blocks << " blocks, in place " << inPlace;
    }
  }
}

}  // namespace
}  // namespace quorvi::codec::testing
