#include "font_setup.h"

#include <QFontDatabase>
#include <QStringList>

bool ensureMenschFont(const QString& folder) {
  const QStringList families = QFontDatabase::families();
  for (const QString& family : families) {
    if (family == QLatin1String("Mensch")) {
      return false;
    }
  }
  // A missing or unreadable file is not reported: the widgets still ask for
  // "Mensch" and get the toolkit's fallback.
  QFontDatabase::addApplicationFont(folder + QStringLiteral("/font/mensch.ttf"));
  return true;
}
