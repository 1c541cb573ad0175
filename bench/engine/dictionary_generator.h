// A synthetic word list shaped like the real one: short ASCII headwords, transcriptions in the
// stored notation, explanations of a few lines.
#pragma once

#include <filesystem>
#include <string>

namespace quorvi::bench {

// Writes `rows` entries to a dictionary at `path`, keyed with `passphrase`, or plain when it
// is empty. Returns an empty string or the error.
std::string generateDictionary(const std::filesystem::path& path, int rows,
                               const std::string& passphrase);

// Copies every row of the keyed dictionary at `keyed` into a plain database at `plain`, the
// way a peer without the codec has to read it.
std::string copyToPlain(const std::filesystem::path& keyed, const std::string& passphrase,
                        const std::filesystem::path& plain);

}  // namespace quorvi::bench
