#include "learner/dictionary_facts.h"

#include "engine/phonetic_dictionary.h"

namespace quorvi::learner {
namespace {

struct Level {
  const char* chinese;
  const char* tag;
};
// The lists the dictionary builder names on an entry's learner-levels line.
const Level kLevels[] = {{"中考", "Zhongkao"}, {"高考", "Gaokao"}, {"四级", "CET4"},
                         {"六级", "CET6"},     {"考研", "Kaoyan"}, {"雅思", "IELTS"},
                         {"托福", "TOEFL"},    {"GRE", "GRE"},     {"牛津3000", "Oxford3000"}};

bool holdsChinese(const QString& line) {
  for (const QChar c : line) {
    const char16_t u = c.unicode();
    if ((u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF)) return true;
  }
  return false;
}

// The headword's lines, or empty when the dictionary has no such row.
QStringList entryOf(PhoneticDictionary& dictionary, const std::string& word) {
  if (!dictionary.isOpen()) return {};
  return dictionary.entryText(word);
}

}  // namespace

std::vector<std::string> levelTags(const QString& line) {
  std::vector<std::string> tags;
  const QStringList tokens = line.split(u' ', Qt::SkipEmptyParts);
  for (const QString& token : tokens) {
    if (token == QStringLiteral("·")) continue;
    const QString collins = QStringLiteral("柯林斯");
    if (token.startsWith(collins)) {
      const QString stars = token.mid(collins.size());
      if (stars.isEmpty() || stars.size() > 5 || stars.count(QStringLiteral("★")) != stars.size())
        return {};
      tags.push_back("Collins" + std::to_string(stars.size()));
      continue;
    }
    bool known = false;
    for (const Level& level : kLevels) {
      if (token == QString::fromUtf8(level.chinese)) {
        tags.push_back(level.tag);
        known = true;
      }
    }
    if (!known) return {};
  }
  return tags;
}

std::string levelName(const std::string& tag) {
  for (const Level& level : kLevels)
    if (tag == level.tag) return level.chinese;
  return {};
}

WordFacts factsOfEntry(const QStringList& entryLines) {
  WordFacts facts;
  if (entryLines.size() < 3) return facts;
  QString transcription = entryLines[1];
  if (transcription.startsWith(u'[') && transcription.endsWith(u']'))
    transcription = transcription.mid(1, transcription.size() - 2);
  facts.transcription = transcription.toStdString();
  // The explanation: Chinese lines first, then the learner-levels line, then the senses.
  const QStringList lines = entryLines[2].split(u'\n');
  bool chineseDone = false;
  for (const QString& raw : lines) {
    const QString line = raw.trimmed();
    if (line.isEmpty()) continue;
    if (std::vector<std::string> tags = levelTags(line); !tags.empty()) {
      if (facts.levels.empty()) facts.levels = std::move(tags);
      chineseDone = true;
      continue;
    }
    if (!chineseDone && holdsChinese(line)) {
      facts.chinese.push_back(line.toStdString());
      continue;
    }
    chineseDone = true;
    if (facts.firstSense.empty()) facts.firstSense = line.toStdString();
  }
  return facts;
}

FactsLookup factsLookup(PhoneticDictionary& dictionary) {
  return [&dictionary](const std::string& word) -> std::optional<WordFacts> {
    const QStringList lines = entryOf(dictionary, word);
    if (lines.size() < 3) return std::nullopt;
    return factsOfEntry(lines.mid(0, 3));
  };
}

}  // namespace quorvi::learner
