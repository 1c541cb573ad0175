#include "app/pages/local_pages.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QSysInfo>
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

QString feedbackText(const QString& typed, bool spelling) {
  const QString mode = spelling ? localised(QT_TRANSLATE_NOOP("LocalPages", "按拼写"))
                                : localised(QT_TRANSLATE_NOOP("LocalPages", "按读音"));
  return localised(QT_TRANSLATE_NOOP("LocalPages",
                                     "Quorvi 英语听音查词 %1\n界面语言：中文\n查找方式：%2\n"
                                     "最后输入：%3\n系统：%4\n问题或建议："))
      .arg(QStringLiteral(QUORVI_VERSION), mode, typed, QSysInfo::prettyProductName());
}

void showFeedbackPage(QWidget* parent, const QString& feedback, const std::string& storedStamp) {
  QTextBrowser* browser = pageWindow(parent, QStringLiteral("feedbackPage"),
                                     localised(QT_TRANSLATE_NOOP("LocalPages", "反馈")));
  browser->setHtml(
      QStringLiteral("<p>") +
      localised(QT_TRANSLATE_NOOP("LocalPages",
                                  "遇到问题或有建议？点击下面的“复制反馈信息”，把它粘贴到给我们的"
                                  "邮件或留言中，再写下问题或建议。")) +
      QStringLiteral("</p><pre>") + feedback.toHtmlEscaped() + QStringLiteral("</pre><hr>") +
      aboutText(storedStamp));
  auto* dialog = static_cast<QDialog*>(browser->parentWidget());
  auto* copy = dialog->findChild<QPushButton*>(QStringLiteral("copyFeedback"));
  if (copy == nullptr) {
    copy = new QPushButton(localised(QT_TRANSLATE_NOOP("LocalPages", "复制反馈信息")), dialog);
    copy->setObjectName(QStringLiteral("copyFeedback"));
    dialog->layout()->addWidget(copy);
  }
  copy->disconnect();
  QObject::connect(copy, &QPushButton::clicked, copy, [copy, feedback] {
    QGuiApplication::clipboard()->setText(feedback);
    copy->setText(localised(QT_TRANSLATE_NOOP("LocalPages", "已复制，可以粘贴了")));
  });
  copy->setText(localised(QT_TRANSLATE_NOOP("LocalPages", "复制反馈信息")));
  copy->setFocus(Qt::OtherFocusReason);
}
