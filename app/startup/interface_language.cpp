#include "app/startup/interface_language.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// "zh" or "en" for a language name such as zh_CN, en-GB or English; empty when unknown.
QString languageOf(const QString& name) {
  const QString lower = name.trimmed().toLower();
  if (lower.startsWith(QLatin1String("zh")) || lower == QLatin1String("chinese"))
    return QStringLiteral("zh");
  if (lower.startsWith(QLatin1String("en")) || lower == QLatin1String("english"))
    return QStringLiteral("en");
  return QString();
}

QString commandLineLanguage(const QStringList& arguments) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments.at(i);
    if (argument == QLatin1String("--lang") && i + 1 < arguments.size()) return arguments.at(i + 1);
    if (argument.startsWith(QLatin1String("--lang="))) return argument.mid(7);
  }
  return QString();
}

}  // namespace

QString chooseInterfaceLanguage(const QStringList& arguments, const QString& environment,
                                const QLocale& system) {
  for (const QString& asked : {commandLineLanguage(arguments), environment}) {
    if (asked.isEmpty()) continue;
    const QString language = languageOf(asked);
    if (!language.isEmpty()) return language;
    qWarning("unknown interface language \"%s\": use zh or en", qPrintable(asked));
  }
  // A bare machine (LANG unset, C, C.UTF-8 or POSIX) states no language: the window's own
  // texts are Chinese. English only for a locale that names another language.
  const QLocale::Language language = system.language();
  if (language == QLocale::Chinese || language == QLocale::C || language == QLocale::AnyLanguage)
    return QStringLiteral("zh");
  return QStringLiteral("en");
}

bool installInterfaceLanguage(const QString& language, QCoreApplication& application,
                              const QString& folder) {
  if (language == QLatin1String("zh")) {
    // The window's own texts are Chinese; Qt's own dialogs (files, messages) come with Qt's
    // translations (qt6-translations-l10n). Without them those dialogs stay English.
    auto* qt = new QTranslator(&application);
    if (qt->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                 QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
      QCoreApplication::installTranslator(qt);
    else
      delete qt;
    return true;
  }
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("quorvi_") + language, folder)) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}
