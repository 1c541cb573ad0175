#include <QApplication>

#include "font_config_loading.h"
#include "font_setup.h"
#include "interface_language.h"
#include "mainwindow.h"
#include "runtime_folder.h"
#include "speech_player.h"

int main(int argc, char** argv) {
  FontConfigLoading fontConfig;
  QApplication application(argc, argv);
  // Without a dictionary anywhere, the translations are still beside the program.
  const bool found = !enterRuntimeFolder().found.isEmpty();
  const QString translations =
      found ? QStringLiteral("translations")
            : QApplication::applicationDirPath() + QStringLiteral("/translations");
  installInterfaceLanguage(
      chooseInterfaceLanguage(QApplication::arguments(), qEnvironmentVariable("QUORVI_LANG"),
                              QLocale::system()),
      application, translations);
  fontConfig.wait();
  // Without a dictionary anywhere, the font may still stand beside the program.
  ensureMenschFont(found ? QStringLiteral(".") : QApplication::applicationDirPath());
  int status = 0;
  {
    MainWindow window;
    window.show();
    status = application.exec();
  }
  // The audio outputs the window handed to deleteLater go while the application still stands.
  SpeechPlayer::finishBeforeExit();
  return status;
}
