#pragma once

#include "app/ModuleFiles.h"
#include "app/ModuleView.h"
#include "protocol/Conversation.h"
#include "protocol/ModuleState.h"

#include <QMainWindow>
#include <optional>

class Installations;
class MainMenus;
class StatusLine;
class ImageHistory;
class QShortcut;
class SerialLink;

// The main window (object name "Form1"): owns the shared model and the conversation, and composes
// the menus, the module view (the left column and the work area), the status line and the module
// files. Which controls are enabled follows from a few facts in one place (updateActionState);
// what the conversation reports is shown here, and every way out of it puts the window back as
// it was. Controls are found by their object names.
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
    int modulePageShown() const { return m_view->modulePageShown(); }

    // Module files as the Bestand menu opens and saves them (see ModuleFiles).
    bool openModuleFile(const QString &path) { return m_files->openModuleFile(path); }
    bool openBackup(const QString &path) { return m_files->openBackup(path); }
    bool saveModuleFile(const QString &path) { return m_files->saveModuleFile(path); }
    // The installation open in the window, its panel and its modules.
    Installations *installations() const { return m_installations; }

protected:
    // Closing the window during a conversation: the module gets what it is owed first; during a
    // send the installer chooses to close when it is done, to close now or to stay.
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What the installer had when a conversation started; every way out of it (Afbreken, Esc,
    // closing, a lost line, a port that cannot be opened, a module that is not supported) puts
    // it back, so that an image never read can never be sent.
    struct Snapshot
    {
        ModuleView::Snapshot view;
        QString title;
    };

    void connectMenus();
    void load();
    void switchLanguage(int language);
    // The one place that enables and disables the window's own controls.
    void updateActionState();
    // A message box with the program's warning title.
    void warn(const QString &text);
    // Leaving the program: asks once about everything unsaved (the installation, the image in hand
    // that is in no module); true when it may end.
    bool mayLeave();
    // The history undo and redo act on: the module in hand's, else the window's own.
    ImageHistory *history() const;
    void followHistory(ImageHistory *history);
    void onInstallationModuleShown(int type);
    // How the window is being left: closed by the installer (the question about unsaved changes
    // is asked), or after Einde or a language switch, which asked it already.
    enum class Leaving
    {
        Ask,
        Quit,
        Restart // the program starts anew once this window has closed
    };
    void leaveDecided(Leaving how);
    // Whether a window that is idle may close now (closeEvent).
    bool acceptLeaving();

private Q_SLOTS:
    // Handlers: the control's event, reachable by name through the meta-object.
    void p_Click(int port);
    void Web_Click();
    void instellingen_Click();
    void Einde_Click();
    void nieuw_Click();
    void Command1_Click();
    void Command2_Click();
    void abortRequested();
    void Controleren_Click(bool on);
    void poortKiezen_Click();
    void overzicht_Click();
    void installatieControleren_Click();

private:
    // A row of the overview or a finding was double-clicked: its module in hand, its editor shown.
    void goToPlace(const Overview::Place &place);
    // What the conversation reports.
    void onConversationStarting();
    void onModuleOpened(int type, bool fileOpen);
    void onPageRequested(int type);
    void onReadFinished();
    void onSendFinished();
    void onCheckFinished(const ModuleImage &moduleHolds);
    void onNormalEnd();
    void onWrongModule();
    void onProblem(Conversation::Problem problem, const QString &port, const QString &detail);
    void onAbandoned();
    void onRunningChanged(bool running);
    void describePorts();
    void undo();
    void redo();
    // Every start of a conversation goes through here before the port is opened (a read, a send,
    // a diagnostic test from its own panel): the offer to bind the one USB serial adapter plugged
    // in when the port has no binding.
    void beforeConversation();
    // Back to the window the installer had before a conversation that did not reach its end.
    void returnToSnapshot();

    ModuleState m_state;
    SerialLink *m_link = nullptr;
    bool m_ownLink = true; // the window opens the serial port itself
    Conversation *m_conversation = nullptr;
    std::optional<Snapshot> m_viewBeforeConversation;
    // The window was closed while the module was still owed frames: it closes once they are out.
    bool m_closeWhenDone = false;
    Leaving m_leaving = Leaving::Ask;
    // The window is leaving a conversation because it is being closed.
    bool m_closing = false;

    MainMenus *m_menus = nullptr;
    ModuleView *m_view = nullptr;
    ModuleFiles *m_files = nullptr;
    ImageHistory *m_history = nullptr; // of an image in no installation module
    Installations *m_installations = nullptr;
    StatusLine *m_status = nullptr;
    QShortcut *m_escape = nullptr;
};
