#pragma once

#include "protocol/ModuleImage.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// ".QV1" module files: the image of one module as text, one value per line, every line ended by
// CR LF, no header.
//   line 1        the module type 0..3
//   lines 2..N+1  the slots of that type's image, slot 0 first
//                 (type 1: 150 slots, type 2: 230 slots, types 0 and 3: 340 slots)
// A number is written with a sign position (blank, or "-") and a trailing blank: 12 -> " 12 ".
// A slot that holds nothing is an empty line.
//
// Reading takes line 1 and the slot lines of its type, one value per line: blanks around the
// value are skipped and the value runs to the first comma. An empty value (an empty or blank line)
// is a slot that holds nothing and reads as 0; any other text that is not a whole number 0..999
// refuses the file. Lines after the last slot are not read (files written elsewhere may end with
// more), with one exception: a file whose length up to its last non-blank line is exactly that of
// another type (151, 231 or 341 lines) is refused, because its type line and its values disagree
// (a relay file whose type line was changed to 1 is not a dim module).
// The whole file is checked before anything is handed back, so a damaged file never reaches an
// image half-read. The caller copies `values` into the image of `type` only after a successful
// read.

struct ModuleFileData
{
    int type = 0;
    std::vector<int> values; // slot 0 first; exactly the slot count of `type`

    // The values as an image of the module type.
    ModuleImage image() const;
};

struct ModuleFileError
{
    enum Kind
    {
        None,
        Missing,          // no such file
        Unreadable,       // exists but cannot be opened or read
        TooLarge,         // larger than any module file could be
        BadType,          // line 1 is not a module type 0..3
        TooShort,         // the file ends before the last slot of its type
        BadValue,         // a slot line holds text that is not a whole number 0..999
        OtherTypesLength, // the file has the length of another type than its type line says
        NotAFile          // a folder, FIFO, device or socket: never opened as a module file
    };
    Kind kind = None;
    int line = 0;      // 1-based line of the fault; 0 when the fault concerns the whole file
    QString text;      // the offending line as read (without its line end), shortened
    QString message;   // one English sentence for logs and tests: what and where
    int type = -1;     // OtherTypesLength: the type of line 1
    int fileLines = 0; // OtherTypesLength: the lines up to the last non-blank one
};

namespace ModuleFile {
// Nothing larger is read: the longest valid file is a few kilobytes.
inline constexpr qint64 MaxSize = 1024 * 1024;
// Slots in a file of this type: 340 (0, 3), 150 (1), 230 (2); 0 for any other type.
int slotCount(int type);
} // namespace ModuleFile

// The exact bytes of a module file. Empty (and *error set) when the image cannot be written as
// a file that reads back: a type other than 0..3, an image whose size is not the slot count of
// the type, or a slot outside 0..999.
QByteArray moduleFileContent(int type, const ModuleImage &image, QString *error = nullptr);

// Writes a module file through a temporary file renamed over the target, so a failure leaves an
// existing file as it was. A symbolic link at the target's name is replaced by the file, never
// written through; an existing file is replaced without a question. Returns false (and *error
// set) when nothing was written.
bool writeModuleFile(const QString &path, int type, const ModuleImage &image, QString *error = nullptr);

// Checks module file content; nullopt (and *error set) when it is not a complete module file.
std::optional<ModuleFileData> parseModuleFile(const QByteArray &content, ModuleFileError *error = nullptr);

// Reads and checks a module file (at most ModuleFile::MaxSize bytes). Only a regular file is
// read: a FIFO, device or folder is refused (NotAFile) without waiting on it.
std::optional<ModuleFileData> readModuleFile(const QString &path, ModuleFileError *error = nullptr);
