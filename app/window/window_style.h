#pragma once

#include <QCommonStyle>

class QWidget;

// The window's style beyond its form's style sheets (applyWindowStyle).
//
// The window's style sheet asks every push button for at least 9ex by 2.5ex. At the keys'
// 12 pt that is about twice the 37 px they are laid out with 40 px apart, and the 50 x 22
// link buttons would grow into one another and past the window's bottom edge. The form's
// central widget carries a sheet of its own that lets every button keep the box the form
// gives it and marks the button with the keyboard focus with a dark blue border (set there,
// before the widgets under it exist, it costs no second styling of them all); the caption
// buttons get their padding here.

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

class Ui_MainWindow;

// The focus-free style on the key group and the link buttons (the style objects owned by
// `owner`), the caption buttons' padding, the usage text shrunk until it fits its box, the
// entry pane's border, and the slogan measured while the window is shown.
void applyWindowStyle(Ui_MainWindow& form, QWidget* owner);
