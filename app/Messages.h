#pragma once

#include "common/Failure.h"
#include "files/ImageCompare.h"
#include "protocol/Vocabulary.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// Every message and status text of the main window, as plain functions of what happened and the
// window's language (1 Dutch, 2 French). A message in any other language is given in both; a
// status text is then none at all (the field keeps what it shows).
namespace Messages {

// The status field during and after a conversation.
std::optional<QString> status(ConversationStatus status, int language);
// A conversation that ended before its time. `port` is the device, `detail` what the system or the
// module said (shown as plain text, shortened).
QString problem(ConversationProblem problem, int language, const QString &port, const QString &detail);
// The module announced another type than the image in hand.
QString wrongModule(int language);
// Why a file or port operation failed, in the installer's words: for a module file that was not
// opened, what is wrong with it; for a port binding, the whole message; for a write, what the
// system said.
QString failureText(const Failure &failure, int language);
// A module file that could not be opened (nothing changed), or not saved (an existing file stays).
QString fileNotOpened(const QString &path, const Failure &failure, int language);
QString fileNotSaved(const QString &path, const Failure &failure, int language);
// A module file that was replaced without a copy of what it held.
QString fileNotKept(const QString &original, const Failure &failure, int language);
// A backup of a module just read that could not be written (the read itself goes on).
QString backupNotWritten(const Failure &failure, int language);
// A setting that could not be written to `path`.
QString settingNotSaved(const QString &path, int language);
// The language switch could not start the program anew.
QString restartFailed(int language);

// A question: its text and its answers, each with its button's caption, in the order shown (the
// default first).
template <class Answer> struct Question
{
    QString text;
    QList<std::pair<Answer, QString>> options;

    QStringList buttons() const
    {
        QStringList captions;
        for (const auto &o : options)
            captions << o.second;
        return captions;
    }
};

// The questions of a way out of a send.
enum class SendAnswer
{
    GoOn,
    StopNow
};
enum class CloseAnswer
{
    WhenDone,
    Now,
    Stay
};
Question<SendAnswer> stopTheSend(int language);      // "go on" (default), "stop now"
Question<CloseAnswer> closeDuringSend(int language); // "close when done" (default), "close now", "stay"

// Leaving (Einde, closing the window, the language switch) with an image that changed since it
// was last read, sent, opened or saved: "save" (default), "leave without saving", "stay".
enum class LeaveAnswer
{
    Save,
    Discard,
    Stay
};
Question<LeaveAnswer> leaveWithChanges(int language);
// A recent module file that is no longer there.
QString recentFileGone(const QString &path, int language);
// The check after a send: every value the same, or the differences listed line by line (the
// version slot apart: a module may keep its own there); abandoned.
QString checkAllEqual(int count, int language);
QString checkDifferences(const QStringList &differences, const QStringList &versionOnly, int language);
// The message of a check: the image in hand (`slotCount` values) compared with what the module holds.
QString checkResult(const ImageCompare::Result &result, int slotCount, int language);
QString checkAbandoned(int language);
// Whether a check found values that differ (the version slot apart), and the title of the box
// that says all is well.
bool checkFoundDifferences(const ImageCompare::Result &result);
QString checkTitle(int language);
// A send stopped or cut off after `written` of the module's `total` values.
QString halfWritten(int written, int total, int language);

// ---- Installations ----------------------------------------------------------------------------

// What is unsaved when the program is left: the installation, the image in hand that is in no
// installation module, or both. The answers are those of leaveWithChanges.
enum class Unsaved
{
    Installation,
    Both
};
Question<LeaveAnswer> leaveInstallation(Unsaved unsaved, int language);
// Closing the installation (or opening another) while it has changes not saved.
Question<LeaveAnswer> closeInstallation(int language);
// Showing a module of the installation while the image in hand has edits that are in no
// installation module and no file.
Question<LeaveAnswer> replaceLooseImage(int language);
// "Versturen" with a module of the installation in hand (true: send).
Question<bool> sendModule(const QString &name, const QString &place, int language);
// A read assigned to a module with changes not yet sent: which version the installation keeps.
enum class VersionAnswer
{
    Installation,
    Module
};
Question<VersionAnswer> keepWhichVersion(const QString &name, int language);
// "Module verwijderen" (true: remove).
Question<bool> removeModule(const QString &name, int language);
// A recovery copy newer than the installation file being opened (true: open the copy), and one
// of an installation never saved, offered at start (true: open it).
Question<bool> offerNewerCopy(const QString &path, const QDateTime &copyTime, int language);
Question<bool> offerUnsavedCopy(const QString &name, const QDateTime &copyTime, int language);
// "Modules importeren...": the files that were not imported, each with why.
QString notImported(const QStringList &reasons, int language);
// "Installatierapport...": printed, written as a PDF file (default), or not at all (Esc).
enum class ReportAnswer
{
    Print,
    Pdf,
    Cancel,
};
Question<ReportAnswer> installationReport(int language);
// "Namen importeren (CSV)...": how many names changed in how many modules, then the rows that
// could not be placed, each with its line and why (already in the window's language).
QString namesImported(int names, int modules, const QStringList &unplaced, int language);
// A names file that changes nothing: why (already in the window's language).
QString namesFileDamaged(const QString &path, const QString &problem, int language);
// An installation holds at most `maximum` modules.
QString installationFull(int maximum, int language);
// A recovery copy that could not be written.
QString recoveryNotWritten(const Failure &failure, int language);

// Text that came from a module or a file, fit to be shown: characters that are not printable
// become "?", and it is cut at `maximum` characters.
QString outsideText(const QString &text, int maximum = 40);

} // namespace Messages
