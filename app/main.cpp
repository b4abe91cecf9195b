// Mozu's entry: hand the command-line file to a running instance if there is one; otherwise
// create the windows and run.

#include <QApplication>
#include <QFileInfo>

#include "app/application.h"
#include "app/main_window.h"
#include "app/single_instance.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(mozu::kApplicationTitle);
    // Ties the window to its desktop entry (desktop/org.mozu.Mozu.desktop): its icon and name.
    QApplication::setDesktopFileName("org.mozu.Mozu");
    QApplication::setQuitOnLastWindowClosed(false);  // the exit command ends the program
    // Absolute: the running instance may have been started in another folder.
    const QString file =
        argc > 1 ? QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath() : QString();

    mozu::SingleInstance instance;
    if (instance.HandOff(file)) return 0;

    mozu::MozuWindows windows;
    instance.Listen();
    QObject::connect(&instance, &mozu::SingleInstance::pathReceived, windows.main.get(),
                     [&windows](const QString& path) { windows.main->openHandedOverFile(path); });
    QObject::connect(windows.main.get(), &mozu::MainWindow::exited, &app, &QApplication::quit);
    windows.main->setCommandLineFile(file);
    windows.main->show();
    return app.exec();
}
