#include "button_fit.h"

#include <QPushButton>
#include <QString>

#include "ui_mainwindow.h"

void fitButtonsToForm(Ui_MainWindow& form) {
  // A style sheet nearer to a widget wins over the window's, rule for rule; the
  // window's own sheet stays as the form sets it.
  form.centralWidget->setStyleSheet(
      QStringLiteral("QPushButton { min-width: 0px; min-height: 0px; }\n"
                     "QPushButton:focus { border-color: #1f3f8f; }"));
  for (QPushButton* link : {form.aboutLink, form.helpLink, form.feedbackLink})
    fitCaptionButton(link);
}

void fitCaptionButton(QPushButton* button) {
  // 22 px leave a 9 pt caption 12 px between the window's border and padding.
  button->setStyleSheet(
      QStringLiteral("QPushButton { padding: 0px 3px; }\n"
                     "QPushButton:pressed { padding-left: 5px; padding-top: 2px; }"));
}
