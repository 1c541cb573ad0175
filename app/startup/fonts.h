#pragma once

#include <QString>

// Makes sure the window's font family "Mensch" is available: when no installed
// family is named exactly "Mensch", registers `folder`/font/mensch.ttf (by default
// relative to the working directory). Returns true when it asked for the file to be
// registered, false when the family was already there.
bool ensureMenschFont(const QString& folder = QStringLiteral("."));
