#pragma once

#include "app/ModuleColumn.h"
#include "app/ModulePage.h"
#include "protocol/Conversation.h"
#include "protocol/ModuleState.h"

#include <QMainWindow>
#include <array>
#include <optional>

class QRadioButton;
class QStackedWidget;
class MainMenus;
class ModuleColumn;
class StatusLine;
class PushButtonFrame;
class SecondTimeFrame;
class OutputFunctionsFrame;
class DimStartFrame;
class SceneFrame;
class DiagnosticsFrame;
class SerialLink;
class DocumentationView;
class RecentFiles;
class FileTools;

// The main window (object name "Form1"): owns the shared model and the conversation, builds the
// menus and the panels, and shows one panel at a time in its work area. Which controls are
// enabled and shown follows from a few facts in one place (updateActionState). The panels are
// built the first time they are shown. Controls are found by their object names.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // `link` replaces the serial port (tests); the window then does not own it.
    explicit MainWindow(QWidget *parent = nullptr, SerialLink *link = nullptr);
    ~MainWindow() override;

    ModuleState &state() { return m_state; }
    const ModuleState &state() const { return m_state; }
    Conversation &conversation() { return *m_conversation; }
    // 1 once the installer has picked an entry of the module type list.
    int modulePageShown() const { return ModulePageShown; }

    // Reads a module file and sets the window up for it. A file that is not a complete module
    // file changes nothing and is reported to the installer; returns false then.
    bool openModuleFile(const QString &path);
    // Opens a backup as a module file is opened, except that it is never saved over: no file is
    // open afterwards ("Module Opslaan" disabled, the title without a name), as after a read.
    bool openBackup(const QString &path);
    // Writes the image of the current type to `path`; on failure the installer is told and
    // nothing else changes. Returns false then.
    bool saveModuleFile(const QString &path);

protected:
    // Closing the window during a conversation: the module gets what it is owed first; during a
    // send the installer chooses to close when it is done, to close now or to stay.
    void closeEvent(QCloseEvent *event) override;

private:
    // What the window knows of the module in hand; every enabled and shown state derives from
    // these and from whether a conversation runs.
    struct Facts
    {
        bool moduleInHand = false;  // an image read or opened: it can be edited, saved under a name and sent
        bool editorsShown = false;  // the editor buttons of a module page are on the window
        bool fileOpen = false;      // the image came from ModuleFilePath: "Module Opslaan" writes it back
        bool documentation = false; // a documentation page fills the work area
    };
    // What the installer had when a conversation started; every way out of it (Afbreken, Esc,
    // closing, a lost line, a port that cannot be opened, a module that is not supported) puts
    // it back, so that an image never read can never be sent. The images are not part of it:
    // a read collects into a copy that only its last slot hands over.
    struct Snapshot
    {
        Facts facts;
        int moduleType = 0;
        int masterFlag = 0;
        ModuleColumn::View column;
        ModulePage::Shown page;
        bool typeLabelVisible = false;
        QString typeLabelText;
        QWidget *panel = nullptr;
        QString title;
    };

    void buildWindow();
    void connectMenus();
    void load();
    void switchLanguage(int language);

    // The one place that enables, disables, shows and hides the window's own controls.
    void updateActionState();
    // Shows one panel in the work area (nullptr: none).
    void showPanel(QWidget *panel);
    template <class Frame, class... Args> void openPanel(Frame *&frame, Args &&...args);
    // A message box with the program's warning title.
    void warn(const QString &text);

    // The page of a module type with its editor buttons.
    void showModulePage(int type, ModulePage::Origin origin);
    void showVersion();
    void selectOptionFromImage();
    void selectOption(QRadioButton *option);

private Q_SLOTS:
    // Handlers: the control's event, reachable by name through the meta-object (tests open a
    // panel the way its button does even while the button is hidden).
    void Combo1_Click();
    void Combo1_Change(const QString &text);
    void p_Click(int port);
    void Web_Click();
    void instellingen_Click();
    void Einde_Click();
    void nieuw_Click();
    void openen_Click();
    void Bewaren_Click();
    void Bewaren_als_Click();
    void Command1_Click();
    void Command2_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command12_Click();
    void Command15_Click();
    void Option1_Click();
    void Option2_Click();
    void abortRequested();
    void Controleren_Click(bool on);
    void Reservekopieen_Click();
    void poortKiezen_Click();

private:
    void openDocumentation(DocumentationPages::Button button);

    // What the conversation reports.
    void onConversationStarting();
    void onPageRequested(int type);
    void onReadFinished();
    void onSendFinished();
    void onCheckFinished(const ModuleImage &moduleHolds);
    void onNormalEnd();
    void onWrongModule();
    void onProblem(Conversation::Problem problem, const QString &port, const QString &detail);
    void onAbandoned();
    void onStatus(Conversation::Status status);
    void onProgress(bool visible, int value, int maximum);
    void onRunningChanged(bool running);
    void describePorts();
    // Before a conversation opens the port: the offer to bind the one USB serial adapter plugged
    // in when the port has no binding.
    void offerAdapter();
    // Opens a module file; `remember` puts it at the top of the recent files.
    bool openModuleFile(const QString &path, bool remember);
    // Leaving with an image that changed since it was last read, sent, opened or saved: the
    // installer saves it, leaves without saving or stays. True when the program may end.
    bool mayLeave();
    // A module file chosen from the recent files.
    void openRecentFile(const QString &path);
    // Back to the window the installer had before a conversation that did not reach its end.
    void returnToSnapshot();
    Snapshot takeSnapshot() const;
    void restoreSnapshot(const Snapshot &snapshot);

    ModuleState m_state;
    SerialLink *m_link = nullptr;
    bool m_ownLink = true; // the window opens the serial port itself
    Conversation *m_conversation = nullptr;
    Facts m_facts;
    std::optional<Snapshot> m_beforeConversation;
    // The window was closed while the module was still owed frames: it closes once they are out.
    bool m_closeWhenDone = false;
    int ModulePageShown = 0;

    MainMenus *m_menus = nullptr;
    RecentFiles *m_recent = nullptr;
    FileTools *m_fileTools = nullptr;
    ModuleColumn *m_column = nullptr;
    StatusLine *m_status = nullptr;
    // The work area shows one panel at a time.
    QStackedWidget *m_work = nullptr;
    QWidget *m_noPanel = nullptr;
    ModulePage *Frame11 = nullptr;
    PushButtonFrame *Frame3 = nullptr;
    SecondTimeFrame *Frame6 = nullptr;
    OutputFunctionsFrame *Frame7 = nullptr;
    SceneFrame *Frame9 = nullptr;
    DiagnosticsFrame *Frame10 = nullptr;
    DimStartFrame *Frame12 = nullptr;
    DocumentationView *m_documentation = nullptr;
};
