#pragma once

#include "common/Failure.h"
#include "files/Backups.h"
#include "protocol/ModuleImage.h"
#include "protocol/ModuleNames.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <vector>

// An installation: every module of a house in one file (".qvi"), with the names and places the
// installer gives them and what the program knows of each real module.
//
// The file is UTF-8 JSON, written with its keys in alphabetical order and indented, so that an
// unchanged installation saved again gives the same bytes and two versions diff line by line:
//
//   {
//     "address": "Kerkstraat 1, Gent",       the customer and address (plain text, at most 80)
//     "format": "qv-installation",           always this
//     "modules": [ {
//       "id": "3f1c…",                        stable, unique within the file (at most 80)
//       "image": "000 001 042 …",             the module's configuration: one three-digit value
//                                             (000..999) per slot, as many as the type has slots
//       "known": {                           what the real module is last known to hold (absent:
//         "at": "2026-12-10T14:03:27Z",      never read nor sent): when, and from a completed
//         "from": "read",                    "read" or a complete "send"
//         "image": "000 001 042 …" },
//       "lastCheck": { "at": "…", "outcome": "controle: gelijk" },   or "controle: verschillen"
//       "lastSend": { "at": "…", "outcome": "verstuurd" },           or "gedeeltelijk verstuurd"
//       "name": "Kelder relais 1",           plain text, at most 80 characters
//       "names": {                           what the installer calls the module's outputs (or
//         "outputs": { "5": "Keuken plafond" },  channels), push buttons and scenes, by their
//         "pushButtons": { "13": "Voordeur" },   number as the program shows it (1..outputs of
//         "scenes": { "2": "TV-avond" } },       the type, 1..20, 1..20); plain text, at most 80;
//                                            only names that are set are written
//       "notes": "…",                        plain text with line breaks, at most 2000
//       "place": "Kelder, kast 2",           plain text, at most 80
//       "type": 0 } ],                       the module type code 0..3
//     "name": "Woning Peeters",              plain text, at most 80
//     "notes": "…",                          at most 2000
//     "version": 1
//   }
//
// Dates are UTC, ISO 8601. Keys this program does not know are kept, at every level, and written
// back on save, so that a file a newer program wrote loses nothing here. At most 250 modules.
namespace InstallationFormat {
inline constexpr int Version = 1;
inline constexpr int MaxModules = 250;
inline constexpr int MaxNameLength = 80;
inline constexpr int MaxNotesLength = 2000;
// Nothing larger is read. A file at every limit (250 modules, every text and name at its longest
// in characters that JSON writes as \uXXXX escapes, both images of the largest type) is about
// 11 MiB.
inline constexpr qint64 MaxSize = 16 * 1024 * 1024;
// The outcomes of a send and of a check as the file records them.
inline constexpr const char *Sent = "verstuurd";
inline constexpr const char *PartlySent = "gedeeltelijk verstuurd";
inline constexpr const char *CheckEqual = "controle: gelijk";
inline constexpr const char *CheckDifferent = "controle: verschillen";
} // namespace InstallationFormat

// Text the installer typed (or a file name) made fit for the installation: tabs and line breaks
// become spaces (line breaks stay in `multiline` text), other control characters go, and it is
// cut to `maximum` characters, never in the middle of a character.
QString installationText(const QString &typed, int maximum, bool multiline = false);

// One module of an installation.
struct InstallationModule
{
    QString id;
    QString name;
    QString place;
    QString notes;
    int type = 0;
    ModuleImage image{0};
    ModuleNames names;

    // What the real module is last known to hold: the image of the last completed read or
    // complete send, when, and which of the two ("read", "send").
    std::optional<ModuleImage> knownImage;
    QDateTime knownAt;
    QString knownFrom;
    // The last send and check: when and how they ended (InstallationFormat's outcomes).
    QDateTime sentAt;
    QString sendOutcome;
    QDateTime checkedAt;
    QString checkOutcome;

    // The module as the file held it, its unknown keys (at every level) kept for the next save.
    QJsonObject source;
};

struct Installation
{
    QString name;
    QString address;
    QString notes;
    std::vector<InstallationModule> modules;
    QJsonObject source;
};

// The installation in a file: fails with the first problem found (the file is damaged, or of a
// version this program does not know) and never gives half an installation.
//   NotJson             not a JSON object at all
//   NotAnInstallation   no "format": "qv-installation"
//   UnknownVersion      "version" other than 1 (figures: the version)
//   TooLargeInstallation larger than InstallationFormat::MaxSize
//   BadField            a field missing or of the wrong kind (text: where, as "modules[3].type")
//   TooLong             a text longer than its limit (text: where; figures: the limit)
//   ControlCharacter    a text holding a control character (text: where)
//   TooManyModules      more than 250 modules (figures: the limit)
//   BadImage            an image of the wrong length or with a value that is not 000..999
//   DuplicateId         two modules with one id (text: where the second one is)
// The detail says the same in English, for logs and tests.
Checked<Installation> parseInstallation(const QByteArray &content);
// The bytes of the file (see above).
QByteArray installationContent(const Installation &installation);

// Reads an installation file: only a regular file of at most InstallationFormat::MaxSize bytes
// (SafeFile), then as parseInstallation(); a failure names the path.
Checked<Installation> readInstallationFile(const QString &path);

// What saving an installation did: `failure` None when the file now holds it; `kept` what became
// of what the file held before.
struct InstallationSaved
{
    Failure failure;
    Backups::Replaced kept;
};
// Writes the installation whole or not at all, never through a link (SafeFile). What the file held
// before is kept first among the backups, apart from the read backups ("replaced_<digest>_<n>.qvi",
// the newest 20 per installation path; nothing when the bytes do not change). A save that fails
// leaves the file and the backups as they were; a file whose content cannot be kept is replaced
// all the same (kept.status Failed: the caller tells the installer).
InstallationSaved writeInstallationFile(const QString &path, const Installation &installation,
                                        const QDateTime &now);

// ---- What the program knows of the real modules -------------------------------------------

// A completed read assigned to module `m`: its image becomes what was read, and what the module
// is known to hold.
void recordRead(InstallationModule &m, const ModuleImage &read, const QDateTime &now);
// A send of `m`'s image ended: completely (the module holds the image now) or part-way.
void recordSend(InstallationModule &m, bool complete, const QDateTime &now);
// The check after a send found the module holding the image (`equal`) or not.
void recordCheck(InstallationModule &m, bool equal, const QDateTime &now);

// What the program knows of a real module, in the order the panel tells it: a send that ended
// part-way since the module was last known, never read nor sent, the check after the last send
// found differences, changes in the installation not sent, sent and checked, sent, read.
enum class ModuleCondition
{
    PartlySent,
    NeverRead,
    CheckFoundDifferences,
    Changed,
    SentAndChecked,
    Sent,
    Read,
};
ModuleCondition moduleCondition(const InstallationModule &m);

// What the installation's panel says of a module, in Dutch (1) or French (2; Dutch for any other
// language): "nooit gelezen", "gelezen <date>", "gewijzigd, niet verstuurd", "verstuurd <date>",
// "gedeeltelijk verstuurd", "verstuurd en gecontroleerd <date>", "controle: verschillen". The
// date is local: "10-12-2026 14:03" / "10/12/2026 14:03".
QString moduleState(const InstallationModule &m, int language);

// A module of the installation that a completed read may come from: one of the same type (the
// two relay types together), with the number of slots in which the read differs from what the
// program last knew of it (the image known to the module, else the installation's image).
struct ReadCandidate
{
    int module = -1; // index into Installation::modules
    int differences = 0;
};
struct ReadCandidates
{
    std::vector<ReadCandidate> candidates; // fewest differences first, then in the panel's order
    int preselected = -1;                  // the single closest candidate; -1 when there is none
};
ReadCandidates readCandidates(const Installation &installation, int type, const ModuleImage &read);

// An image as the file writes it ("000 001 042 ...") and back (nullopt unless it holds exactly
// `slotCount` values 000..999 separated by single blanks).
QString imageText(const ModuleImage &image);
std::optional<ModuleImage> imageFromText(const QString &text, int slotCount);

// Recovery copies: while an installation has changes not saved, the window writes a copy of it
// every minute beside the backups ("recovery_<key>.qvi" with a side file "recovery_<key>.json"
// naming the installation's file, empty for one never saved). `key` is the digest of the file's
// path, or a key of the window's own (letters, digits and "-") for an installation never saved.
namespace InstallationRecovery {
// The key of a saved installation's copies.
QString keyOf(const QString &installationPath);
// Writes the copy whole (never through a link), replacing the previous one of `key`.
Failure write(const Installation &installation, const QString &key, const QString &installationPath,
              const QDateTime &now);
// The copy of the file at `installationPath` when it is newer than the file; empty when none is.
QString newerCopy(const QString &installationPath);
// The key a copy was written under (empty for a file that is no recovery copy).
QString keyOfCopy(const QString &copyPath);
// The copies of installations never saved (offered at start), newest first.
QStringList unsavedCopies();
// A copy offered and declined stays among the backups under a name of its own
// ("recovery_<key>_<yyyyMMdd-hhmmss>.qvi"), so the next copy does not replace it; its new path.
QString keepDeclined(const QString &copyPath, const QDateTime &now);
// The copy of `key` is not needed any more (the installation was saved or closed unchanged).
void discard(const QString &key);
} // namespace InstallationRecovery
