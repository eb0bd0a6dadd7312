#pragma once

#include "common/Lang.h"

#include <QObject>
#include <QString>
#include <array>
#include <optional>

class QAction;
class QMenu;
class QMenuBar;

// The menu bar of the main window: Bestand, Bewerken, Installatie, Taal/langue, Settings and Info with their
// entries, each named as the installer's documentation names it (their object names). The window learns what
// the installer chose through the signals below and tells the menus what to offer.
class MainMenus : public QObject
{
    Q_OBJECT
public:
    explicit MainMenus(QMenuBar *bar);

    // The captions of the language (the Bestand menu and the entries added beside the design's; the
    // others keep theirs).
    void setCaptions(int language);
    // The check mark on the port entry of `port` (none outside 1..8).
    void checkPort(int port);
    // The check mark on the entry of the language in use (none for a language other than 1 or 2).
    void checkLanguage(int language);
    // The menus as a whole.
    void setEnabled(bool enabled);
    // What Bewerken offers: the step undo would take back and the one redo would make again,
    // named in the editors' words (none: the entry is disabled).
    void offerSteps(const std::optional<Lang::Text> &undo, const std::optional<Lang::Text> &redo);
    // What the Bestand menu offers for the module in hand: `fileOpen` the image is the file's
    // (Module Opslaan), `moduleInHand` an image to save under a name, compare, print or export.
    void offerModule(bool fileOpen, bool moduleInHand);
    // The check mark of "Controleren na versturen".
    void setCheckAfterSend(bool on);
    bool checkAfterSend() const;
    // The status tip of the entry of port `port` (1..8): the device it opens now.
    void describePort(int port, const QString &device);

    // Where the recently used module files are listed: between two separators of Bestand.
    struct RecentPlace
    {
        QMenu *menu;
        QAction *start;
        QAction *end;
    };
    RecentPlace recentPlace() const { return {bestand, recentStart, recentEnd}; }

    // The entries of the Installatie menu; the installations part of the window answers them.
    struct InstallationEntries
    {
        QMenu *menu;
        QAction *nieuweInstallatie;
        QAction *installatieOpenen;
        QAction *installatieOpslaan;
        QAction *installatieOpslaanAls;
        QAction *installatieSluiten;
        QAction *eigenschappen;
        RecentPlace recent; // the installations used last
        QAction *moduleToevoegen;
        QAction *modulesImporteren;
        QAction *moduleExporteren;
        QAction *moduleVerwijderen;
        QAction *moduleDupliceren;
        // The installation at a glance: the overview, the check, the report and the CSV files.
        QAction *overzicht;
        QAction *installatieControleren;
        QAction *installatieRapport;
        QAction *overzichtExporteren;
        QAction *namenImporteren;
    };
    const InstallationEntries &installationEntries() const { return m_installation; }
    // What the Installatie menu offers: `open` an installation is open, `selected` one of its
    // modules is selected in the panel, `moduleInHand` the window holds an image to add.
    void offerInstallation(bool open, bool selected, bool moduleInHand);

Q_SIGNALS:
    void newRequested();                // nieuw
    void openRequested();               // openen
    void saveRequested();               // Bewaren
    void saveAsRequested();             // Bewaren_als
    void backupsRequested();            // Reservekopieen
    void compareRequested();            // Vergelijken
    void printRequested();              // Afdrukken
    void pdfRequested();                // PdfExport
    void quitRequested();               // Einde
    void undoRequested();               // ongedaan (Ctrl+Z)
    void redoRequested();               // opnieuw (Ctrl+Y, Ctrl+Shift+Z)
    void languageChosen(int language);  // ned 1, frans 2
    void portChosen(int port);          // p1 .. p8
    void portChooserRequested();        // poortKiezen
    void portsAboutToShow();            // the Com-port menu opens
    void preferencesRequested();        // instellingen
    void checkAfterSendChosen(bool on); // Controleren
    void webRequested();                // Web

private:
    QMenu *bestand;
    QAction *nieuw;
    QAction *openen;
    QAction *Bewaren;
    QAction *Bewaren_als;
    QAction *Reservekopieen;
    QAction *Vergelijken;
    QAction *Afdrukken;
    QAction *PdfExport;
    QAction *recentStart; // separators around the recent module files
    QAction *recentEnd;
    QAction *Einde;
    QMenu *bewerken;
    QAction *ongedaan;
    QAction *opnieuw;
    InstallationEntries m_installation{};
    QMenu *taal;
    QAction *frans;
    QAction *ned;
    QMenu *settings;
    QMenu *poort;
    std::array<QAction *, 8> p{};
    QAction *poortKiezen;
    QAction *instellingen;
    QAction *Controleren; // check after sending (on or off)
    QMenu *Info;
    QAction *Web;
    int m_language = 1;
};
