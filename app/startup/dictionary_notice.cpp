#include "app/startup/dictionary_notice.h"

#include <QCoreApplication>
#include <QTextEdit>

#include "app/startup/runtime_folder.h"

namespace {

// Why the dictionary of one folder could not be used; empty when there is none there.
QString whyNotUsable(DictionaryFileState state) {
  const auto tr = [](const char* text) {
    return QCoreApplication::translate("DictionaryNotice", text);
  };
  switch (state) {
    case DictionaryFileState::Missing:
      return QString();
    case DictionaryFileState::LinkLoop:
      return tr("：dict/words.db 是循环的符号链接");
    case DictionaryFileState::NoAccess:
      return tr("：无权读取 dict/words.db 或它所在的文件夹");
    case DictionaryFileState::NotAFile:
      return tr("：dict/words.db 不是普通文件");
    case DictionaryFileState::Present:
      return tr("：dict/words.db 存在，但不是本程序能读取的词典");
  }
  return QString();
}

}  // namespace

void showMissingDictionary(QTextEdit* pane, const RuntimeFolderSearch& search) {
  QString text = QCoreApplication::translate(
      "DictionaryNotice", "找不到词典文件 dict/words.db，或无法打开它。查找过的文件夹：");
  for (qsizetype i = 0; i < search.searched.size(); ++i) {
    text += QLatin1String("\n  ") + search.searched[i];
    if (i < search.states.size()) text += whyNotUsable(search.states[i]);
  }
  pane->setPlainText(text);
}
