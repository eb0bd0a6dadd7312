#pragma once

#include "common/Failure.h"
#include "common/Lang.h"
#include "common/UserFolders.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

// One serial port of the computer as the system lists it.
struct SerialPortEntry
{
    // The device that is opened: "/dev/ttyUSB0"; "COM3" on Windows.
    QString device;
    QString description;
    QString manufacturer;
    QString serialNumber;
    // The adapter's stable name under /dev/serial/by-id/ that leads to `device`, empty when it
    // has none (a built-in port, a pseudo-terminal). It stays the same in every USB socket.
    QString stablePath;
    bool usb = false;

    bool operator==(const SerialPortEntry &) const = default;
};

using SerialPortList = QList<SerialPortEntry>;
// Where the list of serial ports comes from: the system's enumeration in the program, a list of
// the test's own in tests.
using SerialPortLister = std::function<SerialPortList()>;

// The serial ports the system has now, with each USB adapter's stable name.
SerialPortList systemSerialPorts();

// What port number N opens now, looked up anew at each call (as every conversation start does).
struct PortDevice
{
    enum class Source
    {
        UserLink,  // the installer's own binding "comN" in the settings folder
        AdminLink, // the administrator's root-owned "comN"
        Fallback,  // no binding: the built-in port /dev/ttyS<N-1>
        Windows    // "COMN"
    };
    Source source = Source::Fallback;
    // The name the port is opened by: the link, /dev/ttyS<N-1>, or COMN.
    QString name;
    // For a link: where it points (one step, as written in the link); else empty.
    QString target;
    // The device the name reaches now, every link followed; empty when nothing is there (an
    // adapter that is not plugged in).
    QString device;
    // The device is there and is a character device, as a serial port is.
    bool present = false;

    // The name as a message shows it: "com1 -> /dev/serial/by-id/usb-..." for a binding, else
    // the name itself.
    QString shown() const;
};

// Binds port number N to a serial device: the binding is the symbolic link "comN" in the user's
// settings folder (the folder of QV_VELANO_HOME when that is set), which the conversation opens
// at its next start.
class PortBinding
{
public:
    // What bind() and unbind() did, or why they did nothing: NoDevice, NotAbsolute, NoSuchDevice,
    // RegularFile, Folder, NotCharacterDevice, NotTerminal, NotOpened (the device typed); Occupied,
    // LinkFailed, RemoveFailed (the link); FolderNotMade and the refused settings folder's kinds
    // (the folder); BadPortNumber (the number as the path); Unsupported.
    struct Outcome
    {
        Failure failure;
        // The port number to use from now on: the number bound on POSIX; on Windows the number
        // of the COM port chosen.
        int portNumber = 0;
        // Where the link now points (empty after a removal and on Windows).
        QString target;

        bool ok() const { return failure.ok(); }
    };

    static constexpr int kLastPort = 99;

    explicit PortBinding(SerialPortLister lister = systemSerialPorts);

    // The serial ports the system has now.
    SerialPortList ports() const;

    // Binds port `port` to `device`: an entry of ports() or any path typed by the installer.
    // The device must be a terminal once every link is followed: a character device that ports()
    // lists, or that says it is a terminal when opened without waiting (a pseudo-terminal of a
    // simulated module). /dev/tty and the terminal the program itself runs in are never bound,
    // nor is a device the system counts among another kind (memory, sound ...), which is not even
    // opened. The link points at the
    // adapter's stable name when the list knows one, else at the name as given when it lies in a
    // folder of /dev/ that only root may change, else at the device itself. It is made under a temporary name
    // and renamed over the old "comN", so the old link is replaced in one step and nothing is ever written
    // through it. A "comN" that is not a link (a file or folder somebody put there) is left alone and
    // refused, and so is a settings folder that is not the user's alone (a link to another folder,
    // a folder others may write in). On Windows nothing is stored: the outcome names the COM port
    // number to use.
    Outcome bind(int port, const QString &device) const;

    // Removes the binding of `port`: only a link; a file or folder of that name is not the
    // program's and is left alone (refused), as is anything in a settings folder that is not the
    // user's alone. No link at all is no problem.
    Outcome unbind(int port) const;

    // What `port` opens now.
    static PortDevice deviceFor(int port);
    // True when `port` has a binding of its own, the installer's or the administrator's.
    static bool isBound(int port);
    // The path of the installer's link of `port` (empty on Windows).
    static QString linkPath(int port);

    // The one USB serial adapter, when exactly one is plugged in.
    std::optional<SerialPortEntry> singleUsbAdapter() const;

    // The number of a Windows port name ("COM12", "\\.\COM12"); nullopt for any other name.
    static std::optional<int> comPortNumber(const QString &name);

    // One line for what a port opens now (the status tips of the port entries, the chooser's
    // heading): in Dutch or French; the name alone when the language is neither.
    static QString describe(const PortDevice &device, Lang::Language language);

private:
    SerialPortLister m_lister;
};
