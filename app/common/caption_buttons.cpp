#include "app/common/caption_buttons.h"

#include <QString>
#include <QWidget>

void setCaptionButtonStyle(QWidget* widget) {
  // 22 px leave a 9 pt caption 12 px between the window's border and padding.
  widget->setStyleSheet(
      QStringLiteral("QPushButton { padding: 0px 3px; }\n"
                     "QPushButton:pressed { padding-left: 5px; padding-top: 2px; }"));
}
