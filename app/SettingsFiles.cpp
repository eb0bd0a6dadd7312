#include "app/SettingsFiles.h"

#include "app/InstallFolder.h"

#include <QFile>
#include <QSaveFile>

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

std::optional<QByteArray> readWhole(const QString &fileName)
{
    QFile f(InstallFolder::file(fileName));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = f.read(kMaxSettingsSize);
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
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
    if (!ok)
        return std::nullopt;
    return value;
}

QString SettingsFiles::folderLine(const QByteArray &content)
{
    QString line = QString::fromLocal8Bit(firstLine(content));
    if (line.size() >= 2 && line.startsWith(QLatin1Char('"')) && line.endsWith(QLatin1Char('"')))
        line = line.mid(1, line.size() - 2);
    return line;
}

std::optional<int> SettingsFiles::readNumber(const QString &fileName)
{
    const auto content = readWhole(fileName);
    if (!content)
        return std::nullopt;
    return numberField(*content);
}

std::optional<QString> SettingsFiles::readFolder(const QString &fileName)
{
    const auto content = readWhole(fileName);
    if (!content)
        return std::nullopt;
    return folderLine(*content);
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

bool SettingsFiles::write(const QString &fileName, const QByteArray &content)
{
    QSaveFile f(InstallFolder::file(fileName));
    // Unbuffered, so that a write cut short (disk full, size limit) is seen here: a buffered
    // QSaveFile can lose that error in its final flush and replace the old file with a short one.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (f.write(content) != content.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}
