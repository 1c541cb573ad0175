#pragma once

class Ui_MainWindow;

// Tab walks the window in reading order: the symbol keys row by row from the left,
// the input, the two modes, the list, the entry and the links from the left. A click
// on a key does not take the focus from the input field (the field would drop its
// selection, which the symbol replaces), but Tab reaches every key.
void setVisualTabOrder(Ui_MainWindow& form);
