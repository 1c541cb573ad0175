#pragma once
// Words heard only as part of a name: "Vegas" and "Las" of Las Vegas, "Kong" of Hong Kong.
// Subtitles split names into words, so such parts are among the words heard most often; the
// entry of the part points to the names it is heard in.
#include <string>
#include <unordered_map>
#include <vector>

#include "dict_entry.h"
#include "spoken_frequencies.h"

namespace quorvi::dictbuild {

class NameParts {
public:
    // Indexes the names of `entries` made of two or more capitalised words.
    explicit NameParts(const std::vector<DictEntry>& entries);

    // One line for each of the (at most two) names `word` is part of, the name most heard
    // first: "in the name Las Vegas: largest city in Nevada; ...". Empty when it is part of none.
    std::vector<std::string> explain(const std::string& word, const SpokenFrequencies& spoken) const;

private:
    const std::vector<DictEntry>& entries_;
    std::unordered_map<std::string, std::vector<size_t>> byPart_;
};

}  // namespace quorvi::dictbuild
