#pragma once

#include "common/Failure.h"

#include <QString>

// Where each user's own files live, and the administrator's defaults. Every folder returned ends
// with a separator.
//
//                     Linux and other POSIX systems          Windows                 QV_VELANO_HOME
//   settings          $XDG_CONFIG_HOME/qv-velano5/           installation folder     that folder
//                     (default ~/.config/qv-velano5/)
//   data (backups,    $XDG_DATA_HOME/qv-velano5/             local application data  that folder
//   recent files)     (default ~/.local/share/qv-velano5/)   "QV Velano5" folder
//   admin defaults    /etc/qv-velano5/                       none                    none
//   dialogs' start    the user's documents folder            documents folder        that folder
//
// Nothing here is cached: each answer follows the environment of the moment.
namespace UserFolders {

// The folder of the user's settings files and serial port links (comN).
QString settingsFolder();
// The folder of the user's other files (backups, recent files).
QString dataFolder();
// The administrator's defaults for every user (root's files); empty where there are none.
QString adminFolder();
// The folder the module file dialogs fall back to: the user's documents folder when it exists,
// else the home folder.
QString documentsFolder();

// Whether the user's own settings folder may be used. Settings files and serial port links (comN)
// are read from it, and written to it, only when it is a real folder (not a symbolic link) that
// belongs to the user and that nobody else may write in: a folder somebody else controls could
// give the program another user's port or settings, or have a change written elsewhere. The
// folder of QV_VELANO_HOME is the installer's choice and is used as it is (a group may share it);
// on Windows the settings live in the installation folder.
enum class FolderState
{
    Usable,          // a private folder of the user's (or QV_VELANO_HOME, or Windows)
    Missing,         // not there (yet): nothing to read, made private on the first change
    Link,            // a symbolic link, not a folder of its own
    NotAFolder,      // a file or anything else that is not a folder
    NotOwned,        // a folder of another user
    WritableByOthers // a folder the group or others may write in
};
FolderState settingsFolderState();
// The state of a folder of the user's own as described above (whatever the environment says).
FolderState privateFolderState(const QString &folder);
// True when the settings folder holds nothing the program may use, although something is there
// (a link, a file, another user's folder, a folder others may write in).
inline bool isRefused(FolderState state)
{
    return state != FolderState::Usable && state != FolderState::Missing;
}
// The kind of failure of a folder in `state` (a refused one; None for Usable and Missing).
Failure::Kind failureKind(FolderState state);
// The installer's message for a settings folder that is not used: what is wrong with it and what
// the program does instead, in Dutch or French (both when the language is neither).
QString unusedFolderText(const QString &folder, FolderState state, int language);

// Creates `folder` and any missing parent as 0700 (only the user may enter them). An existing
// folder is left as it is. True when the folder exists afterwards.
bool makePrivateFolder(const QString &folder);

// Test seam: another folder for the administrator's defaults; empty restores /etc/qv-velano5/.
void setAdminFolderOverride(const QString &folder);

} // namespace UserFolders
