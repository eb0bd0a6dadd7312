#include "serial/PortBinding.h"

#include "common/Lang.h"
#include "common/UserFolders.h"
#include "serial/SerialLink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#ifndef Q_OS_WIN
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif

using namespace Qt::StringLiterals;

namespace {

#ifndef Q_OS_WIN
QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString linkName(int port)
{
    return u"com%1"_s.arg(port);
}

// Where a link points, as written in it (one step, not followed further), made absolute against
// the link's folder; empty when `path` is no link.
QString linkTarget(const QString &path)
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer);
    if (n <= 0 || size_t(n) >= sizeof buffer) return QString();
    const QString target = QFile::decodeName(QByteArray(buffer, int(n)));
    return QDir::isAbsolutePath(target) ? target : QFileInfo(path).dir().filePath(target);
}

// Only root can change what a name in this folder is: root owns the folder and nobody else may
// write in it (/dev, /dev/serial/by-id; not a /dev/shm that everybody may write in).
bool rootKeepsTheFolderOf(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(QFileInfo(path).path()).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == 0 && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The name a binding should point at: a stable name under /dev/serial/by-id/ when there is one
// for the device (the one typed, else the list's), else a name under /dev/ as typed (a name that
// udev keeps for the adapter), else the device itself: a name in a folder somebody else can
// write (a temporary folder, another user's folder) could be changed or removed under the
// binding.
QString bindingTarget(const QString &typed, const QString &device, const SerialPortList &ports)
{
    const bool keptByRoot = typed.startsWith("/dev/"_L1) && rootKeepsTheFolderOf(typed);
    if (keptByRoot && typed.startsWith("/dev/serial/by-id/"_L1)) return typed;
    for (const SerialPortEntry &entry : ports)
        if (!entry.stablePath.isEmpty() && QFileInfo(entry.stablePath).canonicalFilePath() == device)
            return entry.stablePath;
    return keptByRoot ? typed : device;
}

// The same character device as `st`: the two names reach one device, whatever they are called.
bool sameDevice(const struct stat &a, const struct stat &b)
{
    return S_ISCHR(a.st_mode) && S_ISCHR(b.st_mode) && a.st_rdev == b.st_rdev;
}

// Whether the character device `device` (every link followed, `st` its status) is a line a
// module can be on: a terminal. /dev/tty stands for whichever terminal the program was started
// from, and the terminals of the program's own input and output are the installer's, never a
// module's: those are refused. A device the kernel files under another class (memory, sound,
// a watchdog ...) is refused without being opened, since opening some devices does something.
// A device the system lists as a serial port is taken as it is (the user may not be allowed to
// open it yet); any other is opened for a moment, without becoming the program's terminal and
// without waiting for a carrier, to ask whether it is a terminal.
Failure::Kind terminalProblem(const QString &device, const struct stat &st, const SerialPortList &ports,
                              QString *detail)
{
    struct stat other
    {
    };
    if (::stat("/dev/tty", &other) == 0 && sameDevice(other, st)) return Failure::Kind::NotTerminal;
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        if (::isatty(fd) && ::fstat(fd, &other) == 0 && sameDevice(other, st))
            return Failure::Kind::NotTerminal;
#ifdef Q_OS_LINUX
    const QString kind =
        QFileInfo(u"/sys/dev/char/%1:%2/subsystem"_s.arg(major(st.st_rdev)).arg(minor(st.st_rdev)))
            .canonicalFilePath();
    if (!kind.isEmpty() && QFileInfo(kind).fileName() != "tty"_L1) return Failure::Kind::NotTerminal;
#endif
    for (const SerialPortEntry &entry : ports)
        if (QFileInfo(entry.device).canonicalFilePath() == device) return Failure::Kind::None;
    const int fd =
        ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *detail = systemError(errno);
        return Failure::Kind::NotOpened;
    }
    // What was opened is the device looked at (not something put at its name meanwhile).
    const bool terminal = ::fstat(fd, &other) == 0 && sameDevice(other, st) && ::isatty(fd) == 1;
    ::close(fd);
    return terminal ? Failure::Kind::None : Failure::Kind::NotTerminal;
}

#ifdef Q_OS_LINUX
// The kernel places a USB adapter's tty below a USB device in sysfs.
bool onUsb(const QString &device)
{
    const QString tty = QFileInfo(device).canonicalFilePath().section(QLatin1Char('/'), -1);
    if (tty.isEmpty()) return false;
    return QFileInfo(u"/sys/class/tty/%1/device"_s.arg(tty)).canonicalFilePath().contains("/usb"_L1);
}
#endif
#endif

PortBinding::Outcome outcome(Failure::Kind kind, const QString &path, int port, const QString &detail = {})
{
    PortBinding::Outcome out;
    out.failure = Failure{kind, path, detail};
    out.portNumber = port;
    return out;
}

#ifndef Q_OS_WIN
PortBinding::Outcome folderNotUsed(const QString &folder, int port, UserFolders::FolderState state)
{
    return outcome(UserFolders::failureKind(state), folder, port);
}
#endif

} // namespace

SerialPortList systemSerialPorts()
{
    SerialPortList ports;
#ifndef Q_OS_WIN
    // The stable names of the adapters plugged in, by the device each leads to.
    QHash<QString, QString> stable;
    const QDir byId(u"/dev/serial/by-id"_s);
    for (const QFileInfo &link :
         byId.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!link.isSymLink()) continue;
        const QString device = link.canonicalFilePath();
        if (!device.isEmpty() && !stable.contains(device)) stable.insert(device, link.absoluteFilePath());
    }
#endif
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos) {
        SerialPortEntry entry;
#ifdef Q_OS_WIN
        entry.device = info.portName();
        entry.usb = info.hasVendorIdentifier();
#else
        entry.device = info.systemLocation();
        entry.stablePath = stable.value(QFileInfo(entry.device).canonicalFilePath());
#ifdef Q_OS_LINUX
        entry.usb = onUsb(entry.device) || QFileInfo(entry.stablePath).fileName().startsWith("usb-"_L1);
#else
        entry.usb = info.hasVendorIdentifier();
#endif
#endif
        entry.description = info.description();
        entry.manufacturer = info.manufacturer();
        entry.serialNumber = info.serialNumber();
        ports << entry;
    }
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortEntry &a, const SerialPortEntry &b) { return a.device < b.device; });
    return ports;
}

QString PortDevice::shown() const
{
    if (target.isEmpty()) return QDir::toNativeSeparators(name);
    return QDir::toNativeSeparators(name) + u" → "_s + target;
}

PortBinding::PortBinding(SerialPortLister lister) : m_lister(std::move(lister)) {}

SerialPortList PortBinding::ports() const
{
    return m_lister ? m_lister() : SerialPortList{};
}

std::optional<SerialPortEntry> PortBinding::singleUsbAdapter() const
{
    std::optional<SerialPortEntry> found;
    for (const SerialPortEntry &entry : ports()) {
        if (!entry.usb) continue;
        if (found) return std::nullopt;
        found = entry;
    }
    return found;
}

std::optional<int> PortBinding::comPortNumber(const QString &name)
{
    static const QRegularExpression com(uR"(^(?:\\\\\.\\)?COM([1-9][0-9]{0,2})$)"_s,
                                        QRegularExpression::CaseInsensitiveOption);
    const auto match = com.match(name.trimmed());
    if (!match.hasMatch()) return std::nullopt;
    return match.captured(1).toInt();
}

QString PortBinding::linkPath(int port)
{
#ifdef Q_OS_WIN
    Q_UNUSED(port);
    return QString();
#else
    return UserFolders::settingsFolder() + linkName(port);
#endif
}

PortBinding::Outcome PortBinding::bind(int port, const QString &typed) const
{
    const QString given = typed.trimmed();
    if (given.isEmpty()) return outcome(Failure::Kind::NoDevice, given, port);
#ifdef Q_OS_WIN
    const auto number = comPortNumber(given);
    if (!number) return outcome(Failure::Kind::NoSuchDevice, given, port);
    Outcome out;
    out.portNumber = *number;
    return out;
#else
    if (port < 1 || port > kLastPort)
        return outcome(Failure::Kind::BadPortNumber, QString::number(port), port);
    // A bare device name is one of /dev/.
    QString path = given.contains(QLatin1Char('/')) ? given : u"/dev/"_s + given;
    if (!QDir::isAbsolutePath(path)) return outcome(Failure::Kind::NotAbsolute, given, port);
    path = QDir::cleanPath(path);

    // Every link followed: the device itself, which must be a character device.
    const QString device = QFileInfo(path).canonicalFilePath();
    if (device.isEmpty()) return outcome(Failure::Kind::NoSuchDevice, path, port);
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(device).constData(), &st) != 0)
        return outcome(Failure::Kind::NoSuchDevice, path, port, systemError(errno));
    if (S_ISDIR(st.st_mode)) return outcome(Failure::Kind::Folder, path, port);
    if (S_ISREG(st.st_mode)) return outcome(Failure::Kind::RegularFile, path, port);
    if (!S_ISCHR(st.st_mode)) return outcome(Failure::Kind::NotCharacterDevice, path, port);
    const SerialPortList listed = ports();
    QString detail;
    if (const Failure::Kind problem = terminalProblem(device, st, listed, &detail);
        problem != Failure::Kind::None)
        return outcome(problem, path, port, detail);

    const QString target = bindingTarget(path, device, listed);
    // Never a link in a folder somebody else controls (one that leads elsewhere, or that others
    // may write in): the binding could end up in another folder, or be changed afterwards.
    const QString folder = UserFolders::settingsFolder();
    if (const auto state = UserFolders::settingsFolderState(); UserFolders::isRefused(state))
        return folderNotUsed(folder, port, state);
    if (!UserFolders::makePrivateFolder(folder)) return outcome(Failure::Kind::FolderNotMade, folder, port);
    if (const auto state = UserFolders::settingsFolderState(); state != UserFolders::FolderState::Usable)
        return folderNotUsed(folder, port,
                             UserFolders::isRefused(state) ? state : UserFolders::FolderState::NotAFolder);

    // The old "comN" is replaced only when it is a link; anything else there is not a binding.
    const QString link = folder + linkName(port);
    const QByteArray linkNative = QFile::encodeName(link);
    struct stat old
    {
    };
    if (::lstat(linkNative.constData(), &old) == 0 && !S_ISLNK(old.st_mode))
        return outcome(Failure::Kind::Occupied, link, port);

    // A new link under a name nobody uses, then renamed over the old one in one step: the old
    // link is never followed and nothing is written through it.
    const QByteArray targetNative = QFile::encodeName(target);
    QByteArray temporary;
    for (int attempt = 0;; ++attempt) {
        temporary = QFile::encodeName(
            folder + u".%1.%2"_s.arg(linkName(port))
                         .arg(uint(QRandomGenerator::global()->generate()), 8, 16, QLatin1Char('0')));
        if (::symlink(targetNative.constData(), temporary.constData()) == 0) break;
        if (errno != EEXIST || attempt >= 20)
            return outcome(Failure::Kind::LinkFailed, link, port, systemError(errno));
    }
    if (::rename(temporary.constData(), linkNative.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return outcome(Failure::Kind::LinkFailed, link, port, systemError(error));
    }
    Outcome out;
    out.portNumber = port;
    out.target = target;
    return out;
#endif
}

PortBinding::Outcome PortBinding::unbind(int port) const
{
#ifdef Q_OS_WIN
    return outcome(Failure::Kind::Unsupported, QString(), port);
#else
    if (port < 1 || port > kLastPort)
        return outcome(Failure::Kind::BadPortNumber, QString::number(port), port);
    // Removing a name through a folder that leads elsewhere would remove it there.
    if (const auto state = UserFolders::settingsFolderState(); UserFolders::isRefused(state))
        return folderNotUsed(UserFolders::settingsFolder(), port, state);
    const QString link = linkPath(port);
    const QByteArray native = QFile::encodeName(link);
    struct stat st
    {
    };
    if (::lstat(native.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return outcome(Failure::Kind::None, link, port);
        return outcome(Failure::Kind::RemoveFailed, link, port, systemError(errno));
    }
    // A file or folder of that name was not made by a binding: removing it could lose somebody's
    // data, so it is left for the installer to look at.
    if (!S_ISLNK(st.st_mode)) return outcome(Failure::Kind::Occupied, link, port);
    if (::unlink(native.constData()) != 0)
        return outcome(Failure::Kind::RemoveFailed, link, port, systemError(errno));
    return outcome(Failure::Kind::None, link, port);
#endif
}

PortDevice PortBinding::deviceFor(int port)
{
    PortDevice d;
    d.name = serialPortName(port);
#ifdef Q_OS_WIN
    d.source = PortDevice::Source::Windows;
    d.device = d.name;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    d.present = std::any_of(infos.begin(), infos.end(), [&d](const QSerialPortInfo &info) {
        return info.portName().compare(d.name, Qt::CaseInsensitive) == 0;
    });
#else
    const QString admin = UserFolders::adminFolder();
    if (d.name == linkPath(port))
        d.source = PortDevice::Source::UserLink;
    else if (!admin.isEmpty() && d.name == admin + linkName(port))
        d.source = PortDevice::Source::AdminLink;
    else
        d.source = PortDevice::Source::Fallback;
    d.target = linkTarget(d.name);
    d.device = QFileInfo(d.name).canonicalFilePath();
    struct stat st
    {
    };
    d.present = !d.device.isEmpty() && ::stat(QFile::encodeName(d.device).constData(), &st) == 0 &&
                S_ISCHR(st.st_mode);
#endif
    return d;
}

bool PortBinding::isBound(int port)
{
    const PortDevice::Source source = deviceFor(port).source;
    return source == PortDevice::Source::UserLink || source == PortDevice::Source::AdminLink;
}

QString PortBinding::describe(const PortDevice &d, Lang::Language language)
{
    const QString name = QDir::toNativeSeparators(d.name);
    Lang::Text text;
    switch (d.source) {
    case PortDevice::Source::Windows:
        return name;
    case PortDevice::Source::Fallback:
        if (d.present) {
            text.dutch = u"%1 (geen koppeling)"_s.arg(name);
            text.french = u"%1 (aucune liaison)"_s.arg(name);
        } else {
            text.dutch = u"%1 (geen koppeling; bestaat niet)"_s.arg(name);
            text.french = u"%1 (aucune liaison ; n'existe pas)"_s.arg(name);
        }
        break;
    case PortDevice::Source::UserLink:
    case PortDevice::Source::AdminLink: {
        const bool admin = d.source == PortDevice::Source::AdminLink;
        const QString target = d.target.isEmpty() ? name : d.target;
        text.dutch = (admin ? u"Door de beheerder gekoppeld aan %1"_s : u"Gekoppeld aan %1"_s).arg(target);
        text.french = (admin ? u"Lié par l'administrateur à %1"_s : u"Lié à %1"_s).arg(target);
        if (d.device.isEmpty()) {
            text.dutch += u" (niet aangesloten)"_s;
            text.french += u" (non branché)"_s;
        } else if (!d.present) {
            text.dutch += u" (geen seriële poort)"_s;
            text.french += u" (pas un port série)"_s;
        } else if (d.device != d.target) {
            text.dutch += u" (nu %1)"_s.arg(d.device);
            text.french += u" (actuellement %1)"_s.arg(d.device);
        }
        break;
    }
    }
    return text.in(language, d.shown());
}
