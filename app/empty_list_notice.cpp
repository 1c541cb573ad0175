#include "empty_list_notice.h"

#include <QCoreApplication>
#include <QListWidget>

#include <algorithm>

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
}

QString EmptyListNotice::reasonText(const SearchOutcome& outcome, bool spelling) {
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
      return tr("正则表达式有误：%1").arg(QString::fromStdString(outcome.message));
    case EmptyListReason::NoDictionary:
      return outcome.dictionaryFileExists ? tr("无法读取词典（在 %1 中）").arg(outcome.folder)
                                          : tr("未找到词典（查找位置：%1）").arg(outcome.folder);
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

void EmptyListNotice::showFor(const SearchOutcome& outcome, bool spelling) {
  const QRect viewport = list_->viewport()->rect();
  if (outcome.words.isEmpty() && outcome.reason != EmptyListReason::None) {
    setText(reasonText(outcome, spelling));
    setGeometry(viewport);
    show();
    return;
  }
  const QString partial = partialListText(outcome);
  if (partial.isEmpty()) {
    hide();
    return;
  }
  // A strip along the foot of the list, over its last rows, as high as its wrapped text.
  setText(partial);
  const int height = std::min(heightForWidth(viewport.width()), viewport.height());
  setGeometry(viewport.left(), viewport.bottom() + 1 - height, viewport.width(), height);
  show();
  raise();
}
