#include "app/FileTools.h"

#include "app/Messages.h"
#include "common/Lang.h"
#include "common/MessageBox.h"
#include "files/Backups.h"
#include "files/BackupsDialog.h"
#include "files/CompareWindow.h"
#include "files/ImageCompare.h"
#include "files/ModuleFile.h"
#include "files/ModuleFileDialogs.h"
#include "files/Report.h"
#include "files/ReportDocument.h"
#include "protocol/ModuleState.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

FileTools::FileTools(ModuleState &state, QWidget *window) : QObject(window), m_state(state), m_window(window)
{
}

QString FileTools::backUpReadModule()
{
    const ModuleImage *image = m_state.currentImage();
    if (!image) return QString();
    const Checked<QString> written = Backups::write(m_state.ModuleType, *image, QDateTime::currentDateTime());
    if (!written) return Messages::backupNotWritten(written.failure(), m_state.Language);
    Backups::prune(Backups::DefaultKeep, *written);
    return QString();
}

QString FileTools::chooseBackup()
{
    BackupsDialog dialog(m_state.Language, m_window);
    return dialog.exec() == QDialog::Accepted ? dialog.chosenPath() : QString();
}

QString FileTools::suggestedPdfName(const QDateTime &now) const
{
    // The module file's name when the image is that file's, else the model and the date.
    const QString file = m_state.fileOfImage();
    if (!file.isEmpty()) return QFileInfo(file).completeBaseName() + QStringLiteral(".pdf");
    return QString::fromLatin1(ModuleTypes::info(m_state.ModuleType)->comboEntry) +
           now.toString(QStringLiteral("_yyyy-MM-dd")) + QStringLiteral(".pdf");
}

void FileTools::compareWithFile()
{
    // The open dialog chooses the file; comparing takes the place of opening it.
    OpenDialog dialog(
        m_state,
        [this](const QString &path) {
            compareWith(path);
            return true;
        },
        m_window);
    dialog.exec();
}

void FileTools::compareWith(const QString &path)
{
    const int lang = m_state.Language;
    const auto data = readModuleFile(path);
    const ModuleImage *inHand = m_state.currentImage();
    if (!inHand) return;
    if (!data) {
        MessageBox::information(m_window, Lang::warningTitle(lang),
                                Messages::fileNotOpened(path, data.failure(), lang));
        return;
    }
    const ImageCompare::Result result =
        ImageCompare::compare(m_state.ModuleType, *inHand, data->type, data->image(), lang, &m_state.Names);
    if (!result.compared()) {
        MessageBox::information(
            m_window, Lang::warningTitle(lang),
            ImageCompare::cannotCompareMessage(result, m_state.ModuleType, data->type, lang));
        return;
    }
    auto *window = new CompareWindow(lang, path, result, m_window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void FileTools::printReport()
{
    const ModuleImage *image = m_state.currentImage();
    if (!image) return;
    ReportDocument::print(makeReport(*image, m_state.ModuleType, m_state.Language, m_state.fileOfImage(),
                                     QDateTime::currentDateTime(), &m_state.Names),
                          m_window);
}

void FileTools::exportReportAsPdf()
{
    const ModuleImage *image = m_state.currentImage();
    if (!image) return;
    const int lang = m_state.Language;
    const QDateTime now = QDateTime::currentDateTime();
    // Qt's own dialog, in the window's language, started in the installer's module folder (never
    // the program's working folder). It adds ".pdf" to a name without it before it asks about
    // replacing a file, so the question is about the file that will be written.
    QFileDialog dialog(
        m_window,
        Lang::pick(lang, QStringLiteral("Exporteren als PDF"), QStringLiteral("Exporter en PDF"))
            .value_or(QStringLiteral("PDF")),
        moduleFileStartFolder(m_state), QStringLiteral("PDF (*.pdf)"));
    dialog.setObjectName(QStringLiteral("PdfExportDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(suggestedPdfName(now));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    const Failure failure = ReportDocument::exportPdf(
        makeReport(*image, m_state.ModuleType, lang, m_state.fileOfImage(), now, &m_state.Names), path);
    if (!failure.ok())
        MessageBox::information(m_window, Lang::warningTitle(lang),
                                Messages::fileNotSaved(path, failure, lang));
}
