#pragma once

#include <QString>

// The installation folder: settings files, module pictures and documentation files live here.
// On Windows it is the fixed folder of the product; elsewhere a build-time default that the
// environment variable QV_VELANO_HOME overrides (portable installs, the demo, tests).
// The folder is resolved once and always ends with a separator.
namespace InstallFolder {
QString path();
// A file of the installation folder.
QString file(const QString &name);
// Points the program at another folder (tests); an empty text resolves the folder anew.
void setOverride(const QString &folder);
} // namespace InstallFolder
