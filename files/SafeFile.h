#pragma once

#include "common/Failure.h"

#include <QByteArray>
#include <QString>

// Whole-file reads and replacements that a file planted by someone else cannot turn against the
// installer: a read takes only a regular file (a FIFO, device or folder never blocks the program
// or feeds it endless data), and a replacement writes a new file next to the old one and renames
// it over the name, so a symbolic link at that name is replaced itself, never written through.
namespace SafeFile {

// Reads a regular file of at most maxSize bytes. A link is followed for reading: only what it
// points to must be a regular file. Never waits for a writer (a FIFO is refused unopened).
// Fails as Missing (nothing at that name, or a dangling link), NotAFile, Unreadable or TooLarge.
Checked<QByteArray> read(const QString &path, qint64 maxSize);

// Replaces the file at `path` whole: the content goes to a new file in the same folder, which is
// flushed to disk and renamed over the name. A symbolic link at the name is replaced, never
// followed; a folder at the name is refused. An existing regular file's permissions are kept; a
// new file gets the usual ones (0666 less the umask). On failure nothing at the name changes, no
// temporary file is left, and the failure (NotWritten) says why.
Failure replace(const QString &path, const QByteArray &content);

} // namespace SafeFile
