#pragma once

#include "common/FolderList.h"
#include "files/FileList.h"

#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

struct ModuleState;

// The folder the module file dialogs start in: the default folder, or the user's documents
// folder when there is none or it cannot be shown.
QString moduleFileStartFolder(const ModuleState &state);

// What the open and save dialogs share: the drive, folder and module file lists, started in the
// default folder, and a Cancel button (closing the window does the same).
class ModuleFileDialog : public QDialog
{
    Q_OBJECT
protected:
    ModuleFileDialog(ModuleState &state, const char *formName, const QString &titleNl, const QString &titleFr,
                     const QString &listsNl, const QString &listsFr, QWidget *parent);
    // Lists Label1 and Drive1 on row 0, Dir1 on row 1 and File1 beside them; the dialogs add
    // their own rows from row 2 on.
    QGridLayout *grid() const { return m_grid; }
    // Shows the files of the folder the folder list went to.
    virtual void showFolder();
    // Puts the lists in the folder the dialogs start in and shows it through showFolder(); called
    // at the end of each dialog's constructor, so that the dialog's own showFolder() runs.
    void start();

    // The lists and the Cancel button the dialogs lay out and follow.
    QLabel *Label1;
    DriveList *Drive1;
    FolderList *Dir1;
    FileList *File1;
    QPushButton *CancelButton;

    ModuleState &m_state;

private:
    QGridLayout *m_grid;
};

// "Openen" (Form2): picks a module file. The opener reads it; the dialog closes once it did.
class OpenDialog : public ModuleFileDialog
{
    Q_OBJECT
public:
    using Opener = std::function<bool(const QString &path)>;
    OpenDialog(ModuleState &state, Opener opener, QWidget *parent = nullptr);

    void Command1_Click();
    void Command2_Click();
    // The path of the chosen file, empty when no file is chosen.
    QString chosenPath() const;

protected:
    void showFolder() override;

private:
    QLabel *Label2;
    QPushButton *Command1;
    QPushButton *Command2;

    Opener m_opener;
};

// "Opslaan" (Form3): saves the image under a chosen name. The saver writes the file; the dialog
// closes once it did.
class SaveDialog : public ModuleFileDialog
{
    Q_OBJECT
public:
    using Saver = std::function<bool(const QString &path)>;
    SaveDialog(ModuleState &state, Saver saver, QWidget *parent = nullptr);

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    // The file a save writes: ".QV1" is added unless the name ends in exactly ".QV1".
    static QString targetPath(const QString &folder, const QString &name);
    // Creates a folder inside `parent`; a name that would leave it is refused.
    static bool createFolder(const QString &parent, const QString &name);
    // A name without a folder separator ("/" or "\"): it stays in the folder of the lists.
    static bool isPlainName(const QString &name);
    // A name that says something before the ".QV1" it may end in: not empty, not blanks only.
    static bool hasName(const QString &name);

private:
    QLabel *Label2;
    QLineEdit *Text1;
    QPushButton *Command1;
    QPushButton *Command3;
    QLineEdit *Text2;
    QPushButton *Command2;

    Saver m_saver;
};
