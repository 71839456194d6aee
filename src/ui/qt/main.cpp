// arkleton: the desktop program.
#include <QApplication>
#include <QFileInfo>

#include "ui/qt/ArkletonApp.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The settings live under the program file's base name.
    QApplication::setApplicationName(QFileInfo(QApplication::applicationFilePath()).completeBaseName());
    CArkletonApp app;
    app.InitInstance();
    return 0;
}
