#include "button_fit.h"

#include <QPushButton>
#include <QString>

#include "ui_mainwindow.h"

void fitButtonsToForm(Ui_MainWindow& form) {
  for (QPushButton* link : {form.aboutLink, form.helpLink, form.feedbackLink})
    fitCaptionButton(link);
}

void fitCaptionButton(QPushButton* button) {
  // 22 px leave a 9 pt caption 12 px between the window's border and padding.
  button->setStyleSheet(
      QStringLiteral("QPushButton { padding: 0px 3px; }\n"
                     "QPushButton:pressed { padding-left: 5px; padding-top: 2px; }"));
}
