#include "files/Backups.h"

#include "common/Lang.h"
#include "common/UserFolders.h"
#include "files/ModuleFile.h"
#include "files/SafeFile.h"
#include "protocol/ModuleTypes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

#ifndef Q_OS_WIN
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Backups {
namespace {

// More backups in one second than this are not made: something is wrong.
constexpr int MaxSuffix = 999;

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

struct Backup
{
    QString path;
    QString stamp; // "yyyy-MM-dd_hh-mm-ss" of the name: sorts as the time, without time zones
    NameParts parts;
};

// The backups of the folder, newest first; nullopt when the folder exists but cannot be read.
std::optional<QList<Backup>> backups(QString *error)
{
    const QString dir = folder();
    // Without the separator, so that a file at the folder's name is found as what it is.
    const QFileInfo info(QDir::cleanPath(dir));
    if (!info.exists()) return QList<Backup>();
    if (!info.isDir() || !info.isReadable()) {
        if (error) *error = QStringLiteral("cannot read the folder %1").arg(QDir::toNativeSeparators(dir));
        return std::nullopt;
    }
    QList<Backup> found;
    const QStringList names = QDir(dir).entryList(
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString &name : names) {
        const auto parts = parseName(name);
        if (!parts) continue;
        const QString path = dir + name;
        if (whatIsAt(path) != Found::RegularFile) continue;
        found.append({path, name.left(19), *parts});
    }
    std::sort(found.begin(), found.end(), [](const Backup &a, const Backup &b) {
        if (a.stamp != b.stamp) return a.stamp > b.stamp;
        if (a.parts.suffix != b.parts.suffix) return a.parts.suffix > b.parts.suffix;
        return a.path > b.path;
    });
    return found;
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

Written write(int type, const ModuleImage &image, const QDateTime &now)
{
    Written result;
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    if (!info) {
        result.error = QStringLiteral("no module type (%1)").arg(type);
        return result;
    }
    const QByteArray content = moduleFileContent(type, image, &result.error);
    if (content.isEmpty()) return result;
    const QString dir = folder();
    if (!UserFolders::makePrivateFolder(dir)) {
        result.error = QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(dir));
        return result;
    }
    const QDateTime when = now.isValid() ? now : QDateTime::currentDateTime();
    const int version = image.value(info->versionSlot);
    for (int suffix = 1; suffix <= MaxSuffix; ++suffix) {
        const QString path = dir + fileName(when, type, version, suffix);
        if (whatIsAt(path) != Found::Nothing) continue;
        if (!SafeFile::replace(path, content, &result.error)) return result;
        result.path = path;
        return result;
    }
    result.error = QStringLiteral("%1 backups in one second already").arg(MaxSuffix);
    return result;
}

int prune(int keep, QString *error)
{
    const auto found = backups(error);
    if (!found) return -1;
    int removed = 0;
    for (qsizetype i = std::max(keep, 0); i < found->size(); ++i)
        if (removeName(found->at(i).path)) ++removed;
    return removed;
}

QList<Entry> list()
{
    QList<Entry> entries;
    const auto found = backups(nullptr);
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

QString notWrittenMessage(const QString &error, int language)
{
    return Lang::message(language,
                         QStringLiteral("De reservekopie van deze module kon niet bewaard worden (%1).\nDe "
                                        "gegevens zijn wel gelezen.")
                             .arg(error),
                         QStringLiteral("La copie de sécurité de ce module n'a pas pu être sauvée (%1).\nLes "
                                        "données ont bien été lues.")
                             .arg(error));
}

} // namespace Backups
