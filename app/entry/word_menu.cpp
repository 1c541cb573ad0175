#include "app/entry/word_menu.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>

#include "app/common/window_state.h"
#include "engine/phonetic_dictionary.h"

namespace {

QString tr(const char* text) {
  return QCoreApplication::translate("WordMenu", text);
}

void copyText(const QString& text) {
  QGuiApplication::clipboard()->setText(text);
}

}  // namespace

QMenu* wordMenu(WindowState& state, PhoneticDictionary& dictionary, const QString& selection,
                QObject* context) {
  const QString word = state.currentWord();
  if (word.isEmpty()) return nullptr;
  const QStringList entry = dictionary.entryText(word.toStdString());
  auto* menu = new QMenu;
  menu->setObjectName(QStringLiteral("entryMenu"));
  if (!selection.isEmpty()) {
    // The text edit hands a selection over with paragraph separators for line feeds.
    QString plain = selection;
    plain.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    menu->addAction(tr("复制选中文字"), context, [plain] { copyText(plain); });
  }
  menu->addAction(tr("复制单词“%1”").arg(word), context, [word] { copyText(word); });
  QAction* copyEntry = menu->addAction(tr("复制词条"), context,
                                       [entry] { copyText(entry.join(QLatin1Char('\n'))); });
  copyEntry->setEnabled(!entry.isEmpty());
  state.fillMenu(menu);
  return menu;
}

void popUpMenu(QMenu* menu, const QPoint& globalPosition) {
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(globalPosition);
}
