#pragma once

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

// Creates `folder` and any missing parent as 0700 (only the user may enter them). An existing
// folder is left as it is. True when the folder exists afterwards.
bool makePrivateFolder(const QString &folder);

// Test seam: another folder for the administrator's defaults; empty restores /etc/qv-velano5/.
void setAdminFolderOverride(const QString &folder);

} // namespace UserFolders
