#include "dictionary_notice.h"

#include <QCoreApplication>
#include <QTextEdit>

#include "runtime_folder.h"

void showMissingDictionary(QTextEdit* pane, const RuntimeFolderSearch& search) {
  QString text = QCoreApplication::translate(
      "DictionaryNotice", "找不到词典文件 dict/words.db，或无法打开它。查找过的文件夹：");
  for (const QString& folder : search.searched) text += QLatin1String("\n  ") + folder;
  pane->setPlainText(text);
}
