#include "window_additions.h"

#include <QMainWindow>

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
  menus_ = new ContextMenus(form_.displayResult, form_.displayFull, dictionary_, this);
  speech_ = new SpeechControls(form_, window_);
  connect(menus_, &ContextMenus::pronounceWord, speech_, &SpeechControls::speakHeadword);
  connect(menus_, &ContextMenus::pronounceTranscription, speech_,
          &SpeechControls::speakTranscription);
}
