#pragma once

class Ui_MainWindow;

// The window's style sheet asks every push button for at least 9ex by 2.5ex. At the
// keys' 12 pt that is about twice the 37 px they are laid out with 40 px apart, and the
// 50 x 22 link buttons grow into one another and past the window's bottom edge. This
// lets every button keep the box the form gives it, with room for its text, and marks
// the button that has the keyboard focus with a dark blue border: the form's central
// widget carries a sheet of its own for that, which wins over the window's rule for rule
// (set there, before the widgets under it exist, it costs no second styling of them all),
// and this gives the link buttons their padding.
void fitButtonsToForm(Ui_MainWindow& form);

class QPushButton;

// A 22 px high button with a 9 pt caption: the vertical padding goes to the caption.
void fitCaptionButton(QPushButton* button);
