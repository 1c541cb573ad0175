#pragma once

class QTextEdit;
struct RuntimeFolderSearch;

// Puts into the entry pane that the dictionary could not be opened, naming the file and
// every folder where it was looked for.
void showMissingDictionary(QTextEdit* pane, const RuntimeFolderSearch& search);
