#include <QApplication>

#include "font_setup.h"
#include "mainwindow.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    ensureMenschFont();
    MainWindow window;
    window.show();
    return application.exec();
}
