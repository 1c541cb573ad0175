#pragma once

class QWidget;

// Styles `widget`, a 22 px high button with a 9 pt caption, or every such button under it: the
// vertical padding goes to the caption. Set on a container before its buttons are made, it
// costs them no second styling.
void setCaptionButtonStyle(QWidget* widget);
