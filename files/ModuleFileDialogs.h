#pragma once

#include "app/FolderList.h"
#include "files/FileList.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

struct ModuleState;

// The folder the module file dialogs start in: the default folder, or the installation folder
// when there is none or it cannot be shown.
QString moduleFileStartFolder(const ModuleState &state);

// "Openen" (Form2): picks a module file. The opener reads it; the dialog closes once it did.
class OpenDialog : public QDialog
{
    Q_OBJECT
public:
    using Opener = std::function<bool(const QString &path)>;
    OpenDialog(ModuleState &state, Opener opener, QWidget *parent = nullptr);

    QLabel *Label1;
    DriveList *Drive1;
    FolderList *Dir1;
    FileList *File1;
    QLabel *Label2;
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *CancelButton;

    void Command1_Click();
    void Command2_Click();
    // The path of the chosen file, empty when no file is chosen.
    QString chosenPath() const;

private:
    void folderChanged();
    ModuleState &m_state;
    Opener m_opener;
};

// "Opslaan" (Form3): saves the image under a chosen name. The saver writes the file; the dialog
// closes once it did.
class SaveDialog : public QDialog
{
    Q_OBJECT
public:
    using Saver = std::function<bool(const QString &path)>;
    SaveDialog(ModuleState &state, Saver saver, QWidget *parent = nullptr);

    QLabel *Label1;
    DriveList *Drive1;
    FolderList *Dir1;
    FileList *File1;
    QLabel *Label2;
    QLineEdit *Text1;
    QPushButton *Command1;
    QPushButton *Command3;
    QLineEdit *Text2;
    QPushButton *Command2;
    QPushButton *CancelButton;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    // The file a save writes: ".QV1" is added unless the name ends in exactly ".QV1".
    static QString targetPath(const QString &folder, const QString &name);
    // Creates a folder inside `parent`; a name that would leave it is refused.
    static bool createFolder(const QString &parent, const QString &name);

private:
    ModuleState &m_state;
    Saver m_saver;
};
