#include "engine/spelling_ranking.h"

#include <algorithm>
#include <vector>

#include <QSet>

namespace {

bool isSpecial(QChar c) {
  return QStringView(u".[]()*+?{}|\\^$").contains(c);
}

bool isPlainWord(const QString& caption) {
  for (QChar c : caption)
    if (c.isUpper() || c == QLatin1Char(' ')) return false;
  return true;
}

}  // namespace

QString literalPrefix(const QString& pattern, bool& whole) {
  qsizetype i = pattern.startsWith(QLatin1Char('^')) ? 1 : 0;
  QString prefix;
  while (i < pattern.size() && !isSpecial(pattern[i])) prefix += pattern[i++];
  // A quantified last letter may be missing from a match.
  if (i < pattern.size() && QStringView(u"*?{").contains(pattern[i]) && !prefix.isEmpty()) {
    prefix.chop(1);
    whole = false;
    return prefix;
  }
  whole = i == pattern.size() || (i + 1 == pattern.size() && pattern[i] == QLatin1Char('$'));
  return prefix;
}

QStringList rankSpellingMatches(const QStringList& found, const QString& pattern, qsizetype limit) {
  bool whole = false;
  const QString prefix = literalPrefix(pattern, whole);
  struct Ranked {
    int tier;
    bool plain;
    qsizetype order;
  };
  std::vector<Ranked> ranked;
  ranked.reserve(static_cast<size_t>(found.size()));
  for (qsizetype i = 0; i < found.size(); ++i) {
    const QString& word = found[i];
    int tier = 4;
    if (whole && word == prefix)
      tier = 0;
    else if (whole && word.compare(prefix, Qt::CaseInsensitive) == 0)
      tier = 1;
    else if (!prefix.isEmpty() && word.startsWith(prefix, Qt::CaseInsensitive))
      tier = 2;
    ranked.push_back({tier, isPlainWord(word), i});
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    if (a.tier != b.tier) return a.tier < b.tier;
    return a.plain && !b.plain;
  });
  QStringList words;
  QSet<QString> seen;
  for (const Ranked& r : ranked) {
    if (limit >= 0 && words.size() >= limit) break;
    const QString& word = found[r.order];
    if (seen.contains(word)) continue;
    seen.insert(word);
    words.append(word);
  }
  return words;
}
