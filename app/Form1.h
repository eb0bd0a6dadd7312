#pragma once

#include "app/ModulePage.h"
#include "protocol/Conversation.h"
#include "protocol/ModuleState.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <array>
#include <initializer_list>
#include <optional>

class PushButtonFrame;
class SecondTimeFrame;
class OutputFunctionsFrame;
class DimStartFrame;
class SceneFrame;
class DiagnosticsFrame;
class SerialLink;
class Folivo;

// The main window: owns the shared model, builds the frames and the menus, and switches the
// work area between the module page and the editor frames.
class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    // `link` replaces the serial port (tests); the window then does not own it.
    explicit Form1(QWidget *parent = nullptr, SerialLink *link = nullptr);
    ~Form1() override;

    ModuleState &state() { return m_state; }
    const ModuleState &state() const { return m_state; }

    // Controls, named as the installer's documentation and the tests know them.
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
    // The documentation viewer, over the action, module data and module page area.
    Folivo *Folivo1;
    ModulePage *Frame11;
    PushButtonFrame *Frame3;
    SecondTimeFrame *Frame6;
    OutputFunctionsFrame *Frame7;
    SceneFrame *Frame9;
    DiagnosticsFrame *Frame10;
    DimStartFrame *Frame12;
    QStatusBar *StatusBar1;
    QLineEdit *Text1;
    QProgressBar *ProgressBar1;
    // Lets the installer give up on a module that does not answer (also Esc).
    QPushButton *AbortButton;

    // Menus and their entries.
    QMenu *bestand;
    QAction *nieuw;
    QAction *lijn3;
    QAction *openen;
    QAction *lijn1;
    QAction *Bewaren;
    QAction *Bewaren_als;
    QAction *lijn2;
    QAction *Einde;
    QMenu *taal;
    QAction *frans;
    QAction *ned;
    QMenu *settings;
    QMenu *poort;
    std::array<QAction *, 8> p{};
    QAction *lijn4;
    QAction *instellingen;
    QMenu *Info;
    QAction *Web;

    // 1 once the installer has picked an entry of the module type list.
    int ModulePageShown = 0;

    // Handlers.
    void Combo1_Click();
    void Combo1_Change(const QString &text);
    void p_Click(int port);
    void ned_Click() { switchLanguage(1); }
    void frans_Click() { switchLanguage(2); }
    void Web_Click();
    void instellingen_Click();
    void Einde_Click();
    void nieuw_Click();
    void openen_Click();
    void Bewaren_Click();
    void Bewaren_als_Click();
    // Reads a module file and sets the window up for it. A file that is not a complete module
    // file changes nothing and is reported to the installer; returns false then.
    bool openModuleFile(const QString &path);
    // Writes the image of the current type to `path`; on failure the installer is told and
    // nothing else changes. Returns false then.
    bool saveModuleFile(const QString &path);
    void Command1_Click();
    void Command2_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command12_Click();
    // The documentation buttons of the module page and the close button of a document.
    void Command11_Click();
    void Command13_Click();
    void Command14_Click();
    void Command33_Click();
    void Command15_Click();
    void Option1_Click();
    void Option2_Click();

    // Selects an option from the program; its click operation runs as for the installer's choice.
    void selectOption(QRadioButton *option);
    // Clears both master/slave options.
    void clearOptions();

    Conversation &conversation() { return *m_conversation; }

    // Enables or disables the four menus of the menu bar as a whole.
    void setMenusEnabled(bool enabled);
    // Hides every work frame of the main window except `keep`.
    void hideWorkFrames(QWidget *keep = nullptr);

    // Afbreken and Esc: the installer gets out of the conversation. While slot frames are being
    // written the installer is asked first (the send goes on unless told to stop).
    void abortRequested();

protected:
    // Closing the window during a conversation: the module gets what it is owed first; during a
    // send the installer chooses to close when it is done, to close now or to stay.
    void closeEvent(QCloseEvent *event) override;

private:
    // What the installer had in the window when a conversation started; every way out of it
    // (Afbreken, Esc, closing, a lost line, a port that cannot be opened, a module that is not
    // supported) puts it back, so that an image never read can never be sent.
    struct ButtonState
    {
        bool visible = false;
        bool enabled = false;
        QString text;
    };
    struct Snapshot
    {
        int moduleType = 0;
        int masterFlag = 0;
        QString combo1Text;
        ModulePage::Shown page;
        bool pageVisible = false;
        bool typeLabelVisible = false;
        QString typeLabelText;
        QWidget *workFrame = nullptr;
        bool option1Checked = false;
        bool option2Checked = false;
        bool optionsEnabled = false;
        bool versionVisible = false;
        QString versionText;
        std::array<ButtonState, 6> buttons; // Command2, Command7, Command8, Command9, Command10, Command12
        bool bewaren = false;
        bool bewarenAls = false;
        QString title;
    };
    Snapshot takeSnapshot() const;
    void restoreSnapshot(const Snapshot &snapshot);
    std::array<QPushButton *, 6> snapshotButtons() const;
    void beforeConversation();

    void buildWindow();
    void buildMenus();
    void load();
    void setStartCaptions();
    void setFrenchMenuCaptions();
    void checkPort(int port);
    void switchLanguage(int language);

    // What the conversation reports.
    void showPage(int type);
    void onReadFinished();
    void onSendFinished();
    void onWrongModule();
    void onEndFrameSent();
    void onStopFramesSent();
    void lockForDiagnostics();
    void onProblem(Conversation::Problem problem, const QString &port, const QString &detail);
    void onAbandoned();
    void showStatus(Conversation::Status status);
    void showProgress(bool visible, int value, int maximum);
    // Back to the window the installer had before a conversation that did not reach its end.
    void returnToIdle();
    // The version label: "Versie: " / "Version: " and the version slot of the image.
    void showVersion();
    void openDocumentation(int button);
    void onDocumentNotFetched(int why);

    ModuleState m_state;
    SerialLink *m_link = nullptr;
    Conversation *m_conversation = nullptr;
    std::optional<Snapshot> m_beforeConversation;
    // The window was closed while the module was still owed frames: it closes once they are out.
    bool m_closeWhenDone = false;
};

// Tells the installer that a settings file of the installation folder could not be rewritten.
void reportSettingNotSaved(QWidget *parent, int language, const QString &fileName);
