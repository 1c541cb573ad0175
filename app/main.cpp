#include <QApplication>

#include "font_setup.h"
#include "mainwindow.h"
#include "runtime_folder.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    enterRuntimeFolder();
    ensureMenschFont();
    MainWindow window;
    window.show();
    return application.exec();
}
