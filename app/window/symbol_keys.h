#pragma once

class Ui_MainWindow;

// Gives each symbol key a tooltip naming its sound with an English word that has it.
void nameSymbolKeys(Ui_MainWindow& form);
