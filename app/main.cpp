#include "app/MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QV Velano5"));
    MainWindow window;
    window.show();
    return QApplication::exec();
}
