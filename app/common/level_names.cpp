#include "app/common/level_names.h"

#include <QCoreApplication>
#include <QStringList>

#include <string>

#include "learner/dictionary_facts.h"

namespace {

// No line break between the characters it stands between.
const QChar kWordJoiner(0x2060);

QString tr(const char* text) {
  return QCoreApplication::translate("LevelNames", text);
}

// `text` that no line break splits: its spaces no-break ones, word joiners between the rest.
QString joined(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (i > 0 && text[i] != QLatin1Char(' ') && text[i - 1] != QLatin1Char(' ')) out += kWordJoiner;
    out += text[i] == QLatin1Char(' ') ? QChar(0x00A0) : text[i];
  }
  return out;
}

}  // namespace

QString levelDisplayName(const QString& tag) {
  if (tag.startsWith(QLatin1String("Collins"))) {
    const int stars = tag.mid(7).toInt();
    return tr("柯林斯%1").arg(QString(stars, QChar(0x2605)));
  }
  static const std::pair<const char*, const char*> kNames[] = {
      {"Zhongkao", QT_TRANSLATE_NOOP("LevelNames", "中考")},
      {"Gaokao", QT_TRANSLATE_NOOP("LevelNames", "高考")},
      {"CET4", QT_TRANSLATE_NOOP("LevelNames", "四级")},
      {"CET6", QT_TRANSLATE_NOOP("LevelNames", "六级")},
      {"Kaoyan", QT_TRANSLATE_NOOP("LevelNames", "考研")},
      {"IELTS", QT_TRANSLATE_NOOP("LevelNames", "雅思")},
      {"TOEFL", QT_TRANSLATE_NOOP("LevelNames", "托福")},
      {"GRE", "GRE"},
      {"Oxford3000", QT_TRANSLATE_NOOP("LevelNames", "牛津3000")}};
  for (const auto& [known, name] : kNames)
    if (tag == QLatin1String(known)) return tr(name);
  return tag;
}

QString levelsLineForDisplay(const QString& line) {
  const std::vector<std::string> tags = quorvi::learner::levelTags(line.trimmed());
  if (tags.empty()) return line;
  // The groups stay as the line has them: exams, then the Oxford list, then Collins.
  QStringList groups;
  QStringList group;
  std::size_t next = 0;
  for (const QString& token : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    if (token == QStringLiteral("·")) {
      groups << group.join(QLatin1Char(' '));
      group.clear();
      continue;
    }
    if (next < tags.size()) group << joined(levelDisplayName(QString::fromStdString(tags[next++])));
  }
  groups << group.join(QLatin1Char(' '));
  return groups.join(QStringLiteral(" · "));
}

QString withoutDisplayJoiners(QString text) {
  return text.remove(kWordJoiner).replace(QChar(0x00A0), QLatin1Char(' '));
}
