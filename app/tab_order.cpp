#include "tab_order.h"

#include <QPushButton>
#include <QWidget>

#include "ui_mainwindow.h"

void setVisualTabOrder(Ui_MainWindow& form) {
  QPushButton* const keys[] = {form.k230, form.k240, form.k952, form.k331, form.k593, form.k601,
                               form.k609, form.k596, form.k643, form.k652, form.k658, form.k603};
  for (QPushButton* key : keys) key->setFocusPolicy(Qt::TabFocus);

  QWidget* const chain[] = {
      form.k230,          form.k240,         form.k952,        form.k331,
      form.k593,          form.k601,         form.k609,        form.k596,
      form.k643,          form.k652,         form.k658,        form.k603,
      form.inputPhonetic, form.phoneticMode, form.captionMode, form.displayResult,
      form.displayFull,   form.aboutLink,    form.helpLink,    form.feedbackLink};
  for (std::size_t i = 1; i < std::size(chain); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}
