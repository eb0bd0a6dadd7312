#include "app/MainWindow.h"

#include "app/FileTools.h"
#include "app/Launcher.h"
#include "app/MainMenus.h"
#include "app/Messages.h"
#include "app/PortChooserDialog.h"
#include "app/PreferencesDialog.h"
#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "app/StatusLine.h"
#include "common/Lang.h"
#include "common/MessageBox.h"
#include "common/Named.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "docpages/DocumentationView.h"
#include "editors/DimStartFrame.h"
#include "editors/OutputFunctionsFrame.h"
#include "editors/PushButtonFrame.h"
#include "editors/SecondTimeFrame.h"
#include "files/ModuleFile.h"
#include "files/ModuleFileDialogs.h"
#include "protocol/PortBinding.h"
#include "protocol/QtSerialLink.h"
#include "scenes/SceneFrame.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>

MainWindow::MainWindow(QWidget *parent, SerialLink *link) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QV Velano"));
    m_ownLink = !link;
    m_link = link ? link : new QtSerialLink(this);
    m_conversation = new Conversation(m_state, *m_link, this);
    buildWindow();
    load();

    Conversation *c = m_conversation;
    connect(c, &Conversation::progressChanged, this, &MainWindow::onProgress);
    connect(c, &Conversation::statusChanged, this, &MainWindow::onStatus);
    connect(c, &Conversation::pageRequested, this, &MainWindow::onPageRequested);
    connect(c, &Conversation::readFinished, this, &MainWindow::onReadFinished);
    connect(c, &Conversation::sendFinished, this, &MainWindow::onSendFinished);
    connect(c, &Conversation::checkFinished, this, &MainWindow::onCheckFinished);
    connect(c, &Conversation::wrongModule, this, &MainWindow::onWrongModule);
    connect(c, &Conversation::endFrameSent, this, &MainWindow::onNormalEnd);
    connect(c, &Conversation::stopFramesSent, this, &MainWindow::onNormalEnd);
    connect(c, &Conversation::problem, this, &MainWindow::onProblem);
    connect(c, &Conversation::abandoned, this, &MainWindow::onAbandoned);
    connect(c, &Conversation::runningChanged, this, &MainWindow::onRunningChanged);
    connect(m_status->AbortButton, &QPushButton::clicked, this, &MainWindow::abortRequested);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &MainWindow::abortRequested);
    updateActionState();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildWindow()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    m_column = new ModuleColumn(central);
    m_work = named(new QStackedWidget(central), "WorkArea");
    m_noPanel = named(new QWidget(m_work), "NoPanel");
    m_work->addWidget(m_noPanel);
    // The module page is small and shown by most things the installer does: built at once.
    Frame11 = new ModulePage(m_state, m_work);
    m_work->addWidget(Frame11);
    connect(Frame11, &ModulePage::documentationRequested, this, &MainWindow::openDocumentation);
    auto *top = new QHBoxLayout(central);
    top->addWidget(m_column, 0);
    top->addWidget(m_work, 1);
    m_status = new StatusLine(new QStatusBar(this));
    setStatusBar(m_status->StatusBar1);
    m_menus = new MainMenus(menuBar());
    m_recent = new RecentFiles(m_menus->bestand, m_menus->recentStart, m_menus->recentEnd, this);
    connect(m_recent, &RecentFiles::chosen, this, &MainWindow::openRecentFile);
    m_fileTools = new FileTools(m_state, this);
    m_documentation = new DocumentationView(
        m_work, [this] { return m_state.Language; }, this);

    ModuleColumn *c = m_column;
    connect(c->Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(c->Command2, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(c->Command7, &QPushButton::clicked, this, &MainWindow::Command7_Click);
    connect(c->Command8, &QPushButton::clicked, this, &MainWindow::Command8_Click);
    connect(c->Command9, &QPushButton::clicked, this, &MainWindow::Command9_Click);
    connect(c->Command10, &QPushButton::clicked, this, &MainWindow::Command10_Click);
    connect(c->Command12, &QPushButton::clicked, this, &MainWindow::Command12_Click);
    connect(c->Command15, &QPushButton::clicked, this, &MainWindow::Command15_Click);
    connect(c->Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option1_Click();
    });
    connect(c->Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option2_Click();
    });
    connect(c->Combo1, &QComboBox::textActivated, this, [this] { Combo1_Click(); });
    connect(c->Combo1, &QComboBox::editTextChanged, this, &MainWindow::Combo1_Change);
    connectMenus();
    resize(900, 620);
}

void MainWindow::connectMenus()
{
    MainMenus *m = m_menus;
    connect(m->nieuw, &QAction::triggered, this, &MainWindow::nieuw_Click);
    connect(m->openen, &QAction::triggered, this, &MainWindow::openen_Click);
    connect(m->Bewaren, &QAction::triggered, this, &MainWindow::Bewaren_Click);
    connect(m->Bewaren_als, &QAction::triggered, this, &MainWindow::Bewaren_als_Click);
    connect(m->frans, &QAction::triggered, this, [this] { switchLanguage(2); });
    connect(m->ned, &QAction::triggered, this, [this] { switchLanguage(1); });
    connect(m->Web, &QAction::triggered, this, &MainWindow::Web_Click);
    connect(m->instellingen, &QAction::triggered, this, &MainWindow::instellingen_Click);
    connect(m->Einde, &QAction::triggered, this, &MainWindow::Einde_Click);
    connect(m, &MainMenus::portChosen, this, &MainWindow::p_Click);
    connect(m->Controleren, &QAction::triggered, this, &MainWindow::Controleren_Click);
    connect(m->poortKiezen, &QAction::triggered, this, &MainWindow::poortKiezen_Click);
    connect(m->poort, &QMenu::aboutToShow, this, &MainWindow::describePorts);
    connect(m->Reservekopieen, &QAction::triggered, this, &MainWindow::Reservekopieen_Click);
    connect(m->Vergelijken, &QAction::triggered, m_fileTools, &FileTools::compareWithFile);
    connect(m->Afdrukken, &QAction::triggered, m_fileTools, &FileTools::printReport);
    connect(m->PdfExport, &QAction::triggered, m_fileTools, &FileTools::exportReportAsPdf);
}

// Start-up: the settings, the captions of the language and the port.
void MainWindow::load()
{
    const Settings s = loadSettings();
    m_state.Language = s.language;
    m_state.ComPort = s.comPort;
    m_state.PcDelay = s.pcDelay;
    m_state.DefaultDirectory = s.defaultDirectory;
    m_column->setCaptions(s.language);
    m_status->setCaptions(s.language);
    m_menus->setCaptions(s.language);
    m_conversation->setPortNumber(s.comPort);
    m_menus->checkPort(s.comPort);
    m_menus->checkLanguage(s.language);
    m_menus->Controleren->setChecked(s.checkAfterSend);
    m_recent->load();
}

// ---- the window's state -----------------------------------------------------------------------

void MainWindow::updateActionState()
{
    const bool idle = !m_conversation->isRunning();
    m_menus->setEnabled(idle);
    m_menus->Bewaren->setEnabled(m_facts.fileOpen);
    m_menus->Bewaren_als->setEnabled(m_facts.moduleInHand);
    for (QAction *a : {m_menus->Vergelijken, m_menus->Afdrukken, m_menus->PdfExport})
        a->setEnabled(m_facts.moduleInHand);
    m_column->offer(idle, idle && m_facts.moduleInHand, m_facts.editorsShown, m_facts.documentation);
}

void MainWindow::showPanel(QWidget *panel)
{
    m_work->setCurrentWidget(panel ? panel : m_noPanel);
}

// Shows a panel, building it the first time, and rebuilds it from the image.
template <class Frame, class... Args> void MainWindow::openPanel(Frame *&frame, Args &&...args)
{
    if (!frame) {
        frame = new Frame(std::forward<Args>(args)...);
        m_work->addWidget(frame);
    }
    showPanel(frame);
    frame->open();
}

void MainWindow::warn(const QString &text)
{
    MessageBox::information(this, Lang::warningTitle(m_state.Language), text);
}

void MainWindow::showModulePage(int type, ModulePage::Origin origin)
{
    m_column->captionEditorButtons(type, origin, m_state.Language);
    m_facts.editorsShown = true;
    showPanel(Frame11);
    Frame11->showPage(type, origin);
}

// The version label: "Versie: " / "Version: " and the version slot of the image.
void MainWindow::showVersion()
{
    if (const ModuleImage *image = m_state.currentImage())
        m_column->showVersion(image->value(ModuleTypes::info(m_state.ModuleType)->versionSlot),
                              m_state.Language);
}

// Master or slave as slot 40 of the image says (any other value selects neither).
void MainWindow::selectOptionFromImage()
{
    const int master = m_state.currentImage()->value(ModuleTypes::MasterSlot);
    if (master == 1)
        selectOption(m_column->Option1);
    else if (master == 0)
        selectOption(m_column->Option2);
    else
        m_column->clearOptions();
}

// Selects an option from the program; its click operation runs as for the installer's choice.
void MainWindow::selectOption(QRadioButton *option)
{
    if (option->isChecked()) {
        // Already selected: run its operation all the same, so the image and MasterFlag agree.
        if (option == m_column->Option1)
            Option1_Click();
        else
            Option2_Click();
        return;
    }
    option->setChecked(true);
}

// ---- handlers ---------------------------------------------------------------------------------

// The installer picks a module type in the list: only the page of that type is shown; the
// module type and the images stay as they are.
void MainWindow::Combo1_Click()
{
    ModulePageShown = 1;
    const int type = ModuleTypes::typeForComboEntry(m_column->Combo1->currentText());
    if (type >= 0) {
        showPanel(Frame11);
        Frame11->showPage(type, ModulePage::Origin::TypeList);
    } else
        showPanel(m_work->currentWidget() == Frame11 ? Frame11 : nullptr);
}

// A text outside the list never stays in the module type field.
void MainWindow::Combo1_Change(const QString &text)
{
    const int type = ModuleTypes::typeForComboEntry(text);
    if (type >= 0) {
        Frame11->setTypeLabel(type);
        return;
    }
    if (!text.isEmpty()) {
        const QSignalBlocker block(m_column->Combo1);
        m_column->Combo1->setEditText(QString());
    }
}

void MainWindow::p_Click(int port)
{
    m_menus->checkPort(port);
    m_state.ComPort = port;
    storePort(port, this, m_state.Language);
    // Closes the port if it is open; the next conversation opens the new one.
    m_conversation->setPortNumber(port);
}

void MainWindow::switchLanguage(int language)
{
    // The new language is the next instance's; this one keeps its own until it ends. Triggering
    // a checkable entry toggles its check mark, so the marks are put back on the language in use.
    const int lang = m_state.Language;
    m_menus->checkLanguage(lang);
    if (!mayLeave()) return;
    // Restarting after a failed write would only bring the old language back and lose the image.
    if (!storeLanguage(language, this, lang)) return;
    if (!Launcher::restartProgram()) {
        warn(Messages::restartFailed(lang));
        return;
    }
    Launcher::quitProgram();
}

void MainWindow::Web_Click()
{
    if (Lang::pick(m_state.Language, {}, {})) Launcher::openMakerWebSite();
}

void MainWindow::instellingen_Click()
{
    PreferencesDialog dialog(m_state, this);
    dialog.exec();
}

void MainWindow::Einde_Click()
{
    if (mayLeave()) Launcher::quitProgram();
}

void MainWindow::Controleren_Click(bool on)
{
    if (!storeCheckAfterSend(on, this, m_state.Language)) m_menus->Controleren->setChecked(!on);
}

bool MainWindow::mayLeave()
{
    if (!m_state.hasChanges()) return true;
    const Messages::Question q = Messages::leaveWithChanges(m_state.Language);
    switch (MessageBox::choose(this, Lang::warningTitle(m_state.Language), q.text, q.buttons, 0)) {
    case 0:
        if (m_facts.fileOpen)
            saveModuleFile(m_state.ModuleFilePath);
        else
            Bewaren_als_Click();
        // A save that failed or was cancelled keeps the program open.
        return !m_state.hasChanges();
    case 1:
        return true;
    default:
        return false;
    }
}

void MainWindow::Reservekopieen_Click()
{
    const QString path = m_fileTools->chooseBackup();
    if (!path.isEmpty()) openBackup(path);
}

bool MainWindow::openBackup(const QString &path)
{
    if (!openModuleFile(path, false)) return false;
    m_state.ModuleFilePath.clear();
    m_facts.fileOpen = false;
    setWindowTitle(QStringLiteral("QV Velano"));
    updateActionState();
    return true;
}

void MainWindow::openRecentFile(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        warn(Messages::recentFileGone(path, m_state.Language));
        m_recent->remove(path);
        return;
    }
    openModuleFile(path);
}

void MainWindow::Command7_Click()
{
    openPanel(Frame3, m_state, m_work);
}
void MainWindow::Command8_Click()
{
    openPanel(Frame6, m_state, m_work);
}
void MainWindow::Command10_Click()
{
    openPanel(Frame9, m_state, m_work);
}
void MainWindow::Command12_Click()
{
    const bool built = Frame10;
    openPanel(Frame10, m_state, *m_conversation, m_work);
    if (!built) Frame10->setBeforeStart([this] { offerAdapter(); });
}

void MainWindow::poortKiezen_Click()
{
    PortChooserDialog dialog(PortBinding(), m_state.ComPort, m_state.Language, this);
    connect(&dialog, &PortChooserDialog::portNumberChosen, this, &MainWindow::p_Click);
    dialog.exec();
}

// The status tip of each port entry names the device it opens now.
void MainWindow::describePorts()
{
    for (int n = 1; n <= 8; ++n)
        m_menus->p[size_t(n - 1)]->setStatusTip(
            PortBinding::describe(PortBinding::deviceFor(n), m_state.Language));
}

void MainWindow::offerAdapter()
{
    // A window given its own line (tests, tools) has no serial port to bind.
    if (m_ownLink)
        PortChooserDialog::offerSingleAdapter(this, PortBinding(), m_state.ComPort, m_state.Language);
}

// Output functions on the relay modules, dim start values on the dim and Velano modules.
void MainWindow::Command9_Click()
{
    if (ModuleTypes::hasDimChannels(m_state.ModuleType))
        openPanel(Frame12, m_state, m_work);
    else
        openPanel(Frame7, m_state, m_work);
}

void MainWindow::Option1_Click()
{
    if (ModuleImage *image = m_state.currentImage()) image->set(ModuleTypes::MasterSlot, 1);
    m_state.MasterFlag = 1;
    if (Frame9 && m_work->currentWidget() == Frame9) Frame9->masterSelected();
}

void MainWindow::Option2_Click()
{
    if (ModuleImage *image = m_state.currentImage()) image->set(ModuleTypes::MasterSlot, 0);
    m_state.MasterFlag = 0;
    if (Frame9 && m_work->currentWidget() == Frame9) Frame9->slaveSelected();
}

void MainWindow::nieuw_Click()
{
    {
        const QSignalBlocker block(m_column->Combo1);
        m_column->Combo1->setCurrentIndex(-1);
        m_column->Combo1->setEditText(QString());
    }
    Frame11->Label2->hide();
    m_column->hideVersion();
    // A documentation page stays as it is; every other panel closes.
    if (!m_facts.documentation) showPanel(nullptr);
    setWindowTitle(QStringLiteral("QV Velano"));
    m_conversation->clearReceived();
    m_column->clearOptions();
    m_facts = Facts{false, false, false, m_facts.documentation};
    updateActionState();
}

void MainWindow::openen_Click()
{
    OpenDialog dialog(
        m_state, [this](const QString &path) { return openModuleFile(path); }, this);
    dialog.exec();
}

void MainWindow::Bewaren_Click()
{
    if (!m_state.ModuleFilePath.isEmpty()) saveModuleFile(m_state.ModuleFilePath);
}

void MainWindow::Bewaren_als_Click()
{
    SaveDialog dialog(
        m_state,
        [this](const QString &path) {
            if (!saveModuleFile(path)) return false;
            m_state.ModuleFilePath = path;
            setWindowTitle(QStringLiteral("QV Velano  -  ") + path);
            return true;
        },
        this);
    dialog.exec();
}

bool MainWindow::openModuleFile(const QString &path)
{
    return openModuleFile(path, true);
}

bool MainWindow::openModuleFile(const QString &path, bool remember)
{
    const int lang = m_state.Language;
    ModuleFileError error;
    const auto data = readModuleFile(path, &error);
    if (!data) {
        warn(Messages::fileNotOpened(path, error, lang));
        return false;
    }
    m_state.ModuleFilePath = path;
    m_state.takeModule(data->type, data->values);
    m_facts.moduleInHand = true;
    m_facts.fileOpen = true;
    showVersion();
    selectOptionFromImage();
    {
        const QSignalBlocker block(m_column->Combo1);
        m_column->Combo1->setEditText(QString::fromLatin1(ModuleTypes::info(data->type)->comboEntry));
    }
    showModulePage(data->type, ModulePage::Origin::ModuleFile);
    updateActionState();
    m_status->setStatus(QStringLiteral("Edit mode"));
    setWindowTitle(QStringLiteral("QV Velano  -  ") + path);
    m_state.markUnchanged();
    if (remember) m_recent->add(path);
    return true;
}

bool MainWindow::saveModuleFile(const QString &path)
{
    const ModuleImage *image = m_state.currentImage();
    QString error;
    if (image && writeModuleFile(path, m_state.ModuleType, *image, &error)) {
        m_state.markUnchanged();
        m_recent->add(path);
        return true;
    }
    if (!image) error = QStringLiteral("no module");
    warn(Messages::fileNotSaved(path, error, m_state.Language));
    return false;
}

// ---- conversations ------------------------------------------------------------------------------

void MainWindow::onConversationStarting()
{
    m_beforeConversation = takeSnapshot();
}

void MainWindow::Command1_Click()
{
    offerAdapter();
    onConversationStarting();
    // Nothing of the module in hand is offered until the new one has been read.
    m_facts.moduleInHand = false;
    m_facts.editorsShown = false;
    m_facts.fileOpen = false;
    m_column->clearOptions();
    m_column->hideVersion();
    m_conversation->connectModule();
    updateActionState();
}

void MainWindow::Command2_Click()
{
    offerAdapter();
    onConversationStarting();
    m_conversation->sendConfiguration();
    updateActionState();
}

// The page of an identified module, with its editor buttons; the editors, which show the image
// being replaced, are closed.
void MainWindow::onPageRequested(int type)
{
    m_column->Combo1->setEditText(QString::fromLatin1(ModuleTypes::info(type)->comboEntry));
    showModulePage(type, ModulePage::Origin::Module);
    updateActionState();
}

void MainWindow::onReadFinished()
{
    m_beforeConversation.reset();
    m_state.markUnchanged();
    m_fileTools->backUpReadModule();
    m_facts.moduleInHand = true;
    selectOptionFromImage();
    showVersion();
    updateActionState();
}

void MainWindow::onSendFinished()
{
    m_state.markUnchanged();
    onNormalEnd();
    // The check reads the module again once the send has wound up; the window stays as the send
    // left it. A window that is closing starts nothing.
    if (m_menus->Controleren->isChecked() && !m_closeWhenDone)
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !m_closeWhenDone) m_conversation->checkConfiguration();
        });
}

void MainWindow::onCheckFinished(const ModuleImage &moduleHolds)
{
    m_beforeConversation.reset();
    updateActionState();
    const ModuleImage &inHand = *m_state.currentImage();
    const QString text = Messages::checkResult(
        ImageCompare::compare(m_state.ModuleType, inHand, m_state.ModuleType, moduleHolds, m_state.Language),
        inHand.size(), m_state.Language);
    m_status->setStatus(text.section(QLatin1Char('\n'), 0, 0));
    warn(text);
}

// A send, a line-status scan or a test's Stop came to its end.
void MainWindow::onNormalEnd()
{
    m_beforeConversation.reset();
    updateActionState();
}

void MainWindow::onWrongModule()
{
    m_beforeConversation.reset();
    const int lang = m_state.Language;
    warn(Messages::wrongModule(lang));
    updateActionState();
    m_status->setStatus(QStringLiteral("Edit mode"));
}

void MainWindow::onProblem(Conversation::Problem problem, const QString &port, const QString &detail)
{
    const int lang = m_state.Language;
    // A port that cannot be opened is named with the device its binding leads to.
    const bool opening =
        problem != Conversation::Problem::LineLost && problem != Conversation::Problem::UnsupportedModule;
    const QString text = Messages::problem(
        problem, lang, opening ? PortBinding::deviceFor(m_state.ComPort).shown() : port, detail);
    returnToSnapshot();
    m_status->setStatus(text);
    warn(text);
}

void MainWindow::onAbandoned()
{
    returnToSnapshot();
    if (m_conversation->isChecking())
        m_status->setStatus(Messages::checkAbandoned(m_state.Language));
    else
        m_status->setStatus(
            Lang::pick(m_state.Language, QStringLiteral("Afgebroken"), QStringLiteral("Interrompu")));
}

void MainWindow::onStatus(Conversation::Status status)
{
    m_status->setStatus(Messages::status(status, m_state.Language));
}

void MainWindow::onProgress(bool visible, int value, int maximum)
{
    m_status->setProgress(visible, value, maximum);
}

void MainWindow::onRunningChanged(bool running)
{
    m_status->setRunning(running);
    if (running && !m_beforeConversation)
        m_beforeConversation = takeSnapshot(); // a diagnostic test started from its own panel
    updateActionState();
    if (!running && m_closeWhenDone) QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::abortRequested()
{
    if (!m_conversation->isRunning()) return;
    if (m_conversation->isWriting()) {
        const Messages::Question q = Messages::stopTheSend(m_state.Language);
        if (MessageBox::choose(this, Lang::warningTitle(m_state.Language), q.text, q.buttons, 0) != 1) return;
    }
    m_conversation->abandon();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_conversation->isRunning()) {
        // After a conversation the window waited for, unsaved changes are still asked about.
        m_closeWhenDone = false;
        if (mayLeave())
            event->accept();
        else
            event->ignore();
        return;
    }
    if (m_closeWhenDone) { // asked already: the window closes when the conversation ends
        event->ignore();
        return;
    }
    if (m_conversation->isWriting()) {
        const Messages::Question q = Messages::closeDuringSend(m_state.Language);
        const int choice =
            MessageBox::choose(this, Lang::warningTitle(m_state.Language), q.text, q.buttons, 0);
        if (choice == 2) {
            event->ignore();
            return;
        }
        if (choice == 0 && m_conversation->isRunning()) {
            m_closeWhenDone = true;
            event->ignore();
            return;
        }
    }
    m_conversation->abandon();
    if (m_conversation->isRunning()) {
        // Frames the module is owed are still going out: the window closes after them.
        m_closeWhenDone = true;
        event->ignore();
        return;
    }
    // The conversation is over: unsaved changes are asked about as at any other time.
    if (mayLeave())
        event->accept();
    else
        event->ignore();
}

MainWindow::Snapshot MainWindow::takeSnapshot() const
{
    Snapshot s;
    s.facts = m_facts;
    s.moduleType = m_state.ModuleType;
    s.masterFlag = m_state.MasterFlag;
    s.column = m_column->view();
    s.page = Frame11->shown();
    s.typeLabelVisible = !Frame11->Label2->isHidden();
    s.typeLabelText = Frame11->Label2->text();
    s.panel = m_work->currentWidget();
    s.title = windowTitle();
    return s;
}

void MainWindow::restoreSnapshot(const Snapshot &s)
{
    m_facts = s.facts;
    m_state.ModuleType = s.moduleType;
    m_state.MasterFlag = s.masterFlag;
    m_column->restore(s.column);
    Frame11->restore(s.page);
    Frame11->Label2->setText(s.typeLabelText);
    Frame11->Label2->setVisible(s.typeLabelVisible);
    showPanel(s.panel == m_noPanel ? nullptr : s.panel);
    setWindowTitle(s.title);
}

void MainWindow::returnToSnapshot()
{
    m_status->setProgress(false, 0, 0);
    if (m_beforeConversation) {
        const Snapshot s = *m_beforeConversation;
        m_beforeConversation.reset();
        restoreSnapshot(s);
    }
    updateActionState();
}

// ---- documentation pages ------------------------------------------------------------------------

// Shows the documentation of the model on the module page in place of the window's panels.
void MainWindow::openDocumentation(DocumentationPages::Button button)
{
    m_facts.documentation = true;
    updateActionState();
    showPanel(m_documentation->show(button, m_column->Combo1->currentText()));
}

void MainWindow::Command15_Click()
{
    m_facts.documentation = false;
    updateActionState();
    showPanel(ModulePageShown == 1 ? Frame11 : nullptr);
}
