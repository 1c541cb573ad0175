#include "app/entry/entry_window.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/entry/entry_text.h"
#include "app/common/window_state.h"

EntryWindow::EntryWindow(WindowState& state, PhoneticDictionary& dictionary, QWidget* window)
    : QDialog(window), dictionary_(dictionary), text_(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("entryWindow"));
  setModal(false);
  setSizeGripEnabled(true);
  text_->setObjectName(QStringLiteral("entryWindowText"));
  QFont font = text_->font();
  font.setPointSizeF(font.pointSizeF() * 1.3);
  text_->setFont(font);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(tr("关闭(&C)"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(buttons);
  resize(520, 460);
  connect(&state, &WindowState::wordShown, this, [this](const QString& word) { showWord(word); });
  showWord(state.currentWord());
}

void EntryWindow::showWord(const QString& word) {
  setWindowTitle(word.isEmpty() ? tr("词条") : tr("词条：%1").arg(word));
  text_->setPlainText(entryForDisplay(dictionary_, word));
}
