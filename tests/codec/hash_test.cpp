// Expected digests come from the published test vectors, OpenSSL and Python's hashlib.
#include <algorithm>
#include <string>

#include "codec/md5.h"
#include "codec/sha256.h"
#include "codec_test_support.h"

namespace quorvi::codec::testing {
namespace {

class Sha256Test : public BothPathsOf<Needs::Sha256> {};

TEST_P(Sha256Test, PublishedAndPaddingBoundaryVectors) {
  EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  // 55 bytes fit one padded block, 56 need two, 64 need a second block for the padding alone.
  EXPECT_EQ(sha256Hex(std::string(55, 'a')),
            "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
  EXPECT_EQ(sha256Hex(std::string(56, 'a')),
            "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
  EXPECT_EQ(sha256Hex(std::string(64, 'a')),
            "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");

  std::uint8_t digest[32];
  sha256Short("abc", 3, digest);
  EXPECT_EQ(toHex(digest, 32), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  const std::string fiftyFive(55, 'a');
  sha256Short(fiftyFive.data(), fiftyFive.size(), digest);
  EXPECT_EQ(toHex(digest, 32), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
}

TEST_P(Sha256Test, UpdatesInPiecesOfAnySizeMatchOneShot) {
  std::string message;
  for (int i = 0; i < 4; ++i)
    for (int b = 0; b < 256; ++b) message += static_cast<char>(b);
  const std::string expected = "785b0751fc2c53dc14a4ce3d800e69ef9ce1009eb327ccf458afe09c242c26c9";
  for (std::size_t piece : {1u, 3u, 63u, 64u, 65u, 200u, 1024u})
    EXPECT_EQ(sha256Hex(message, piece), expected) << "piece " << piece;
  EXPECT_EQ(sha256Hex(std::string(1000000, 'a'), 1),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

INSTANTIATE_TEST_SUITE_P(Paths, Sha256Test, ::testing::Values(Path::Portable, Path::Hardware),
                         pathName);

// A message of 2^29 bytes or more has a bit length that does not fit 32 bits; the length field
// must carry the upper bits instead of wrapping to a short message's digest.
TEST(Sha256, LengthFieldHoldsSixtyFourBitBitCount) {
  std::vector<std::uint8_t> zeros(1 << 16, 0);
  Sha256Context context;
  sha256Init(context);
  for (int i = 0; i < (1 << 13); ++i) sha256Update(context, zeros.data(), zeros.size());
  sha256Update(context, "abc", 3);
  std::uint8_t digest[32];
  sha256Final(context, digest);
  EXPECT_EQ(toHex(digest, 32), "717dbb38e902c8ccfec58bd3ad0c34913fab4850d86992ad326ed3ada0382653");
}

std::string md5Hex(const std::string& message, std::size_t piece) {
  Md5Context context;
  md5Init(context);
  for (std::size_t offset = 0; offset < message.size(); offset += piece)
    md5Update(context, message.data() + offset, std::min(piece, message.size() - offset));
  std::uint8_t digest[16];
  md5Final(context, digest);
  return toHex(digest, 16);
}

TEST(Md5, Rfc1321SuiteInOneCallAndInPieces) {
  const std::pair<std::string, std::string> suite[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [message, expected] : suite) {
    EXPECT_EQ(md5Hex(message, message.size() + 1), expected) << message;
    EXPECT_EQ(md5Hex(message, 1), expected) << message;
    EXPECT_EQ(md5Hex(message, 7), expected) << message;
  }
}

TEST(Md5, SixteenByteShortcutMatchesTheGeneralDigest) {
  const auto input = fromHex("e83d010019326445a7fdbe7a31172b5f");
  std::uint8_t digest[16];
  md5Of16Bytes(input.data(), digest);
  EXPECT_EQ(toHex(digest, 16), "20d7420f9c37a35dca6fe92a1c6999a9");
  EXPECT_EQ(md5Hex(std::string(input.begin(), input.end()), 16),
            "20d7420f9c37a35dca6fe92a1c6999a9");
}

}  // namespace
}  // namespace quorvi::codec::testing
