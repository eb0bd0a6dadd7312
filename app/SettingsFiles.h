#pragma once

#include <QString>
#include <optional>

// The four one-value settings files of the installation folder: "country.vdm" (language),
// "port.vdm" (serial port number), "pc.vdm" (pause between two characters sent) and
// "directory.vdm" (start folder of the open and save dialogs).
namespace SettingsFiles {

inline constexpr const char *Country = "country.vdm";
inline constexpr const char *Port = "port.vdm";
inline constexpr const char *Pc = "pc.vdm";
inline constexpr const char *Directory = "directory.vdm";

// Values used when a settings file is missing or unreadable.
inline constexpr int DefaultLanguage = 1;
inline constexpr int DefaultComPort = 1;
inline constexpr int DefaultPcDelay = 300; // microseconds of pause after each character sent
QString defaultDirectory();               // empty: the dialogs start in the installation folder

// Reads the first value of a settings text the way a comma-separated field is read: leading
// blanks skipped, a quoted value runs to its closing quote, otherwise to the first comma or
// the line end.
QString firstField(const QByteArray &content);
// The first value as a whole number (blanks around it allowed); nullopt when it is none.
std::optional<int> numberField(const QByteArray &content);
// The whole first line as a folder, without one pair of surrounding double quotes, so a folder
// whose name holds a comma is read back whole.
QString folderLine(const QByteArray &content);

// Whole-file reads of the installation folder's settings files; nullopt when the file is
// missing, unreadable or holds no usable value.
std::optional<int> readNumber(const QString &fileName);
std::optional<QString> readFolder(const QString &fileName);

// The written forms: " 1 \r\n" (language), "3\r\n" (port), the folder as is plus "\r\n".
QByteArray languageContent(int language);
QByteArray portContent(int port);
QByteArray folderContent(const QString &folder);

// Replaces a settings file whole: written to a temporary file and renamed, so the old content
// stays when writing fails. Returns false on failure.
bool write(const QString &fileName, const QByteArray &content);

} // namespace SettingsFiles
