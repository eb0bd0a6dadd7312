#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <utility>

// Why a file or port operation did not do what it was asked: what kind of fault, the file, folder,
// device or link it concerns, and what the system said. The same value for reading and writing
// files, backups, the report's PDF and the binding of serial ports; the main window's messages
// turn it into the installer's words (Messages::failureText), in Dutch or French.
struct Failure
{
    enum class Kind
    {
        None,
        // Reading a file.
        Missing,    // nothing at that name (or a dangling link)
        NotAFile,   // a folder, FIFO, device or socket: never opened as a file
        Unreadable, // exists but cannot be opened or read
        TooLarge,   // larger than any file of its kind could be
        // The content of a module file.
        BadType,          // line 1 is not a module type 0..3
        TooShort,         // the file ends before the last slot of its type
        BadValue,         // a slot line holds text that is not a whole number 0..999
        OtherTypesLength, // the file has the length of another type than its type line says
        // The content of an installation file (`text`: where the fault is, as "modules[3].name").
        NotJson,              // not a JSON object
        TooLargeInstallation, // larger than any installation file could be
        NotAnInstallation,    // no installation format marker
        UnknownVersion,       // a format version this program does not know (figures: the version)
        BadField,             // a field missing or of the wrong kind
        TooLong,              // a text longer than its limit (figures: the limit)
        ControlCharacter,     // a text holding a control character
        TooManyModules,       // more modules than an installation holds (figures: the limit)
        BadImage,             // an image of the wrong length or with a value outside 000..999
        DuplicateId,          // a module id used twice
        // Writing.
        NotAModuleImage,  // a type, size or slot value that no module file can hold
        NotWritten,       // the file could not be written or put in place: `detail` says why
        FolderUnreadable, // a folder whose entries cannot be listed
        // Binding a serial port.
        BadPortNumber,      // outside the ports that may be bound (`path` holds the number)
        NoDevice,           // nothing chosen or typed
        NotAbsolute,        // a relative path other than a bare device name
        NoSuchDevice,       // nothing at that path (or a link leading nowhere)
        RegularFile,        // not a serial port: a file
        Folder,             // not a serial port: a folder
        NotCharacterDevice, // not a serial port: a FIFO, socket or block device
        NotTerminal,        // a device that is no terminal (/dev/null), or the program's own terminal
        NotOpened,          // a device that could not be opened to see whether it is a terminal
        Occupied,           // the link's name holds something else than a link: left alone
        FolderNotMade,      // the settings folder cannot be made
        FolderIsLink,       // the settings folder is a symbolic link
        FolderNotAFolder,   // the settings folder's name holds a file or something else
        FolderNotOwned,     // the settings folder belongs to another user
        FolderOpenToOthers, // the group or others may write in the settings folder
        LinkFailed,         // the link cannot be made or put in place
        RemoveFailed,       // the link cannot be removed
        Unsupported         // nothing to bind or remove on this system
    };

    Failure() = default;
    Failure(Kind kind, QString path = {}, QString detail = {})
        : kind(kind), path(std::move(path)), detail(std::move(detail))
    {
    }

    Kind kind = Kind::None;
    // The file, folder, device or link the fault concerns.
    QString path;
    // What went wrong in English, for logs and tests; a write failure's message shows it.
    QString detail;
    // A fault in a file's content: the 1-based line (0: the whole file) and that line as read,
    // shortened.
    int line = 0;
    QString text;
    // The figures a message names besides the line: OtherTypesLength the type of line 1 and the
    // file's lines up to its last non-blank one.
    QList<int> figures;

    bool ok() const { return kind == Kind::None; }
};

// A value, or the failure that kept it from being made.
template <class T> class Checked
{
public:
    Checked(T value) : m_value(std::move(value)) {}
    Checked(Failure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T &operator*() const & { return *m_value; }
    T &operator*() & { return *m_value; }
    T &&operator*() && { return std::move(*m_value); }
    const T *operator->() const { return &*m_value; }
    T *operator->() { return &*m_value; }
    // None when there is a value.
    const Failure &failure() const { return m_failure; }

private:
    std::optional<T> m_value;
    Failure m_failure;
};
