#include "files/Backups.h"

#include "common/Lang.h"
#include "common/UserFolders.h"
#include "files/ModuleFile.h"
#include "files/SafeFile.h"
#include "protocol/ModuleTypes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Backups {
namespace {

// More backups in one second than this are not made: something is wrong.
constexpr int MaxSuffix = 999;
// The highest number a replaced-file backup gets (nine digits).
constexpr qint64 MaxNumber = 999'999'999;
// A side file is a line of JSON; anything larger was not written by the program.
constexpr qint64 MaxSideFileSize = 64 * 1024;
// How much later than the newest backup a backup made under a lagging clock is dated.
constexpr qint64 NanosecondsPerMillisecond = 1'000'000;

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

const QRegularExpression &namePattern()
{
    static const QRegularExpression pattern = [] {
        QStringList models;
        for (const QString &entry : ModuleTypes::comboEntries())
            models << QRegularExpression::escape(entry);
        return QRegularExpression(QRegularExpression::anchoredPattern(
            QStringLiteral("(\\d{4})-(\\d{2})-(\\d{2})_(\\d{2})-(\\d{2})-(\\d{2})_(%1)_v(0|[1-9]\\d{0,2})"
                           "(?:_([1-9]\\d{0,5}))?\\.QV1")
                .arg(models.join(QLatin1Char('|')))));
    }();
    return pattern;
}

enum class Found
{
    Nothing,
    RegularFile,
    Other // a link (whatever it points to), folder, device ...
};

// What is at `path` itself: a link is a link, never what it points to.
Found whatIsAt(const QString &path)
{
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    if (info.isSymLink() || info.isJunction()) return Found::Other;
    if (!info.exists()) return Found::Nothing;
    return info.isFile() ? Found::RegularFile : Found::Other;
#else
    struct stat st
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT ? Found::Nothing : Found::Other;
    return S_ISREG(st.st_mode) ? Found::RegularFile : Found::Other;
#endif
}

// Removes the name `path`; a link at that name goes, what it points to stays.
bool removeName(const QString &path)
{
#ifdef Q_OS_WIN
    return QFile::remove(path);
#else
    return ::unlink(QFile::encodeName(path).constData()) == 0;
#endif
}

// Removes `path` only when it is a regular file: a link or anything else put there stays.
void removeRegularFile(const QString &path)
{
    if (whatIsAt(path) == Found::RegularFile) removeName(path);
}

// When the regular file at `path` was last written, in nanoseconds since 1970 (0 when unknown).
qint64 madeTime(const QString &path)
{
#ifdef Q_OS_WIN
    return QFileInfo(path).lastModified().toMSecsSinceEpoch() * NanosecondsPerMillisecond;
#else
    struct stat st
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return 0;
    return qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
#endif
}

// Dates the file at `path` (never what a link there points to) at `nanoseconds` since 1970.
void setMadeTime(const QString &path, qint64 nanoseconds)
{
#ifdef Q_OS_WIN
    QFile f(path);
    if (f.open(QIODevice::ReadWrite))
        f.setFileTime(QDateTime::fromMSecsSinceEpoch(nanoseconds / NanosecondsPerMillisecond),
                      QFileDevice::FileModificationTime);
#else
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = time_t(nanoseconds / 1'000'000'000);
    times[1].tv_nsec = long(nanoseconds % 1'000'000'000);
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW);
#endif
}

// The folder of the backups, made when missing. It must be the user's own and writable by
// nobody else: a folder others can write into could hold their files under backup names. A link
// at the folder's name is followed (a user may have moved the folder on purpose): what it leads
// to is checked.
Failure makeFolder(const QString &dir)
{
    if (!UserFolders::makePrivateFolder(dir))
        return Failure{Failure::Kind::FolderNotMade, dir,
                       QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(dir))};
    const UserFolders::FolderState state =
        UserFolders::privateFolderState(QFileInfo(QDir::cleanPath(dir)).canonicalFilePath());
    if (state != UserFolders::FolderState::Usable)
        return Failure{UserFolders::failureKind(state), dir,
                       QStringLiteral("the folder %1 is not the user's own private folder")
                           .arg(QDir::toNativeSeparators(dir))};
    return Failure();
}

// Removes all but the newest `keep` of `found` (newest first) with `remove`; `spare` (a path)
// counts among those kept wherever it stands and is never removed. Returns the number removed.
template <class Item, class Remove>
int removeAllButNewest(const QList<Item> &found, int keep, const QString &spare, Remove remove)
{
    const bool spareFound =
        !spare.isEmpty() &&
        std::any_of(found.begin(), found.end(), [&spare](const Item &i) { return i.path == spare; });
    const qsizetype room = std::max(keep, 0) - (spareFound ? 1 : 0);
    qsizetype kept = 0;
    int removed = 0;
    for (const Item &item : found) {
        if (spareFound && item.path == spare) continue;
        if (kept < room) {
            ++kept;
            continue;
        }
        if (remove(item)) ++removed;
    }
    return removed;
}

// The names of the folder (every kind of entry); fails when it exists but cannot be read.
Checked<QStringList> folderNames(const QString &dir)
{
    // Without the separator, so that a file at the folder's name is found as what it is.
    const QFileInfo info(QDir::cleanPath(dir));
    if (!info.exists()) return QStringList();
    if (!info.isDir() || !info.isReadable())
        return Failure{Failure::Kind::FolderUnreadable, dir,
                       QStringLiteral("cannot read the folder %1").arg(QDir::toNativeSeparators(dir))};
    return QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                               QDir::NoSort);
}

struct Backup
{
    QString path;
    QString stamp; // "yyyy-MM-dd_hh-mm-ss" of the name: sorts as the time, without time zones
    NameParts parts;
    qint64 made = 0; // when the file was written (see madeTime)
};

enum class Order
{
    ByName, // the date, time and suffix of the name: what the list shows
    ByMade  // when each was written: what pruning keeps
};

// The backups of the folder, newest first; fails when the folder exists but cannot be read.
Checked<QList<Backup>> backups(Order order)
{
    const QString dir = folder();
    const auto names = folderNames(dir);
    if (!names) return names.failure();
    QList<Backup> found;
    for (const QString &name : *names) {
        const auto parts = parseName(name);
        if (!parts) continue;
        const QString path = dir + name;
        if (whatIsAt(path) != Found::RegularFile) continue;
        found.append({path, name.left(19), *parts, order == Order::ByMade ? madeTime(path) : 0});
    }
    std::sort(found.begin(), found.end(), [](const Backup &a, const Backup &b) {
        if (a.made != b.made) return a.made > b.made;
        if (a.stamp != b.stamp) return a.stamp > b.stamp;
        if (a.parts.suffix != b.parts.suffix) return a.parts.suffix > b.parts.suffix;
        return a.path > b.path;
    });
    return found;
}

// A backup just written is dated after every other one, however far ahead of the clock their
// times are, so that it is the newest made. A file system that keeps coarse times gets a step
// it can hold.
void dateAfterTheOthers(const QString &path)
{
    const auto others = backups(Order::ByMade);
    if (!others) return;
    qint64 newest = 0;
    for (const Backup &b : *others)
        if (b.path != path) newest = std::max(newest, b.made);
    for (const qint64 step :
         {NanosecondsPerMillisecond, 1000 * NanosecondsPerMillisecond, 2000 * NanosecondsPerMillisecond}) {
        if (madeTime(path) > newest) return;
        setMadeTime(path, newest + step);
    }
}

// Replaced-file backups: "replaced_<digest>_<number>.QV1" (a module file) or ".qvi" (an
// installation) and its side file ".json".
const QRegularExpression &replacedPattern()
{
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("replaced_([0-9a-f]{12})_([1-9]\\d{0,8})\\.(QV1|qvi|json)")));
    return pattern;
}

QString replacedName(const QString &digest, qint64 number, const char *extension)
{
    return QStringLiteral("replaced_%1_%2.%3").arg(digest).arg(number).arg(QLatin1String(extension));
}

QString sideFileOf(const QString &backupPath)
{
    return backupPath.left(backupPath.size() - 3) + QStringLiteral("json");
}

// The original path as it is recorded and compared: absolute, without "." and "..".
QString cleanOriginal(const QString &original)
{
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(original)).absoluteFilePath());
}

// Twelve hex digits of a digest of the original path: the name part shared by its backups.
QString digestOf(const QString &cleanPath)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(cleanPath.toUtf8(), QCryptographicHash::Sha256).toHex().left(12));
}

struct ReplacedBackup
{
    QString path; // the .QV1
    QString original;
    QDateTime made;
    qint64 number = 0;
};

// What a side file records; nullopt unless it is a regular file naming an original path.
std::optional<ReplacedBackup> readSideFile(const QString &sidePath)
{
    if (whatIsAt(sidePath) != Found::RegularFile) return std::nullopt;
    const Checked<QByteArray> content = SafeFile::read(sidePath, MaxSideFileSize);
    if (!content) return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(*content);
    if (!doc.isObject()) return std::nullopt;
    const QJsonObject object = doc.object();
    ReplacedBackup b;
    b.original = object.value(QLatin1String("original")).toString();
    if (b.original.isEmpty()) return std::nullopt;
    b.made = QDateTime::fromString(object.value(QLatin1String("made")).toString(), Qt::ISODate);
    return b;
}

// The highest number of any name of the replaced-file form, whatever is at it, so that a new
// backup never takes a number in use; fails when the folder cannot be read.
Checked<qint64> highestNumber()
{
    const auto names = folderNames(folder());
    if (!names) return names.failure();
    qint64 highest = 0;
    for (const QString &name : *names) {
        const QRegularExpressionMatch m = replacedPattern().match(name);
        if (m.hasMatch()) highest = std::max(highest, m.captured(2).toLongLong());
    }
    return highest;
}

// The replaced-file backups of the folder with `extension` whose digest is `digest` (any when
// empty), newest first; fails when the folder cannot be read.
Checked<QList<ReplacedBackup>> replacedBackups(const QString &digest, const char *extension = "QV1")
{
    const QString dir = folder();
    const auto names = folderNames(dir);
    if (!names) return names.failure();
    QList<ReplacedBackup> found;
    for (const QString &name : *names) {
        const QRegularExpressionMatch m = replacedPattern().match(name);
        if (!m.hasMatch() || m.captured(3) != QLatin1String(extension)) continue;
        const qint64 number = m.captured(2).toLongLong();
        if (!digest.isEmpty() && m.captured(1) != digest) continue;
        const QString path = dir + name;
        if (whatIsAt(path) != Found::RegularFile) continue;
        auto b = readSideFile(sideFileOf(path));
        if (!b) continue;
        b->path = path;
        b->number = number;
        if (!b->made.isValid())
            b->made = QDateTime::fromMSecsSinceEpoch(madeTime(path) / NanosecondsPerMillisecond);
        found.append(*b);
    }
    std::sort(found.begin(), found.end(),
              [](const ReplacedBackup &a, const ReplacedBackup &b) { return a.number > b.number; });
    return found;
}

enum class Claim
{
    Taken, // the name is ours now
    InUse  // something is at that name already
};

// Takes the name of a side file for itself: created new, never over anything already there (a
// link at the name included, whatever it points to). Fails when nothing can be made in the folder.
Checked<Claim> claim(const QString &path)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return Claim::Taken;
    if (whatIsAt(path) != Found::Nothing) return Claim::InUse;
    return Failure{
        Failure::Kind::NotWritten, path,
        QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), f.errorString())};
}

} // namespace

QString folder()
{
    return UserFolders::dataFolder() + QStringLiteral("backups/");
}

QString fileName(const QDateTime &when, int type, int version, int suffix)
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    if (!info) return QString();
    const QDate d = when.date();
    const QTime t = when.time();
    QString name =
        QStringLiteral("%1-%2-%3_%4-%5-%6_%7_v%8")
            .arg(QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')), twoDigits(d.month()),
                 twoDigits(d.day()), twoDigits(t.hour()), twoDigits(t.minute()), twoDigits(t.second()),
                 QString::fromLatin1(info->comboEntry), QString::number(version));
    if (suffix > 1) name += QLatin1Char('_') + QString::number(suffix);
    return name + QStringLiteral(".QV1");
}

std::optional<NameParts> parseName(const QString &name)
{
    const QRegularExpressionMatch m = namePattern().match(name);
    if (!m.hasMatch()) return std::nullopt;
    const auto part = [&m](int i) { return m.captured(i).toInt(); };
    const QDate date(part(1), part(2), part(3));
    const QTime time(part(4), part(5), part(6));
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    NameParts parts;
    parts.dateTime = QDateTime(date, time);
    parts.model = m.captured(7);
    parts.type = ModuleTypes::typeForComboEntry(parts.model);
    parts.version = part(8);
    if (m.capturedLength(9) > 0) {
        parts.suffix = part(9);
        if (parts.suffix < 2) return std::nullopt; // "_1" is never written
    }
    return parts;
}

Checked<QString> write(int type, const ModuleImage &image, const QDateTime &now)
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    if (!info)
        return Failure{Failure::Kind::NotAModuleImage, QString(),
                       QStringLiteral("no module type (%1)").arg(type)};
    const Checked<QByteArray> content = moduleFileContent(type, image);
    if (!content) return content.failure();
    const QString dir = folder();
    if (Failure f = makeFolder(dir); !f.ok()) return f;
    const QDateTime when = now.isValid() ? now : QDateTime::currentDateTime();
    const int version = image.value(info->versionSlot);
    for (int suffix = 1; suffix <= MaxSuffix; ++suffix) {
        const QString path = dir + fileName(when, type, version, suffix);
        if (whatIsAt(path) != Found::Nothing) continue;
        if (Failure f = SafeFile::replace(path, *content); !f.ok()) return f;
        dateAfterTheOthers(path);
        return path;
    }
    return Failure{Failure::Kind::NotWritten, dir,
                   QStringLiteral("%1 backups in one second already").arg(MaxSuffix)};
}

Checked<int> prune(int keep, const QString &spare)
{
    const auto found = backups(Order::ByMade);
    if (!found) return found.failure();
    return removeAllButNewest(*found, keep, spare, [](const Backup &b) { return removeName(b.path); });
}

QList<Entry> list()
{
    QList<Entry> entries;
    const auto found = backups(Order::ByName);
    if (!found) return entries;
    entries.reserve(found->size());
    for (const Backup &f : *found) {
        Entry e;
        e.path = f.path;
        e.dateTime = f.parts.dateTime;
        e.model = f.parts.model;
        e.type = f.parts.type;
        e.version = f.parts.version;
        if (const auto data = readModuleFile(f.path)) {
            e.readable = true;
            e.type = data->type;
            const int master = data->values.at(ModuleTypes::MasterSlot);
            e.master = master == 0 || master == 1 ? master : -1;
        }
        entries.append(e);
    }
    return entries;
}

Replaced keepReplaced(const QString &original, const QByteArray &newContent, const QDateTime &now,
                      const char *extension, qint64 maxSize)
{
    Replaced result;
    const QString clean = cleanOriginal(original);
    switch (whatIsAt(clean)) {
    case Found::Nothing:
    case Found::Other:
        // Nothing there, or a link, folder or device: replacing the name loses no file's content.
        result.status = Replaced::NothingToKeep;
        return result;
    case Found::RegularFile:
        break;
    }
    const Checked<QByteArray> old = SafeFile::read(clean, maxSize);
    const Failure::Kind readFault = old.failure().kind;
    if (readFault == Failure::Kind::Missing || readFault == Failure::Kind::NotAFile) {
        result.status = Replaced::NothingToKeep;
        return result;
    }
    if (!old) {
        result.failure = old.failure();
        return result;
    }
    if (*old == newContent) {
        result.status = Replaced::Unchanged;
        return result;
    }
    const QString dir = folder();
    result.failure = makeFolder(dir);
    if (!result.failure.ok()) return result;
    const auto highestInUse = highestNumber();
    if (!highestInUse) {
        result.failure = highestInUse.failure();
        return result;
    }
    const qint64 highest = *highestInUse;
    const QString digest = digestOf(clean);
    QJsonObject record;
    record.insert(QLatin1String("original"), clean);
    record.insert(QLatin1String("made"),
                  (now.isValid() ? now : QDateTime::currentDateTime()).toString(Qt::ISODate));
    const QByteArray side = QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
    // The side file is created new first: that takes the number, also against another instance
    // of the program saving at the same moment.
    for (qint64 number = highest + 1; number <= MaxNumber && number <= highest + 100; ++number) {
        const QString sidePath = dir + replacedName(digest, number, "json");
        const QString backupPath = dir + replacedName(digest, number, extension);
        if (whatIsAt(backupPath) != Found::Nothing) continue;
        const Checked<Claim> claimed = claim(sidePath);
        if (!claimed) {
            result.failure = claimed.failure();
            return result;
        }
        if (*claimed == Claim::InUse) continue;
        result.failure = SafeFile::replace(sidePath, side);
        if (result.failure.ok()) result.failure = SafeFile::replace(backupPath, *old);
        if (!result.failure.ok()) {
            removeRegularFile(sidePath);
            return result;
        }
        result.status = Replaced::Made;
        result.path = backupPath;
        return result;
    }
    result.failure =
        Failure{Failure::Kind::NotWritten, dir,
                QStringLiteral("no free backup number in %1").arg(QDir::toNativeSeparators(dir))};
    return result;
}

void discardReplaced(const QString &backupPath)
{
    if (!replacedPattern().match(QFileInfo(backupPath).fileName()).hasMatch()) return;
    removeRegularFile(backupPath);
    removeRegularFile(sideFileOf(backupPath));
}

Checked<int> pruneReplaced(const QString &original, const QString &spare, int keep, const char *extension)
{
    const QString clean = cleanOriginal(original);
    const auto found = replacedBackups(digestOf(clean), extension);
    if (!found) return found.failure();
    // The digest only narrows the search: the side file says whose backup it is.
    QList<ReplacedBackup> ofThisFile;
    std::copy_if(found->begin(), found->end(), std::back_inserter(ofThisFile),
                 [&clean](const ReplacedBackup &b) { return b.original == clean; });
    return removeAllButNewest(ofThisFile, keep, spare, [](const ReplacedBackup &b) {
        // The backup goes before its side file: a side file left alone names nothing listed.
        if (!removeName(b.path)) return false;
        removeRegularFile(sideFileOf(b.path));
        return true;
    });
}

QList<Entry> listReplaced()
{
    QList<Entry> entries;
    const auto found = replacedBackups(QString());
    if (!found) return entries;
    entries.reserve(found->size());
    for (const ReplacedBackup &b : *found) {
        Entry e;
        e.path = b.path;
        e.dateTime = b.made.toLocalTime();
        e.original = b.original;
        e.number = b.number;
        e.version = -1;
        if (const auto data = readModuleFile(b.path)) {
            const ModuleTypeInfo *info = ModuleTypes::info(data->type);
            e.readable = true;
            e.type = data->type;
            e.model = QString::fromLatin1(info->comboEntry);
            e.version = data->values.at(size_t(info->versionSlot));
            const int master = data->values.at(ModuleTypes::MasterSlot);
            e.master = master == 0 || master == 1 ? master : -1;
        }
        entries.append(e);
    }
    return entries;
}

QList<Entry> listAll()
{
    const QList<Entry> read = list();
    QList<Entry> replaced = listReplaced();
    std::stable_sort(replaced.begin(), replaced.end(),
                     [](const Entry &a, const Entry &b) { return a.dateTime > b.dateTime; });
    QList<Entry> all;
    all.reserve(read.size() + replaced.size());
    std::merge(read.begin(), read.end(), replaced.begin(), replaced.end(), std::back_inserter(all),
               [](const Entry &a, const Entry &b) { return a.dateTime > b.dateTime; });
    return all;
}

QString replacedLabel(const QString &original, int language)
{
    const QString name = QFileInfo(original).fileName();
    return Lang::text(language, QStringLiteral("vervangen: %1").arg(name),
                      QStringLiteral("remplacé : %1").arg(name), QStringLiteral("vervangen: %1").arg(name));
}

} // namespace Backups
