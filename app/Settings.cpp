#include "app/Settings.h"

#include "app/Messages.h"
#include "app/SettingsFiles.h"
#include "common/Lang.h"
#include "common/MessageBox.h"
#include "common/UserFolders.h"
#include "files/SafeFile.h"

namespace {
bool &folderReported()
{
    static bool reported = false;
    return reported;
}

// The one place a setting that could not be stored is reported. When the user's folder is the
// reason, the message says what is wrong with it.
bool store(const char *file, const QByteArray &content, QWidget *parent, int messageLanguage)
{
    const QString name = QString::fromLatin1(file);
    if (SettingsFiles::write(name, content)) return true;
    const UserFolders::FolderState folder = UserFolders::settingsFolderState();
    MessageBox::information(
        parent, Lang::warningTitle(messageLanguage),
        UserFolders::isRefused(folder)
            ? UserFolders::unusedFolderText(UserFolders::settingsFolder(), folder, messageLanguage)
            : Messages::settingNotSaved(SettingsFiles::writtenPath(name), messageLanguage));
    return false;
}

int number(const char *file, int fallback)
{
    return SettingsFiles::readNumber(QString::fromLatin1(file)).value_or(fallback);
}
} // namespace

Settings loadSettings(QWidget *parent)
{
    const Settings s{number(SettingsFiles::Country, SettingsFiles::DefaultLanguage),
                     number(SettingsFiles::Port, SettingsFiles::DefaultComPort),
                     number(SettingsFiles::Pc, SettingsFiles::DefaultPcDelay), loadDefaultDirectory(),
                     number(SettingsFiles::Check, 0) == 1};
    reportUnusedSettingsFolder(parent, s.language);
    return s;
}

bool reportUnusedSettingsFolder(QWidget *parent, int language)
{
    const UserFolders::FolderState state = UserFolders::settingsFolderState();
    if (!UserFolders::isRefused(state) || folderReported()) return false;
    folderReported() = true;
    MessageBox::information(parent, Lang::warningTitle(language),
                            UserFolders::unusedFolderText(UserFolders::settingsFolder(), state, language));
    return true;
}

void forgetReportedSettingsFolder()
{
    folderReported() = false;
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

QStringList loadRecentFiles(const char *list)
{
    QStringList paths;
    if (UserFolders::isRefused(UserFolders::settingsFolderState())) return paths;
    const auto read = SafeFile::read(SettingsFiles::writtenPath(QString::fromLatin1(list)), 64 * 1024);
    if (!read) return paths;
    for (const QString &line : QString::fromUtf8(*read).split(QLatin1Char('\n'))) {
        const QString path = line.trimmed();
        if (!path.isEmpty() && !paths.contains(path)) paths << path;
    }
    return paths;
}

bool storeRecentFiles(const QStringList &paths, const char *list)
{
    return SettingsFiles::write(QString::fromLatin1(list), paths.join(QLatin1Char('\n')).toUtf8() + '\n');
}

PanelSettings loadPanelSettings()
{
    PanelSettings panel;
    if (UserFolders::isRefused(UserFolders::settingsFolderState())) return panel;
    const auto read =
        SafeFile::read(SettingsFiles::writtenPath(QString::fromLatin1(SettingsFiles::Panel)), 1024);
    if (!read) return panel;
    const QStringList fields = QString::fromLatin1(*read).trimmed().split(QLatin1Char(','));
    bool ok = false;
    const int width = fields.value(0).trimmed().toInt(&ok);
    if (ok && width >= 80 && width <= 2000) panel.width = width;
    if (fields.size() > 1) panel.shown = fields.at(1).trimmed() != QLatin1String("0");
    return panel;
}

bool storePanelSettings(const PanelSettings &panel)
{
    return SettingsFiles::write(QString::fromLatin1(SettingsFiles::Panel),
                                QByteArray::number(panel.width) + (panel.shown ? ",1\r\n" : ",0\r\n"));
}
