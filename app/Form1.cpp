#include "app/Form1.h"
#include "common/Named.h"

#include "app/BrowseDirectoryDialog.h"
#include "common/InstallFolder.h"
#include "common/Controls.h"
#include "common/WidgetTexts.h"
#include "app/Launcher.h"
#include "common/MessageBox.h"
#include "app/ModulePage.h"
#include "app/PreferencesDialog.h"
#include "app/SettingsFiles.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "docpages/DocumentationPages.h"
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
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// Text that came from a module or a file, fit to be shown: characters that are not printable
// become "?", and it is cut short.
QString outsideText(const QString &text, int maximum = 40)
{
    QString shown;
    for (const QChar c : text.left(maximum))
        shown += c.isPrint() ? c : QLatin1Char('?');
    if (text.size() > maximum)
        shown += QStringLiteral("...");
    return shown;
}
} // namespace

void reportSettingNotSaved(QWidget *parent, int language, const QString &fileName)
{
    const QString path = QDir::toNativeSeparators(SettingsFiles::writtenPath(fileName));
    MessageBox::information(parent, Lang::warningTitle(language),
                            Lang::message(language,
                                          QStringLiteral("De instelling kon niet bewaard worden in\n%1").arg(path),
                                          QStringLiteral("Le réglage n'a pas pu être sauvé dans\n%1").arg(path)));
}

Form1::Form1(QWidget *parent, SerialLink *link) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QV Velano"));
    m_link = link ? link : new QtSerialLink(this);
    m_conversation = new Conversation(m_state, *m_link, this);
    buildWindow();
    buildMenus();
    load();

    Conversation *c = m_conversation;
    connect(c, &Conversation::progressChanged, this, &Form1::showProgress);
    connect(c, &Conversation::statusChanged, this, &Form1::showStatus);
    connect(c, &Conversation::pageRequested, this, &Form1::showPage);
    connect(c, &Conversation::readFinished, this, &Form1::onReadFinished);
    connect(c, &Conversation::sendFinished, this, &Form1::onSendFinished);
    connect(c, &Conversation::wrongModule, this, &Form1::onWrongModule);
    connect(c, &Conversation::endFrameSent, this, &Form1::onEndFrameSent);
    connect(c, &Conversation::stopFramesSent, this, &Form1::onStopFramesSent);
    connect(c, &Conversation::problem, this, &Form1::onProblem);
    connect(c, &Conversation::abandoned, this, &Form1::onAbandoned);
    connect(c, &Conversation::runningChanged, AbortButton, &QWidget::setVisible);
    connect(c, &Conversation::runningChanged, this, [this](bool running) {
        if (!running && m_closeWhenDone)
            QTimer::singleShot(0, this, &QWidget::close);
    });
    Folivo1->remoteFailed = [this](Folivo::RemoteFailure why) { onDocumentNotFetched(int(why)); };
    connect(AbortButton, &QPushButton::clicked, this, &Form1::abortRequested);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &Form1::abortRequested);
}

Form1::~Form1() = default;

void Form1::buildWindow()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    Frame1 = named(new QGroupBox(QStringLiteral("Frame1"), central), "Frame1");
    Command1 = Controls::button("Command1", Frame1);
    Command2 = Controls::button("Command2", Frame1);
    Command2->setEnabled(false);
    auto *actions = new QHBoxLayout(Frame1);
    actions->addWidget(Command1);
    actions->addWidget(Command2);

    Frame2 = named(new QGroupBox(QStringLiteral("Frame2"), central), "Frame2");
    Command7 = Controls::button("Command7", Frame2);
    Command8 = Controls::button("Command8", Frame2);
    Command9 = Controls::button("Command9", Frame2);
    Command10 = Controls::button("Command10", Frame2);
    Command12 = Controls::button("Command12", Frame2);
    for (QPushButton *b : {Command7, Command8, Command9, Command10, Command12}) {
        b->hide();
        b->setEnabled(false);
    }
    Option1 = Controls::option("Option1", QStringLiteral("Master"), Frame2);
    Option2 = Controls::option("Option2", QStringLiteral("Slave"), Frame2);
    Option1->setEnabled(false);
    Option2->setEnabled(false);
    Label5 = named(new QLabel(Frame2), "Label5");
    Label5->hide();
    auto *data = new QGridLayout(Frame2);
    data->addWidget(Command7, 0, 0, 1, 2);
    data->addWidget(Command8, 1, 0, 1, 2);
    data->addWidget(Command9, 2, 0, 1, 2);
    data->addWidget(Command10, 3, 0, 1, 2);
    data->addWidget(Command12, 4, 0, 1, 2);
    data->addWidget(Option1, 5, 0);
    data->addWidget(Option2, 5, 1);
    data->addWidget(Label5, 6, 0, 1, 2);

    Label1 = named(new QLabel(QStringLiteral("Module:"), central), "Label1");
    Combo1 = named(new QComboBox(central), "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Label1->setBuddy(Combo1);

    Command15 = Controls::button("Command15", central);
    Command15->hide();

    Frame11 = new ModulePage(m_state, central);
    Frame3 = new PushButtonFrame(m_state, central);
    Frame6 = new SecondTimeFrame(m_state, central);
    Frame7 = new OutputFunctionsFrame(m_state, central);
    Frame9 = new SceneFrame(m_state, central);
    Frame10 = new DiagnosticsFrame(m_state, *m_conversation, central);
    Frame12 = new DimStartFrame(m_state, central);
    Folivo1 = named(new Folivo(central), "Folivo1");
    Folivo1->hide();

    auto *left = new QVBoxLayout;
    left->addWidget(Frame1);
    left->addWidget(Frame2);
    auto *moduleRow = new QHBoxLayout;
    moduleRow->addWidget(Label1);
    moduleRow->addWidget(Combo1, 1);
    left->addLayout(moduleRow);
    left->addStretch(1);
    left->addWidget(Command15);

    auto *work = new QVBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{Frame11, Frame3, Frame6, Frame7, Frame9, Frame10, Frame12, Folivo1})
        work->addWidget(w, 1);
    work->addStretch(0);

    auto *top = new QHBoxLayout(central);
    top->addLayout(left, 0);
    top->addLayout(work, 1);

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
    AbortButton = named(new QPushButton(StatusBar1), "AbortButton");
    AbortButton->setToolTip(QStringLiteral("Esc"));
    AbortButton->hide();
    StatusBar1->addWidget(AbortButton);
    StatusBar1->addPermanentWidget(named(new QLabel(QStringLiteral("Ver: 05.00"), StatusBar1), "VersionPanel1"));

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &Form1::Command10_Click);
    connect(Command12, &QPushButton::clicked, this, &Form1::Command12_Click);
    connect(Frame11->Command11, &QPushButton::clicked, this, &Form1::Command11_Click);
    connect(Frame11->Command13, &QPushButton::clicked, this, &Form1::Command13_Click);
    connect(Frame11->Command14, &QPushButton::clicked, this, &Form1::Command14_Click);
    connect(Frame11->Command33, &QPushButton::clicked, this, &Form1::Command33_Click);
    connect(Command15, &QPushButton::clicked, this, &Form1::Command15_Click);
    connect(Frame10, &DiagnosticsFrame::testStarting, this, &Form1::lockForDiagnostics);
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    connect(Combo1, &QComboBox::textActivated, this, [this] { Combo1_Click(); });
    connect(Combo1, &QComboBox::editTextChanged, this, &Form1::Combo1_Change);

    resize(900, 620);
}

void Form1::buildMenus()
{
    QMenuBar *bar = menuBar();
    bestand = named(bar->addMenu(QStringLiteral("Bestand")), "bestand");
    nieuw = Controls::menuEntry(bestand, "nieuw", QStringLiteral("&Nieuwe module"), QKeySequence(QStringLiteral("Ctrl+N")));
    lijn3 = Controls::menuSeparator(bestand, "lijn3");
    openen = Controls::menuEntry(bestand, "openen", QStringLiteral("Module &Openen ..."), QKeySequence(QStringLiteral("Ctrl+O")));
    lijn1 = Controls::menuSeparator(bestand, "lijn1");
    Bewaren = Controls::menuEntry(bestand, "Bewaren", QStringLiteral("Module Op&slaan"), QKeySequence(QStringLiteral("Ctrl+S")));
    Bewaren_als = Controls::menuEntry(bestand, "Bewaren_als", QStringLiteral("Module Opslaan als ..."));
    lijn2 = Controls::menuSeparator(bestand, "lijn2");
    Einde = Controls::menuEntry(bestand, "Einde", QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+X")));

    taal = named(bar->addMenu(QStringLiteral("Taal/langue")), "taal");
    frans = Controls::menuEntry(taal, "frans", QStringLiteral("&Francais"));
    ned = Controls::menuEntry(taal, "ned", QStringLiteral("&Nederlands"));
    frans->setCheckable(true);
    ned->setCheckable(true);

    settings = named(bar->addMenu(QStringLiteral("Settings")), "settings");
    poort = named(settings->addMenu(QStringLiteral("Com-port")), "poort");
    for (int n = 1; n <= 8; ++n) {
        const QByteArray name = "p" + QByteArray::number(n);
        QAction *a = Controls::menuEntry(poort, name.constData(), QString::number(n));
        a->setCheckable(true);
        p[static_cast<size_t>(n - 1)] = a;
        connect(a, &QAction::triggered, this, [this, n] { p_Click(n); });
    }
    lijn4 = Controls::menuSeparator(settings, "lijn4");
    instellingen = Controls::menuEntry(settings, "instellingen", QStringLiteral("Preferences ..."));

    Info = named(bar->addMenu(QStringLiteral("Info")), "Info");
    Web = Controls::menuEntry(Info, "Web", QString::fromLatin1(Launcher::MakerWebAddress));

    connect(nieuw, &QAction::triggered, this, [this] { nieuw_Click(); });
    connect(openen, &QAction::triggered, this, [this] { openen_Click(); });
    connect(Bewaren, &QAction::triggered, this, [this] { Bewaren_Click(); });
    connect(Bewaren_als, &QAction::triggered, this, [this] { Bewaren_als_Click(); });
    connect(frans, &QAction::triggered, this, [this] { frans_Click(); });
    connect(ned, &QAction::triggered, this, [this] { ned_Click(); });
    connect(Web, &QAction::triggered, this, [this] { Web_Click(); });
    connect(instellingen, &QAction::triggered, this, [this] { instellingen_Click(); });
    connect(Einde, &QAction::triggered, this, [this] { Einde_Click(); });
}

// Start-up: the settings files, the captions of the language, the module type list and the
// port number. Each setting comes from the user's own file, else the administrator's default,
// else the shipped file, else the built-in value.
void Form1::load()
{
    m_state.Language = SettingsFiles::readNumber(QString::fromLatin1(SettingsFiles::Country))
                           .value_or(SettingsFiles::DefaultLanguage);
    setStartCaptions();
    ModulePageShown = 0;
    m_state.ReadComplete = 0;
    Bewaren->setEnabled(false);
    Bewaren_als->setEnabled(false);

    Combo1->blockSignals(true);
    Combo1->clear();
    Combo1->addItems(ModuleTypes::comboEntries());
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
    Combo1->blockSignals(false);

    m_state.ComPort = SettingsFiles::readNumber(QString::fromLatin1(SettingsFiles::Port))
                          .value_or(SettingsFiles::DefaultComPort);
    m_state.PcDelay = SettingsFiles::readNumber(QString::fromLatin1(SettingsFiles::Pc))
                          .value_or(SettingsFiles::DefaultPcDelay);
    m_state.DefaultDirectory = SettingsFiles::readFolder(QString::fromLatin1(SettingsFiles::Directory))
                                   .value_or(SettingsFiles::defaultDirectory());
    if (m_state.Language == 2)
        setFrenchMenuCaptions();
    m_conversation->setPortNumber(m_state.ComPort);
    checkPort(m_state.ComPort);
    ned->setChecked(m_state.Language == 1);
    frans->setChecked(m_state.Language == 2);
}

void Form1::setStartCaptions()
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
    AbortButton->setText(Lang::pick(lang, QStringLiteral("Afbreken"), QStringLiteral("Interrompre"))
                             .value_or(QStringLiteral("Afbreken / Interrompre")));
}

void Form1::setFrenchMenuCaptions()
{
    bestand->setTitle(QStringLiteral("Fichier"));
    nieuw->setText(QStringLiteral("Nouveau module"));
    openen->setText(QStringLiteral("Ouvrir module ..."));
    Bewaren->setText(QStringLiteral("Sauver module"));
    Bewaren_als->setText(QStringLiteral("Sauver module dans ..."));
    Einde->setText(QStringLiteral("Exit"));
}

void Form1::checkPort(int port)
{
    for (int n = 1; n <= 8; ++n)
        p[static_cast<size_t>(n - 1)]->setChecked(n == port);
}

void Form1::setMenusEnabled(bool enabled)
{
    for (QMenu *m : {bestand, taal, settings, Info})
        m->menuAction()->setEnabled(enabled);
}

void Form1::hideWorkFrames(QWidget *keep)
{
    for (QWidget *w : std::initializer_list<QWidget *>{Frame3, Frame6, Frame7, Frame9, Frame10, Frame11, Frame12})
        if (w != keep)
            w->hide();
}

// The installer picks a module type in the list: only the page of that type is shown; the
// module type and the images stay as they are.
void Form1::Combo1_Click()
{
    ModulePageShown = 1;
    for (QWidget *w : std::initializer_list<QWidget *>{Frame3, Frame6, Frame7, Frame9, Frame10, Frame12})
        w->hide();
    const int type = ModuleTypes::typeForComboEntry(Combo1->currentText());
    if (type >= 0)
        Frame11->showPage(type, ModulePage::Origin::TypeList);
}

// A text outside the list never stays in the module type field.
void Form1::Combo1_Change(const QString &text)
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

void Form1::p_Click(int port)
{
    checkPort(port);
    m_state.ComPort = port;
    if (!SettingsFiles::write(QString::fromLatin1(SettingsFiles::Port), SettingsFiles::portContent(port)))
        reportSettingNotSaved(this, m_state.Language, QString::fromLatin1(SettingsFiles::Port));
    // Closes the port if it is open; the next conversation opens the new one.
    m_conversation->setPortNumber(port);
}

void Form1::switchLanguage(int language)
{
    // The new language is the next instance's; this one keeps its own until it ends. Triggering
    // a checkable entry toggles its check mark, so the marks are put back on the language in use.
    const int lang = m_state.Language;
    ned->setChecked(lang == 1);
    frans->setChecked(lang == 2);
    if (!SettingsFiles::write(QString::fromLatin1(SettingsFiles::Country), SettingsFiles::languageContent(language))) {
        // Restarting would only bring the old language back and lose the image in hand.
        reportSettingNotSaved(this, lang, QString::fromLatin1(SettingsFiles::Country));
        return;
    }
    if (!Launcher::restartProgram()) {
        MessageBox::information(
            this, Lang::warningTitle(lang),
            Lang::message(lang,
                          QStringLiteral("Het programma kon niet opnieuw gestart worden. De nieuwe taal geldt "
                                         "vanaf de volgende start."),
                          QStringLiteral("Le programme n'a pas pu être redémarré. La nouvelle langue sera "
                                         "active au prochain démarrage.")));
        return;
    }
    Launcher::quitProgram();
}

void Form1::Web_Click()
{
    if (Lang::pick(m_state.Language, {}, {}))
        Launcher::openMakerWebSite();
}

void Form1::instellingen_Click()
{
    PreferencesDialog dialog(m_state, this);
    dialog.exec();
}

void Form1::Einde_Click()
{
    Launcher::quitProgram();
}

void Form1::Command7_Click()
{
    hideWorkFrames(Frame3);
    Frame3->open();
}

void Form1::Command8_Click()
{
    hideWorkFrames(Frame6);
    Frame6->open();
}

// Output functions on the relay modules, dim start values on the dim and Velano modules.
void Form1::Command9_Click()
{
    const bool dimStart = m_state.ModuleType == 1 || m_state.ModuleType == 2;
    QWidget *frame = dimStart ? static_cast<QWidget *>(Frame12) : static_cast<QWidget *>(Frame7);
    hideWorkFrames(frame);
    if (dimStart)
        Frame12->open();
    else
        Frame7->open();
}

void Form1::Command10_Click()
{
    hideWorkFrames(Frame9);
    Frame9->open();
}

void Form1::Command12_Click()
{
    hideWorkFrames(Frame10);
    Frame10->open();
}

void Form1::Option1_Click()
{
    if (ModuleImage *image = m_state.currentImage())
        image->set(ModuleTypes::MasterSlot, 1);
    m_state.MasterFlag = 1;
    if (!Frame9->isHidden())
        Frame9->masterSelected();
}

void Form1::Option2_Click()
{
    if (ModuleImage *image = m_state.currentImage())
        image->set(ModuleTypes::MasterSlot, 0);
    m_state.MasterFlag = 0;
    if (!Frame9->isHidden())
        Frame9->slaveSelected();
}

void Form1::selectOption(QRadioButton *option)
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

void Form1::clearOptions()
{
    Controls::clearOptions({Option1, Option2});
}

// ---- conversations --------------------------------------------------------------------------

void Form1::Command1_Click()
{
    beforeConversation();
    setMenusEnabled(false);
    Bewaren->setEnabled(false);
    Bewaren_als->setEnabled(false);
    Combo1->setEnabled(false);
    for (QPushButton *b : {Command7, Command8, Command9, Command10, Command12}) {
        b->hide();
        b->setEnabled(false);
    }
    clearOptions();
    Controls::setEnabled({Option1, Option2, Command1, Command2}, false);
    Label5->hide();
    m_conversation->connectModule();
}

void Form1::Command2_Click()
{
    beforeConversation();
    setMenusEnabled(false);
    Controls::setEnabled({Combo1, Command7, Command8, Command9, Command10, Command12, Option1, Option2, Command1, Command2},
                  false);
    m_conversation->sendConfiguration();
}

// The page of an identified module, with its editor buttons.
void Form1::showPage(int type)
{
    const int lang = m_state.Language;
    Command7->show();
    Command8->show();
    Command10->show();
    if (type == 1 || type == 2)
        Lang::setText(Command9, lang, QStringLiteral("Beginwaarde dim-kanalen"), QStringLiteral("Valeur début des sorties"));
    else
        Lang::setText(Command9, lang, QStringLiteral("Functie van de uitgangen"), QStringLiteral("Fonctions des sorties"));
    Command9->show();
    Lang::setText(Command12, lang, QStringLiteral("Diagnose"), QStringLiteral("Diagnostics"));
    Command12->show();
    // The editors show the image being replaced: close them all.
    for (QWidget *w : std::initializer_list<QWidget *>{Frame3, Frame6, Frame7, Frame9, Frame10, Frame12})
        w->hide();
    Combo1->setEditText(QString::fromLatin1(ModuleTypes::info(type)->comboEntry));
    Frame11->showPage(type, ModulePage::Origin::Module);
}

void Form1::showVersion()
{
    const ModuleImage *image = m_state.currentImage();
    if (!image)
        return;
    const int version = image->value(ModuleTypes::info(m_state.ModuleType)->versionSlot);
    const QString v = QString::number(version);
    Lang::setText(Label5, m_state.Language, QStringLiteral("Versie: ") + v, QStringLiteral("Version: ") + v);
    Label5->show();
}

void Form1::onReadFinished()
{
    m_beforeConversation.reset();
    const int master = m_state.currentImage()->value(ModuleTypes::MasterSlot);
    if (master == 1)
        selectOption(Option1);
    else if (master == 0)
        selectOption(Option2);
    Controls::setEnabled({Option1, Option2}, true);
    showVersion();
    Controls::setEnabled({Command1, Command7, Command8, Command9, Command10, Command12}, true);
    setMenusEnabled(true);
    Combo1->setEnabled(true);
    Bewaren->setEnabled(false);
    Bewaren_als->setEnabled(true);
    Command2->setEnabled(true);
}

void Form1::onSendFinished()
{
    m_beforeConversation.reset();
    setMenusEnabled(true);
    Controls::setEnabled({Command1, Command2, Combo1, Command7, Command8, Command9, Command10, Command12, Option1, Option2},
                  true);
}

void Form1::onWrongModule()
{
    m_beforeConversation.reset();
    const int lang = m_state.Language;
    MessageBox::information(this, Lang::warningTitle(lang),
                            Lang::message(lang, QStringLiteral("Verkeerde type module !"),
                                          QStringLiteral("Module pas du bon type !")));
    setMenusEnabled(true);
    Controls::setEnabled({Command1, Command2, Combo1, Option1, Option2, Command7, Command8, Command9, Command10, Command12},
                  true);
    Frame10->wrongModuleEnd();
    Text1->setText(QStringLiteral("Edit mode"));
}

void Form1::onEndFrameSent()
{
    m_beforeConversation.reset();
    setMenusEnabled(true);
    Controls::setEnabled({Command1, Command2, Combo1, Option1, Option2, Command7, Command8, Command9, Command10, Command12},
                  true);
    Frame10->lineStatusEnd();
}

void Form1::onStopFramesSent()
{
    m_beforeConversation.reset();
    setMenusEnabled(true);
    Controls::setEnabled({Command1, Command2, Combo1, Option1, Option2, Command7, Command8, Command9, Command10, Command12},
                  true);
}

void Form1::lockForDiagnostics()
{
    beforeConversation();
    setMenusEnabled(false);
    Controls::setEnabled({Command1, Command2, Combo1, Option1, Option2, Command7, Command8, Command9, Command10, Command12},
                  false);
}

void Form1::onProblem(Conversation::Problem problem, const QString &port, const QString &detail)
{
    const int lang = m_state.Language;
    const QString name = QDir::toNativeSeparators(port);
    QString text;
    switch (problem) {
    case Conversation::Problem::PortNotFound:
        text = Lang::message(lang,
                             QStringLiteral("Poort %1 bestaat niet. Kies een andere poort in het menu Settings.").arg(name),
                             QStringLiteral("Le port %1 n'existe pas. Choisissez un autre port dans le menu Settings.").arg(name));
        break;
    case Conversation::Problem::PortInUse:
        text = Lang::message(lang, QStringLiteral("Poort %1 is in gebruik door een ander programma.").arg(name),
                             QStringLiteral("Le port %1 est utilisé par un autre programme.").arg(name));
        break;
    case Conversation::Problem::NoPermission:
        text = Lang::message(lang,
                             QStringLiteral("Geen toegang tot poort %1. (Linux: de gebruiker moet lid zijn van de groep dialout.)").arg(name),
                             QStringLiteral("Pas d'accès au port %1. (Linux: l'utilisateur doit faire partie du groupe dialout.)").arg(name));
        break;
    case Conversation::Problem::PortFailed:
        text = Lang::message(lang, QStringLiteral("Poort %1 kan niet geopend worden (%2).").arg(name, outsideText(detail, 80)),
                             QStringLiteral("Le port %1 ne peut pas être ouvert (%2).").arg(name, outsideText(detail, 80)));
        break;
    case Conversation::Problem::LineLost:
        text = Lang::message(lang,
                             QStringLiteral("De verbinding met de module op poort %1 is verbroken. De gegevens in het programma zijn onveranderd.").arg(name),
                             QStringLiteral("La connexion avec le module sur le port %1 est interrompue. Les données du programme sont inchangées.").arg(name));
        break;
    case Conversation::Problem::UnsupportedModule:
        text = Lang::message(lang,
                             QStringLiteral("Dit type module wordt niet ondersteund (melding \"%1\").").arg(outsideText(detail)),
                             QStringLiteral("Ce type de module n'est pas supporté (annonce \"%1\").").arg(outsideText(detail)));
        break;
    }
    returnToIdle();
    Text1->setText(text);
    MessageBox::information(this, Lang::warningTitle(lang), text);
}

void Form1::onAbandoned()
{
    returnToIdle();
    Lang::setText(Text1, m_state.Language, QStringLiteral("Afgebroken"), QStringLiteral("Interrompu"));
}

void Form1::abortRequested()
{
    if (!m_conversation->isRunning())
        return;
    if (m_conversation->isWriting()) {
        const int lang = m_state.Language;
        const QString continueSend = Lang::message(lang, QStringLiteral("Verder versturen"), QStringLiteral("Continuer l'envoi"));
        const QString stopNow = Lang::message(lang, QStringLiteral("Nu stoppen"), QStringLiteral("Arrêter maintenant"));
        const int choice = MessageBox::choose(
            this, Lang::warningTitle(lang),
            Lang::message(lang,
                          QStringLiteral("De gegevens worden nu in de module geschreven. Wie nu stopt, laat de module "
                                         "half beschreven achter. Toch stoppen?"),
                          QStringLiteral("Les données sont en train d'être écrites dans le module. Arrêter maintenant "
                                         "laisse le module à moitié écrit. Arrêter quand même ?")),
            {continueSend, stopNow}, 0);
        if (choice != 1)
            return;
    }
    m_conversation->abandon();
}

void Form1::closeEvent(QCloseEvent *event)
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
        const int lang = m_state.Language;
        const int choice = MessageBox::choose(
            this, Lang::warningTitle(lang),
            Lang::message(lang,
                          QStringLiteral("De gegevens worden nu in de module geschreven. Wie nu sluit, laat de module "
                                         "half beschreven achter."),
                          QStringLiteral("Les données sont en train d'être écrites dans le module. Fermer maintenant "
                                         "laisse le module à moitié écrit.")),
            {Lang::message(lang, QStringLiteral("Sluiten na het versturen"), QStringLiteral("Fermer après l'envoi")),
             Lang::message(lang, QStringLiteral("Nu sluiten"), QStringLiteral("Fermer maintenant")),
             Lang::message(lang, QStringLiteral("Blijven"), QStringLiteral("Rester"))},
            0);
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

void Form1::beforeConversation()
{
    m_beforeConversation = takeSnapshot();
}

std::array<QPushButton *, 6> Form1::snapshotButtons() const
{
    return {Command2, Command7, Command8, Command9, Command10, Command12};
}

Form1::Snapshot Form1::takeSnapshot() const
{
    Snapshot s;
    s.moduleType = m_state.ModuleType;
    s.masterFlag = m_state.MasterFlag;
    s.combo1Text = Combo1->currentText();
    s.page = Frame11->shown();
    s.pageVisible = !Frame11->isHidden();
    s.typeLabelVisible = !Frame11->Label2->isHidden();
    s.typeLabelText = Frame11->Label2->text();
    for (QWidget *w : std::initializer_list<QWidget *>{Frame3, Frame6, Frame7, Frame9, Frame10, Frame12})
        if (!w->isHidden())
            s.workFrame = w;
    s.option1Checked = Option1->isChecked();
    s.option2Checked = Option2->isChecked();
    s.optionsEnabled = Option1->isEnabled();
    s.versionVisible = !Label5->isHidden();
    s.versionText = Label5->text();
    const auto buttons = snapshotButtons();
    for (size_t i = 0; i < buttons.size(); ++i)
        s.buttons[i] = {!buttons[i]->isHidden(), buttons[i]->isEnabled(), buttons[i]->text()};
    s.bewaren = Bewaren->isEnabled();
    s.bewarenAls = Bewaren_als->isEnabled();
    s.title = windowTitle();
    return s;
}

// Puts the window back as the snapshot has it. The images are not touched: a read goes into a
// copy that only a completed read takes over.
void Form1::restoreSnapshot(const Snapshot &s)
{
    m_state.ModuleType = s.moduleType;
    m_state.MasterFlag = s.masterFlag;
    {
        const QSignalBlocker block(Combo1);
        if (s.combo1Text.isEmpty())
            Combo1->setCurrentIndex(-1);
        Combo1->setEditText(s.combo1Text);
    }
    Frame11->restore(s.page);
    Frame11->setVisible(s.pageVisible);
    Frame11->Label2->setText(s.typeLabelText);
    Frame11->Label2->setVisible(s.typeLabelVisible);
    hideWorkFrames(Frame11);
    if (s.workFrame)
        s.workFrame->show();
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
    Controls::setEnabled({Option1, Option2}, s.optionsEnabled);
    Label5->setText(s.versionText);
    Label5->setVisible(s.versionVisible);
    const auto buttons = snapshotButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->setText(s.buttons[i].text);
        buttons[i]->setVisible(s.buttons[i].visible);
        buttons[i]->setEnabled(s.buttons[i].enabled);
    }
    Bewaren->setEnabled(s.bewaren);
    Bewaren_als->setEnabled(s.bewarenAls);
    setWindowTitle(s.title);
}

void Form1::returnToIdle()
{
    ProgressBar1->hide();
    setMenusEnabled(true);
    Controls::setEnabled({Command1, Combo1}, true);
    if (m_beforeConversation) {
        const Snapshot s = *m_beforeConversation;
        m_beforeConversation.reset();
        restoreSnapshot(s);
    }
    Frame10->conversationAbandoned();
}

void Form1::showStatus(Conversation::Status status)
{
    const int lang = m_state.Language;
    switch (status) {
    case Conversation::Status::None:
        break;
    case Conversation::Status::Searching:
        Lang::setText(Text1, lang, QStringLiteral("Module zoeken..."), QStringLiteral("Recherche module..."));
        break;
    case Conversation::Status::Loading:
        Lang::setText(Text1, lang, QStringLiteral("Inladen van de gegevens..."), QStringLiteral("Chargement des données..."));
        break;
    case Conversation::Status::Sending:
        Lang::setText(Text1, lang, QStringLiteral("Versturen van de gegevens..."), QStringLiteral("Envoyer les données..."));
        break;
    case Conversation::Status::EditMode:
        Text1->setText(QStringLiteral("Edit mode"));
        break;
    case Conversation::Status::Ready:
        Text1->setText(QStringLiteral("Ready"));
        break;
    case Conversation::Status::ReadingLineStatus:
        Lang::setText(Text1, lang, QStringLiteral("Inlezen lijnstatus..."), QStringLiteral("Status de la ligne..."));
        break;
    case Conversation::Status::ReadingButtons:
        Lang::setText(Text1, lang, QStringLiteral("Inlezen drukknoppen..."), QStringLiteral("Boutons poussoirs..."));
        break;
    case Conversation::Status::TestingOutputs:
        Lang::setText(Text1, lang, QStringLiteral("Test uitgangen..."), QStringLiteral("Test des sorties..."));
        break;
    }
}

void Form1::showProgress(bool visible, int value, int maximum)
{
    ProgressBar1->setMaximum(maximum);
    ProgressBar1->setValue(qMin(value, maximum));
    ProgressBar1->setVisible(visible);
}

// ---- module files ---------------------------------------------------------------------------

namespace {
QString fileFault(int lang, const ModuleFileError &e)
{
    const QString n = QString::number(e.line);
    switch (e.kind) {
    case ModuleFileError::Missing:
        return Lang::message(lang, QStringLiteral("Het bestand bestaat niet."), QStringLiteral("Le fichier n'existe pas."));
    case ModuleFileError::Unreadable:
        return Lang::message(lang, QStringLiteral("Het bestand kan niet gelezen worden."),
                             QStringLiteral("Le fichier ne peut pas être lu."));
    case ModuleFileError::TooLarge:
        return Lang::message(lang, QStringLiteral("Het bestand is te groot voor een modulebestand."),
                             QStringLiteral("Le fichier est trop grand pour un fichier module."));
    case ModuleFileError::BadType:
        return Lang::message(lang, QStringLiteral("Regel 1 bevat geen geldig moduletype (0 tot 3)."),
                             QStringLiteral("La ligne 1 ne contient pas de type de module valable (0 à 3)."));
    case ModuleFileError::TooShort:
        return Lang::message(lang, QStringLiteral("Het bestand is te kort: regel %1 ontbreekt.").arg(n),
                             QStringLiteral("Le fichier est trop court: la ligne %1 manque.").arg(n));
    case ModuleFileError::BadValue:
        return Lang::message(lang, QStringLiteral("Regel %1 bevat geen geldige waarde (0 tot 999).").arg(n),
                             QStringLiteral("La ligne %1 ne contient pas de valeur valable (0 à 999).").arg(n));
    case ModuleFileError::OtherTypesLength:
        // A type line changed by hand: the values belong to another module type.
        return Lang::message(
            lang,
            QStringLiteral("Regel 1 geeft moduletype %1, maar het bestand telt %2 regels: de lengte van een ander "
                           "moduletype. Het type en de waarden horen niet bij elkaar.")
                .arg(e.type)
                .arg(e.fileLines),
            QStringLiteral("La ligne 1 indique le type de module %1, mais le fichier compte %2 lignes: la longueur "
                           "d'un autre type de module. Le type et les valeurs ne vont pas ensemble.")
                .arg(e.type)
                .arg(e.fileLines));
    case ModuleFileError::NotAFile:
        return Lang::message(lang, QStringLiteral("Dit is geen gewoon bestand (een map, apparaat of pijp)."),
                             QStringLiteral("Ce n'est pas un fichier ordinaire (un dossier, un périphérique ou un tube)."));
    case ModuleFileError::None:
        break;
    }
    return QString();
}
} // namespace

bool Form1::openModuleFile(const QString &path)
{
    const int lang = m_state.Language;
    ModuleFileError error;
    const auto data = readModuleFile(path, &error);
    if (!data) {
        MessageBox::information(
            this, Lang::warningTitle(lang),
            Lang::message(lang, QStringLiteral("Het modulebestand\n%1\nkan niet geopend worden. Er werd niets gewijzigd.").arg(path),
                          QStringLiteral("Le fichier module\n%1\nne peut pas être ouvert. Rien n'a été modifié.").arg(path))
                + QStringLiteral("\n\n") + fileFault(lang, error));
        return false;
    }

    Command2->setEnabled(true);
    m_state.ModuleFilePath = path;
    m_state.ModuleType = data->type;
    ModuleImage &image = *m_state.currentImage();
    for (int slot = 0; slot < image.size(); ++slot)
        image.set(slot, data->values[static_cast<size_t>(slot)]);

    const bool dimStart = data->type == 1 || data->type == 2;
    Lang::setText(Command7, lang, QStringLiteral("Drukknoppen"), QStringLiteral("Boutons poussoirs"));
    Lang::setText(Command8, lang, QStringLiteral("Tijd 2de functie"), QStringLiteral("Temps 2ème fonction"));
    if (dimStart)
        Lang::setText(Command9, lang, QStringLiteral("Beginwaarde dim-kanalen"), QStringLiteral("Valeur début des sorties"));
    else
        Lang::setText(Command9, lang, QStringLiteral("Functie van de uitgangen"), QStringLiteral("Fonction des sorties"));
    Lang::setText(Command10, lang, QStringLiteral("Sferen"), QStringLiteral("Contextes"));
    Lang::setText(Command12, lang, QStringLiteral("Diagnose"), QStringLiteral("Diagnostics"));
    for (QPushButton *b : {Command7, Command8, Command9, Command10, Command12}) {
        b->show();
        b->setEnabled(true);
    }
    showVersion();
    const int master = image.value(ModuleTypes::MasterSlot);
    if (master == 1)
        selectOption(Option1);
    else if (master == 0)
        selectOption(Option2);
    else
        clearOptions();
    Controls::setEnabled({Option1, Option2}, true);
    {
        const QSignalBlocker block(Combo1);
        Combo1->setEditText(QString::fromLatin1(ModuleTypes::info(data->type)->comboEntry));
    }
    Frame11->showPage(data->type, ModulePage::Origin::ModuleFile);

    for (QWidget *w : std::initializer_list<QWidget *>{Frame3, Frame6, Frame7, Frame9, Frame10, Frame12})
        w->hide();
    Text1->setText(QStringLiteral("Edit mode"));
    Bewaren->setEnabled(true);
    Bewaren_als->setEnabled(true);
    setWindowTitle(QStringLiteral("QV Velano  -  ") + path);
    return true;
}

bool Form1::saveModuleFile(const QString &path)
{
    const int lang = m_state.Language;
    const ModuleImage *image = m_state.currentImage();
    QString error;
    if (image && writeModuleFile(path, m_state.ModuleType, *image, &error))
        return true;
    if (!image)
        error = QStringLiteral("no module");
    MessageBox::information(
        this, Lang::warningTitle(lang),
        Lang::message(lang,
                      QStringLiteral("Het modulebestand\n%1\nkon niet bewaard worden (%2).\nEen bestaand bestand blijft zoals het was.").arg(path, error),
                      QStringLiteral("Le fichier module\n%1\nn'a pas pu être sauvé (%2).\nUn fichier existant reste inchangé.").arg(path, error)));
    return false;
}

void Form1::nieuw_Click()
{
    {
        const QSignalBlocker block(Combo1);
        Combo1->setCurrentIndex(-1);
        Combo1->setEditText(QString());
    }
    for (QWidget *w : std::initializer_list<QWidget *>{Frame11->Label2, Label5, Frame3, Frame6, Frame7, Frame9, Frame10,
                                                        Frame11, Frame12, Command7, Command8, Command9, Command10, Command12})
        w->hide();
    setWindowTitle(QStringLiteral("QV Velano"));
    m_state.RxText.clear();
    clearOptions();
    Controls::setEnabled({Option1, Option2}, false);
    Bewaren->setEnabled(false);
    Bewaren_als->setEnabled(false);
    Command1->setEnabled(true);
    Command2->setEnabled(false);
}

void Form1::openen_Click()
{
    OpenDialog dialog(m_state, [this](const QString &path) { return openModuleFile(path); }, this);
    dialog.exec();
}

void Form1::Bewaren_Click()
{
    if (!m_state.ModuleFilePath.isEmpty())
        saveModuleFile(m_state.ModuleFilePath);
}

void Form1::Bewaren_als_Click()
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

// ---- documentation pages --------------------------------------------------------------------

void Form1::Command11_Click() { openDocumentation(int(DocumentationPages::Button::Command11)); }
void Form1::Command13_Click() { openDocumentation(int(DocumentationPages::Button::Command13)); }
void Form1::Command14_Click() { openDocumentation(int(DocumentationPages::Button::Command14)); }
void Form1::Command33_Click() { openDocumentation(int(DocumentationPages::Button::Command33)); }

// Shows the documentation of the model on the module page in place of the window's frames.
void Form1::openDocumentation(int button)
{
    Combo1->setEnabled(false);
    Lang::setText(Command15, m_state.Language, QStringLiteral("Sluiten"), QStringLiteral("Fermer"));
    Command15->show();
    const QString document = DocumentationPages::documentFor(DocumentationPages::Button(button),
                                                             Combo1->currentText(), m_state.Language);
    if (!document.isEmpty()) {
        Folivo1->show();
        Folivo1->setPath(document);
        Folivo1->OpenPDF();
    }
    for (QWidget *w : std::initializer_list<QWidget *>{Frame3, Frame11, Frame12, Frame6, Frame7, Frame9, Frame10,
                                                        Frame1, Frame2})
        w->hide();
}

// A document fetched over http that the viewer gave up on.
void Form1::onDocumentNotFetched(int why)
{
    const int lang = m_state.Language;
    QString text;
    switch (Folivo::RemoteFailure(why)) {
    case Folivo::RemoteFailure::TooLarge:
        text = Lang::message(lang, QStringLiteral("Het document is te groot (meer dan 64 MB) en werd niet geopend."),
                             QStringLiteral("Le document est trop grand (plus de 64 Mo) et n'a pas été ouvert."));
        break;
    case Folivo::RemoteFailure::TimedOut:
        text = Lang::message(lang, QStringLiteral("Het document kwam niet op tijd binnen en werd niet geopend."),
                             QStringLiteral("Le document n'est pas arrivé à temps et n'a pas été ouvert."));
        break;
    case Folivo::RemoteFailure::Failed:
        text = Lang::message(lang, QStringLiteral("Het document kon niet opgehaald worden."),
                             QStringLiteral("Le document n'a pas pu être téléchargé."));
        break;
    case Folivo::RemoteFailure::None:
        return;
    }
    MessageBox::information(this, Lang::warningTitle(lang), text);
}

void Form1::Command15_Click()
{
    Combo1->setEnabled(true);
    Command15->hide();
    Folivo1->hide();
    if (ModulePageShown == 1)
        Frame11->show();
    Frame1->show();
    Frame2->show();
}
