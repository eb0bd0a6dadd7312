#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Starting other processes: the program's own executable again after a language switch, and
// the system web browser. Tests replace the starters so nothing is spawned.
namespace Launcher {

// The maker's web address, shown as the caption of the Info menu entry.
inline constexpr const char *MakerWebAddress = "https://www.example.com/";

using ProgramStarter = std::function<bool(const QString &program, const QStringList &arguments)>;
using UrlOpener = std::function<bool(const QString &url)>;

// Starts a new instance of this program. Returns false when it could not be started.
bool restartProgram();
// Opens the maker's web site in the system browser.
bool openMakerWebSite();

// Ends this program.
void quitProgram();

using Quitter = std::function<void()>;
void setQuitter(Quitter quitter); // empty: QCoreApplication::quit

void setProgramStarter(ProgramStarter starter); // empty: start detached processes
void setUrlOpener(UrlOpener opener);            // empty: QDesktopServices

} // namespace Launcher
