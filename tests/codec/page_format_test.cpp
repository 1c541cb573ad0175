// Expected keys come from Python's hashlib and the expected page ciphertexts from OpenSSL's
// AES-256-CBC, each fed the key block, IV and page bytes as the file format lays them out.
#include <algorithm>
#include <cstring>
#include <string>

#include "codec/page_format.h"
#include "codec/sha256.h"
#include "codec_test_support.h"

namespace quorvi::codec::testing {
namespace {

const std::string kEmptyPassphraseKey =
    "e36e1031fbe92304fa62a6e8b5abf35753631818b5eb3c25a035427ec4d52f68";
const std::string kSecretKey = "cadb71ad944d36e639585e219b5b3a5cecd1b9c5faee39abd924cc2db01d591d";

DatabaseKey secretKey() {
  DatabaseKey key;
  const auto bytes = fromHex(kSecretKey);
  std::copy(bytes.begin(), bytes.end(), key.begin());
  return key;
}

std::vector<std::uint8_t> pattern(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  return bytes;
}

TEST(PageFormat, PageIvsDependOnThePageNumberOnly) {
  EXPECT_EQ(toHex(derivePageIvInput(1)),
            "e83d010019326445a7fdbe7a31172b5f");  // 81384, 1164194329, ...
  EXPECT_EQ(toHex(derivePageIv(1)), "20d7420f9c37a35dca6fe92a1c6999a9");
  EXPECT_EQ(toHex(derivePageIvInput(2)), "dcdc0100a24b1628f77c1e7846a3c04e");
  EXPECT_EQ(toHex(derivePageIv(2)), "b2547aac5270eef583e1d267a725d988");
  EXPECT_EQ(toHex(derivePageIv(3)), "a58ce66f7d76cb8ce976ddb2557499de");
  EXPECT_EQ(toHex(derivePageIv(1000)), "fca0bda904208d25dabb12dc671b89ab");
}

TEST(PageFormat, PassphraseIsCutOrPaddedToThirtyTwoBytes) {
  EXPECT_EQ(toHex(deriveDatabaseKey("", 0)), kEmptyPassphraseKey);
  EXPECT_EQ(toHex(deriveDatabaseKey("ignored", -3)), kEmptyPassphraseKey);
  EXPECT_EQ(toHex(deriveDatabaseKey(nullptr, 12)), kEmptyPassphraseKey);
  EXPECT_EQ(toHex(deriveDatabaseKey("secret", 6)), kSecretKey);
  // The count decides, not a terminating zero: an embedded zero byte is part of the passphrase.
  EXPECT_NE(deriveDatabaseKey("secret\0x", 8), deriveDatabaseKey("secret", 6));

  std::uint8_t forty[40];
  for (int i = 0; i < 40; ++i) forty[i] = static_cast<std::uint8_t>(i);
  const std::string thirtyTwoBytesUnpadded =
      "429c0f5744662729924e804a9b86b1f0338db1d187263423f4b7b953dd083bdf";
  EXPECT_EQ(toHex(deriveDatabaseKey(forty, 32)), thirtyTwoBytesUnpadded);
  EXPECT_EQ(toHex(deriveDatabaseKey(forty, 40)), thirtyTwoBytesUnpadded);
}

TEST(PageFormat, PageKeyBlockCarriesPageNumberLittleEndianAndSalt) {
  const DatabaseKey key = secretKey();
  EXPECT_EQ(toHex(derivePageKey(key, 1)),
            "83504a8e4f34ea1b2c5b16b26b8e2555637885079b773fe21fd66757f144393e");
  EXPECT_EQ(toHex(derivePageKey(key, 2)),
            "26e5b5317aaaa27fe4eb62f28e8ac3d859764443713caf24e8b4fe75cdf661eb");
  EXPECT_EQ(toHex(derivePageKey(key, 0x01020304)),
            "7ff188d3aa613741045c5bd981e68e5af8b83b8c5736889da55b8d126b3a9369");
}

class CryptPageTest : public BothPathsOf<Needs::Aes> {};

TEST_P(CryptPageTest, MatchesAnIndependentAesCbcOfTheDerivedKeyAndIv) {
  AesCipher cipher;
  const DatabaseKey key = secretKey();
  auto page = pattern(4096);
  cryptPage(cipher, key, 1, CryptDirection::Encrypt, page.data(), page.data(), page.size());
  EXPECT_EQ(toHex(page.data(), 16), "7aeb46af2b87c8541d805ee7dc2c1806");
  EXPECT_EQ(sha256Hex(page.data(), page.size()),
            "00421eeabab810e985314e692c35df832f7d39eed4063504fa48ebda2c3f0b22");

  auto seventh = pattern(1024);
  std::vector<std::uint8_t> encrypted(1024);
  cryptPage(cipher, key, 7, CryptDirection::Encrypt, seventh.data(), encrypted.data(),
            encrypted.size());
  EXPECT_EQ(sha256Hex(encrypted.data(), encrypted.size()),
            "1d88601805faa9f15f595c61ec46a8008b400147cbce2ddfe86eecab3fc9848c");
  cryptPage(cipher, key, 7, CryptDirection::Decrypt, encrypted.data(), encrypted.data(),
            encrypted.size());
  EXPECT_EQ(encrypted, seventh);
}

TEST_P(CryptPageTest, RoundTripsEveryPageSizeOnlyUnderTheSamePageNumber) {
  AesCipher cipher;
  const DatabaseKey key = deriveDatabaseKey("round trip", 10);
  for (std::size_t size : {512u, 1024u, 4096u, 65536u}) {
    const auto plain = pattern(size);
    auto page = plain;
    cryptPage(cipher, key, 42, CryptDirection::Encrypt, page.data(), page.data(), size);
    EXPECT_NE(page, plain);
    auto wrongPage = page;
    cryptPage(cipher, key, 43, CryptDirection::Decrypt, wrongPage.data(), wrongPage.data(), size);
    EXPECT_NE(wrongPage, plain) << size;
    cryptPage(cipher, key, 42, CryptDirection::Decrypt, page.data(), page.data(), size);
    EXPECT_EQ(page, plain) << size;
  }
}

TEST_P(CryptPageTest, FirstPageHeaderIsHiddenAndPartialBlocksAreLeftAlone) {
  AesCipher cipher;
  const DatabaseKey key = deriveDatabaseKey("", 0);
  std::vector<std::uint8_t> page(1024, 0);
  static const char kMagic[] = "SQLite format 3";
  std::memcpy(page.data(), kMagic, 16);
  cryptPage(cipher, key, 1, CryptDirection::Encrypt, page.data(), page.data(), page.size());
  EXPECT_NE(0, std::memcmp(page.data(), kMagic, 16));

  std::vector<std::uint8_t> odd(40, 0xab);
  cryptPage(cipher, key, 1, CryptDirection::Encrypt, odd.data(), odd.data(), 40);
  EXPECT_TRUE(std::all_of(odd.begin() + 32, odd.end(), [](std::uint8_t b) { return b == 0xab; }));
  EXPECT_NE(odd[31], 0xab);
}

INSTANTIATE_TEST_SUITE_P(Paths, CryptPageTest, ::testing::Values(Path::Portable, Path::Hardware),
                         pathName);

}  // namespace
}  // namespace quorvi::codec::testing
