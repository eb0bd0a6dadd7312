#pragma once

#include <QObject>
#include <array>

class QAction;
class QMenu;
class QMenuBar;

// The menu bar of the main window: Bestand, Taal/langue, Settings and Info with their entries,
// each named as the installer's documentation names it. The window connects to the entries.
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
    // The four menus as a whole.
    void setEnabled(bool enabled);

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

Q_SIGNALS:
    void portChosen(int port);
};
