#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The four one-value settings files: "country.vdm" (language), "port.vdm" (serial port number),
// "pc.vdm" (pause between two characters sent) and "directory.vdm" (start folder of the open and
// save dialogs).
//
// Each user has their own: a setting is read from the user's settings folder, else from the
// administrator's defaults (/etc/qv-velano5/), else from the file shipped in the installation
// folder, else the built-in default. A file is passed over only when it is missing, is not a
// regular file, cannot be read or holds no value. Changes are written to the user's folder only.
// On Windows, and with QV_VELANO_HOME, one folder holds the four files (UserFolders.h).
namespace SettingsFiles {

inline constexpr const char *Country = "country.vdm";
inline constexpr const char *Port = "port.vdm";
inline constexpr const char *Pc = "pc.vdm";
inline constexpr const char *Directory = "directory.vdm";
// Beside the four: whether a send is followed by a check ("1") or not ("0"), and the module files
// used last, one full path a line, newest first (the user's own file only).
inline constexpr const char *Check = "check.vdm";
inline constexpr const char *Recent = "recent.vdm";
// The installations used last (as Recent), and the installation panel: its width in pixels and
// whether it is shown ("260,1").
inline constexpr const char *RecentInstallations = "installations.vdm";
inline constexpr const char *Panel = "panel.vdm";

// Values used when no file holds a setting.
inline constexpr int DefaultLanguage = 1;
inline constexpr int DefaultComPort = 1;
inline constexpr int DefaultPcDelay = 300; // microseconds of pause after each character sent
QString defaultDirectory();                // empty: the dialogs start in the documents folder

// Reads the first value of a settings text the way a comma-separated field is read: leading
// blanks skipped, a quoted value runs to its closing quote, otherwise to the first comma or
// the line end.
QString firstField(const QByteArray &content);
// The first value as a whole number (blanks around it allowed); nullopt when it is none.
std::optional<int> numberField(const QByteArray &content);
// The whole first line as a folder, without one pair of surrounding double quotes, so a folder
// whose name holds a comma is read back whole.
QString folderLine(const QByteArray &content);

// The files a setting is looked up in, first choice first: the user's, the administrator's, the
// shipped one (one file with QV_VELANO_HOME and on Windows). The user's file is left out while
// their folder is not theirs alone (UserFolders::settingsFolderState()).
QStringList lookupOrder(const QString &fileName);

// A setting from the first file of lookupOrder() that holds a value; nullopt when none does.
// Any whole number is a value (a port 9 or language 3 keeps its meaning); a folder line that is
// empty or blank is none.
std::optional<int> readNumber(const QString &fileName);
std::optional<QString> readFolder(const QString &fileName);

// The written forms: " 1 \r\n" (language), "3\r\n" (port), the folder as is plus "\r\n".
QByteArray languageContent(int language);
QByteArray portContent(int port);
QByteArray folderContent(const QString &folder);

// The file a change of the setting is written to: in the user's settings folder.
QString writtenPath(const QString &fileName);

// Replaces the user's settings file whole, creating the user's settings folder (0700) when it
// is missing: the content goes to a new file that is renamed over the name, so the old content
// stays when writing fails and a symbolic link at the name is replaced, never written through.
// "pc.vdm" belongs to the installation and is never written, and nothing is written into a user's
// folder that is not theirs alone. Returns false on failure.
bool write(const QString &fileName, const QByteArray &content);

} // namespace SettingsFiles
