#pragma once

#include "app/MainWindow.h"
#include "app/ModulePage.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "editors/DimStartFrame.h"
#include "editors/OutputFunctionsFrame.h"
#include "editors/PushButtonFrame.h"
#include "editors/SecondTimeFrame.h"
#include "scenes/SceneFrame.h"
#include "support/Find.h"
#include "viewer/Folivo.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <array>

// A child of the window found by its name each time it is used: the panels are built the first
// time they are shown, so a test opens a panel before it looks inside it.
template <class T> class Child
{
public:
    Child(QObject *root, const char *name) : m_root(root), m_name(name) {}
    T *get() const { return m_root->findChild<T *>(QString::fromLatin1(m_name)); }
    T *operator->() const
    {
        T *c = get();
        if (!c) qFatal("no %s in the window (is its panel open?)", m_name);
        return c;
    }
    operator T *() const { return get(); }

private:
    QObject *m_root;
    const char *m_name;
};

// The main window as the tests drive it: every control found by its object name, the way a
// person finds it by its caption.
class TestWindow : public MainWindow
{
public:
    explicit TestWindow(QWidget *parent = nullptr, SerialLink *link = nullptr) : MainWindow(parent, link) {}

    template <class T> T *find(const char *name) const { return byName<T>(this, name); }

    QGroupBox *const Frame1 = find<QGroupBox>("Frame1");
    QPushButton *const Command1 = find<QPushButton>("Command1");
    QPushButton *const Command2 = find<QPushButton>("Command2");
    QGroupBox *const Frame2 = find<QGroupBox>("Frame2");
    QPushButton *const Command7 = find<QPushButton>("Command7");
    QPushButton *const Command8 = find<QPushButton>("Command8");
    QPushButton *const Command9 = find<QPushButton>("Command9");
    QPushButton *const Command10 = find<QPushButton>("Command10");
    QPushButton *const Command12 = find<QPushButton>("Command12");
    QRadioButton *const Option1 = find<QRadioButton>("Option1");
    QRadioButton *const Option2 = find<QRadioButton>("Option2");
    QLabel *const Label5 = find<QLabel>("Label5");
    QLabel *const Label1 = find<QLabel>("Label1");
    QComboBox *const Combo1 = find<QComboBox>("Combo1");
    QPushButton *const Command15 = find<QPushButton>("Command15");
    QStatusBar *const StatusBar1 = find<QStatusBar>("StatusBar1");
    QLineEdit *const Text1 = find<QLineEdit>("Text1");
    QProgressBar *const ProgressBar1 = find<QProgressBar>("ProgressBar1");
    QPushButton *const AbortButton = find<QPushButton>("AbortButton");
    QStackedWidget *const WorkArea = find<QStackedWidget>("WorkArea");
    ModulePage *const Frame11 = find<ModulePage>("Frame11");

    // The panels, found once they have been built.
    const Child<PushButtonFrame> Frame3{this, "Frame3"};
    const Child<SecondTimeFrame> Frame6{this, "Frame6"};
    const Child<OutputFunctionsFrame> Frame7{this, "Frame7"};
    const Child<SceneFrame> Frame9{this, "Frame9"};
    const Child<DiagnosticsFrame> Frame10{this, "Frame10"};
    const Child<DimStartFrame> Frame12{this, "Frame12"};
    const Child<Folivo> Folivo1{this, "Folivo1"};

    QMenu *const bestand = find<QMenu>("bestand");
    QAction *const nieuw = find<QAction>("nieuw");
    QAction *const openen = find<QAction>("openen");
    QAction *const Bewaren = find<QAction>("Bewaren");
    QAction *const Bewaren_als = find<QAction>("Bewaren_als");
    QAction *const Einde = find<QAction>("Einde");
    QMenu *const taal = find<QMenu>("taal");
    QAction *const frans = find<QAction>("frans");
    QAction *const ned = find<QAction>("ned");
    QMenu *const settings = find<QMenu>("settings");
    QMenu *const poort = find<QMenu>("poort");
    const std::array<QAction *, 8> p{find<QAction>("p1"), find<QAction>("p2"), find<QAction>("p3"),
                                     find<QAction>("p4"), find<QAction>("p5"), find<QAction>("p6"),
                                     find<QAction>("p7"), find<QAction>("p8")};
    QAction *const instellingen = find<QAction>("instellingen");
    QMenu *const Info = find<QMenu>("Info");
    QAction *const Web = find<QAction>("Web");

    // A control's event handler run as a person runs it: by clicking its control, named by the
    // handler's name up to its last "_" ("Command7_Click": the button Command7; "Bewaren_als_Click":
    // the menu entry Bewaren_als). A control a person cannot use stops the test: a button that is
    // hidden or disabled, a menu entry that is hidden or disabled or sits in no menu that can be
    // opened.
    void run(const char *handler)
    {
        const QByteArray name = QByteArray(handler).left(QByteArray(handler).lastIndexOf('_'));
        if (auto *action = findChild<QAction *>(QString::fromLatin1(name))) {
            if (!reachable(action))
                qFatal("%s: the menu entry %s cannot be chosen now", handler, name.constData());
            action->trigger();
            return;
        }
        if (auto *button = findChild<QAbstractButton *>(QString::fromLatin1(name))) {
            if (!usable(button))
                qFatal("%s: the control %s cannot be clicked now", handler, name.constData());
            button->click();
            return;
        }
        qFatal("%s: no control %s in the window", handler, name.constData());
    }
    // Whether a person can use the control: shown (in a shown window, on screen) and enabled.
    bool usable(const QWidget *control) const
    {
        return control->isVisibleTo(this) && (!isVisible() || control->isVisible()) && control->isEnabled();
    }
    // Whether a person can choose the menu entry: it is shown and enabled in a menu that can be
    // opened (each menu it sits in, up to the menu bar).
    static bool reachable(const QAction *action)
    {
        if (!action->isVisible() || !action->isEnabled()) return false;
        bool inMenu = false;
        for (QObject *o : action->associatedObjects())
            if (auto *menu = qobject_cast<QMenu *>(o)) {
                inMenu = true;
                if (reachable(menu->menuAction())) return true;
            } else if (qobject_cast<QMenuBar *>(o)) {
                return true;
            }
        return !inMenu;
    }
    void Command1_Click() { run("Command1_Click"); }
    void Command2_Click() { run("Command2_Click"); }
    void Command7_Click() { run("Command7_Click"); }
    void Command8_Click() { run("Command8_Click"); }
    void Command9_Click() { run("Command9_Click"); }
    void Command10_Click() { run("Command10_Click"); }
    void Command12_Click() { run("Command12_Click"); }
    void nieuw_Click() { run("nieuw_Click"); }
    void openen_Click() { run("openen_Click"); }
    void Bewaren_als_Click() { run("Bewaren_als_Click"); }

    // The installer picks the entry the module type list shows.
    void Combo1_Click()
    {
        if (!usable(Combo1)) qFatal("Combo1_Click: the module type list cannot be used now");
        Q_EMIT Combo1->textActivated(Combo1->currentText());
    }
    // The installer chooses `entry` in the module type list ("ZK2019" ...).
    void chooseType(const QString &entry)
    {
        Combo1->setCurrentIndex(Combo1->findText(entry));
        Combo1_Click();
    }
    // The master/slave choice made from the program: its click operation runs even when the
    // option is already selected.
    void selectOption(QRadioButton *option)
    {
        if (!usable(option))
            qFatal("selectOption: %s cannot be chosen now", qPrintable(option->objectName()));
        if (option->isChecked())
            Q_EMIT option->toggled(true);
        else
            option->setChecked(true);
    }
    // No conversation runs and the window offers everything again: the buttons, the type list
    // and the menus enabled, the progress bar and Afbreken hidden.
    bool isIdle() const
    {
        return Command1->isEnabled() && Combo1->isEnabled() && bestand->menuAction()->isEnabled() &&
               settings->menuAction()->isEnabled() && ProgressBar1->isHidden() && AbortButton->isHidden() &&
               !const_cast<TestWindow *>(this)->conversation().isRunning();
    }
    bool isShown(QWidget *panel) const { return panel && WorkArea->currentWidget() == panel; }
};
