#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

struct ModuleState;

// "Preferences" (Form4): shows the default folder of the module file dialogs and lets the
// installer choose another one through "Browse directory".
class PreferencesDialog : public QDialog
{
    Q_OBJECT
public:
    PreferencesDialog(ModuleState &state, QWidget *parent = nullptr);

    void Command1_Click();

private:
    QLabel *Label2;
    QLabel *Label1;
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *Command3;

    ModuleState &m_state;
};
