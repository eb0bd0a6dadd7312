#include "files/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

Failure failed(Failure::Kind kind, const QString &path, const QString &detail)
{
    return Failure{kind, path, detail};
}

Failure notWritten(const QString &path, const QString &why)
{
    return Failure{Failure::Kind::NotWritten, path, QStringLiteral("cannot write %1: %2").arg(path, why)};
}

#ifndef Q_OS_WIN
QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A name for the new file beside the target: hidden, so a save cut short by a crash leaves no
// clutter in the file lists, and never one that exists (it is created exclusively).
QByteArray temporaryName(const QString &folder, const QString &name)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix;
    for (int i = 0; i < 8; ++i)
        suffix += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    // Keeps the name within the file system's limit however long the target's name is.
    return QFile::encodeName(folder + QStringLiteral("/.") + name.left(100) + QLatin1Char('.') + suffix);
}

bool writeAll(int fd, const QByteArray &content)
{
    const char *p = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}
#endif

} // namespace

Checked<QByteArray> SafeFile::read(const QString &path, qint64 maxSize)
{
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    if (!info.exists())
        return failed(Failure::Kind::Missing, path, QStringLiteral("%1 does not exist").arg(path));
    if (!info.isFile())
        return failed(Failure::Kind::NotAFile, path, QStringLiteral("%1 is not a regular file").arg(path));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return failed(Failure::Kind::Unreadable, path,
                      QStringLiteral("cannot open %1: %2").arg(path, f.errorString()));
    QByteArray content = f.read(maxSize + 1);
    if (f.error() != QFileDevice::NoError)
        return failed(Failure::Kind::Unreadable, path,
                      QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
#else
    const QByteArray native = QFile::encodeName(path);
    struct stat st
    {
    };
    // Looked at before opening: opening a device (a serial port, a tape) can already do something.
    if (::stat(native.constData(), &st) != 0) {
        const int e = errno;
        if (e == ENOENT || e == ENOTDIR)
            return failed(Failure::Kind::Missing, path, QStringLiteral("%1 does not exist").arg(path));
        return failed(Failure::Kind::Unreadable, path,
                      QStringLiteral("cannot open %1: %2").arg(path, systemError(e)));
    }
    if (!S_ISREG(st.st_mode))
        return failed(Failure::Kind::NotAFile, path,
                      QStringLiteral("%1 is not a regular file (%2)")
                          .arg(path, S_ISDIR(st.st_mode) ? QStringLiteral("a folder")
                                                         : QStringLiteral("a FIFO, device or socket")));
    // Non-blocking: should the name have become a FIFO meanwhile, opening it does not wait.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        return failed(e == ENOENT ? Failure::Kind::Missing : Failure::Kind::Unreadable, path,
                      QStringLiteral("cannot open %1: %2").arg(path, systemError(e)));
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return failed(Failure::Kind::NotAFile, path, QStringLiteral("%1 is not a regular file").arg(path));
    }
    QByteArray content;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int e = errno;
            ::close(fd);
            return failed(Failure::Kind::Unreadable, path,
                          QStringLiteral("cannot read %1: %2").arg(path, systemError(e)));
        }
        if (n == 0) break;
        content.append(buffer, qsizetype(n));
        // One byte beyond the limit tells a file that is too large from one that is just at it.
        if (content.size() > maxSize) break;
    }
    ::close(fd);
#endif
    if (content.size() > maxSize)
        return failed(Failure::Kind::TooLarge, path,
                      QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(maxSize));
    return content;
}

Failure SafeFile::replace(const QString &path, const QByteArray &content)
{
#ifdef Q_OS_WIN
    QSaveFile f(path);
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || f.write(content) != content.size()) {
        f.cancelWriting();
        return notWritten(path, f.errorString());
    }
    if (!f.commit()) return notWritten(path, f.errorString());
    return Failure();
#else
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
        return notWritten(path, QStringLiteral("no file name"));
    }
    const QString folder = info.absolutePath();
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());

    // lstat: a link at the name is what gets replaced, so what it points to does not matter.
    struct stat st
    {
    };
    bool keepMode = false;
    mode_t mode = 0666;
    if (::lstat(target.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return notWritten(path, QStringLiteral("it is a folder"));
        }
        if (S_ISREG(st.st_mode)) {
            keepMode = true;
            mode = st.st_mode & 0777;
        }
    }

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(folder, name);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    keepMode ? 0600 : mode);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        return notWritten(path, systemError(errno));
    }
    const auto abandon = [&](int e) {
        ::close(fd);
        ::unlink(temporary.constData());
        return notWritten(path, systemError(e));
    };
    // The umask applied on creation; a replaced file keeps exactly the permissions it had.
    if (keepMode && ::fchmod(fd, mode) != 0) return abandon(errno);
    if (!writeAll(fd, content)) return abandon(errno);
    if (::fsync(fd) != 0) return abandon(errno);
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(temporary.constData());
        return notWritten(path, systemError(e));
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int e = errno;
        ::unlink(temporary.constData());
        return notWritten(path, systemError(e));
    }
    return Failure();
#endif
}
