#include "app/Settings.h"

#include "app/Messages.h"
#include "app/SettingsFiles.h"
#include "common/Lang.h"
#include "common/MessageBox.h"
#include "files/SafeFile.h"

namespace {
// The one place a setting that could not be stored is reported.
bool store(const char *file, const QByteArray &content, QWidget *parent, int messageLanguage)
{
    const QString name = QString::fromLatin1(file);
    if (SettingsFiles::write(name, content)) return true;
    MessageBox::information(parent, Lang::warningTitle(messageLanguage),
                            Messages::settingNotSaved(SettingsFiles::writtenPath(name), messageLanguage));
    return false;
}

int number(const char *file, int fallback)
{
    return SettingsFiles::readNumber(QString::fromLatin1(file)).value_or(fallback);
}
} // namespace

Settings loadSettings()
{
    return {number(SettingsFiles::Country, SettingsFiles::DefaultLanguage),
            number(SettingsFiles::Port, SettingsFiles::DefaultComPort),
            number(SettingsFiles::Pc, SettingsFiles::DefaultPcDelay), loadDefaultDirectory(),
            number(SettingsFiles::Check, 0) == 1};
}

QString loadDefaultDirectory()
{
    return SettingsFiles::readFolder(QString::fromLatin1(SettingsFiles::Directory))
        .value_or(SettingsFiles::defaultDirectory());
}

bool storeLanguage(int language, QWidget *parent, int messageLanguage)
{
    return store(SettingsFiles::Country, SettingsFiles::languageContent(language), parent, messageLanguage);
}

bool storePort(int port, QWidget *parent, int messageLanguage)
{
    return store(SettingsFiles::Port, SettingsFiles::portContent(port), parent, messageLanguage);
}

bool storeDirectory(const QString &folder, QWidget *parent, int messageLanguage)
{
    return store(SettingsFiles::Directory, SettingsFiles::folderContent(folder), parent, messageLanguage);
}

bool storeCheckAfterSend(bool on, QWidget *parent, int messageLanguage)
{
    return store(SettingsFiles::Check, on ? QByteArrayLiteral("1\r\n") : QByteArrayLiteral("0\r\n"), parent,
                 messageLanguage);
}

QStringList loadRecentFiles()
{
    const auto read =
        SafeFile::read(SettingsFiles::writtenPath(QString::fromLatin1(SettingsFiles::Recent)), 64 * 1024);
    QStringList paths;
    if (read.status != SafeFile::ReadStatus::Ok) return paths;
    for (const QString &line : QString::fromUtf8(read.content).split(QLatin1Char('\n'))) {
        const QString path = line.trimmed();
        if (!path.isEmpty() && !paths.contains(path)) paths << path;
    }
    return paths;
}

bool storeRecentFiles(const QStringList &paths)
{
    return SettingsFiles::write(QString::fromLatin1(SettingsFiles::Recent),
                                paths.join(QLatin1Char('\n')).toUtf8() + '\n');
}
