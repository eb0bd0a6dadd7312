// The floor of the start-up benchmark: a bare Qt Widgets main window (a menu bar with a few menus
// and a label, the program's window size), started and measured exactly as the program's window
// is. qv-bench-startup runs it beside the program; run alone it prints the same two lines.
#include "startup_probe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QV Velano5"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    QMenuBar *bar = window.menuBar();
    QMenu *file = bar->addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("&New"));
    file->addAction(QStringLiteral("&Open ..."));
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"));
    bar->addMenu(QStringLiteral("Language"))->addAction(QStringLiteral("English"));
    bar->addMenu(QStringLiteral("Settings"))->addAction(QStringLiteral("Preferences ..."));
    bar->addMenu(QStringLiteral("Info"))->addAction(QStringLiteral("About"));
    window.setCentralWidget(new QLabel(QStringLiteral("A bare main window"), &window));
    window.resize(900, 620);
    window.show();
    StartupProbe::reportWhenShown();
    return QApplication::exec();
}
