#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The program's four settings behind one interface. Each is read from the user's file, else the
// administrator's default, else the shipped file, else its built-in value (SettingsFiles); each
// is stored alone, in its own file and written form, in the user's settings folder only. The
// pause after each character ("pc.vdm") belongs to the installation and is never stored.
struct Settings
{
    int language;             // 1 Dutch, 2 French; any other value keeps the design-time texts
    int comPort;              // 1..8; any other value checks no port entry
    int pcDelay;              // microseconds after each character sent
    QString defaultDirectory; // the folder the file dialogs start in; empty: none stored
    bool checkAfterSend;      // a send is followed by a read that compares (off unless stored)
};

// Reads the settings. When the user's own settings folder is not used (UserFolders::FolderState),
// the installer is told once per run, in the language read, over `parent`.
Settings loadSettings(QWidget *parent = nullptr);
// Tells the installer, once per run, that the user's settings folder is not used and why; true
// when the message was shown now.
bool reportUnusedSettingsFolder(QWidget *parent, int language);
// Test hook: the next unused folder is reported again.
void forgetReportedSettingsFolder();
// The start folder of the file dialogs, read again (the preferences dialog shows it afresh).
QString loadDefaultDirectory();

// Stores one setting. When it cannot be written the installer is told, in the window's
// language `messageLanguage`, which file could not be written; false comes back then.
bool storeLanguage(int language, QWidget *parent, int messageLanguage);
bool storePort(int port, QWidget *parent, int messageLanguage);
bool storeDirectory(const QString &folder, QWidget *parent, int messageLanguage);
bool storeCheckAfterSend(bool on, QWidget *parent, int messageLanguage);
// The module files used last, newest first (none while the user's folder is not used), and
// storing them (a failure is not reported: the list is a convenience).
// `list` is the settings file of the list (the module files', or the installations').
QStringList loadRecentFiles(const char *list = "recent.vdm");
bool storeRecentFiles(const QStringList &paths, const char *list = "recent.vdm");
// The installation panel's width and whether it is shown while an installation is open.
struct PanelSettings
{
    int width = 340;
    bool shown = true;
};
PanelSettings loadPanelSettings();
bool storePanelSettings(const PanelSettings &panel);
