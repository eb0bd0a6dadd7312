#include "app/Form1.h"

#include "app/BrowseDirectoryDialog.h"
#include "app/InstallFolder.h"
#include "app/Lang.h"
#include "app/Launcher.h"
#include "app/MessageBox.h"
#include "app/ModulePage.h"
#include "app/PreferencesDialog.h"
#include "app/SettingsFiles.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "editors/DimStartFrame.h"
#include "editors/OutputFunctionsFrame.h"
#include "editors/PushButtonFrame.h"
#include "editors/SecondTimeFrame.h"
#include "scenes/SceneFrame.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {
template <typename W> W *named(W *w, const char *name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QPushButton *button(const char *name, QWidget *parent)
{
    return named(new QPushButton(QString::fromLatin1(name), parent), name);
}

QAction *entry(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {})
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

QAction *separator(QMenu *menu, const char *name)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}
} // namespace

void reportSettingNotSaved(QWidget *parent, int language, const QString &fileName)
{
    const QString path = QDir::toNativeSeparators(InstallFolder::file(fileName));
    MessageBox::information(parent, Lang::warningTitle(language),
                            Lang::message(language,
                                          QStringLiteral("De instelling kon niet bewaard worden in\n%1").arg(path),
                                          QStringLiteral("Le réglage n'a pas pu être sauvé dans\n%1").arg(path)));
}

void setEnabledAll(std::initializer_list<QWidget *> widgets, bool enabled)
{
    for (QWidget *w : widgets)
        w->setEnabled(enabled);
}

Form1::Form1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QV Velano"));
    buildWindow();
    buildMenus();
    load();
}

Form1::~Form1() = default;

void Form1::buildWindow()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    Frame1 = named(new QGroupBox(QStringLiteral("Frame1"), central), "Frame1");
    Command1 = button("Command1", Frame1);
    Command2 = button("Command2", Frame1);
    Command2->setEnabled(false);
    auto *actions = new QHBoxLayout(Frame1);
    actions->addWidget(Command1);
    actions->addWidget(Command2);

    Frame2 = named(new QGroupBox(QStringLiteral("Frame2"), central), "Frame2");
    Command7 = button("Command7", Frame2);
    Command8 = button("Command8", Frame2);
    Command9 = button("Command9", Frame2);
    Command10 = button("Command10", Frame2);
    Command12 = button("Command12", Frame2);
    for (QPushButton *b : {Command7, Command8, Command9, Command10, Command12}) {
        b->hide();
        b->setEnabled(false);
    }
    Option1 = named(new QRadioButton(QStringLiteral("Master"), Frame2), "Option1");
    Option2 = named(new QRadioButton(QStringLiteral("Slave"), Frame2), "Option2");
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

    Command15 = button("Command15", central);
    Command15->hide();

    Frame11 = new ModulePage(m_state, central);
    Frame3 = new PushButtonFrame(m_state, central);
    Frame6 = new SecondTimeFrame(m_state, central);
    Frame7 = new OutputFunctionsFrame(m_state, central);
    Frame9 = new SceneFrame(m_state, central);
    Frame10 = new DiagnosticsFrame(m_state, central);
    Frame12 = new DimStartFrame(m_state, central);

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
    for (QWidget *w : std::initializer_list<QWidget *>{Frame11, Frame3, Frame6, Frame7, Frame9, Frame10, Frame12})
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
    StatusBar1->addPermanentWidget(named(new QLabel(QStringLiteral("Ver: 05.00"), StatusBar1), "VersionPanel1"));

    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &Form1::Command10_Click);
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
    nieuw = entry(bestand, "nieuw", QStringLiteral("&Nieuwe module"), QKeySequence(QStringLiteral("Ctrl+N")));
    lijn3 = separator(bestand, "lijn3");
    openen = entry(bestand, "openen", QStringLiteral("Module &Openen ..."), QKeySequence(QStringLiteral("Ctrl+O")));
    lijn1 = separator(bestand, "lijn1");
    Bewaren = entry(bestand, "Bewaren", QStringLiteral("Module Op&slaan"), QKeySequence(QStringLiteral("Ctrl+S")));
    Bewaren_als = entry(bestand, "Bewaren_als", QStringLiteral("Module Opslaan als ..."));
    lijn2 = separator(bestand, "lijn2");
    Einde = entry(bestand, "Einde", QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+X")));

    taal = named(bar->addMenu(QStringLiteral("Taal/langue")), "taal");
    frans = entry(taal, "frans", QStringLiteral("&Francais"));
    ned = entry(taal, "ned", QStringLiteral("&Nederlands"));
    frans->setCheckable(true);
    ned->setCheckable(true);

    settings = named(bar->addMenu(QStringLiteral("Settings")), "settings");
    poort = named(settings->addMenu(QStringLiteral("Com-port")), "poort");
    for (int n = 1; n <= 8; ++n) {
        const QByteArray name = "p" + QByteArray::number(n);
        QAction *a = entry(poort, name.constData(), QString::number(n));
        a->setCheckable(true);
        p[static_cast<size_t>(n - 1)] = a;
        connect(a, &QAction::triggered, this, [this, n] { p_Click(n); });
    }
    lijn4 = separator(settings, "lijn4");
    instellingen = entry(settings, "instellingen", QStringLiteral("Preferences ..."));

    Info = named(bar->addMenu(QStringLiteral("Info")), "Info");
    Web = entry(Info, "Web", QString::fromLatin1(Launcher::MakerWebAddress));

    connect(frans, &QAction::triggered, this, [this] { frans_Click(); });
    connect(ned, &QAction::triggered, this, [this] { ned_Click(); });
    connect(Web, &QAction::triggered, this, [this] { Web_Click(); });
    connect(instellingen, &QAction::triggered, this, [this] { instellingen_Click(); });
    connect(Einde, &QAction::triggered, this, [this] { Einde_Click(); });
}

// Start-up: the settings files, the captions of the language, the module type list and the
// port number. A missing or unreadable settings file gives its shipped value.
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
}

void Form1::switchLanguage(int language)
{
    m_state.Language = language;
    if (!SettingsFiles::write(QString::fromLatin1(SettingsFiles::Country), SettingsFiles::languageContent(language))) {
        // Restarting would only bring the old language back and lose the image in hand.
        reportSettingNotSaved(this, language, QString::fromLatin1(SettingsFiles::Country));
        return;
    }
    if (!Launcher::restartProgram()) {
        MessageBox::information(
            this, Lang::warningTitle(language),
            Lang::message(language,
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
    for (QRadioButton *o : {Option1, Option2}) {
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
}
