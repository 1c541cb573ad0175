#include <QApplication>

#include "app/speech/speech_player.h"
#include "app/startup/fonts.h"
#include "app/startup/interface_language.h"
#include "app/startup/runtime_folder.h"
#include "app/window/mainwindow.h"

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
