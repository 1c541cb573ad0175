#include "spoken_frequencies.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "ascii_case.h"
#include "json_data_file.h"
#include "word_fragments.h"

namespace quorvi::dictbuild {

double SpokenFrequencies::countOf(const std::string& headword) const {
  auto it = counts.find(headword);
  if (it != counts.end()) return it->second;
  it = counts.find(lowerAscii(headword));
  if (it != counts.end()) return it->second;
  // The list writes each word once, as most of its uses are written: "bill" is counted
  // under "Bill" when the name is heard more often.
  std::string capitalised = headword;
  if (!capitalised.empty())
    capitalised[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(capitalised[0])));
  it = counts.find(capitalised);
  return it == counts.end() ? 0 : it->second;
}

bool readSpokenFrequencies(const QJsonDocument& json, SpokenFrequencies& out, std::string& error) {
  if (!json.isArray()) {
    error = "the word list is not an array";
    return false;
  }
  const QJsonArray words = json.array();
  out.counts.reserve(static_cast<size_t>(words.size()));
  for (const QJsonValue& item : words) {
    const QJsonObject o = item.toObject();
    const std::string word = o.value(QStringLiteral("word")).toString().toStdString();
    const double count = o.value(QStringLiteral("count")).toDouble(-1);
    if (word.empty() || count < 0) {
      error = "an item without a word or a count";
      return false;
    }
    if (isContractionPiece(word)) continue;
    double& slot = out.counts[word];
    slot = std::max(slot, count);
  }
  return true;
}

bool loadSpokenFrequencies(const std::string& path, SpokenFrequencies& out, std::string& error) {
  return loadJsonDataFile(
      path,
      [&out](const QJsonDocument& json, std::string& e) {
        return readSpokenFrequencies(json, out, e);
      },
      error);
}

}  // namespace quorvi::dictbuild
