#include "app/results/empty_list_notice.h"

#include <QCoreApplication>
#include <QEvent>
#include <QListWidget>

#include <QRegularExpression>

#include <algorithm>
#include <string_view>

namespace {

QString translated(const char* text) {
  return QCoreApplication::translate("MainWindow", text);
}

// The PCRE2 messages a learner's pattern commonly meets, in the window's words.
struct PatternFault {
  std::string_view pcre;
  const char* said;
};
constexpr PatternFault kPatternFaults[] = {
    {"missing closing parenthesis", QT_TRANSLATE_NOOP("MainWindow", "缺少右括号“)”")},
    {"missing terminating ] for character class",
     QT_TRANSLATE_NOOP("MainWindow", "缺少右方括号“]”")},
    {"unmatched closing parenthesis", QT_TRANSLATE_NOOP("MainWindow", "多了一个右括号“)”")},
    {"quantifier does not follow a repeatable item",
     QT_TRANSLATE_NOOP("MainWindow", "重复符号（* + ? {}）前面没有可重复的内容")},
    {"\\ at end of pattern", QT_TRANSLATE_NOOP("MainWindow", "反斜杠“\\”后面缺少字符")},
    {"range out of order in character class",
     QT_TRANSLATE_NOOP("MainWindow", "方括号中的范围前大后小")},
    {"numbers out of order in {} quantifier",
     QT_TRANSLATE_NOOP("MainWindow", "{} 中的数字前大后小")},
    {"number too big in {} quantifier", QT_TRANSLATE_NOOP("MainWindow", "{} 中的数字太大")},
    {"unrecognized character follows \\",
     QT_TRANSLATE_NOOP("MainWindow", "反斜杠“\\”后面的字符无法识别")},
    {"lookbehind assertion is not fixed length",
     QT_TRANSLATE_NOOP("MainWindow", "向后查找的内容长度不固定")},
};

// "bad pattern at offset N: message" from the REGEXP module, said in the window's language
// with the place marked in the pattern; any other message keeps its English detail.
QString badPatternText(const std::string& message, const QString& pattern) {
  static const QRegularExpression kForm(QStringLiteral("^bad pattern at offset (\\d+): (.*)$"));
  const QRegularExpressionMatch match = kForm.match(QString::fromStdString(message));
  if (message == "pattern too costly, the search used up its time of matching")
    return translated("正则表达式有误：模式太复杂，在限定时间内无法匹配完");
  if (!match.hasMatch())
    return translated("正则表达式有误：%1").arg(QString::fromStdString(message));
  const std::string detail = match.captured(2).toStdString();
  const auto fault = std::find_if(std::begin(kPatternFaults), std::end(kPatternFaults),
                                  [&](const PatternFault& f) { return f.pcre == detail; });
  const QString said =
      fault == std::end(kPatternFaults) ? QString::fromStdString(detail) : translated(fault->said);
  if (pattern.isEmpty()) return translated("正则表达式有误：%1").arg(said);
  // The module counts bytes of UTF-8; the learner counts characters.
  const QByteArray bytes = pattern.toUtf8();
  const qsizetype offset = std::min<qsizetype>(match.captured(1).toLongLong(), bytes.size());
  const qsizetype at = QString::fromUtf8(bytes.left(offset)).size();
  if (at >= pattern.size()) {
    return translated("正则表达式有误：模式末尾%1").arg(said) + QLatin1Char('\n') + pattern +
           QStringLiteral("【】");
  }
  const qsizetype width = pattern.at(at).isHighSurrogate() ? 2 : 1;
  return translated("正则表达式有误：第 %1 个字符处%2").arg(at + 1).arg(said) + QLatin1Char('\n') +
         pattern.left(at) + QStringLiteral("【") + pattern.mid(at, width) + QStringLiteral("】") +
         pattern.mid(at + width);
}

}  // namespace

EmptyListNotice::EmptyListNotice(QListWidget* list) : QLabel(list->viewport()), list_(list) {
  setObjectName(QStringLiteral("emptyListReason"));
  setAlignment(Qt::AlignCenter);
  setWordWrap(true);
  setTextFormat(Qt::PlainText);
  setTextInteractionFlags(Qt::NoTextInteraction);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  setStyleSheet(QStringLiteral("QLabel { color: #808080; font-style: italic; margin: 8px; }"));
  hide();
  // A notice shown while the window is built (no dictionary) is placed before the list has
  // its final size: it follows the viewport, or it keeps a corner and clips its text.
  list_->viewport()->installEventFilter(this);
}

bool EmptyListNotice::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_->viewport() && event->type() == QEvent::Resize && !isHidden()) place();
  return QLabel::eventFilter(watched, event);
}

void EmptyListNotice::place() {
  const QRect viewport = list_->viewport()->rect();
  if (!strip_) {
    setGeometry(viewport);
    return;
  }
  // A strip along the foot of the list, over its last rows, as high as its wrapped text.
  const int height = std::min(heightForWidth(viewport.width()), viewport.height());
  setGeometry(viewport.left(), viewport.bottom() + 1 - height, viewport.width(), height);
}

QString EmptyListNotice::reasonText(const SearchOutcome& outcome, bool spelling,
                                    const QString& pattern) {
  const auto tr = [](const char* text) { return QCoreApplication::translate("MainWindow", text); };
  switch (outcome.reason) {
    case EmptyListReason::None:
      return QString();
    case EmptyListReason::NothingTyped:
      return spelling ? tr("请输入拼写") : tr("请输入音标");
    case EmptyListReason::UnreadableText:
      return tr("无法识别第 %1 个字符“%2”，它不是音标")
          .arg(outcome.position)
          .arg(QString::fromUcs4(&outcome.character, 1));
    case EmptyListReason::BadPattern:
      return badPatternText(outcome.message, pattern);
    case EmptyListReason::NoDictionary:
      return outcome.dictionaryFileExists
                 ? tr("无法读取词典（在 %1 中）").arg(QString::fromStdString(outcome.folder))
                 : tr("未找到词典（查找位置：%1）").arg(QString::fromStdString(outcome.folder));
    case EmptyListReason::QueryFailed:
      return tr("查询失败：%1").arg(QString::fromStdString(outcome.message));
    case EmptyListReason::NoMatch:
      return spelling ? tr("没有单词的拼写与之相符") : tr("没有单词含有这些音");
  }
  return QString();
}

QString EmptyListNotice::partialListText(const SearchOutcome& outcome) {
  const auto tr = [](const char* text) { return QCoreApplication::translate("MainWindow", text); };
  if (outcome.words.isEmpty()) return QString();
  if (outcome.reason == EmptyListReason::QueryFailed)
    return tr("查询中途停止，只列出了部分结果：%1").arg(QString::fromStdString(outcome.message));
  if (outcome.incomplete) return tr("词典的搜索数据无法读取，结果不完整，也未按相近程度排列。");
  return QString();
}

void EmptyListNotice::showFor(const SearchOutcome& outcome, bool spelling, const QString& pattern) {
  if (outcome.words.isEmpty() && outcome.reason != EmptyListReason::None) {
    setText(reasonText(outcome, spelling, pattern));
    strip_ = false;
    place();
    show();
    return;
  }
  const QString partial = partialListText(outcome);
  if (partial.isEmpty()) {
    hide();
    return;
  }
  setText(partial);
  strip_ = true;
  place();
  show();
  raise();
}
