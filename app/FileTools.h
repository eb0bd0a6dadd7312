#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

struct ModuleState;
class QWidget;

// What the Bestand menu offers beside opening and saving: the automatic backup of every module
// read, the list of backups, the comparison of the image in hand with a module file, and the
// configuration report on paper or in a PDF file. Messages go to the installer in the window's
// language; nothing here changes the image in hand.
class FileTools : public QObject
{
    Q_OBJECT
public:
    FileTools(ModuleState &state, QWidget *window);

    // Keeps the module just read as a backup and prunes the oldest beyond 500. Returns the message
    // for the installer when the backup could not be written (empty when it was); the read stays
    // complete.
    QString backUpReadModule();
    // The backups dialog: the backup the installer chose, or empty.
    QString chooseBackup();
    // Chooses a module file (or a backup) and shows its differences with the image in hand.
    void compareWithFile();
    void printReport();
    void exportReportAsPdf();

private:
    void compareWith(const QString &path);
    // The name the PDF export proposes.
    QString suggestedPdfName(const QDateTime &now) const;

    ModuleState &m_state;
    QWidget *m_window;
};
