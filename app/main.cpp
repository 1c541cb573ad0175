#include <QApplication>

#include "font_setup.h"
#include "interface_language.h"
#include "mainwindow.h"
#include "runtime_folder.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    enterRuntimeFolder();
    installInterfaceLanguage(chooseInterfaceLanguage(QApplication::arguments(),
                                                     qEnvironmentVariable("QUORVI_LANG"), QLocale::system()),
                             application);
    ensureMenschFont();
    MainWindow window;
    window.show();
    return application.exec();
}
