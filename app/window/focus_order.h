#pragma once

#include <QList>

class QWidget;
class Ui_MainWindow;

// Which widgets take the focus, Tab's order (the form's widgets in reading order, with
// `besideModes` after the modes and `besideLinks` after the links), the keys that move between
// the input and the list, and the focus to start with.
void orderFocus(Ui_MainWindow& form, const QList<QWidget*>& besideModes,
                const QList<QWidget*>& besideLinks, QWidget* window);
