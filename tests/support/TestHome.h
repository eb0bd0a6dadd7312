#pragma once

#include "app/InstallFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A throw-away installation folder for one test: the program reads and writes its settings
// files here instead of the shared demo folder.
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
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
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
