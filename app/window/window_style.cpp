#include "no_focus_rectangle_style.h"

#include <QWidget>

NoFocusRectangleStyle::~NoFocusRectangleStyle() = default;

void NoFocusRectangleStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                          QPainter* painter, const QWidget* widget) const {
  if (element == PE_FrameFocusRect && widget != nullptr &&
      (widget->inherits("QListWidget") || widget->inherits("QPushButton"))) {
    return;
  }
  QCommonStyle::drawPrimitive(element, option, painter, widget);
}
