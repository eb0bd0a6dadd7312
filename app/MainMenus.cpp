#include "app/MainMenus.h"

#include "app/Launcher.h"
#include "common/Controls.h"
#include "common/Named.h"
#include "common/WidgetTexts.h"

#include <QMenuBar>

MainMenus::MainMenus(QMenuBar *bar) : QObject(bar)
{
    using Controls::menuEntry;
    using Controls::menuSeparator;
    bestand = named(bar->addMenu(QStringLiteral("Bestand")), "bestand");
    nieuw =
        menuEntry(bestand, "nieuw", QStringLiteral("&Nieuwe module"), QKeySequence(QStringLiteral("Ctrl+N")));
    menuSeparator(bestand, "lijn3");
    openen = menuEntry(bestand, "openen", QStringLiteral("Module &Openen ..."),
                       QKeySequence(QStringLiteral("Ctrl+O")));
    menuSeparator(bestand, "lijn1");
    Bewaren = menuEntry(bestand, "Bewaren", QStringLiteral("Module Op&slaan"),
                        QKeySequence(QStringLiteral("Ctrl+S")));
    Bewaren_als = menuEntry(bestand, "Bewaren_als", QStringLiteral("Module Opslaan als ..."));
    menuSeparator(bestand, "lijn5");
    Reservekopieen = menuEntry(bestand, "Reservekopieen", QStringLiteral("Reservekopieën..."));
    Vergelijken = menuEntry(bestand, "Vergelijken", QStringLiteral("Vergelijken met..."));
    Afdrukken = menuEntry(bestand, "Afdrukken", QStringLiteral("Afdrukken..."));
    PdfExport = menuEntry(bestand, "PdfExport", QStringLiteral("Exporteren als PDF..."));
    // The recently used module files come between these two separators (RecentFiles fills them in).
    recentStart = menuSeparator(bestand, "lijn6");
    recentEnd = menuSeparator(bestand, "lijn2");
    Einde = menuEntry(bestand, "Einde", QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+X")));

    bewerken = named(bar->addMenu(QStringLiteral("Bewerken")), "bewerken");
    ongedaan = menuEntry(bewerken, "ongedaan", QStringLiteral("Ongedaan maken"), QKeySequence::Undo);
    opnieuw = menuEntry(bewerken, "opnieuw", QStringLiteral("Opnieuw"));
    opnieuw->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    ongedaan->setEnabled(false);
    opnieuw->setEnabled(false);

    // No shortcuts here: Ctrl+N, O, S and X are the module's.
    InstallationEntries &i = m_installation;
    i.menu = named(bar->addMenu(QStringLiteral("Installatie")), "installatie");
    i.nieuweInstallatie = menuEntry(i.menu, "nieuweInstallatie", QStringLiteral("Nieuwe installatie..."));
    i.installatieOpenen = menuEntry(i.menu, "installatieOpenen", QStringLiteral("Installatie openen..."));
    i.installatieOpslaan = menuEntry(i.menu, "installatieOpslaan", QStringLiteral("Installatie opslaan"));
    i.installatieOpslaanAls =
        menuEntry(i.menu, "installatieOpslaanAls", QStringLiteral("Installatie opslaan als..."));
    i.installatieSluiten = menuEntry(i.menu, "installatieSluiten", QStringLiteral("Installatie sluiten"));
    i.eigenschappen = menuEntry(i.menu, "eigenschappen", QStringLiteral("Eigenschappen..."));
    i.recent = {i.menu, menuSeparator(i.menu, "lijn8"), menuSeparator(i.menu, "lijn9")};
    i.moduleToevoegen = menuEntry(i.menu, "moduleToevoegen", QStringLiteral("Module toevoegen"));
    i.modulesImporteren = menuEntry(i.menu, "modulesImporteren", QStringLiteral("Modules importeren..."));
    i.moduleExporteren = menuEntry(i.menu, "moduleExporteren", QStringLiteral("Module exporteren..."));
    i.moduleVerwijderen = menuEntry(i.menu, "moduleVerwijderen", QStringLiteral("Module verwijderen"));
    i.moduleDupliceren = menuEntry(i.menu, "moduleDupliceren", QStringLiteral("Module dupliceren"));
    menuSeparator(i.menu, "lijn10");
    i.overzicht = menuEntry(i.menu, "overzicht", QStringLiteral("Overzicht"));
    i.installatieControleren =
        menuEntry(i.menu, "installatieControleren", QStringLiteral("Installatie controleren"));
    i.installatieRapport = menuEntry(i.menu, "installatieRapport", QStringLiteral("Installatierapport..."));
    i.overzichtExporteren =
        menuEntry(i.menu, "overzichtExporteren", QStringLiteral("Overzicht exporteren (CSV)..."));
    i.namenImporteren = menuEntry(i.menu, "namenImporteren", QStringLiteral("Namen importeren (CSV)..."));

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
        connect(a, &QAction::triggered, this, [this, n] { Q_EMIT portChosen(n); });
    }
    menuSeparator(poort, "lijn7");
    poortKiezen = menuEntry(poort, "poortKiezen", QStringLiteral("Poort kiezen..."));
    menuSeparator(settings, "lijn4");
    instellingen = menuEntry(settings, "instellingen", QStringLiteral("Preferences ..."));
    Controleren = menuEntry(settings, "Controleren", QStringLiteral("Controleren na versturen"));
    Controleren->setCheckable(true);

    Info = named(bar->addMenu(QStringLiteral("Info")), "Info");
    Web = menuEntry(Info, "Web", QString::fromLatin1(Launcher::MakerWebAddress));

    const auto forward = [this](QAction *entry, void (MainMenus::*chosen)()) {
        connect(entry, &QAction::triggered, this, chosen);
    };
    forward(nieuw, &MainMenus::newRequested);
    forward(openen, &MainMenus::openRequested);
    forward(Bewaren, &MainMenus::saveRequested);
    forward(Bewaren_als, &MainMenus::saveAsRequested);
    forward(Reservekopieen, &MainMenus::backupsRequested);
    forward(Vergelijken, &MainMenus::compareRequested);
    forward(Afdrukken, &MainMenus::printRequested);
    forward(PdfExport, &MainMenus::pdfRequested);
    forward(Einde, &MainMenus::quitRequested);
    forward(ongedaan, &MainMenus::undoRequested);
    forward(opnieuw, &MainMenus::redoRequested);
    forward(poortKiezen, &MainMenus::portChooserRequested);
    forward(instellingen, &MainMenus::preferencesRequested);
    forward(Web, &MainMenus::webRequested);
    connect(ned, &QAction::triggered, this, [this] { Q_EMIT languageChosen(1); });
    connect(frans, &QAction::triggered, this, [this] { Q_EMIT languageChosen(2); });
    connect(Controleren, &QAction::triggered, this, &MainMenus::checkAfterSendChosen);
    connect(poort, &QMenu::aboutToShow, this, &MainMenus::portsAboutToShow);
}

void MainMenus::setCaptions(int language)
{
    m_language = language;
    if (language != 2) return; // the design captions are the Dutch ones
    bewerken->setTitle(QStringLiteral("Édition"));
    ongedaan->setText(QStringLiteral("Annuler"));
    opnieuw->setText(QStringLiteral("Rétablir"));
    bestand->setTitle(QStringLiteral("Fichier"));
    const InstallationEntries &i = m_installation;
    i.menu->setTitle(QStringLiteral("Installation"));
    i.nieuweInstallatie->setText(QStringLiteral("Nouvelle installation..."));
    i.installatieOpenen->setText(QStringLiteral("Ouvrir une installation..."));
    i.installatieOpslaan->setText(QStringLiteral("Sauver l'installation"));
    i.installatieOpslaanAls->setText(QStringLiteral("Sauver l'installation dans..."));
    i.installatieSluiten->setText(QStringLiteral("Fermer l'installation"));
    i.eigenschappen->setText(QStringLiteral("Propriétés..."));
    i.moduleToevoegen->setText(QStringLiteral("Ajouter le module"));
    i.modulesImporteren->setText(QStringLiteral("Importer des modules..."));
    i.moduleExporteren->setText(QStringLiteral("Exporter le module..."));
    i.moduleVerwijderen->setText(QStringLiteral("Supprimer le module"));
    i.moduleDupliceren->setText(QStringLiteral("Dupliquer le module"));
    i.overzicht->setText(QStringLiteral("Vue d'ensemble"));
    i.installatieControleren->setText(QStringLiteral("Vérifier l'installation"));
    i.installatieRapport->setText(QStringLiteral("Rapport d'installation..."));
    i.overzichtExporteren->setText(QStringLiteral("Exporter la vue d'ensemble (CSV)..."));
    i.namenImporteren->setText(QStringLiteral("Importer des noms (CSV)..."));
    nieuw->setText(QStringLiteral("Nouveau module"));
    openen->setText(QStringLiteral("Ouvrir module ..."));
    Bewaren->setText(QStringLiteral("Sauver module"));
    Bewaren_als->setText(QStringLiteral("Sauver module dans ..."));
    Reservekopieen->setText(QStringLiteral("Copies de sécurité..."));
    Vergelijken->setText(QStringLiteral("Comparer avec..."));
    Afdrukken->setText(QStringLiteral("Imprimer..."));
    PdfExport->setText(QStringLiteral("Exporter en PDF..."));
    Einde->setText(QStringLiteral("Exit"));
    poortKiezen->setText(QStringLiteral("Choisir le port..."));
    Controleren->setText(QStringLiteral("Vérifier après envoi"));
}

void MainMenus::checkPort(int port)
{
    for (int n = 1; n <= 8; ++n)
        p[static_cast<size_t>(n - 1)]->setChecked(n == port);
}

void MainMenus::checkLanguage(int language)
{
    ned->setChecked(language == 1);
    frans->setChecked(language == 2);
}

void MainMenus::setEnabled(bool enabled)
{
    for (QMenu *m : {bestand, bewerken, m_installation.menu, taal, settings, Info})
        m->menuAction()->setEnabled(enabled);
}

void MainMenus::offerSteps(const std::optional<Lang::Text> &undo, const std::optional<Lang::Text> &redo)
{
    // The design captions are the Dutch ones: a language other than French names the step in Dutch.
    const bool french = m_language == 2;
    const auto caption = [french](const QString &dutch, const QString &french_,
                                  const std::optional<Lang::Text> &step) {
        const QString entry = french ? french_ : dutch;
        if (!step) return entry;
        // A step may carry a name the installer typed: an ampersand in it is no mnemonic.
        const QString name = Lang::literalAmpersands(french ? step->french : step->dutch);
        return name.isEmpty() ? entry
                              : entry + (french ? QStringLiteral(" : ") : QStringLiteral(": ")) + name;
    };
    ongedaan->setText(caption(QStringLiteral("Ongedaan maken"), QStringLiteral("Annuler"), undo));
    opnieuw->setText(caption(QStringLiteral("Opnieuw"), QStringLiteral("Rétablir"), redo));
    ongedaan->setEnabled(undo.has_value());
    opnieuw->setEnabled(redo.has_value());
}

void MainMenus::offerModule(bool fileOpen, bool moduleInHand)
{
    Bewaren->setEnabled(fileOpen);
    for (QAction *a : {Bewaren_als, Vergelijken, Afdrukken, PdfExport})
        a->setEnabled(moduleInHand);
}

void MainMenus::offerInstallation(bool open, bool selected, bool moduleInHand)
{
    const InstallationEntries &i = m_installation;
    for (QAction *a : {i.installatieOpslaan, i.installatieOpslaanAls, i.installatieSluiten, i.eigenschappen,
                       i.modulesImporteren, i.overzicht, i.installatieControleren, i.installatieRapport,
                       i.overzichtExporteren, i.namenImporteren})
        a->setEnabled(open);
    // A module of the installation in hand is in it already ("Module dupliceren" copies it).
    i.moduleToevoegen->setEnabled(open && moduleInHand && !selected);
    for (QAction *a : {i.moduleExporteren, i.moduleVerwijderen, i.moduleDupliceren})
        a->setEnabled(open && selected);
}

void MainMenus::setCheckAfterSend(bool on)
{
    Controleren->setChecked(on);
}

bool MainMenus::checkAfterSend() const
{
    return Controleren->isChecked();
}

void MainMenus::describePort(int port, const QString &device)
{
    if (port >= 1 && port <= 8) p[static_cast<size_t>(port - 1)]->setStatusTip(device);
}
