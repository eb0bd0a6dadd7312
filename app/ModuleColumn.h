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
// closes a documentation page. The window connects to its controls and tells it what to offer.
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

    // What the column shows of the module in hand, to be put back after a way out.
    struct View
    {
        QString moduleType;
        bool master = false;
        bool slave = false;
        bool versionVisible = false;
        QString version;
        std::array<QString, 5> editorCaptions;
    };
    View view() const;
    // Puts a view back; the master/slave selection without its click operation.
    void restore(const View &view);

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
    QRadioButton *Option1;
    QRadioButton *Option2;
    QLabel *Label5;
    QLabel *Label1;
    QComboBox *Combo1;
    QPushButton *Command15;
};
