#pragma once

#include "common/FolderList.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

struct ModuleState;

// "Browse directory" (Form5): picks the default folder of the module file dialogs and stores
// it in the user's "directory.vdm". "Default", no stored folder and a stored folder that is gone
// lead to the user's documents folder (the installation folder holds only what is shipped); only
// the folder that is gone is replaced in "directory.vdm" on opening. "Cancel" stores nothing.
class BrowseDirectoryDialog : public QDialog
{
    Q_OBJECT
public:
    BrowseDirectoryDialog(ModuleState &state, QWidget *parent = nullptr);

    void Command1_Click();
    void Command3_Click();

private:
    void showFolder(const QString &folder);

    QLabel *Label1;
    DriveList *Drive1;
    FolderList *Dir1;
    QLabel *Label2;
    QLabel *Label3;
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *Command3;

    ModuleState &m_state;
};
