#pragma once

#include "common/Lang.h"
#include "editors/EditStep.h"
#include "installation/Installation.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <vector>

// The overview's tables as CSV for a spreadsheet, and names read back from such a file.
//
// The file: UTF-8 with a byte-order mark, fields separated by ';', lines ended by CR LF; a field
// holding ';', '"', CR or LF is put between double quotes, its quotes doubled. A header row of
// column titles, then the overview's push buttons, outputs (or channels) and scenes, in that
// order and in the overview's order within each. The three tables share one header: a row fills
// the columns of its own table and leaves the others empty, so that every column means one thing
// from top to bottom and a spreadsheet sorts and filters it as such:
//
//   Id;Soort;Nummer;Module;Wat;Naam;1ste functie;2de functie;Drukknoppen;Sferen;Groepsfeer;Instellingen
//   Id;Sorte;Numéro;Module;Quoi;Nom;1ère fonction;2ème fonction;Boutons poussoirs;Contextes;
//                                                              Contexte de groupe;Réglages
//
//   Id, Soort, Nummer  the row's key: the module's id (names are no key: two modules may share
//                      one), "Drukknop", "Uitgang" or "Sfeer" ("Bouton poussoir", "Sortie",
//                      "Contexte"; the channels of a dimmer are "Uitgang" too) and its number
//   Module, Wat, Naam  the module as the overview calls it, the push button, output or scene in
//                      the editors' words, and its name (empty: none)
//   1ste, 2de functie  a push button's functions
//   Drukknoppen        the push buttons that switch an output or call a scene
//   Sferen             the scenes that set an output
//   Groepsfeer, Instellingen   a scene's group choice and what it sets
//
// A cell that begins with '=', '+', '-' or '@' (after any apostrophes) gets one more apostrophe
// in front, so a spreadsheet takes it as text and never runs it as a formula; reading takes that
// one apostrophe off again, so every text comes back as it was.
namespace OverviewCsv {

// The installation's overview as the file above. `language` names the titles and the words of
// the cells (Dutch unless French).
QByteArray exportCsv(const Installation &installation, Lang::Language language);

// A file larger than this is not read. A file this program writes for an installation at every
// limit stays below it (about 46 MiB with every name, place and id at its longest in characters
// UTF-8 writes in three bytes); the caller reads at most this much from disk.
inline constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

// The names one module gets from a file: list 0 outputs, 1 push buttons, 2 scenes (as the names
// panel numbers them), number, the name before and after; only names that differ.
struct ModuleNameChanges
{
    int module = -1; // index into Installation::modules
    std::vector<NameChange> changes;
};

// A row of the file that names nothing: its line (1 is the header; a row with line breaks in a
// quoted field counts from the line it starts on) and why.
struct UnplacedRow
{
    int line = 0;
    Lang::Text why;
    // "Regel 7: geen module met id “x7”" / "Ligne 7 : aucun module avec l'id « x7 »".
    Lang::Text text() const;
};

struct NamesImport
{
    // A damaged file changes nothing: no header row with the key and name columns, broken
    // quoting, too large. `problem` says why (with the line where there is one).
    bool damaged = false;
    Lang::Text problem;
    // Per module, in the installation's order, only modules whose names change; the changes by
    // list and number.
    std::vector<ModuleNameChanges> modules;
    std::vector<UnplacedRow> unplaced; // in the file's order
};

// Reads a file such as exportCsv() writes, after a spreadsheet had it: the header in either
// language (titles in any letter case), the columns in the header's order, other columns
// ignored; ';' separated, or ',' or a tab when the header row is written so. UTF-8 with or
// without a byte-order mark, UTF-16 with one; a file that is not valid UTF-8 is Windows-1252.
// Every name is made fit as a name typed in the names panel (typedName). Rows with no text at all
// are passed over; a row for a module id, kind and number an earlier row already named is
// listed as not placed.
NamesImport importNames(const QByteArray &file, const Installation &installation);

// A name as the names panel keeps what the installer typed: tabs and line breaks become blanks,
// other control characters and line or paragraph separators go, at most 80 characters (never
// half a character), without blanks around it.
QString typedName(const QString &typed);

} // namespace OverviewCsv
