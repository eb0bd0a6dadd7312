// The Installatie entries that hand the installation over: its overview as a table file for a
// spreadsheet, names read back from such a file, and the installation report.
#include "app/Installations.h"

#include "app/Messages.h"
#include "common/Lang.h"
#include "common/MessageBox.h"
#include "files/ReportDocument.h"
#include "files/SafeFile.h"
#include "history/ImageHistory.h"
#include "installation/InstallationReport.h"
#include "installation/OverviewCsv.h"

#include <QEventLoop>
#include <QMainWindow>
#include <QProgressDialog>
#include <QThread>
#include <memory>

using namespace Qt::StringLiterals;

void Installations::overzichtExporteren_Click()
{
    if (!isOpen()) return;
    const int lang = language();
    const QStringList chosen =
        chooseFiles(Lang::text(lang, u"Overzicht exporteren"_s, u"Exporter la vue d'ensemble"_s,
                               u"Overzicht exporteren"_s),
                    true, FileKind::Csv, u"OverzichtExporterenDialog"_s);
    if (chosen.isEmpty()) return;
    const QString path = chosen.constFirst();
    if (const Failure failure =
            SafeFile::replace(path, OverviewCsv::exportCsv(*m_installation, Lang::Language(lang)));
        !failure.ok())
        warn(Messages::fileNotSaved(path, failure, lang));
}

// Each module whose names the file changes gets one step in its own history, so that undo with
// that module in hand takes the import back; nothing changes when the file is damaged.
void Installations::namenImporteren_Click()
{
    if (!isOpen()) return;
    const int lang = language();
    const QStringList chosen =
        chooseFiles(Lang::text(lang, u"Namen importeren"_s, u"Importer des noms"_s, u"Namen importeren"_s),
                    false, FileKind::Csv, u"NamenImporterenDialog"_s);
    if (chosen.isEmpty()) return;
    const QString path = chosen.constFirst();
    const Checked<QByteArray> file = SafeFile::read(path, OverviewCsv::MaxFileSize);
    if (!file) {
        warn(Messages::fileNotOpened(path, file.failure(), lang));
        return;
    }
    const OverviewCsv::NamesImport found = OverviewCsv::importNames(*file, *m_installation);
    const Lang::Language words = Lang::Language(lang).readable();
    if (found.damaged) {
        warn(Messages::namesFileDamaged(path, found.problem.in(words, found.problem.dutch), lang));
        return;
    }
    int names = 0;
    for (const OverviewCsv::ModuleNameChanges &changes : found.modules) {
        const InstallationModule &m = m_installation->modules[static_cast<size_t>(changes.module)];
        EditStep step;
        step.name = {u"Namen importeren"_s, u"Importer des noms"_s};
        step.type = m.type;
        step.names = changes.changes;
        historyOf(m.id)->record(step);
        applyNamesTo(changes.module, step, false);
        names += static_cast<int>(changes.changes.size());
        touched(changes.module);
        if (changes.module == m_inHand) Q_EMIT inHandNamesImported(step);
    }
    QStringList unplaced;
    for (const OverviewCsv::UnplacedRow &row : found.unplaced)
        unplaced << row.text().in(words, row.text().dutch);
    MessageBox::information(
        m_window, Lang::warningTitle(lang),
        Messages::namesImported(names, static_cast<int>(found.modules.size()), unplaced, lang),
        unplaced.isEmpty() ? MessageBox::Icon::Information : MessageBox::Icon::Warning);
}

// The installation report, printed or written as a PDF file whole or not at all.
void Installations::installatieRapport_Click()
{
    if (!isOpen()) return;
    const int lang = language();
    using Messages::ReportAnswer;
    const auto q = Messages::installationReport(lang);
    const ReportAnswer answer = MessageBox::ask(m_window, Lang::warningTitle(lang), q.text, q.options,
                                                ReportAnswer::Pdf, std::optional(ReportAnswer::Cancel));
    if (answer == ReportAnswer::Cancel) return;
    const Lang::Language words = Lang::Language(lang).readable();
    if (answer == ReportAnswer::Print) {
        ReportDocument::print(installationReport(*m_installation, words, QDateTime::currentDateTime()),
                              m_window);
        return;
    }
    const QStringList chosen = chooseFiles(
        Lang::text(lang, u"Installatierapport"_s, u"Rapport d'installation"_s, u"Installatierapport"_s), true,
        FileKind::Pdf, u"InstallatieRapportDialog"_s);
    if (chosen.isEmpty()) return;
    const QString path = chosen.constFirst();
    const Report report = installationReport(*m_installation, words, QDateTime::currentDateTime());
    if (const Failure failure = exportInBackground(report, path, lang); !failure.ok())
        warn(Messages::fileNotSaved(path, failure, lang));
}

// Laying out the report of a large installation takes seconds: the PDF is written in a thread of
// its own from a copy of the report, while the window goes on answering behind a box that says
// so. Nothing the installer does meanwhile reaches the report.
Failure Installations::exportInBackground(const Report &report, const QString &path, int language)
{
    Failure result;
    std::unique_ptr<QThread> worker(
        QThread::create([&] { result = ReportDocument::exportPdf(report, path); }));
    QProgressDialog busy(Lang::text(language, u"Het installatierapport wordt geschreven..."_s,
                                    u"Le rapport d'installation est en cours d'écriture..."_s,
                                    u"Het installatierapport wordt geschreven..."_s),
                         QString(), 0, 0, m_window);
    busy.setObjectName(u"RapportBezig"_s);
    busy.setWindowModality(Qt::ApplicationModal);
    busy.setMinimumDuration(0);
    busy.setAutoClose(false);
    busy.setAutoReset(false);
    QEventLoop wait;
    connect(worker.get(), &QThread::finished, &wait, &QEventLoop::quit);
    worker->start();
    busy.show();
    if (!worker->isFinished()) wait.exec();
    worker->wait();
    return result;
}
