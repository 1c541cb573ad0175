#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QCoreApplication;

// The window's texts are Chinese; an English translation (Qt Linguist, quorvi_en.qm in the
// runtime folder's translations/) loads when the system locale names another language than
// Chinese (a C or POSIX locale names none and keeps the Chinese). The
// command line's --lang zh|en (or --lang=en) and the environment variable QUORVI_LANG
// override the system, in that order.

// "zh" or "en".
QString chooseInterfaceLanguage(const QStringList& arguments, const QString& environment,
                                const QLocale& system);

// Installs the language's translation from `folder` on the application; Chinese needs none of
// ours, only Qt's own for its dialogs. False when the translation cannot be loaded: the texts
// stay Chinese.
bool installInterfaceLanguage(const QString& language, QCoreApplication& application,
                              const QString& folder = QStringLiteral("translations"));
