#pragma once

class QTextEdit;
struct RuntimeFolderSearch;

// Puts into the entry pane that the dictionary could not be opened, naming the file and
// every folder where it was looked for, each with what kept its dictionary from use (a link
// loop, no permission, no regular file, no readable dictionary) when there was one.
void showMissingDictionary(QTextEdit* pane, const RuntimeFolderSearch& search);
