#include "app/Launcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace {
Launcher::ProgramStarter &programStarter()
{
    static Launcher::ProgramStarter s;
    return s;
}
Launcher::UrlOpener &urlOpener()
{
    static Launcher::UrlOpener o;
    return o;
}
Launcher::Quitter &quitter()
{
    static Launcher::Quitter q;
    return q;
}
} // namespace

void Launcher::quitProgram()
{
    if (quitter())
        quitter()();
    else
        QCoreApplication::quit();
}

void Launcher::setQuitter(Quitter q)
{
    quitter() = std::move(q);
}

bool Launcher::restartProgram()
{
    const QString program = QCoreApplication::applicationFilePath();
    if (programStarter()) return programStarter()(program, {});
    return QProcess::startDetached(program, {});
}

bool Launcher::openMakerWebSite()
{
    const QString url = QString::fromLatin1(MakerWebAddress);
    if (urlOpener()) return urlOpener()(url);
    return QDesktopServices::openUrl(QUrl(url));
}

void Launcher::setProgramStarter(ProgramStarter starter)
{
    programStarter() = std::move(starter);
}
void Launcher::setUrlOpener(UrlOpener opener)
{
    urlOpener() = std::move(opener);
}
