#pragma once

#include "common/InstallFolder.h"
#include "common/UserFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QTemporaryDir>

// A throw-away installation folder for one test, as QV_VELANO_HOME names one: the program reads
// and writes its settings files (and every other file it keeps) here, nowhere else.
class TestHome
{
public:
    TestHome() { InstallFolder::setOverride(m_dir.path()); }
    ~TestHome() { InstallFolder::setOverride(QString()); }
    TestHome(const TestHome &) = delete;
    TestHome &operator=(const TestHome &) = delete;

    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(file(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
    }
    QByteArray read(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // The four settings files with the given values.
    void writeSettings(const QByteArray &country = " 1 \r\n", const QByteArray &port = "1\r\n",
                       const QByteArray &pc = "500\r\n", const QByteArray &directory = "\r\n") const
    {
        write(QStringLiteral("country.vdm"), country);
        write(QStringLiteral("port.vdm"), port);
        write(QStringLiteral("pc.vdm"), pc);
        write(QStringLiteral("directory.vdm"), directory);
    }

private:
    QTemporaryDir m_dir;
};

// A throw-away machine for one test, laid out as the installed program sees it: a folder that
// stands for the read-only installation folder ("shipped/"), one for the administrator's
// defaults ("etc/") and the home folder of a user ("home/") with no XDG_* variables set, so the
// user's settings live in home/.config/qv-velano5/. QV_VELANO_HOME plays no part; the real home
// folder and /etc are never touched.
class TestUserHome
{
public:
    TestUserHome()
    {
        for (const char *name : kVariables)
            m_saved.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
        QDir root(m_dir.path());
        root.mkpath(QStringLiteral("shipped"));
        root.mkpath(QStringLiteral("etc"));
        root.mkpath(QStringLiteral("home"));
        qputenv("HOME", QFile::encodeName(root.filePath(QStringLiteral("home"))));
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        InstallFolder::setShippedOverride(root.filePath(QStringLiteral("shipped")));
        UserFolders::setAdminFolderOverride(root.filePath(QStringLiteral("etc")));
    }
    ~TestUserHome()
    {
        for (const Saved &s : m_saved) {
            if (s.set)
                qputenv(s.name, s.value);
            else
                qunsetenv(s.name);
        }
        InstallFolder::setShippedOverride(QString());
        UserFolders::setAdminFolderOverride(QString());
    }
    TestUserHome(const TestUserHome &) = delete;
    TestUserHome &operator=(const TestUserHome &) = delete;

    QString root() const { return m_dir.path() + QLatin1Char('/'); }
    QString home() const { return root() + QStringLiteral("home/"); }
    QString shipped(const QString &name = {}) const { return root() + QStringLiteral("shipped/") + name; }
    QString admin(const QString &name = {}) const { return root() + QStringLiteral("etc/") + name; }
    QString user(const QString &name = {}) const
    {
        return home() + QStringLiteral(".config/qv-velano5/") + name;
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        // Missing folders are made as the program makes the user's own: private, whatever the
        // machine's umask (a settings folder others may write in is not used).
        UserFolders::makePrivateFolder(QFileInfo(path).path());
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
    }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private:
    static constexpr const char *kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"};
    struct Saved
    {
        const char *name;
        bool set;
        QByteArray value;
    };
    QList<Saved> m_saved;
    QTemporaryDir m_dir;
};
