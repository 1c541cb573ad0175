#pragma once

#include <QString>

class PhoneticDictionary;
class QMenu;
class QObject;
class QPoint;
class WindowState;

// The menu on the current word, wherever it is opened (the list, the entry pane): copy the
// selected text (when `selection` holds some), the word, the whole entry; then what the other
// features add to it (WindowState::menuOpening: say it, keep it, the entry window). Null when
// no word is current. The caller owns it.
QMenu* wordMenu(WindowState& state, PhoneticDictionary& dictionary, const QString& selection,
                QObject* context);

// Pops `menu` up at `globalPosition`; it deletes itself when closed.
void popUpMenu(QMenu* menu, const QPoint& globalPosition);
