#pragma once

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
namespace Backups {

constexpr int DefaultKeep = 500;

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

struct Written
{
    QString path;  // the backup written; empty when none was
    QString error; // why not (English, for a message or a log)
    bool ok() const { return !path.isEmpty(); }
};

// Saves the image of `type` as a backup taken at `now`, as "Module Opslaan als" saves a module file,
// written safely (a failure leaves no half file). The folder is made when missing; a name already
// taken (by anything, a link included) gets the next suffix. Old backups are not pruned here.
Written write(int type, const ModuleImage &image, const QDateTime &now);

// Deletes all but the newest `keep` backups (newest by the date, time and suffix in the name).
// Only backups as defined above are deleted, each by its own name: a link is never followed and
// never deleted. Returns the number deleted; -1 (and *error set) when the folder cannot be read.
// A missing folder has nothing to prune (0).
int prune(int keep = DefaultKeep, QString *error = nullptr);

struct Entry
{
    QString path;
    QDateTime dateTime;
    QString model;
    int type = -1;         // the type line of the file; the type of the name when unreadable
    int version = 0;       // the version in the name
    bool readable = false; // the file reads as a module file
    int master = -1;       // slot 40 of the file: 1 master, 0 slave, -1 unknown (unreadable, other value)
};

// The backups, newest first. A backup that does not read as a module file of its name's type
// is listed too, as unreadable.
QList<Entry> list();

// A message for a backup that could not be written (the read itself goes on).
QString notWrittenMessage(const QString &error, int language);

} // namespace Backups
