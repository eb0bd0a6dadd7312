#pragma once

#include "app/ModuleColumn.h"
#include "app/ModulePage.h"
#include "editors/EditStep.h"
#include "installation/Overview.h"

#include <QWidget>
#include <functional>

struct ModuleState;
class Conversation;
class QRadioButton;
class QStackedWidget;
class PushButtonFrame;
class SecondTimeFrame;
class OutputFunctionsFrame;
class DimStartFrame;
class SceneFrame;
class DiagnosticsFrame;
class DocumentationView;
class NamesFrame;
class OverviewFrame;
class CheckFrame;
struct ModuleNames;

// What the main window shows of the module in hand: the left column (actions, editor buttons,
// master or slave, version, module type list) and the work area beside it, which shows one
// panel at a time: the module page, an editor, the scenes, the diagnostics or a documentation
// page. The editors, the diagnostics and the documentation viewer are built the first time they
// are shown. The view keeps the few facts the window derives its enabled controls from.
class ModuleView : public QWidget
{
    Q_OBJECT
public:
    struct Facts
    {
        bool moduleInHand = false;  // an image read or opened: it can be edited, saved under a name and sent
        bool editorsShown = false;  // the editor buttons of a module page are on the window
        bool fileOpen = false;      // the image came from ModuleFilePath: "Module Opslaan" writes it back
        bool documentation = false; // a documentation page fills the work area
    };
    // What the model does not keep of what the view showed when a conversation started; on
    // every way out of it the view shows itself again from the model and this. The images are
    // not part of it: a read collects into a copy that only its last slot hands over.
    struct Snapshot
    {
        Facts facts;
        int moduleType = 0;
        int masterFlag = 0;
        QString typeEntry;                  // the module type list's text (the installer may pick any entry)
        ModulePage::Shown page;             // the module page and the type its label names
        ModulePage::Shown editorsCaptioned; // the page the editor buttons were captioned for (type -1: none)
        QWidget *panel = nullptr;
    };

    // `beforeDiagnostics` runs before a diagnostic test opens the port.
    ModuleView(ModuleState &state, Conversation &conversation, std::function<void()> beforeDiagnostics,
               QWidget *parent = nullptr);

    ModuleColumn *column() const { return m_column; }
    const Facts &facts() const { return m_facts; }
    // 1 once the installer has picked an entry of the module type list.
    int modulePageShown() const { return ModulePageShown; }

    // A module file was opened into the image of `type`; `fileOpen` false for a backup, which is
    // never saved over.
    void showOpenedModule(int type, bool fileOpen);
    // A read starts: nothing of the module in hand is offered until the new one has been read.
    void prepareRead();
    // The page of an identified module, with its editor buttons; the editors, which show the
    // image being replaced, are closed.
    void showIdentifiedModule(int type);
    // The read completed: its image is in hand.
    void showReadModule();
    // "Nieuw": no module in hand; a documentation page stays as it is, every other panel closes.
    void clear();

    // Shows the image again after undo or redo wrote `step`: the master/slave choice as choosing
    // it does (the group-scene line of the scene editor), and the panel shown, without running a
    // handler.
    void follow(const EditStep &step, bool undone);

    // Where the names panel finds the names of the module in hand, and its type (none: no
    // module of an installation is in hand).
    struct NamesInHand
    {
        const ModuleNames *names = nullptr;
        int type = 0;
    };
    void setNamesSource(std::function<NamesInHand()> source) { m_namesSource = std::move(source); }
    // Where the diagnostics find the names of the module on the line (none: not known).
    void setDiagnosticsNamesSource(std::function<const ModuleNames *()> source)
    {
        m_diagnosticsNames = std::move(source);
    }

    Snapshot snapshot() const;
    void restore(const Snapshot &snapshot);

    // The installation's overview and check, pages of the work area built the first time.
    void showOverview(const Installation &installation);
    void showCheck(const Installation &installation);
    // The installation changed (nullptr: it closed): the overview or check shown follows it.
    void installationChanged(const Installation *installation);
    // The editor of the module in hand on `place`: the push button chosen, the output chosen
    // (its start value's field on a dim module), the scene shown; the module page for a module.
    void showPlace(const Overview::Place &place);
    // The overview and the check follow the window: disabled during a conversation.
    void setInstallationPagesEnabled(bool enabled);

Q_SIGNALS:
    // A row of the overview or a finding of the check was double-clicked.
    void placeChosen(const Overview::Place &place);
    // A documentation page was opened or closed: the window offers its controls anew.
    void factsChanged();
    // One action of the installer wrote into the image in hand (a step for the undo history).
    void edited(const EditStep &step);

private Q_SLOTS:
    // Handlers: the control's event, reachable by name through the meta-object (tests open a
    // panel the way its button does even while the button is hidden).
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command12_Click();
    void Command15_Click();
    void namenKnop_Click();
    void Combo1_Click();
    void Combo1_Change(const QString &text);
    void Option1_Click();
    void Option2_Click();

private:
    // Shows one panel in the work area (nullptr: none).
    void showPanel(QWidget *panel);
    template <class Frame, class... Args> void openPanel(Frame *&frame, Args &&...args);
    void showModulePage(int type, ModulePage::Origin origin);
    void showVersion();
    void selectOptionFromImage();
    void chooseMaster(int flag);
    void showMasterInEditor();
    void openDocumentation(DocumentationPages::Button button);

    ModuleState &m_state;
    Conversation &m_conversation;
    std::function<void()> m_beforeDiagnostics;
    std::function<const ModuleNames *()> m_diagnosticsNames;
    Facts m_facts;
    ModulePage::Shown m_editorsCaptioned;
    int ModulePageShown = 0;

    ModuleColumn *m_column = nullptr;
    QStackedWidget *m_work = nullptr;
    QWidget *m_noPanel = nullptr;
    ModulePage *Frame11 = nullptr;
    PushButtonFrame *Frame3 = nullptr;
    SecondTimeFrame *Frame6 = nullptr;
    OutputFunctionsFrame *Frame7 = nullptr;
    SceneFrame *Frame9 = nullptr;
    DiagnosticsFrame *Frame10 = nullptr;
    DimStartFrame *Frame12 = nullptr;
    NamesFrame *m_names = nullptr;
    std::function<NamesInHand()> m_namesSource;
    DocumentationView *m_documentation = nullptr;
    OverviewFrame *m_overview = nullptr;
    CheckFrame *m_check = nullptr;
};
