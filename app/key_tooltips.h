#pragma once

class Ui_MainWindow;

// Each symbol key says which sound it types, with an English word that has it
// ("θ as in think").
void setKeyTooltips(Ui_MainWindow& form);
