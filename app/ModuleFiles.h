#pragma once

#include <QObject>
#include <QString>

class ModuleImage;
struct ModuleState;
class FileTools;
class MainMenus;
class RecentFiles;
class QWidget;

// The module files of the Bestand menu: opening (from the open dialog, the recent files or the
// backups), saving, saving under a name, the recent files, and the question asked before the
// installer leaves an image that changed. It writes the window's title; the window shows what
// was opened when it hears opened(). Messages go to the installer in the window's language.
class ModuleFiles : public QObject
{
    Q_OBJECT
public:
    ModuleFiles(ModuleState &state, MainMenus &menus, QWidget *window);

    FileTools *tools() const { return m_tools; }
    // Reads the recent files again from the user's settings.
    void loadRecentFiles();

    // Reads a module file and puts it in hand. A file that is not a complete module file changes
    // nothing and is reported to the installer; returns false then.
    bool openModuleFile(const QString &path);
    // Opens a backup as a module file is opened, except that it is never saved over: no file is
    // open afterwards ("Module Opslaan" disabled, the title without a name), as after a read.
    bool openBackup(const QString &path);
    // Writes the image of the current type to `path`; on failure the installer is told and
    // nothing else changes. Returns false then. A file replaced by the save is first kept as a
    // backup of its own (see Backups::keepReplaced).
    bool saveModuleFile(const QString &path);
    // Writes `image` of `type` to `path` as saveModuleFile does (the replaced file kept), without
    // touching the image in hand: a module of an installation exported.
    bool writeModule(const QString &path, int type, const ModuleImage &image);
    // Saves the image in hand to its file, else under a name the installer chooses; true once
    // nothing of it is unsaved.
    bool saveImageInHand();
    // Leaving with an image that changed since it was last read, sent, opened or saved: the
    // installer saves it (to the open file when `fileOpen`, else under a name), leaves without
    // saving or stays. True when the program may end.
    bool mayLeave(bool fileOpen);

Q_SIGNALS:
    // A module file of `type` is in hand; `fileOpen` false for a backup.
    void opened(int type, bool fileOpen);
    // The image in hand was saved as a module file.
    void saved();

public Q_SLOTS:
    // Handlers of the Bestand entries, reachable by name.
    void openen_Click();
    void Bewaren_Click();
    void Bewaren_als_Click();
    void Reservekopieen_Click();

private:
    bool open(const QString &path, bool backup);
    void openRecentFile(const QString &path);
    void warn(const QString &text);

    ModuleState &m_state;
    QWidget *m_window;
    RecentFiles *m_recent;
    FileTools *m_tools;
};
