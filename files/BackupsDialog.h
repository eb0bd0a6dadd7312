#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

// "Reservekopieën" / "Copies de sécurité": the automatic backups, newest first (date, time,
// model, version, master/slave), one of which the installer opens. A module file kept when it was
// saved over is a row of its own, named "vervangen: klant.QV1" / "remplacé : klant.QV1" in the
// model's column. The dialog only chooses: the caller opens the chosen file as a module file and
// sees to it that a backup is never saved over.
class BackupsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit BackupsDialog(int language, QWidget *parent = nullptr);

    // Accepts the dialog with the selected backup; nothing happens while none is selected.
    void OpenButton_Click();
    // The backup chosen by "Openen" (empty until then).
    QString chosenPath() const { return m_chosen; }

private:
    QLabel *ListLabel;       // above the list; says so when there are no backups
    QTreeWidget *BackupList; // one row per backup, its path as the row's tooltip
    QLabel *FolderLabel;     // the folder of the backups
    QPushButton *OpenButton;
    QPushButton *CancelButton;

    QString m_chosen;
};
