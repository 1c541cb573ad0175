#include "spoken_frequencies.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "ascii_case.h"
#include "json_data_file.h"

namespace quorvi::dictbuild {
namespace {

// Subtitles split "don't" into "don" and "t": such pieces are counted as words but are none.
constexpr std::array<std::string_view, 22> kContractionPieces = {
    "s", "t", "m", "d", "ll", "re", "ve", "don", "didn", "doesn", "isn", "wasn", "weren", "aren",
    "couldn", "wouldn", "shouldn", "hasn", "haven", "hadn", "ain", "mustn"};

bool isContractionPiece(const std::string& word) {
    return std::find(kContractionPieces.begin(), kContractionPieces.end(), word) != kContractionPieces.end();
}

}  // namespace

double SpokenFrequencies::countOf(const std::string& headword) const {
    auto it = counts.find(headword);
    if (it != counts.end()) return it->second;
    it = counts.find(lowerAscii(headword));
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
        path, [&out](const QJsonDocument& json, std::string& e) { return readSpokenFrequencies(json, out, e); }, error);
}

}  // namespace quorvi::dictbuild
