// Draws the README's pictures of the program: qv-screenshots <output folder>.
// Run it under a display (scripts/screenshots.sh starts a virtual one).
#include "app/Form1.h"
#include "app/InstallFolder.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

namespace {
void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget *w, const QDir &out, const char *name)
{
    settle(300);
    const QString path = out.filePath(QString::fromLatin1(name));
    const bool ok = w->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: qv-screenshots <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.absolutePath());
    bool ok = true;

    Form1 window;
    window.show();
    ok &= save(&window, out, "main-window.png");
    return ok ? 0 : 1;
}
