#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "Eigenschappen..." (object name "Eigenschappen"): the installation's name, address/customer and
// notes. OK stores them, Cancel, Esc and the close button keep what was there.
class PropertiesDialog : public QDialog
{
    Q_OBJECT
public:
    struct Values
    {
        QString name;
        QString address;
        QString notes;
    };
    PropertiesDialog(const Values &values, int language, QWidget *parent = nullptr);
    // What was typed, made fit for the file.
    Values values() const;

private:
    QLineEdit *naam;
    QLineEdit *adres;
    QPlainTextEdit *notities;
};

// After a completed read while an installation is open (object name "Toewijzen"): which module
// of the installation the module just read is. The candidates are listed with their differences;
// "Deze module" assigns the one chosen, "Nieuwe module in de installatie" adds one, and "Niet in
// de installatie" (also Esc and the close button) leaves the installation as it is.
class AssignDialog : public QDialog
{
    Q_OBJECT
public:
    struct Candidate
    {
        QString text; // name, place and differences, as the list shows it
        int module;
    };
    enum class Choice
    {
        Module,
        NewModule,
        NotInInstallation
    };
    AssignDialog(const QString &question, const std::vector<Candidate> &candidates, int preselected,
                 int language, QWidget *parent = nullptr);

    Choice choice() const { return m_choice; }
    // The module chosen (Choice::Module).
    int module() const { return m_module; }

private:
    QListWidget *kandidaten;
    QPushButton *dezeModule;
    QPushButton *nieuweModule;
    QPushButton *nietInInstallatie;
    Choice m_choice = Choice::NotInInstallation;
    int m_module = -1;
};
