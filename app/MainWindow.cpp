#include "app/MainWindow.h"

#include "app/Launcher.h"
#include "app/Messages.h"
#include "app/PreferencesDialog.h"
#include "app/Settings.h"
#include "common/Controls.h"
#include "common/MessageBox.h"
#include "common/Named.h"
#include "common/WidgetTexts.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "editors/DimStartFrame.h"
#include "editors/OutputFunctionsFrame.h"
#include "editors/PushButtonFrame.h"
#include "editors/SecondTimeFrame.h"
#include "files/ModuleFile.h"
#include "files/ModuleFileDialogs.h"
#include "protocol/QtSerialLink.h"
#include "scenes/SceneFrame.h"
#include "viewer/Folivo.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

MainWindow::MainWindow(QWidget *parent, SerialLink *link) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QV Velano"));
    m_link = link ? link : new QtSerialLink(this);
    m_conversation = new Conversation(m_state, *m_link, this);
    buildWindow();
    buildMenus();
    load();

    Conversation *c = m_conversation;
    connect(c, &Conversation::progressChanged, this, &MainWindow::onProgress);
    connect(c, &Conversation::statusChanged, this, &MainWindow::onStatus);
    connect(c, &Conversation::pageRequested, this, &MainWindow::onPageRequested);
    connect(c, &Conversation::readFinished, this, &MainWindow::onReadFinished);
    connect(c, &Conversation::sendFinished, this, &MainWindow::onNormalEnd);
    connect(c, &Conversation::wrongModule, this, &MainWindow::onWrongModule);
    connect(c, &Conversation::endFrameSent, this, &MainWindow::onNormalEnd);
    connect(c, &Conversation::stopFramesSent, this, &MainWindow::onNormalEnd);
    connect(c, &Conversation::problem, this, &MainWindow::onProblem);
    connect(c, &Conversation::abandoned, this, &MainWindow::onAbandoned);
    connect(c, &Conversation::runningChanged, this, &MainWindow::onRunningChanged);
    connect(AbortButton, &QPushButton::clicked, this, &MainWindow::abortRequested);
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

    Frame1 = named(new QGroupBox(QStringLiteral("Frame1"), central), "Frame1");
    Command1 = Controls::button("Command1", Frame1);
    Command2 = Controls::button("Command2", Frame1);
    auto *actions = new QHBoxLayout(Frame1);
    actions->addWidget(Command1);
    actions->addWidget(Command2);

    Frame2 = named(new QGroupBox(QStringLiteral("Frame2"), central), "Frame2");
    Command7 = Controls::button("Command7", Frame2);
    Command8 = Controls::button("Command8", Frame2);
    Command9 = Controls::button("Command9", Frame2);
    Command10 = Controls::button("Command10", Frame2);
    Command12 = Controls::button("Command12", Frame2);
    Option1 = Controls::option("Option1", QStringLiteral("Master"), Frame2);
    Option2 = Controls::option("Option2", QStringLiteral("Slave"), Frame2);
    Label5 = named(new QLabel(Frame2), "Label5");
    Label5->hide();
    auto *data = new QGridLayout(Frame2);
    int row = 0;
    for (QPushButton *b : editorButtons())
        data->addWidget(b, row++, 0, 1, 2);
    data->addWidget(Option1, row, 0);
    data->addWidget(Option2, row++, 1);
    data->addWidget(Label5, row, 0, 1, 2);

    Label1 = named(new QLabel(QStringLiteral("Module:"), central), "Label1");
    Combo1 = named(new QComboBox(central), "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Label1->setBuddy(Combo1);
    Command15 = Controls::button("Command15", central);
    Command15->hide();

    // The work area shows one panel at a time; the panels are built when first shown.
    m_work = named(new QStackedWidget(central), "WorkArea");
    m_noPanel = named(new QWidget(m_work), "NoPanel");
    m_work->addWidget(m_noPanel);
    // The module page is small and shown by most things the installer does: built at once.
    Frame11 = new ModulePage(m_state, m_work);
    m_work->addWidget(Frame11);
    connect(Frame11, &ModulePage::documentationRequested, this, &MainWindow::openDocumentation);

    auto *left = new QVBoxLayout;
    left->addWidget(Frame1);
    left->addWidget(Frame2);
    auto *moduleRow = new QHBoxLayout;
    moduleRow->addWidget(Label1);
    moduleRow->addWidget(Combo1, 1);
    left->addLayout(moduleRow);
    left->addStretch(1);
    left->addWidget(Command15);
    auto *top = new QHBoxLayout(central);
    top->addLayout(left, 0);
    top->addWidget(m_work, 1);

    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    setStatusBar(StatusBar1);
    auto *statusPanel = named(new QLabel(QStringLiteral("Status:"), StatusBar1), "StatusPanel1");
    Text1 = named(new QLineEdit(StatusBar1), "Text1");
    Text1->setReadOnly(true);
    Text1->setFrame(false);
    statusPanel->setBuddy(Text1);
    ProgressBar1 = named(new QProgressBar(StatusBar1), "ProgressBar1");
    ProgressBar1->hide();
    StatusBar1->addWidget(statusPanel);
    StatusBar1->addWidget(Text1, 1);
    StatusBar1->addWidget(ProgressBar1, 1);
    AbortButton = Controls::button("AbortButton", QString(), StatusBar1);
    AbortButton->setToolTip(QStringLiteral("Esc"));
    AbortButton->hide();
    StatusBar1->addWidget(AbortButton);
    StatusBar1->addPermanentWidget(named(new QLabel(QStringLiteral("Ver: 05.00"), StatusBar1), "VersionPanel1"));

    connect(Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(Command7, &QPushButton::clicked, this, &MainWindow::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &MainWindow::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &MainWindow::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &MainWindow::Command10_Click);
    connect(Command12, &QPushButton::clicked, this, &MainWindow::Command12_Click);
    connect(Command15, &QPushButton::clicked, this, &MainWindow::Command15_Click);
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    connect(Combo1, &QComboBox::textActivated, this, [this] { Combo1_Click(); });
    connect(Combo1, &QComboBox::editTextChanged, this, &MainWindow::Combo1_Change);

    resize(900, 620);
}

void MainWindow::buildMenus()
{
    using Controls::menuEntry;
    using Controls::menuSeparator;
    QMenuBar *bar = menuBar();
    bestand = named(bar->addMenu(QStringLiteral("Bestand")), "bestand");
    nieuw = menuEntry(bestand, "nieuw", QStringLiteral("&Nieuwe module"), QKeySequence(QStringLiteral("Ctrl+N")));
    menuSeparator(bestand, "lijn3");
    openen = menuEntry(bestand, "openen", QStringLiteral("Module &Openen ..."), QKeySequence(QStringLiteral("Ctrl+O")));
    menuSeparator(bestand, "lijn1");
    Bewaren = menuEntry(bestand, "Bewaren", QStringLiteral("Module Op&slaan"), QKeySequence(QStringLiteral("Ctrl+S")));
    Bewaren_als = menuEntry(bestand, "Bewaren_als", QStringLiteral("Module Opslaan als ..."));
    menuSeparator(bestand, "lijn2");
    Einde = menuEntry(bestand, "Einde", QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+X")));

    taal = named(bar->addMenu(QStringLiteral("Taal/langue")), "taal");
    frans = menuEntry(taal, "frans", QStringLiteral("&Francais"));
    ned = menuEntry(taal, "ned", QStringLiteral("&Nederlands"));
    frans->setCheckable(true);
    ned->setCheckable(true);

    settings = named(bar->addMenu(QStringLiteral("Settings")), "settings");
    poort = named(settings->addMenu(QStringLiteral("Com-port")), "poort");
    for (int n = 1; n <= 8; ++n) {
        const QByteArray name = "p" + QByteArray::number(n);
        QAction *a = menuEntry(poort, name.constData(), QString::number(n));
        a->setCheckable(true);
        p[static_cast<size_t>(n - 1)] = a;
        connect(a, &QAction::triggered, this, [this, n] { p_Click(n); });
    }
    menuSeparator(settings, "lijn4");
    instellingen = menuEntry(settings, "instellingen", QStringLiteral("Preferences ..."));

    Info = named(bar->addMenu(QStringLiteral("Info")), "Info");
    Web = menuEntry(Info, "Web", QString::fromLatin1(Launcher::MakerWebAddress));

    connect(nieuw, &QAction::triggered, this, &MainWindow::nieuw_Click);
    connect(openen, &QAction::triggered, this, &MainWindow::openen_Click);
    connect(Bewaren, &QAction::triggered, this, &MainWindow::Bewaren_Click);
    connect(Bewaren_als, &QAction::triggered, this, &MainWindow::Bewaren_als_Click);
    connect(frans, &QAction::triggered, this, [this] { switchLanguage(2); });
    connect(ned, &QAction::triggered, this, [this] { switchLanguage(1); });
    connect(Web, &QAction::triggered, this, &MainWindow::Web_Click);
    connect(instellingen, &QAction::triggered, this, &MainWindow::instellingen_Click);
    connect(Einde, &QAction::triggered, this, &MainWindow::Einde_Click);
}

// Start-up: the settings, the captions of the language, the module type list and the port.
void MainWindow::load()
{
    const Settings s = loadSettings();
    m_state.Language = s.language;
    setStartCaptions();
    ModulePageShown = 0;
    {
        const QSignalBlocker block(Combo1);
        Combo1->clear();
        Combo1->addItems(ModuleTypes::comboEntries());
        Combo1->setCurrentIndex(-1);
        Combo1->setEditText(QString());
    }
    m_state.ComPort = s.comPort;
    m_state.PcDelay = s.pcDelay;
    m_state.DefaultDirectory = s.defaultDirectory;
    if (m_state.Language == 2)
        setFrenchMenuCaptions();
    m_conversation->setPortNumber(m_state.ComPort);
    checkPort(m_state.ComPort);
    ned->setChecked(m_state.Language == 1);
    frans->setChecked(m_state.Language == 2);
}

void MainWindow::setStartCaptions()
{
    const int lang = m_state.Language;
    Lang::setText(Frame1, lang, QStringLiteral("Actie:"), QStringLiteral("Action:"));
    Lang::setText(Frame2, lang, QStringLiteral("Module gegevens:"), QStringLiteral("Données module:"));
    Lang::setText(Command1, lang, QStringLiteral("Verbinden"), QStringLiteral("Connecter"));
    Lang::setText(Command2, lang, QStringLiteral("Versturen"), QStringLiteral("Envoyer"));
    Lang::setText(Option1, lang, QStringLiteral("Master"), QStringLiteral("Master"));
    Lang::setText(Option2, lang, QStringLiteral("Slave"), QStringLiteral("Slave"));
    Lang::setText(Command7, lang, QStringLiteral("Drukknoppen"), QStringLiteral("Boutons poussoirs"));
    Lang::setText(Command8, lang, QStringLiteral("Tijd 2de functie"), QStringLiteral("Temps 2ème fonction"));
    Lang::setText(Command10, lang, QStringLiteral("Sferen"), QStringLiteral("Contextes"));
    AbortButton->setText(Lang::text(lang, QStringLiteral("Afbreken"), QStringLiteral("Interrompre"),
                                    QStringLiteral("Afbreken / Interrompre")));
}

void MainWindow::setFrenchMenuCaptions()
{
    bestand->setTitle(QStringLiteral("Fichier"));
    nieuw->setText(QStringLiteral("Nouveau module"));
    openen->setText(QStringLiteral("Ouvrir module ..."));
    Bewaren->setText(QStringLiteral("Sauver module"));
    Bewaren_als->setText(QStringLiteral("Sauver module dans ..."));
    Einde->setText(QStringLiteral("Exit"));
}

void MainWindow::checkPort(int port)
{
    for (int n = 1; n <= 8; ++n)
        p[static_cast<size_t>(n - 1)]->setChecked(n == port);
}

// ---- the window's state -----------------------------------------------------------------------

std::array<QPushButton *, 5> MainWindow::editorButtons() const
{
    return {Command7, Command8, Command9, Command10, Command12};
}

void MainWindow::updateActionState()
{
    const bool idle = !m_conversation->isRunning();
    const bool editable = idle && m_facts.moduleInHand;
    for (QMenu *m : {bestand, taal, settings, Info})
        m->menuAction()->setEnabled(idle);
    Frame1->setVisible(!m_facts.documentation);
    Frame2->setVisible(!m_facts.documentation);
    Command1->setEnabled(idle);
    Command2->setEnabled(editable);
    Combo1->setEnabled(idle && !m_facts.documentation);
    for (QPushButton *b : editorButtons()) {
        b->setVisible(m_facts.editorsShown);
        b->setEnabled(editable);
    }
    Controls::setEnabled({Option1, Option2}, editable);
    Bewaren->setEnabled(m_facts.fileOpen);
    Bewaren_als->setEnabled(m_facts.moduleInHand);
    Command15->setVisible(m_facts.documentation);
}

void MainWindow::showPanel(QWidget *panel)
{
    m_work->setCurrentWidget(panel ? panel : m_noPanel);
}

template<class Frame, class... Args> Frame *MainWindow::panel(Frame *&frame, Args &&...args)
{
    if (!frame) {
        frame = new Frame(std::forward<Args>(args)...);
        m_work->addWidget(frame);
    }
    return frame;
}

PushButtonFrame *MainWindow::pushButtonFrame() { return panel(Frame3, m_state, m_work); }
SecondTimeFrame *MainWindow::secondTimeFrame() { return panel(Frame6, m_state, m_work); }
OutputFunctionsFrame *MainWindow::outputFunctionsFrame() { return panel(Frame7, m_state, m_work); }
SceneFrame *MainWindow::sceneFrame() { return panel(Frame9, m_state, m_work); }
DiagnosticsFrame *MainWindow::diagnosticsFrame() { return panel(Frame10, m_state, *m_conversation, m_work); }
DimStartFrame *MainWindow::dimStartFrame() { return panel(Frame12, m_state, m_work); }

Folivo *MainWindow::viewer()
{
    if (!Folivo1) {
        Folivo1 = named(new Folivo(m_work), "Folivo1");
        m_work->addWidget(Folivo1);
        Folivo1->remoteFailed = [this](Folivo::RemoteFailure why) { onDocumentNotFetched(int(why)); };
    }
    return Folivo1;
}

void MainWindow::showEditorButtons(int type, ModulePage::Origin origin)
{
    const int lang = m_state.Language;
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    Lang::setText(Command7, lang, QStringLiteral("Drukknoppen"), QStringLiteral("Boutons poussoirs"));
    Lang::setText(Command8, lang, QStringLiteral("Tijd 2de functie"), QStringLiteral("Temps 2ème fonction"));
    if (info) {
        const auto &caption = origin == ModulePage::Origin::ModuleFile ? info->outputEditorOfFile : info->outputEditor;
        if (const auto text = caption.in(lang))
            Command9->setText(*text);
    }
    Lang::setText(Command10, lang, QStringLiteral("Sferen"), QStringLiteral("Contextes"));
    Lang::setText(Command12, lang, QStringLiteral("Diagnose"), QStringLiteral("Diagnostics"));
    m_facts.editorsShown = true;
}

void MainWindow::showModulePage(int type, ModulePage::Origin origin)
{
    showPanel(Frame11);
    Frame11->showPage(type, origin);
}

// The version label: "Versie: " / "Version: " and the version slot of the image.
void MainWindow::showVersion()
{
    const ModuleImage *image = m_state.currentImage();
    if (!image)
        return;
    const QString v = QString::number(image->value(ModuleTypes::info(m_state.ModuleType)->versionSlot));
    Lang::setText(Label5, m_state.Language, QStringLiteral("Versie: ") + v, QStringLiteral("Version: ") + v);
    Label5->show();
}

// Master or slave as slot 40 of the image says (any other value selects neither).
void MainWindow::selectOptionFromImage()
{
    const int master = m_state.currentImage()->value(ModuleTypes::MasterSlot);
    if (master == 1)
        selectOption(Option1);
    else if (master == 0)
        selectOption(Option2);
    else
        clearOptions();
}

// Selects an option from the program; its click operation runs as for the installer's choice.
void MainWindow::selectOption(QRadioButton *option)
{
    if (option->isChecked()) {
        // Already selected: run its operation all the same, so the image and MasterFlag agree.
        if (option == Option1)
            Option1_Click();
        else
            Option2_Click();
        return;
    }
    option->setChecked(true);
}

void MainWindow::clearOptions()
{
    Controls::clearOptions({Option1, Option2});
}

// ---- handlers ---------------------------------------------------------------------------------

// The installer picks a module type in the list: only the page of that type is shown; the
// module type and the images stay as they are.
void MainWindow::Combo1_Click()
{
    ModulePageShown = 1;
    const int type = ModuleTypes::typeForComboEntry(Combo1->currentText());
    if (type >= 0)
        showModulePage(type, ModulePage::Origin::TypeList);
    else
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
        const QSignalBlocker block(Combo1);
        Combo1->setEditText(QString());
    }
}

void MainWindow::p_Click(int port)
{
    checkPort(port);
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
    ned->setChecked(lang == 1);
    frans->setChecked(lang == 2);
    // Restarting after a failed write would only bring the old language back and lose the image.
    if (!storeLanguage(language, this, lang))
        return;
    if (!Launcher::restartProgram()) {
        MessageBox::information(this, Lang::warningTitle(lang), Messages::restartFailed(lang));
        return;
    }
    Launcher::quitProgram();
}

void MainWindow::Web_Click()
{
    if (Lang::pick(m_state.Language, {}, {}))
        Launcher::openMakerWebSite();
}

void MainWindow::instellingen_Click()
{
    PreferencesDialog dialog(m_state, this);
    dialog.exec();
}

void MainWindow::Einde_Click()
{
    Launcher::quitProgram();
}

void MainWindow::Command7_Click()
{
    showPanel(pushButtonFrame());
    Frame3->open();
}

void MainWindow::Command8_Click()
{
    showPanel(secondTimeFrame());
    Frame6->open();
}

// Output functions on the relay modules, dim start values on the dim and Velano modules.
void MainWindow::Command9_Click()
{
    if (ModuleTypes::hasDimChannels(m_state.ModuleType)) {
        showPanel(dimStartFrame());
        Frame12->open();
    } else {
        showPanel(outputFunctionsFrame());
        Frame7->open();
    }
}

void MainWindow::Command10_Click()
{
    showPanel(sceneFrame());
    Frame9->open();
}

void MainWindow::Command12_Click()
{
    showPanel(diagnosticsFrame());
    Frame10->open();
}

void MainWindow::Option1_Click()
{
    if (ModuleImage *image = m_state.currentImage())
        image->set(ModuleTypes::MasterSlot, 1);
    m_state.MasterFlag = 1;
    if (Frame9 && m_work->currentWidget() == Frame9)
        Frame9->masterSelected();
}

void MainWindow::Option2_Click()
{
    if (ModuleImage *image = m_state.currentImage())
        image->set(ModuleTypes::MasterSlot, 0);
    m_state.MasterFlag = 0;
    if (Frame9 && m_work->currentWidget() == Frame9)
        Frame9->slaveSelected();
}

void MainWindow::nieuw_Click()
{
    {
        const QSignalBlocker block(Combo1);
        Combo1->setCurrentIndex(-1);
        Combo1->setEditText(QString());
    }
    Frame11->Label2->hide();
    Label5->hide();
    // A documentation page stays as it is; every other panel closes.
    if (!m_facts.documentation)
        showPanel(nullptr);
    setWindowTitle(QStringLiteral("QV Velano"));
    m_conversation->clearReceived();
    clearOptions();
    m_facts = Facts{false, false, false, m_facts.documentation};
    updateActionState();
}

void MainWindow::openen_Click()
{
    OpenDialog dialog(m_state, [this](const QString &path) { return openModuleFile(path); }, this);
    dialog.exec();
}

void MainWindow::Bewaren_Click()
{
    if (!m_state.ModuleFilePath.isEmpty())
        saveModuleFile(m_state.ModuleFilePath);
}

void MainWindow::Bewaren_als_Click()
{
    SaveDialog dialog(
        m_state,
        [this](const QString &path) {
            if (!saveModuleFile(path))
                return false;
            m_state.ModuleFilePath = path;
            setWindowTitle(QStringLiteral("QV Velano  -  ") + path);
            return true;
        },
        this);
    dialog.exec();
}

bool MainWindow::openModuleFile(const QString &path)
{
    const int lang = m_state.Language;
    ModuleFileError error;
    const auto data = readModuleFile(path, &error);
    if (!data) {
        MessageBox::information(this, Lang::warningTitle(lang), Messages::fileNotOpened(path, error, lang));
        return false;
    }
    m_state.ModuleFilePath = path;
    m_state.takeModule(data->type, data->values);
    showEditorButtons(data->type, ModulePage::Origin::ModuleFile);
    m_facts.moduleInHand = true;
    m_facts.fileOpen = true;
    updateActionState();
    showVersion();
    selectOptionFromImage();
    {
        const QSignalBlocker block(Combo1);
        Combo1->setEditText(QString::fromLatin1(ModuleTypes::info(data->type)->comboEntry));
    }
    showModulePage(data->type, ModulePage::Origin::ModuleFile);
    Text1->setText(QStringLiteral("Edit mode"));
    setWindowTitle(QStringLiteral("QV Velano  -  ") + path);
    return true;
}

bool MainWindow::saveModuleFile(const QString &path)
{
    const ModuleImage *image = m_state.currentImage();
    QString error;
    if (image && writeModuleFile(path, m_state.ModuleType, *image, &error))
        return true;
    if (!image)
        error = QStringLiteral("no module");
    MessageBox::information(this, Lang::warningTitle(m_state.Language), Messages::fileNotSaved(path, error, m_state.Language));
    return false;
}

// ---- conversations ------------------------------------------------------------------------------

void MainWindow::onConversationStarting()
{
    m_beforeConversation = takeSnapshot();
}

void MainWindow::Command1_Click()
{
    onConversationStarting();
    // Nothing of the module in hand is offered until the new one has been read.
    m_facts.moduleInHand = false;
    m_facts.editorsShown = false;
    m_facts.fileOpen = false;
    clearOptions();
    Label5->hide();
    m_conversation->connectModule();
    updateActionState();
}

void MainWindow::Command2_Click()
{
    onConversationStarting();
    m_conversation->sendConfiguration();
    updateActionState();
}

// The page of an identified module, with its editor buttons; the editors, which show the image
// being replaced, are closed.
void MainWindow::onPageRequested(int type)
{
    showEditorButtons(type, ModulePage::Origin::Module);
    updateActionState();
    Combo1->setEditText(QString::fromLatin1(ModuleTypes::info(type)->comboEntry));
    showModulePage(type, ModulePage::Origin::Module);
}

void MainWindow::onReadFinished()
{
    m_beforeConversation.reset();
    m_facts.moduleInHand = true;
    selectOptionFromImage();
    showVersion();
    updateActionState();
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
    MessageBox::information(this, Lang::warningTitle(lang), Messages::wrongModule(lang));
    updateActionState();
    Text1->setText(QStringLiteral("Edit mode"));
}

void MainWindow::onProblem(Conversation::Problem problem, const QString &port, const QString &detail)
{
    const int lang = m_state.Language;
    const QString text = Messages::problem(problem, lang, port, detail);
    returnToSnapshot();
    Text1->setText(text);
    MessageBox::information(this, Lang::warningTitle(lang), text);
}

void MainWindow::onAbandoned()
{
    returnToSnapshot();
    Lang::setText(Text1, m_state.Language, QStringLiteral("Afgebroken"), QStringLiteral("Interrompu"));
}

void MainWindow::onStatus(Conversation::Status status)
{
    if (const auto text = Messages::status(status, m_state.Language))
        Text1->setText(*text);
}

void MainWindow::onProgress(bool visible, int value, int maximum)
{
    ProgressBar1->setMaximum(maximum);
    ProgressBar1->setValue(qMin(value, maximum));
    ProgressBar1->setVisible(visible);
}

void MainWindow::onRunningChanged(bool running)
{
    AbortButton->setVisible(running);
    if (running && !m_beforeConversation)
        m_beforeConversation = takeSnapshot(); // a diagnostic test started from its own panel
    updateActionState();
    if (!running && m_closeWhenDone)
        QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::abortRequested()
{
    if (!m_conversation->isRunning())
        return;
    if (m_conversation->isWriting()) {
        const Messages::Question q = Messages::stopTheSend(m_state.Language);
        if (MessageBox::choose(this, Lang::warningTitle(m_state.Language), q.text, q.buttons, 0) != 1)
            return;
    }
    m_conversation->abandon();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_conversation->isRunning()) {
        event->accept();
        return;
    }
    if (m_closeWhenDone) { // asked already: the window closes when the conversation ends
        event->ignore();
        return;
    }
    if (m_conversation->isWriting()) {
        const Messages::Question q = Messages::closeDuringSend(m_state.Language);
        const int choice = MessageBox::choose(this, Lang::warningTitle(m_state.Language), q.text, q.buttons, 0);
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
    event->accept();
}

MainWindow::Snapshot MainWindow::takeSnapshot() const
{
    Snapshot s;
    s.facts = m_facts;
    s.moduleType = m_state.ModuleType;
    s.masterFlag = m_state.MasterFlag;
    s.combo1Text = Combo1->currentText();
    s.page = Frame11->shown();
    s.typeLabelVisible = !Frame11->Label2->isHidden();
    s.typeLabelText = Frame11->Label2->text();
    s.panel = m_work->currentWidget();
    s.option1Checked = Option1->isChecked();
    s.option2Checked = Option2->isChecked();
    s.versionVisible = !Label5->isHidden();
    s.versionText = Label5->text();
    const auto buttons = editorButtons();
    for (size_t i = 0; i < buttons.size(); ++i)
        s.editorCaptions[i] = buttons[i]->text();
    s.title = windowTitle();
    return s;
}

void MainWindow::restoreSnapshot(const Snapshot &s)
{
    m_facts = s.facts;
    m_state.ModuleType = s.moduleType;
    m_state.MasterFlag = s.masterFlag;
    {
        const QSignalBlocker block(Combo1);
        if (s.combo1Text.isEmpty())
            Combo1->setCurrentIndex(-1);
        Combo1->setEditText(s.combo1Text);
    }
    Frame11->restore(s.page);
    Frame11->Label2->setText(s.typeLabelText);
    Frame11->Label2->setVisible(s.typeLabelVisible);
    showPanel(s.panel == m_noPanel ? nullptr : s.panel);
    {
        // The selection as it was, without the click operation: slot 40 stays as it is.
        const QSignalBlocker block1(Option1);
        const QSignalBlocker block2(Option2);
        clearOptions();
        if (s.option1Checked)
            Option1->setChecked(true);
        else if (s.option2Checked)
            Option2->setChecked(true);
    }
    Label5->setText(s.versionText);
    Label5->setVisible(s.versionVisible);
    const auto buttons = editorButtons();
    for (size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setText(s.editorCaptions[i]);
    setWindowTitle(s.title);
}

void MainWindow::returnToSnapshot()
{
    ProgressBar1->hide();
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
    Lang::setText(Command15, m_state.Language, QStringLiteral("Sluiten"), QStringLiteral("Fermer"));
    m_facts.documentation = true;
    updateActionState();
    const QString document = DocumentationPages::documentFor(button, Combo1->currentText(), m_state.Language);
    if (document.isEmpty()) {
        showPanel(nullptr);
        return;
    }
    showPanel(viewer());
    Folivo1->setPath(document);
    Folivo1->OpenPDF();
}

void MainWindow::Command15_Click()
{
    m_facts.documentation = false;
    updateActionState();
    showPanel(ModulePageShown == 1 ? Frame11 : nullptr);
}

// A document fetched over http that the viewer gave up on.
void MainWindow::onDocumentNotFetched(int why)
{
    std::optional<Messages::DocumentFault> fault;
    switch (Folivo::RemoteFailure(why)) {
    case Folivo::RemoteFailure::TooLarge:
        fault = Messages::DocumentFault::TooLarge;
        break;
    case Folivo::RemoteFailure::TimedOut:
        fault = Messages::DocumentFault::TimedOut;
        break;
    case Folivo::RemoteFailure::Failed:
        fault = Messages::DocumentFault::Failed;
        break;
    case Folivo::RemoteFailure::None:
        break;
    }
    if (fault)
        MessageBox::information(this, Lang::warningTitle(m_state.Language), Messages::documentNotFetched(*fault, m_state.Language));
}
