#include "local_pages.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Texts are marked where they stand, for lupdate to find them.
QString localised(const char* text) {
  return QCoreApplication::translate("LocalPages", text);
}

// A page window, made once per parent and name and raised again afterwards.
QTextBrowser* pageWindow(QWidget* parent, const QString& name, const QString& title) {
  if (auto* open = parent->findChild<QDialog*>(name)) {
    open->show();
    open->raise();
    open->activateWindow();
    return open->findChild<QTextBrowser*>();
  }
  auto* dialog = new QDialog(parent);
  dialog->setObjectName(name);
  dialog->setWindowTitle(title);
  dialog->resize(560, 480);
  auto* browser = new QTextBrowser(dialog);
  browser->setOpenExternalLinks(true);
  (new QVBoxLayout(dialog))->addWidget(browser);
  dialog->show();
  return browser;
}

}  // namespace

QString helpFileName() {
  // The English translation names the English page.
  return localised(QT_TRANSLATE_NOOP("LocalPages", "help/help.zh.html"));
}

void showHelpPage(QWidget* parent) {
  QTextBrowser* browser = pageWindow(parent, QStringLiteral("helpPage"),
                                     localised(QT_TRANSLATE_NOOP("LocalPages", "帮助")));
  const QString file = helpFileName();
  if (QFileInfo(file).isFile()) {
    browser->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
  } else {
    browser->setPlainText(localised(QT_TRANSLATE_NOOP("LocalPages", "找不到帮助文件 %1。"))
                              .arg(QFileInfo(file).absoluteFilePath()));
  }
}

void showAboutPage(QWidget* parent, const std::string& storedStamp) {
  pageWindow(parent, QStringLiteral("aboutPage"),
             localised(QT_TRANSLATE_NOOP("LocalPages", "关于")))
      ->setHtml(aboutText(storedStamp));
}
