#pragma once

#include "common/Failure.h"
#include "files/ModuleFile.h"
#include "protocol/ModuleImage.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// The automatic backups: every configuration read from a module is kept as a module file in the
// user's data folder ("backups/", only the user may enter it), under a name a person can read:
//
//     2026-12-08_14-03-27_ZK2019_v229.QV1        date and time, model entry, version
//     2026-12-08_14-03-27_ZK2019_v229_2.QV1      a second backup in the same second
//
// A backup is a regular file of that folder whose name has exactly this form (a known model
// entry, a real date and time, a version 0..999, a suffix 2 or more). Nothing else in the folder
// is ever listed or deleted: other files, folders and symbolic links are left alone, also when
// their names look like backups.
//
// Which backups are the newest is decided by when they were made (the file's modification
// time), not by the date in the name: a clock that was wrong once leaves names in the future,
// and those must not push out every backup made after the clock was put right. A new backup's
// time is set just after the newest one already there when the clock lags behind it.
//
// The same folder keeps the module files that "Module Opslaan" and "Module Opslaan als ..."
// replaced, each as a pair:
//
//     replaced_3f2a9c0d1e2b_17.QV1     the bytes the file held, exactly
//     replaced_3f2a9c0d1e2b_17.json    {"made":"2026-12-08T14:03:27","original":"/home/jan/klant.QV1"}
//
// The number counts up with every such backup (one more than the highest in the folder), so
// their order never depends on the clock; the twelve hex digits are a digest of the original
// path, so that keeping the newest ReplacedKeep of one file reads only that file's side files.
// The original path is plain text from outside: it is never part of a name in the folder, never
// shown as markup, and a pair counts only when both names are regular files and the side file
// names an original path. These backups are apart from the read backups: neither ever counts
// for, or is pruned with, the other.
namespace Backups {

constexpr int DefaultKeep = 500;
constexpr int ReplacedKeep = 20;

// UserFolders::dataFolder() + "backups/" (ends with a separator).
QString folder();

// What a backup's name says.
struct NameParts
{
    QDateTime dateTime; // local time, to the second
    QString model;      // the type's entry in the module type list
    int type = -1;      // the type of that entry (0..3)
    int version = 0;    // the module's version when it was read
    int suffix = 1;     // 1 for the first backup of that second, then 2, 3 ...
};

// The name of a backup: suffix 1 gives none, 2 and more give "_2" ... Empty for an unknown type.
QString fileName(const QDateTime &when, int type, int version, int suffix = 1);
// The parts of a backup's name; nothing for any name not of that exact form.
std::optional<NameParts> parseName(const QString &name);

// Saves the image of `type` as a backup taken at `now`, as "Module Opslaan als" saves a module file,
// written safely (a failure leaves no half file). The folder is made when missing and must be the
// user's own, writable by nobody else; a name already taken (by anything, a link included) gets
// the next suffix. The new backup is the newest made (see above). Old backups are not pruned here.
// Gives the path of the backup written, or why none was.
Checked<QString> write(int type, const ModuleImage &image, const QDateTime &now);

// Deletes all but the newest `keep` backups, newest by when they were made (ties: the date, time
// and suffix in the name); `spare` (the backup just written) is never deleted. Only backups as
// defined above are deleted, each by its own name: a link is never followed and never deleted.
// Gives the number deleted; fails (FolderUnreadable) when the folder cannot be read. A missing
// folder has nothing to prune (0).
Checked<int> prune(int keep = DefaultKeep, const QString &spare = QString());

struct Entry
{
    QString path;
    QDateTime dateTime;
    QString model;
    int type = -1;         // the type line of the file; the type of the name when unreadable
    int version = 0;       // the version in the name (a replaced file: of the file; -1 unknown)
    bool readable = false; // the file reads as a module file
    int master = -1;       // slot 40 of the file: 1 master, 0 slave, -1 unknown (unreadable, other value)
    QString original;      // a replaced file's path (plain text); empty for a read backup
    qint64 number = 0;     // a replaced file's backup number

    bool isReplacedFile() const { return !original.isEmpty(); }
};

// The read backups, newest first by the date in their names. A backup that does not read as a
// module file of its name's type is listed too, as unreadable.
QList<Entry> list();

// What became of the content of a module file about to be replaced.
struct Replaced
{
    enum Status
    {
        Made,          // kept as the backup at `path`
        Unchanged,     // the file already holds the new content: nothing is lost, nothing kept
        NothingToKeep, // no regular file at that name (nothing, or a link, whose target stays)
        Failed         // it could not be kept; `failure` says why
    };
    Status status = Failed;
    QString path;
    Failure failure;
};

// Keeps what `original` holds before `newContent` replaces it, as a replaced-file backup made at
// `now` (written safely; the folder as for write()). Old backups are not pruned here.
// An installation's file is kept the same way, as "replaced_<digest>_<number>.qvi" (`extension`
// "qvi", read up to its own `maxSize`); those are never listed among the module files' backups.
Replaced keepReplaced(const QString &original, const QByteArray &newContent, const QDateTime &now,
                      const char *extension = "QV1", qint64 maxSize = ModuleFile::MaxSize);
// Removes the pair of a replaced-file backup keepReplaced() has just made, when the save it was
// made for failed and the file was not replaced after all.
void discardReplaced(const QString &backupPath);
// Deletes all but the newest `keep` replaced-file backups of `original` (newest by number);
// `spare` is never deleted, backups of other files are left alone. Gives the number deleted;
// fails when the folder cannot be read.
Checked<int> pruneReplaced(const QString &original, const QString &spare = QString(), int keep = ReplacedKeep,
                           const char *extension = "QV1");
// The replaced-file backups, newest first by number.
QList<Entry> listReplaced();
// Read and replaced-file backups together, newest first by the time each shows.
QList<Entry> listAll();

// How a replaced-file backup is named in the list: "vervangen: klant.QV1".
QString replacedLabel(const QString &original, int language);

} // namespace Backups
