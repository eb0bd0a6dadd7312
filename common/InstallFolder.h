#pragma once

#include <QString>

// The installation folder: the shipped settings files, module pictures and documentation files.
// On Windows it is the fixed folder of the product; elsewhere the build-time default (read-only,
// it belongs to root), which the environment variable QV_VELANO_HOME overrides. A folder named
// by QV_VELANO_HOME (portable installs, the demo, tests) is also the only place the program
// reads or writes: the per-user folders (UserFolders.h) and /etc are not used then.
// The folder is resolved once and always ends with a separator.
namespace InstallFolder {
QString path();
// A file of the installation folder.
QString file(const QString &name);
// True when QV_VELANO_HOME (or setOverride) names the folder: it then holds the settings, the
// serial port links and every other file the program keeps.
bool isOwnHome();

// Test seams. setOverride points the program at another folder as QV_VELANO_HOME does; an empty
// text resolves the folder anew. setShippedOverride points it at a folder that stands for the
// installed, read-only one: per-user settings and the admin folder apply as without
// QV_VELANO_HOME.
void setOverride(const QString &folder);
void setShippedOverride(const QString &folder);
} // namespace InstallFolder
