#include "app/Form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QV Velano5"));
    Form1 window;
    window.show();
    return QApplication::exec();
}
