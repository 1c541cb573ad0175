#include "window_additions.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QTextEdit>

#include "button_fit.h"
#include "context_menus.h"
#include "dictionary_notice.h"
#include "key_tooltips.h"
#include "engine/phonetic_dictionary.h"
#include "runtime_folder.h"
#include "speech_controls.h"
#include "tab_order.h"
#include "ui_mainwindow.h"

WindowAdditions::WindowAdditions(QMainWindow* window, Ui_MainWindow& form,
                                 PhoneticDictionary& dictionary)
    : QObject(window), window_(window), form_(form), dictionary_(dictionary) {
  fitButtonsToForm(form_);
  setVisualTabOrder(form_);
  if (!dictionary_.isOpen()) showMissingDictionary(form_.displayFull, lastRuntimeFolderSearch());
  setKeyTooltips(form_);
  // The usage box holds five lines in the form's font. A stand-in font (no runtime folder,
  // so no Mensch) can be taller than the box: its last line was cut. The text shrinks until
  // it fits.
  QLabel* usage = form_.manualLabel;
  QFont font = usage->font();
  while (usage->sizeHint().height() > usage->height() && font.pointSizeF() > 6) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    usage->setFont(font);
  }
  // The entry pane shows when it has the keyboard focus.
  form_.displayFull->setStyleSheet(
      QStringLiteral("QTextEdit { border: 1px solid palette(mid); }"
                     "QTextEdit:focus { border: 2px solid #1f3f8f; }"));
  // Escape in the list goes back to typing.
  form_.displayResult->installEventFilter(this);
  // Typing starts at once: the first key replaces the sample text.
  form_.inputPhonetic->selectAll();
  form_.inputPhonetic->setFocus(Qt::OtherFocusReason);
  menus_ = new ContextMenus(form_.displayResult, form_.displayFull, dictionary_, this);
  speech_ = new SpeechControls(form_, window_);
  connect(menus_, &ContextMenus::pronounceWord, speech_, &SpeechControls::speakHeadword);
  connect(menus_, &ContextMenus::pronounceTranscription, speech_,
          &SpeechControls::speakTranscription);
}

bool WindowAdditions::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_.displayResult && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    form_.inputPhonetic->setFocus(Qt::ShortcutFocusReason);
    return true;
  }
  return QObject::eventFilter(watched, event);
}
