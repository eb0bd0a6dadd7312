#pragma once

#include "common/Failure.h"
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

namespace ModuleFile {
// Nothing larger is read: the longest valid file is a few kilobytes.
inline constexpr qint64 MaxSize = 1024 * 1024;
// Slots in a file of this type: 340 (0, 3), 150 (1), 230 (2); 0 for any other type.
int slotCount(int type);
} // namespace ModuleFile

// The exact bytes of a module file. Fails (NotAModuleImage) when the image cannot be written as a
// file that reads back: a type other than 0..3, an image whose size is not the slot count of the
// type, or a slot outside 0..999.
Checked<QByteArray> moduleFileContent(int type, const ModuleImage &image);

// Writes a module file through a temporary file renamed over the target, so a failure leaves an
// existing file as it was. A symbolic link at the target's name is replaced by the file, never
// written through; an existing file is replaced without a question. Fails (NotAModuleImage,
// NotWritten) when nothing was written.
Failure writeModuleFile(const QString &path, int type, const ModuleImage &image);

// Checks module file content; fails when it is not a complete module file: BadType, TooShort,
// BadValue or OtherTypesLength (with the line of the fault, the line as read and a detail that
// starts with "line N: "), or TooLarge.
Checked<ModuleFileData> parseModuleFile(const QByteArray &content);

// Reads and checks a module file (at most ModuleFile::MaxSize bytes). Only a regular file is
// read: a FIFO, device or folder is refused (NotAFile) without waiting on it. A failure names the
// path; Missing, Unreadable and TooLarge come from reading, the others as parseModuleFile says.
Checked<ModuleFileData> readModuleFile(const QString &path);
