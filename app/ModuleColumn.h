#pragma once

#include "app/ModulePage.h"

#include <QWidget>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The left column of the main window: the actions (Verbinden, Versturen), the module data (the
// editor buttons, master or slave, the version), the module type list and the button that
// closes a documentation page. It says what the installer chose through its signals; the window
// tells it what to offer and what to show.
class ModuleColumn : public QWidget
{
    Q_OBJECT
public:
    explicit ModuleColumn(QWidget *parent = nullptr);

    // The captions set at start-up in the language (none for a language other than 1 or 2).
    void setCaptions(int language);
    // The captions of the editor buttons for a module type: a page shown after opening a file
    // words the output button a little differently in French.
    void captionEditorButtons(int type, ModulePage::Origin origin, int language);
    // "Versie: " / "Version: " and the module's version; hidden by hideVersion().
    void showVersion(int version, int language);
    void hideVersion();
    void clearOptions();

    // What is offered: `idle` no conversation runs, `editable` a module is in hand and idle,
    // `editorsShown` the editor buttons belong on the window, `documentation` a documentation
    // page fills the work area.
    void offer(bool idle, bool editable, bool editorsShown, bool documentation);
    // The names button ("Namen"): shown while a module of an installation is in hand.
    void offerNames(bool shown, bool enabled);

    // Shows master (flag 1), slave (0) or neither selected, without the choice's operation: the
    // image already says so.
    void showMaster(int flag);

    // The module type list's text ("" for none).
    QString typeEntry() const;
    // The program puts `entry` in the module type list, as if typed: typeEdited follows.
    void showTypeEntry(const QString &entry);
    // The same without typeEdited; an empty entry also leaves no list entry selected when
    // `unselect` is true.
    void setTypeEntryQuietly(const QString &entry, bool unselect = false);
    // Master (true) or slave chosen by the program: masterChosen follows even when that choice
    // is already selected, so that its operation always runs.
    void chooseMaster(bool master);

Q_SIGNALS:
    void readRequested();           // Verbinden
    void sendRequested();           // Versturen
    void pushButtonsRequested();    // Drukknoppen
    void secondTimeRequested();     // Tijd 2de functie
    void outputsRequested();        // output functions or dim start values
    void scenesRequested();         // Sferen
    void diagnosticsRequested();    // Diagnose
    void namesRequested();          // Namen
    void documentationClosed();     // Sluiten of a documentation page
    void masterChosen(bool master); // Master (true) or Slave selected
    // An entry of the module type list was picked, or its text changed.
    void typeActivated(const QString &entry);
    void typeEdited(const QString &text);

private:
    std::array<QPushButton *, 5> editorButtons() const;

    QGroupBox *Frame1;
    QPushButton *Command1;
    QPushButton *Command2;
    QGroupBox *Frame2;
    QPushButton *Command7;
    QPushButton *Command8;
    QPushButton *Command9;
    QPushButton *Command10;
    QPushButton *Command12;
    QPushButton *namenKnop;
    QRadioButton *Option1;
    QRadioButton *Option2;
    QLabel *Label5;
    QLabel *Label1;
    QComboBox *Combo1;
    QPushButton *Command15;
};
