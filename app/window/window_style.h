#pragma once

#include <QCommonStyle>

// Draws like the common style, but without the dotted focus rectangle on push
// buttons and list widgets.
class NoFocusRectangleStyle : public QCommonStyle {
  Q_OBJECT

 public:
  NoFocusRectangleStyle() = default;
  ~NoFocusRectangleStyle() override;

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
