#include "app/SettingsFiles.h"

#include "common/InstallFolder.h"
#include "common/UserFolders.h"
#include "files/SafeFile.h"

namespace {
// Settings files hold one short line; anything much longer is not a settings file.
constexpr qint64 kMaxSettingsSize = 64 * 1024;

QByteArray firstLine(const QByteArray &content)
{
    int end = content.size();
    for (int i = 0; i < content.size(); ++i) {
        if (content[i] == '\r' || content[i] == '\n') {
            end = i;
            break;
        }
    }
    return content.left(end);
}

// The content of one settings file; nullopt when it is missing, not a regular file (a FIFO
// never holds up the start), cannot be read or is far too long for a settings file.
std::optional<QByteArray> readWhole(const QString &path)
{
    Checked<QByteArray> file = SafeFile::read(path, kMaxSettingsSize);
    if (!file) return std::nullopt;
    return std::move(*file);
}
} // namespace

QString SettingsFiles::defaultDirectory()
{
    return QString();
}

QString SettingsFiles::firstField(const QByteArray &content)
{
    const QString line = QString::fromLocal8Bit(firstLine(content));
    int i = 0;
    while (i < line.size() && line[i] == QLatin1Char(' '))
        ++i;
    if (i < line.size() && line[i] == QLatin1Char('"')) {
        const int close = line.indexOf(QLatin1Char('"'), i + 1);
        return close < 0 ? line.mid(i + 1) : line.mid(i + 1, close - i - 1);
    }
    const int comma = line.indexOf(QLatin1Char(','), i);
    return comma < 0 ? line.mid(i) : line.mid(i, comma - i);
}

std::optional<int> SettingsFiles::numberField(const QByteArray &content)
{
    bool ok = false;
    const int value = firstField(content).trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return value;
}

QString SettingsFiles::folderLine(const QByteArray &content)
{
    QString line = QString::fromLocal8Bit(firstLine(content));
    if (line.size() >= 2 && line.startsWith(QLatin1Char('"')) && line.endsWith(QLatin1Char('"')))
        line = line.mid(1, line.size() - 2);
    return line;
}

QStringList SettingsFiles::lookupOrder(const QString &fileName)
{
    QStringList files;
    // The user's folder counts only while it is theirs alone (UserFolders::FolderState).
    const QString own = UserFolders::isRefused(UserFolders::settingsFolderState())
                            ? QString()
                            : UserFolders::settingsFolder();
    for (const QString &folder : {own, UserFolders::adminFolder(), InstallFolder::path()}) {
        if (folder.isEmpty()) continue;
        const QString file = folder + fileName;
        if (!files.contains(file)) files << file;
    }
    return files;
}

std::optional<int> SettingsFiles::readNumber(const QString &fileName)
{
    for (const QString &file : lookupOrder(fileName)) {
        if (const auto content = readWhole(file))
            if (const auto number = numberField(*content)) return number;
    }
    return std::nullopt;
}

std::optional<QString> SettingsFiles::readFolder(const QString &fileName)
{
    for (const QString &file : lookupOrder(fileName)) {
        if (const auto content = readWhole(file)) {
            const QString folder = folderLine(*content);
            if (!folder.trimmed().isEmpty()) return folder;
        }
    }
    return std::nullopt;
}

QByteArray SettingsFiles::languageContent(int language)
{
    // A number printed as a number: sign position (blank), the digits, a trailing blank.
    const QByteArray digits = QByteArray::number(language);
    return (language < 0 ? digits : ' ' + digits) + " \r\n";
}

QByteArray SettingsFiles::portContent(int port)
{
    return QByteArray::number(port) + "\r\n";
}

QByteArray SettingsFiles::folderContent(const QString &folder)
{
    return folder.toLocal8Bit() + "\r\n";
}

QString SettingsFiles::writtenPath(const QString &fileName)
{
    return UserFolders::settingsFolder() + fileName;
}

bool SettingsFiles::write(const QString &fileName, const QByteArray &content)
{
    if (fileName == QLatin1String(Pc)) return false;
    // A folder named by QV_VELANO_HOME is the installer's to make; the user's own settings
    // folder is made on the first change.
    if (!InstallFolder::isOwnHome() && !UserFolders::makePrivateFolder(UserFolders::settingsFolder()))
        return false;
    // Never into a folder somebody else controls: the file could end up in another folder, or be
    // replaced after it was written.
    if (UserFolders::settingsFolderState() != UserFolders::FolderState::Usable) return false;
    return SafeFile::replace(writtenPath(fileName), content).ok();
}
