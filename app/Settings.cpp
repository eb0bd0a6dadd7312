#include "app/Settings.h"

#include "app/Messages.h"
#include "app/SettingsFiles.h"
#include "common/Lang.h"
#include "common/MessageBox.h"

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
            number(SettingsFiles::Pc, SettingsFiles::DefaultPcDelay), loadDefaultDirectory()};
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
