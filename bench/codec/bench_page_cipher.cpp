// Decryption throughput of whole 4096-byte pages: cryptPage (page key and IV derivation, key
// set-up and CBC pass per page) on the hardware and the portable path, against OpenSSL's EVP
// AES-256-CBC decrypting the same ciphertext with the same keys and IVs given ready-made. The
// fair peer fetches its cipher once and sets only key and IV per page; the ratios are against
// it. The peer that looks the cipher up again for every page is printed for comparison.
#include <openssl/evp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "codec/page_format.h"
#include "codec/sha256.h"

using namespace quorvi::codec;

namespace {

constexpr std::size_t kPageSize = 4096;
constexpr std::uint32_t kPages = 256;  // 1 MiB per pass
constexpr int kRepeats = 7;
constexpr double kSecondsPerRepeat = 0.15;

struct Corpus {
  DatabaseKey key{};
  std::vector<std::uint8_t> cipherText;
  std::vector<PageKey> pageKeys;
  std::vector<PageIv> pageIvs;
};

using Clock = std::chrono::steady_clock;

// Best MB/s over several repeats; each repeat runs whole passes for about kSecondsPerRepeat.
template <typename Pass>
double measure(Pass pass) {
  double best = 0;
  for (int repeat = 0; repeat < kRepeats; ++repeat) {
    std::size_t passes = 0;
    const auto start = Clock::now();
    double elapsed = 0;
    do {
      pass();
      ++passes;
      elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < kSecondsPerRepeat);
    const double megabytes = static_cast<double>(passes * kPages * kPageSize) / 1e6;
    best = std::max(best, megabytes / elapsed);
  }
  return best;
}

// `cipher` nullptr: the context keeps the cipher it was set up with, and only key and IV change.
bool opensslDecrypt(EVP_CIPHER_CTX* context, const EVP_CIPHER* cipher, const Corpus& corpus,
                    std::vector<std::uint8_t>& out) {
  for (std::uint32_t i = 0; i < kPages; ++i) {
    if (EVP_DecryptInit_ex(context, cipher, nullptr, corpus.pageKeys[i].data(),
                           corpus.pageIvs[i].data()) != 1)
      return false;
    if (cipher != nullptr) EVP_CIPHER_CTX_set_padding(context, 0);
    int written = 0;
    if (EVP_DecryptUpdate(context, out.data() + i * kPageSize, &written,
                          corpus.cipherText.data() + i * kPageSize,
                          static_cast<int>(kPageSize)) != 1 ||
        written != static_cast<int>(kPageSize))
      return false;
  }
  return true;
}

void cryptPages(AesCipher& cipher, const Corpus& corpus, std::vector<std::uint8_t>& out) {
  for (std::uint32_t i = 0; i < kPages; ++i)
    cryptPage(cipher, corpus.key, i + 1, CryptDirection::Decrypt,
              corpus.cipherText.data() + i * kPageSize, out.data() + i * kPageSize, kPageSize);
}

}  // namespace

int main() {
  Corpus corpus;
  corpus.key = deriveDatabaseKey("benchmark passphrase", 20);
  std::vector<std::uint8_t> plain(kPages * kPageSize);
  for (std::size_t i = 0; i < plain.size(); ++i)
    plain[i] = static_cast<std::uint8_t>(i * 31 + (i >> 12));
  corpus.cipherText = plain;
  AesCipher cipher;
  for (std::uint32_t i = 0; i < kPages; ++i) {
    cryptPage(cipher, corpus.key, i + 1, CryptDirection::Encrypt,
              corpus.cipherText.data() + i * kPageSize, corpus.cipherText.data() + i * kPageSize,
              kPageSize);
    corpus.pageKeys.push_back(derivePageKey(corpus.key, i + 1));
    corpus.pageIvs.push_back(derivePageIv(i + 1));
  }

  EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
  EVP_CIPHER* fetched = EVP_CIPHER_fetch(nullptr, "AES-256-CBC", nullptr);
  std::vector<std::uint8_t> out(plain.size());
  bool peerOk = context != nullptr && fetched != nullptr &&
                opensslDecrypt(context, EVP_aes_256_cbc(), corpus, out) && out == plain;
  std::fill(out.begin(), out.end(), 0);
  // Set up once with the fetched cipher; from then on only key and IV per page.
  peerOk = peerOk && EVP_DecryptInit_ex(context, fetched, nullptr, nullptr, nullptr) == 1 &&
           EVP_CIPHER_CTX_set_padding(context, 0) == 1 &&
           opensslDecrypt(context, nullptr, corpus, out) && out == plain;
  if (!peerOk) {
    std::fprintf(stderr, "OpenSSL peer failed or disagrees with the page format\n");
    return 1;
  }

  std::printf("Decrypting %u pages of %zu bytes per pass (best of %d repeats)\n", kPages, kPageSize,
              kRepeats);
  std::printf("AES instructions: %s, SHA instructions: %s\n", aesHardwareAvailable() ? "yes" : "no",
              sha256HardwareAvailable() ? "yes" : "no");
  const double peer = measure([&] { opensslDecrypt(context, nullptr, corpus, out); });
  std::printf("%-52s %9.1f MB/s\n", "OpenSSL AES-256-CBC, fetched once (keys given)", peer);
  EVP_CIPHER_CTX* lookupContext = EVP_CIPHER_CTX_new();
  const double perPageLookup =
      measure([&] { opensslDecrypt(lookupContext, EVP_aes_256_cbc(), corpus, out); });
  EVP_CIPHER_CTX_free(lookupContext);
  std::printf("%-52s %9.1f MB/s  ratio to the fair peer %.2f\n",
              "OpenSSL AES-256-CBC, looked up per page", perPageLookup, perPageLookup / peer);

  struct Variant {
    const char* name;
    AesImplementation aes;
    Sha256Implementation sha;
  };
  const Variant variants[] = {
      {"cryptPage, hardware path", AesImplementation::Hardware, Sha256Implementation::Hardware},
      {"cryptPage, portable path", AesImplementation::Portable, Sha256Implementation::Portable},
  };
  int status = 0;
  for (const Variant& variant : variants) {
    setAesImplementation(variant.aes);
    setSha256Implementation(variant.sha);
    std::fill(out.begin(), out.end(), 0);
    cryptPages(cipher, corpus, out);
    if (out != plain) {
      std::fprintf(stderr, "%s: decryption does not restore the pages\n", variant.name);
      status = 1;
      continue;
    }
    const double ours = measure([&] { cryptPages(cipher, corpus, out); });
    std::printf("%-52s %9.1f MB/s  ratio to the fair peer %.2f\n", variant.name, ours, ours / peer);
  }
  std::printf(
      "Goal: hardware path (with its per-page key derivation) at least 1.00 of the fair peer\n");
  EVP_CIPHER_free(fetched);
  EVP_CIPHER_CTX_free(context);
  return status;
}
