#pragma once
// Words heard only as part of a name or a set phrase: "Vegas" and "Las" of Las Vegas, "Kong"
// of Hong Kong, "cetera" of et cetera, "versa" of vice versa, "walkie" of walkie-talkie.
// Subtitles split them into words, so such parts are among the words heard most often; the
// entry of the part points to the names or phrases it is heard in.
#include <string>
#include <unordered_map>
#include <vector>

#include "dict_entry.h"
#include "spoken_frequencies.h"

namespace quorvi::dictbuild {

class PhraseParts {
 public:
  // Indexes the headwords of `entries` made of two to four words (split at spaces and
  // hyphens): names, whose words are capitalised but for particles ("Wizard of Oz", "von
  // Neumann"), and phrases, whose words are all lower case.
  explicit PhraseParts(const std::vector<DictEntry>& entries);

  // One line for each of the (at most two) names or phrases `word` is part of, the one whose
  // other words are heard most first: "in the name Las Vegas: largest city in Nevada; ...",
  // "in the phrase et cetera: and so forth". Empty when it is part of none.
  std::vector<std::string> explain(const std::string& word, const SpokenFrequencies& spoken) const;

 private:
  const std::vector<DictEntry>& entries_;
  std::unordered_map<std::string, std::vector<size_t>> byPart_;
};

}  // namespace quorvi::dictbuild
