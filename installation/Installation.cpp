#include "installation/Installation.h"

#include "files/SafeFile.h"
#include "protocol/ModuleTypes.h"

#include "common/UserFolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;
namespace F = InstallationFormat;

namespace {

Failure problem(Failure::Kind kind, const QString &where, const QString &detail, QList<int> figures = {})
{
    Failure f(kind, QString(), where.isEmpty() ? detail : where + u": "_s + detail);
    f.text = where;
    f.figures = std::move(figures);
    return f;
}

// A control character anywhere in a name (line breaks and tabs are allowed in notes only).
bool hasControl(const QString &text, bool multiline)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (multiline && (u == u'\n' || u == u'\t')) continue;
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == 0x2028 || u == 0x2029) return true;
    }
    return false;
}

// Reads the fields of one JSON object in turn; the first problem stops everything after it.
class Fields
{
public:
    Fields(const QJsonObject &object, QString where, std::optional<Failure> &failure)
        : m_object(object), m_where(std::move(where)), m_failure(failure)
    {
    }

    bool failed() const { return m_failure.has_value(); }
    QString at(const QString &key) const { return m_where.isEmpty() ? key : m_where + u'.' + key; }

    // A text of at most `limit` characters; absent is empty.
    QString text(const QString &key, int limit, bool multiline = false)
    {
        if (failed()) return QString();
        const QJsonValue v = m_object.value(key);
        if (v.isUndefined()) return QString();
        if (!v.isString()) return fail(Failure::Kind::BadField, key, u"not a text"_s), QString();
        const QString s = v.toString();
        if (s.size() > limit)
            return fail(Failure::Kind::TooLong, key, u"longer than %1 characters"_s.arg(limit), {limit}),
                   QString();
        if (hasControl(s, multiline))
            return fail(Failure::Kind::ControlCharacter, key, u"holds a control character"_s), QString();
        return s;
    }
    // A whole number first..last that must be there.
    int number(const QString &key, int first, int last)
    {
        if (failed()) return first;
        const QJsonValue v = m_object.value(key);
        const double d = v.toDouble(-1);
        // The range first: a double outside int's range is never converted.
        if (!v.isDouble() || d < first || d > last || d != std::floor(d))
            return fail(Failure::Kind::BadField, key, u"not a whole number %1..%2"_s.arg(first).arg(last)),
                   first;
        return static_cast<int>(d);
    }
    // A date and time; absent is none.
    QDateTime date(const QString &key)
    {
        const QString s = text(key, 40);
        if (failed() || s.isEmpty()) return QDateTime();
        const QDateTime d = QDateTime::fromString(s, Qt::ISODate);
        if (!d.isValid()) return fail(Failure::Kind::BadField, key, u"not an ISO 8601 date"_s), QDateTime();
        return d.toUTC();
    }
    // One of `allowed`; absent is empty.
    QString choice(const QString &key, const QStringList &allowed)
    {
        const QString s = text(key, 40);
        if (!failed() && !s.isEmpty() && !allowed.contains(s))
            fail(Failure::Kind::BadField, key, u"not one of %1"_s.arg(allowed.join(u", "_s)));
        return s;
    }
    // An image of `slotCount` values.
    std::optional<ModuleImage> image(const QString &key, int slotCount)
    {
        if (failed()) return std::nullopt;
        const QJsonValue v = m_object.value(key);
        if (!v.isString()) return fail(Failure::Kind::BadField, key, u"not an image text"_s), std::nullopt;
        auto image = imageFromText(v.toString(), slotCount);
        if (!image)
            fail(Failure::Kind::BadImage, key, u"not %1 values 000..999"_s.arg(slotCount), {slotCount});
        return image;
    }
    // A nested object; absent is empty.
    QJsonObject object(const QString &key)
    {
        if (failed()) return {};
        const QJsonValue v = m_object.value(key);
        if (v.isUndefined()) return {};
        if (!v.isObject()) return fail(Failure::Kind::BadField, key, u"not an object"_s), QJsonObject();
        return v.toObject();
    }

    void fail(Failure::Kind kind, const QString &key, const QString &detail, QList<int> figures = {})
    {
        if (!failed()) m_failure = problem(kind, at(key), detail, std::move(figures));
    }

private:
    const QJsonObject &m_object;
    QString m_where;
    std::optional<Failure> &m_failure;
};

// The names of one list ("outputs", "pushButtons", "scenes"): keys are the numbers 1..size.
void readNames(Fields &names, const QString &key, std::vector<QString> &list, std::optional<Failure> &failure)
{
    const QJsonObject object = names.object(key);
    Fields f(object, names.at(key), failure);
    const int size = static_cast<int>(list.size());
    for (auto it = object.begin(); it != object.end() && !f.failed(); ++it) {
        bool ok = false;
        const int number = it.key().toInt(&ok);
        if (!ok || number < 1 || number > size || it.key() != QString::number(number)) {
            f.fail(Failure::Kind::BadField, it.key(), u"not a number 1..%1"_s.arg(size));
            break;
        }
        list[static_cast<size_t>(number - 1)] = f.text(it.key(), F::MaxNameLength);
    }
}

QJsonObject namesObject(const std::vector<QString> &list)
{
    QJsonObject o;
    for (size_t i = 0; i < list.size(); ++i)
        if (!list[i].isEmpty()) o.insert(QString::number(i + 1), list[i]);
    return o;
}

InstallationModule readModule(const QJsonObject &object, const QString &where,
                              std::optional<Failure> &failure)
{
    InstallationModule m;
    m.source = object;
    Fields f(object, where, failure);
    m.id = f.text(u"id"_s, F::MaxNameLength);
    if (!f.failed() && m.id.isEmpty()) f.fail(Failure::Kind::BadField, u"id"_s, u"missing"_s);
    m.name = f.text(u"name"_s, F::MaxNameLength);
    m.place = f.text(u"place"_s, F::MaxNameLength);
    m.notes = f.text(u"notes"_s, F::MaxNotesLength, true);
    m.type = f.number(u"type"_s, 0, 3);
    const int slotCount = f.failed() ? 0 : ModuleTypes::info(m.type)->slotCount;
    if (auto image = f.image(u"image"_s, slotCount)) m.image = *image;
    if (!f.failed()) m.names = ModuleNames::forType(m.type);
    if (const QJsonObject names = f.object(u"names"_s); !names.isEmpty()) {
        Fields n(names, f.at(u"names"_s), failure);
        readNames(n, u"outputs"_s, m.names.outputs, failure);
        readNames(n, u"pushButtons"_s, m.names.pushButtons, failure);
        readNames(n, u"scenes"_s, m.names.scenes, failure);
    }

    const QJsonObject known = f.object(u"known"_s);
    if (!known.isEmpty()) {
        Fields k(known, f.at(u"known"_s), failure);
        if (known.contains(u"image"_s)) m.knownImage = k.image(u"image"_s, slotCount);
        m.knownAt = k.date(u"at"_s);
        m.knownFrom = k.choice(u"from"_s, {u"read"_s, u"send"_s});
    }
    const QJsonObject send = f.object(u"lastSend"_s);
    Fields s(send, f.at(u"lastSend"_s), failure);
    m.sentAt = s.date(u"at"_s);
    m.sendOutcome =
        s.choice(u"outcome"_s, {QString::fromLatin1(F::Sent), QString::fromLatin1(F::PartlySent)});
    const QJsonObject check = f.object(u"lastCheck"_s);
    Fields c(check, f.at(u"lastCheck"_s), failure);
    m.checkedAt = c.date(u"at"_s);
    m.checkOutcome =
        c.choice(u"outcome"_s, {QString::fromLatin1(F::CheckEqual), QString::fromLatin1(F::CheckDifferent)});
    return m;
}

QString dateText(const QDateTime &d)
{
    return d.toUTC().toString(Qt::ISODate);
}

// Sets `key` to `value`, or removes it when the value is empty (an absent field reads as empty).
void put(QJsonObject &object, const QString &key, const QString &value)
{
    if (value.isEmpty())
        object.remove(key);
    else
        object.insert(key, value);
}

void putDate(QJsonObject &object, const QString &key, const QDateTime &value)
{
    put(object, key, value.isValid() ? dateText(value) : QString());
}

// A nested object with its known keys set; left out when nothing is in it.
void putObject(QJsonObject &object, const QString &key, const QJsonObject &value)
{
    if (value.isEmpty())
        object.remove(key);
    else
        object.insert(key, value);
}

QJsonObject moduleObject(const InstallationModule &m)
{
    QJsonObject o = m.source;
    o.insert(u"id"_s, m.id);
    put(o, u"name"_s, m.name);
    put(o, u"place"_s, m.place);
    put(o, u"notes"_s, m.notes);
    o.insert(u"type"_s, m.type);
    o.insert(u"image"_s, imageText(m.image));

    QJsonObject names = m.source.value(u"names"_s).toObject();
    putObject(names, u"outputs"_s, namesObject(m.names.outputs));
    putObject(names, u"pushButtons"_s, namesObject(m.names.pushButtons));
    putObject(names, u"scenes"_s, namesObject(m.names.scenes));
    putObject(o, u"names"_s, names);

    QJsonObject known = m.source.value(u"known"_s).toObject();
    put(known, u"image"_s, m.knownImage ? imageText(*m.knownImage) : QString());
    putDate(known, u"at"_s, m.knownAt);
    put(known, u"from"_s, m.knownFrom);
    putObject(o, u"known"_s, known);

    QJsonObject send = m.source.value(u"lastSend"_s).toObject();
    putDate(send, u"at"_s, m.sentAt);
    put(send, u"outcome"_s, m.sendOutcome);
    putObject(o, u"lastSend"_s, send);

    QJsonObject check = m.source.value(u"lastCheck"_s).toObject();
    putDate(check, u"at"_s, m.checkedAt);
    put(check, u"outcome"_s, m.checkOutcome);
    putObject(o, u"lastCheck"_s, check);
    return o;
}

} // namespace

QString imageText(const ModuleImage &image)
{
    QString text;
    text.reserve(image.size() * 4);
    for (int slot = 0; slot < image.size(); ++slot) {
        if (slot > 0) text += u' ';
        text += threeDigits(image.value(slot));
    }
    return text;
}

std::optional<ModuleImage> imageFromText(const QString &text, int slotCount)
{
    if (slotCount <= 0 || text.size() != slotCount * 4 - 1) return std::nullopt;
    ModuleImage image(slotCount);
    for (int slot = 0; slot < slotCount; ++slot) {
        const qsizetype at = qsizetype(slot) * 4;
        int value = 0;
        for (qsizetype i = at; i < at + 3; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9') return std::nullopt;
            value = value * 10 + (c - u'0');
        }
        if (slot + 1 < slotCount && text.at(at + 3) != u' ') return std::nullopt;
        image.set(slot, value);
    }
    return image;
}

Checked<Installation> parseInstallation(const QByteArray &content)
{
    if (content.size() > F::MaxSize)
        return problem(Failure::Kind::TooLargeInstallation, QString(),
                       u"%1 bytes is too large for an installation file"_s.arg(content.size()));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return problem(Failure::Kind::NotJson, QString(),
                       error.error != QJsonParseError::NoError
                           ? u"not JSON at byte %1: %2"_s.arg(error.offset).arg(error.errorString())
                           : u"not a JSON object"_s);
    const QJsonObject root = doc.object();
    if (root.value(u"format"_s).toString() != u"qv-installation"_s)
        return problem(Failure::Kind::NotAnInstallation, u"format"_s, u"not \"qv-installation\""_s);
    const QJsonValue version = root.value(u"version"_s);
    if (!version.isDouble() || version.toDouble() != F::Version)
        return problem(Failure::Kind::UnknownVersion, u"version"_s,
                       u"version %1 is not known here"_s.arg(version.toVariant().toString()),
                       {version.isDouble() ? version.toInt() : 0});

    std::optional<Failure> failure;
    Installation inst;
    inst.source = root;
    Fields f(root, QString(), failure);
    inst.name = f.text(u"name"_s, F::MaxNameLength);
    inst.address = f.text(u"address"_s, F::MaxNameLength);
    inst.notes = f.text(u"notes"_s, F::MaxNotesLength, true);
    const QJsonValue modules = root.value(u"modules"_s);
    if (!failure && !modules.isUndefined() && !modules.isArray())
        f.fail(Failure::Kind::BadField, u"modules"_s, u"not a list"_s);
    const QJsonArray list = modules.toArray();
    if (!failure && list.size() > F::MaxModules)
        f.fail(Failure::Kind::TooManyModules, u"modules"_s, u"more than %1 modules"_s.arg(F::MaxModules),
               {F::MaxModules});
    QSet<QString> ids;
    for (qsizetype i = 0; i < list.size() && !failure; ++i) {
        const QString where = u"modules[%1]"_s.arg(i);
        if (!list.at(i).isObject()) {
            failure = problem(Failure::Kind::BadField, where, u"not an object"_s);
            break;
        }
        InstallationModule m = readModule(list.at(i).toObject(), where, failure);
        if (failure) break;
        if (ids.contains(m.id)) {
            failure =
                problem(Failure::Kind::DuplicateId, where + u".id"_s, u"the id \"%1\" is taken"_s.arg(m.id));
            break;
        }
        ids.insert(m.id);
        inst.modules.push_back(std::move(m));
    }
    if (failure) return *failure;
    return inst;
}

QByteArray installationContent(const Installation &inst)
{
    QJsonObject root = inst.source;
    root.insert(u"format"_s, u"qv-installation"_s);
    root.insert(u"version"_s, F::Version);
    put(root, u"name"_s, inst.name);
    put(root, u"address"_s, inst.address);
    put(root, u"notes"_s, inst.notes);
    QJsonArray modules;
    for (const InstallationModule &m : inst.modules)
        modules.append(moduleObject(m));
    root.insert(u"modules"_s, modules);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Checked<Installation> readInstallationFile(const QString &path)
{
    const Checked<QByteArray> file = SafeFile::read(path, F::MaxSize);
    Failure f = file.failure();
    if (file) {
        Checked<Installation> inst = parseInstallation(*file);
        if (inst) return inst;
        f = inst.failure();
    } else if (f.kind == Failure::Kind::TooLarge) {
        f.kind = Failure::Kind::TooLargeInstallation;
    }
    f.path = path;
    return f;
}

InstallationSaved writeInstallationFile(const QString &path, const Installation &installation,
                                        const QDateTime &now)
{
    InstallationSaved saved;
    const QByteArray content = installationContent(installation);
    saved.kept = Backups::keepReplaced(path, content, now, "qvi", F::MaxSize);
    saved.failure = SafeFile::replace(path, content);
    if (!saved.failure.ok()) {
        // Nothing was replaced: the copy would only stand beside a file that still holds it.
        if (saved.kept.status == Backups::Replaced::Made) Backups::discardReplaced(saved.kept.path);
        return saved;
    }
    if (saved.kept.status == Backups::Replaced::Made)
        Backups::pruneReplaced(path, saved.kept.path, Backups::ReplacedKeep, "qvi");
    return saved;
}

void recordRead(InstallationModule &m, const ModuleImage &read, const QDateTime &now)
{
    m.image = read;
    m.knownImage = read;
    m.knownAt = now.toUTC();
    m.knownFrom = u"read"_s;
}

void recordSend(InstallationModule &m, bool complete, const QDateTime &now)
{
    m.sentAt = now.toUTC();
    m.sendOutcome = QString::fromLatin1(complete ? F::Sent : F::PartlySent);
    if (!complete) return;
    m.knownImage = m.image;
    m.knownAt = m.sentAt;
    m.knownFrom = u"send"_s;
}

void recordCheck(InstallationModule &m, bool equal, const QDateTime &now)
{
    m.checkedAt = now.toUTC();
    m.checkOutcome = QString::fromLatin1(equal ? F::CheckEqual : F::CheckDifferent);
}

QString installationText(const QString &typed, int maximum, bool multiline)
{
    QString text;
    text.reserve(typed.size());
    for (const QChar c : typed) {
        if (multiline && c == u'\n')
            text += c;
        else if (c == u'\t' || c == u'\n' || c == u'\r')
            text += u' ';
        else if (c.category() != QChar::Other_Control && c != QChar::LineSeparator &&
                 c != QChar::ParagraphSeparator)
            text += c;
    }
    if (text.size() > maximum) {
        text.truncate(maximum);
        // Half of a character written as two UTF-16 units would be stored as a broken one.
        if (!text.isEmpty() && text.back().isHighSurrogate()) text.chop(1);
    }
    return text;
}

ModuleCondition moduleCondition(const InstallationModule &m)
{
    if (m.sendOutcome == QLatin1String(F::PartlySent) && (!m.knownAt.isValid() || m.sentAt >= m.knownAt))
        return ModuleCondition::PartlySent;
    if (!m.knownImage) return ModuleCondition::NeverRead;
    const bool checkedSinceKnown = m.checkedAt.isValid() && m.checkedAt >= m.knownAt;
    if (checkedSinceKnown && m.checkOutcome == QLatin1String(F::CheckDifferent))
        return ModuleCondition::CheckFoundDifferences;
    if (!(m.image == *m.knownImage)) return ModuleCondition::Changed;
    if (m.knownFrom == u"send"_s)
        return checkedSinceKnown && m.checkOutcome == QLatin1String(F::CheckEqual)
                   ? ModuleCondition::SentAndChecked
                   : ModuleCondition::Sent;
    return ModuleCondition::Read;
}

QString moduleState(const InstallationModule &m, int language)
{
    const bool french = language == 2;
    const auto when = [french](const QDateTime &d) {
        return d.toLocalTime().toString(french ? u"dd/MM/yyyy HH:mm"_s : u"dd-MM-yyyy HH:mm"_s);
    };
    const auto say = [french](const QString &dutch, const QString &frenchText) {
        return french ? frenchText : dutch;
    };
    switch (moduleCondition(m)) {
    case ModuleCondition::PartlySent:
        return say(u"gedeeltelijk verstuurd"_s, u"partiellement envoyé"_s);
    case ModuleCondition::NeverRead:
        return say(u"nooit gelezen"_s, u"jamais lu"_s);
    case ModuleCondition::CheckFoundDifferences:
        return say(u"controle: verschillen"_s, u"contrôle : différences"_s);
    case ModuleCondition::Changed:
        return say(u"gewijzigd, niet verstuurd"_s, u"modifié, non envoyé"_s);
    case ModuleCondition::SentAndChecked:
        return say(u"verstuurd en gecontroleerd "_s, u"envoyé et vérifié le "_s) + when(m.checkedAt);
    case ModuleCondition::Sent:
        return say(u"verstuurd "_s, u"envoyé le "_s) + when(m.knownAt);
    case ModuleCondition::Read:
        break;
    }
    return say(u"gelezen "_s, u"lu le "_s) + when(m.knownAt);
}

ReadCandidates readCandidates(const Installation &installation, int type, const ModuleImage &read)
{
    ReadCandidates result;
    for (size_t i = 0; i < installation.modules.size(); ++i) {
        const InstallationModule &m = installation.modules[i];
        if (ModuleTypes::isRelay(m.type) != ModuleTypes::isRelay(type) ||
            (!ModuleTypes::isRelay(type) && m.type != type))
            continue;
        const ModuleImage &known = m.knownImage ? *m.knownImage : m.image;
        int differences = 0;
        for (int slot = 0; slot < std::max(known.size(), read.size()); ++slot)
            if (!known.contains(slot) || !read.contains(slot) || known.value(slot) != read.value(slot))
                ++differences;
        result.candidates.push_back({static_cast<int>(i), differences});
    }
    std::stable_sort(
        result.candidates.begin(), result.candidates.end(),
        [](const ReadCandidate &a, const ReadCandidate &b) { return a.differences < b.differences; });
    const auto &c = result.candidates;
    if (!c.empty() && (c.size() == 1 || c[0].differences < c[1].differences))
        result.preselected = c[0].module;
    return result;
}

namespace InstallationRecovery {
namespace {
QString copyOf(const QString &key)
{
    return Backups::folder() + u"recovery_"_s + key + u".qvi"_s;
}
QString sideOf(const QString &copyPath)
{
    return copyPath.left(copyPath.size() - 3) + u"json"_s;
}
QString cleanPath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath());
}
// What a side file says: the installation's file ("" for one never saved), or nothing when it
// is not a side file of a copy.
std::optional<QString> originalOf(const QString &copyPath)
{
    const Checked<QByteArray> side = SafeFile::read(sideOf(copyPath), 64 * 1024);
    if (!side) return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(*side);
    if (!doc.isObject() || !doc.object().value(u"original"_s).isString()) return std::nullopt;
    return doc.object().value(u"original"_s).toString();
}
} // namespace

QString keyOf(const QString &installationPath)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(cleanPath(installationPath).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(12));
}

Failure write(const Installation &installation, const QString &key, const QString &installationPath,
              const QDateTime &now)
{
    const QString folder = Backups::folder();
    if (!UserFolders::makePrivateFolder(folder) ||
        UserFolders::privateFolderState(QFileInfo(QDir::cleanPath(folder)).canonicalFilePath()) !=
            UserFolders::FolderState::Usable)
        return Failure(
            Failure::Kind::FolderNotMade, folder,
            u"the folder %1 is not the user's own private folder"_s.arg(QDir::toNativeSeparators(folder)));
    QJsonObject record;
    record.insert(u"original"_s, installationPath.isEmpty() ? QString() : cleanPath(installationPath));
    record.insert(u"made"_s, now.toUTC().toString(Qt::ISODate));
    const QString copy = copyOf(key);
    if (Failure f = SafeFile::replace(sideOf(copy), QJsonDocument(record).toJson(QJsonDocument::Compact));
        !f.ok())
        return f;
    return SafeFile::replace(copy, installationContent(installation));
}

QString newerCopy(const QString &installationPath)
{
    const QString copy = copyOf(keyOf(installationPath));
    if (!QFileInfo(copy).isFile() || originalOf(copy) != cleanPath(installationPath)) return QString();
    // A save discards the copy, so a copy beside the file was written after it; the file system's
    // clock may give both one time, so only an older copy, or one holding what the file holds, is
    // passed over.
    const QFileInfo file(installationPath);
    if (file.exists()) {
        if (QFileInfo(copy).lastModified() < file.lastModified()) return QString();
        const auto held = SafeFile::read(installationPath, F::MaxSize);
        const auto copied = SafeFile::read(copy, F::MaxSize);
        if (held && copied && *held == *copied) return QString();
    }
    return copy;
}

QString keyOfCopy(const QString &copyPath)
{
    static const QString prefix = u"recovery_"_s;
    const QString base = QFileInfo(copyPath).completeBaseName();
    return base.startsWith(prefix) ? base.mid(prefix.size()) : QString();
}

QStringList unsavedCopies()
{
    QFileInfoList found =
        QDir(Backups::folder())
            .entryInfoList({u"recovery_*.qvi"_s}, QDir::Files | QDir::NoSymLinks, QDir::Time);
    QStringList copies;
    for (const QFileInfo &f : found)
        // A copy kept after it was declined ("recovery_<key>_<time>") is not offered again.
        if (!keyOfCopy(f.filePath()).contains(u'_') && originalOf(f.filePath()) == QString())
            copies << f.filePath();
    return copies;
}

QString keepDeclined(const QString &copyPath, const QDateTime &now)
{
    const QString kept =
        copyPath.left(copyPath.size() - 4) + u"_"_s + now.toString(u"yyyyMMdd-hhmmss"_s) + u".qvi"_s;
    if (!QFile::rename(copyPath, kept)) return QString();
    QFile::rename(sideOf(copyPath), sideOf(kept));
    return kept;
}

void discard(const QString &key)
{
    const QString copy = copyOf(key);
    QFile::remove(copy);
    QFile::remove(sideOf(copy));
}
} // namespace InstallationRecovery
