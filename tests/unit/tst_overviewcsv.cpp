#include "installation/OverviewCsv.h"
#include "protocol/ModuleTypes.h"

#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

InstallationModule module(const QString &id, const QString &name, int type)
{
    InstallationModule m;
    m.id = id;
    m.name = name;
    m.type = type;
    m.image = ModuleImage(ModuleTypes::info(type)->slotCount); // every scene sets every output
    m.names = ModuleNames::forType(type);
    return m;
}

// A relay module whose names a spreadsheet would mistake for formulas or split, a dimmer, and two
// Velano modules that share a name (one with an id a spreadsheet would run).
Installation house()
{
    Installation h;
    InstallationModule kelder = module(u"k1"_s, u"Kelder"_s, 0);
    kelder.place = u"kast 2"_s;
    kelder.names.outputs[0] = u"=SUM(A1)"_s;
    kelder.names.outputs[1] = u"+31 470 12 34 56"_s;
    kelder.names.outputs[2] = u"Café – été"_s;
    kelder.names.pushButtons[0] = u"-x"_s;
    kelder.names.pushButtons[1] = u"@x"_s;
    kelder.names.pushButtons[2] = u"Gang"_s;
    kelder.names.pushButtons[4] = u"'=x"_s;
    kelder.names.pushButtons[5] = u"'gewoon"_s;
    kelder.names.pushButtons[6] = u"Hal; boven"_s;
    kelder.names.scenes[1] = u"TV \"avond\""_s;
    InstallationModule living = module(u"d1"_s, u"Living"_s, 1);
    living.names.outputs[3] = u"Zetel"_s;
    InstallationModule links = module(u"z1"_s, u"Zolder"_s, 2);
    links.names.pushButtons[0] = u"Links"_s;
    InstallationModule rechts = module(u"+z2"_s, u"Zolder"_s, 2);
    rechts.names.pushButtons[0] = u"Rechts"_s;
    h.modules = {kelder, living, links, rechts};
    return h;
}

const QByteArray Bom = "\xEF\xBB\xBF";

// A file of `rows` (UTF-8 text) with a byte-order mark and CR LF line ends.
QByteArray file(const QStringList &rows)
{
    return Bom + rows.join(u"\r\n"_s).toUtf8() + "\r\n";
}

// What an import did, one line each: "k1 P3: Gang -> Hal" (list O, P or S), "L4: <Dutch> | <French>"
// for a row not placed, "damaged: <Dutch> | <French>".
QStringList outcome(const OverviewCsv::NamesImport &import, const Installation &h)
{
    QStringList out;
    if (import.damaged) out << u"damaged: "_s + import.problem.dutch + u" | "_s + import.problem.french;
    for (const OverviewCsv::ModuleNameChanges &m : import.modules)
        for (const NameChange &c : m.changes)
            out << u"%1 %2%3: %4 -> %5"_s.arg(h.modules[static_cast<size_t>(m.module)].id)
                       .arg(QStringView(u"OPS").at(c.list))
                       .arg(c.number)
                       .arg(c.before, c.after);
    for (const OverviewCsv::UnplacedRow &row : import.unplaced)
        out << row.text().dutch + u" | "_s + row.text().french;
    return out;
}

// The line of an exported file that begins with `key` ("k1;Drukknop;3;").
QString lineOf(const QByteArray &exported, const QString &key)
{
    const QStringList lines = QString::fromUtf8(exported).split(u"\r\n"_s);
    for (const QString &line : lines)
        if (line.startsWith(key)) return line;
    return {};
}

} // namespace

class TestOverviewCsv : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exportedFileReadsBackUnchanged_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("header");
        QTest::newRow("Dutch") << 1
                               << u"Id;Soort;Nummer;Module;Wat;Naam;1ste functie;2de functie;Drukknoppen;"
                                  u"Sferen;Groepsfeer;Instellingen"_s;
        QTest::newRow("French") << 2
                                << u"Id;Sorte;Numéro;Module;Quoi;Nom;1ère fonction;2ème fonction;"
                                   u"Boutons poussoirs;Contextes;Contexte de groupe;Réglages"_s;
        QTest::newRow("no language: Dutch")
            << 0
            << u"Id;Soort;Nummer;Module;Wat;Naam;1ste functie;2de functie;Drukknoppen;"
               u"Sferen;Groepsfeer;Instellingen"_s;
    }
    // The file as a spreadsheet gets it: BOM, header, CR LF, a row per push button, output and
    // scene; read back unchanged it changes no name, formula-like and quoted ones included.
    void exportedFileReadsBackUnchanged()
    {
        QFETCH(int, language);
        QFETCH(QString, header);
        const Installation h = house();
        const QByteArray exported = OverviewCsv::exportCsv(h, language);
        QVERIFY(exported.startsWith(Bom));
        QVERIFY(exported.endsWith("\r\n"));
        QCOMPARE(exported.count("\r\n"), exported.count('\n'));
        QCOMPARE(QString::fromUtf8(exported.mid(3)).section(u"\r\n"_s, 0, 0), header);
        // Relay: 20 + 12 + 20 rows, dimmer 20 + 4 + 20, each Velano 20 + 8 + 20.
        QCOMPARE(exported.count("\r\n"), 1 + 52 + 44 + 2 * 48);

        QCOMPARE(outcome(OverviewCsv::importNames(exported, h), h), QStringList());
        // Another language's file reads the same.
        QCOMPARE(
            outcome(OverviewCsv::importNames(OverviewCsv::exportCsv(h, 3 - std::max(language, 1)), h), h),
            QStringList());
    }

    void cellsAreWrittenAsText_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("line");
        QTest::newRow("=") << u"k1;Uitgang;1;"_s << u"k1;Uitgang;1;Kelder (kast 2);Uitgang 1;'=SUM(A1);"_s;
        QTest::newRow("+") << u"k1;Uitgang;2;"_s
                           << u"k1;Uitgang;2;Kelder (kast 2);Uitgang 2;'+31 470 12 34 56;"_s;
        QTest::newRow("-") << u"k1;Drukknop;1;"_s << u"k1;Drukknop;1;Kelder (kast 2);Drukknop 1;'-x;"_s;
        QTest::newRow("@") << u"k1;Drukknop;2;"_s << u"k1;Drukknop;2;Kelder (kast 2);Drukknop 2;'@x;"_s;
        QTest::newRow("apostrophe before =")
            << u"k1;Drukknop;5;"_s << u"k1;Drukknop;5;Kelder (kast 2);Drukknop 5;''=x;"_s;
        QTest::newRow("apostrophe before a letter")
            << u"k1;Drukknop;6;"_s << u"k1;Drukknop;6;Kelder (kast 2);Drukknop 6;'gewoon;"_s;
        QTest::newRow("separator") << u"k1;Drukknop;7;"_s
                                   << u"k1;Drukknop;7;Kelder (kast 2);Drukknop 7;\"Hal; boven\";"_s;
        QTest::newRow("quotes") << u"k1;Sfeer;2;"_s
                                << u"k1;Sfeer;2;Kelder (kast 2);Sfeer 2;\"TV \"\"avond\"\"\";"_s;
        QTest::newRow("id") << u"'+z2;"_s << u"'+z2;Drukknop;1;Zolder;Drukknop 1;Rechts;"_s;
        QTest::newRow("UTF-8") << u"k1;Uitgang;3;"_s
                               << u"k1;Uitgang;3;Kelder (kast 2);Uitgang 3;Café – été;"_s;
    }
    // A text a spreadsheet would run gets an apostrophe, a text with ';' or '"' its quotes.
    void cellsAreWrittenAsText()
    {
        QFETCH(QString, key);
        QFETCH(QString, line);
        const QString written = lineOf(OverviewCsv::exportCsv(house(), 1), key);
        QVERIFY2(written.startsWith(line), qPrintable(written));
    }

    // The installer edits names in the exported file: only those come back, each as a change of
    // its own module (the two modules called "Zolder" by their ids).
    void namesEditedInTheExportComeBack()
    {
        const Installation h = house();
        QString text = QString::fromUtf8(OverviewCsv::exportCsv(h, 2));
        const auto edit = [&text](const QString &from, const QString &to) {
            QVERIFY2(text.contains(from), qPrintable(from));
            text.replace(from, to);
        };
        edit(u"k1;Bouton poussoir;3;Kelder (kast 2);Bouton poussoir 3;Gang;"_s,
             u"k1;Bouton poussoir;3;Kelder (kast 2);Bouton poussoir 3;Hal;"_s);
        edit(u"Sortie 1;'=SUM(A1);"_s, u"Sortie 1;'=SUM(B2);"_s);
        edit(u"z1;Bouton poussoir;1;Zolder;Bouton poussoir 1;Links;"_s,
             u"z1;Bouton poussoir;1;Zolder;Bouton poussoir 1;Oost;"_s);
        edit(u"'+z2;Bouton poussoir;1;Zolder;Bouton poussoir 1;Rechts;"_s,
             u"'+z2;Bouton poussoir;1;Zolder;Bouton poussoir 1;West;"_s);
        edit(u"d1;Sortie;4;Living;Sortie 4;Zetel;"_s, u"d1;Sortie;4;Living;Sortie 4;;"_s);
        QCOMPARE(
            outcome(OverviewCsv::importNames(text.toUtf8(), h), h),
            QStringList({u"k1 O1: =SUM(A1) -> =SUM(B2)"_s, u"k1 P3: Gang -> Hal"_s, u"d1 O4: Zetel -> "_s,
                         u"z1 P1: Links -> Oost"_s, u"+z2 P1: Rechts -> West"_s}));
    }

    void namesAreRead_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("outcome");
        const QString header = u"Id;Soort;Nummer;Naam"_s;
        QTest::newRow("push button, output, scene")
            << file({header, u"k1;Drukknop;3;Hal"_s, u"k1;Uitgang;12;Tuin"_s, u"k1;Sfeer;20;Nacht"_s})
            << QStringList{u"k1 O12:  -> Tuin"_s, u"k1 P3: Gang -> Hal"_s, u"k1 S20:  -> Nacht"_s};
        QTest::newRow("French header and kinds, any case")
            << file({u"ID;SORTE;numéro;nom"_s, u"k1;bouton poussoir;3;Hal"_s, u"d1;Sortie;4;Bank"_s,
                     u"k1;Contexte;2;Film"_s})
            << QStringList{u"k1 P3: Gang -> Hal"_s, u"k1 S2: TV \"avond\" -> Film"_s,
                           u"d1 O4: Zetel -> Bank"_s};
        QTest::newRow("columns in another order, others ignored")
            << file({u"Naam;Opmerking;Nummer;Soort;Id"_s, u"Hal;x;3;Drukknop;k1"_s})
            << QStringList{u"k1 P3: Gang -> Hal"_s};
        QTest::newRow("comma separated")
            << file({u"Id,Soort,Nummer,Naam"_s, u"k1,Drukknop,3,\"Hal, boven\""_s})
            << QStringList{u"k1 P3: Gang -> Hal, boven"_s};
        QTest::newRow("tab separated")
            << file({u"Id\tSoort\tNummer\tNaam"_s, u"k1\tDrukknop\t3\tHal; boven"_s})
            << QStringList{u"k1 P3: Gang -> Hal; boven"_s};
        QTest::newRow("one apostrophe before a formula character goes")
            << file({header, u"k1;Uitgang;2;'=1+1"_s, u"k1;Drukknop;1;''-y"_s, u"k1;Drukknop;2;'abc"_s,
                     u"k1;Drukknop;4;=SUM(A1)"_s})
            << QStringList{u"k1 O2: +31 470 12 34 56 -> =1+1"_s, u"k1 P1: -x -> '-y"_s,
                           u"k1 P2: @x -> 'abc"_s, u"k1 P4:  -> =SUM(A1)"_s};
        QTest::newRow("a formula-like key")
            << file({header, u"'+z2;Drukknop;1;Noord"_s}) << QStringList{u"+z2 P1: Rechts -> Noord"_s};
        QTest::newRow("same name: no change, empty: name removed")
            << file({header, u"k1;Drukknop;3;Gang"_s, u"k1;Drukknop;7;"_s})
            << QStringList{u"k1 P7: Hal; boven -> "_s};
        QTest::newRow("quoted line breaks, as typed into the names panel")
            << file({header, u"k1;Drukknop;3;\"Hal\r\nboven\""_s, u"k1;Drukknop;4;\"a\nb\"\"c\"\"\""_s})
            << QStringList{u"k1 P3: Gang -> Hal  boven"_s, u"k1 P4:  -> a b\"c\""_s};
        QTest::newRow("too long, control characters, blanks")
            << file({header, u"k1;Drukknop;3;"_s + QString(100, u'a'),
                     u"k1;Drukknop;4;Ke\u0001uk\u0085en\tb"_s, u"k1;Drukknop;8;   Zolder  "_s,
                     u"k1;Drukknop;9;\u2028"_s})
            << QStringList{u"k1 P3: Gang -> "_s + QString(80, u'a'), u"k1 P4:  -> Keuken b"_s,
                           u"k1 P8:  -> Zolder"_s};
        QTest::newRow("lines ending in LF, blank rows passed over")
            << QByteArray("\n;;;\nId;Soort;Nummer;Naam\n\nk1;Drukknop;3;Hal\n;;;\n")
            << QStringList{u"k1 P3: Gang -> Hal"_s};
        QTest::newRow("no byte-order mark") << QByteArray("Id;Soort;Nummer;Naam\r\nk1;Drukknop;3;Caf\xC3\xA9")
                                            << QStringList{u"k1 P3: Gang -> Café"_s};
        QTest::newRow("Windows-1252")
            << QByteArray("Id;Soort;Nummer;Naam\r\nk1;Drukknop;3;Caf\xE9 \x80 \x96 \x9F\x81")
            << QStringList{u"k1 P3: Gang -> Café € – Ÿ"_s};
        QTest::newRow("Windows-1252 with French header")
            << QByteArray("Id;Sorte;Num\xE9ro;Nom\r\nk1;Bouton poussoir;3;Caf\xE9 \x80 \x96 \x9F\x81")
            << QStringList{u"k1 P3: Gang -> Café € – Ÿ"_s};
        QTest::newRow("UTF-8 cut off at the end is Windows-1252")
            << QByteArray("Id;Soort;Nummer;Naam\r\nk1;Drukknop;3;Caf\xC3")
            << QStringList{u"k1 P3: Gang -> CafÃ"_s};
        QTest::newRow("byte-order mark before text that is not UTF-8")
            << QByteArray("\xEF\xBB\xBFId;Soort;Nummer;Naam\r\nk1;Drukknop;3;Caf\xE9")
            << QStringList{u"k1 P3: Gang -> Café"_s};
        QTest::newRow("UTF-16 with its mark") << [] {
            QByteArray bytes("\xFF\xFE");
            const QString text = u"Id\tSoort\tNummer\tNaam\r\nk1\tDrukknop\t3\tÉté\r\n"_s;
            bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
            return bytes;
        }() << QStringList{u"k1 P3: Gang -> Été"_s};
    }
    // What a spreadsheet may make of the file, and names as the names panel keeps typed ones.
    void namesAreRead()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, outcome);
        const Installation h = house();
        QCOMPARE(::outcome(OverviewCsv::importNames(file, h), h), outcome);
    }

    void rowsThatCannotBePlaced_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("why");
        QTest::newRow("unknown id")
            << u"x9;Drukknop;1;A"_s
            << u"Regel 3: geen module met id “x9” | Ligne 3 : aucun module avec l'id « x9 »"_s;
        QTest::newRow("name is no key") << u"Kelder;Drukknop;1;A"_s
                                        << u"Regel 3: geen module met id “Kelder” | "
                                           u"Ligne 3 : aucun module avec l'id « Kelder »"_s;
        QTest::newRow("unknown kind")
            << u"k1;Lamp;1;A"_s << u"Regel 3: onbekende soort “Lamp” | Ligne 3 : sorte inconnue « Lamp »"_s;
        QTest::newRow("no number") << u"k1;Drukknop;drie;A"_s
                                   << u"Regel 3: geen nummer: “drie” | Ligne 3 : pas un numéro : « drie »"_s;
        QTest::newRow("push button 21")
            << u"k1;Drukknop;21;A"_s
            << u"Regel 3: Drukknop 21 bestaat niet in deze module (1 tot 20) | "
               u"Ligne 3 : Bouton poussoir 21 n'existe pas dans ce module (1 à 20)"_s;
        QTest::newRow("scene 0") << u"k1;Sfeer;0;A"_s
                                 << u"Regel 3: Sfeer 0 bestaat niet in deze module (1 tot 20) | "
                                    u"Ligne 3 : Contexte 0 n'existe pas dans ce module (1 à 20)"_s;
        QTest::newRow("fifth channel of a dimmer")
            << u"d1;Uitgang;5;A"_s
            << u"Regel 3: Uitgang 5 bestaat niet in deze module (1 tot 4) | "
               u"Ligne 3 : Sortie 5 n'existe pas dans ce module (1 à 4)"_s;
        QTest::newRow("no name field")
            << u"k1;Drukknop;1"_s << u"Regel 3: het veld Naam ontbreekt | Ligne 3 : le champ Nom manque"_s;
        QTest::newRow("empty id") << u" ;Drukknop;1;A"_s
                                  << u"Regel 3: het veld Id ontbreekt | Ligne 3 : le champ Id manque"_s;
        QTest::newRow("named twice")
            << u"k1;Drukknop;3;Trap"_s
            << u"Regel 3: Drukknop 3 van deze module staat al op regel 2 | "
               u"Ligne 3 : Bouton poussoir 3 de ce module figure déjà à la ligne 2"_s;
        QTest::newRow("a long value is cut in the explanation")
            << QString(60, u'q') + u";Drukknop;1;A"_s
            << u"Regel 3: geen module met id “"_s + QString(39, u'q') +
                   u"…” | Ligne 3 : aucun module avec l'id « "_s + QString(39, u'q') + u"… »"_s;
    }
    // A row that names nothing is listed with its line and why; the rows around it still count.
    void rowsThatCannotBePlaced()
    {
        QFETCH(QString, row);
        QFETCH(QString, why);
        const Installation h = house();
        const QByteArray csv = file({u"Id;Soort;Nummer;Naam"_s, u"k1;Drukknop;3;Hal"_s, row,
                                     u"k1;Drukknop;4;\"Trap\r\nop\""_s, u"x1;Drukknop;4;B"_s});
        QCOMPARE(
            outcome(OverviewCsv::importNames(csv, h), h),
            QStringList({u"k1 P3: Gang -> Hal"_s, u"k1 P4:  -> Trap  op"_s, why,
                         u"Regel 6: geen module met id “x1” | Ligne 6 : aucun module avec l'id « x1 »"_s}));
    }

    void damagedFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("problem");
        const QString noHeader =
            u"Het bestand heeft geen kopregel met de kolommen Id, Soort, Nummer en Naam. | "
            u"Le fichier n'a pas de ligne d'en-tête avec les colonnes Id, Sorte, Numéro et Nom."_s;
        QTest::newRow("empty") << QByteArray() << noHeader;
        QTest::newRow("rows without a header") << file({u"k1;Drukknop;3;Hal"_s}) << noHeader;
        QTest::newRow("no name column")
            << file({u"Id;Soort;Nummer;Module"_s, u"k1;Drukknop;3;Hal"_s}) << noHeader;
        QTest::newRow("not a text file") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) << noHeader;
        QTest::newRow("name column twice")
            << file({u"Id;Soort;Nummer;Naam;Nom"_s, u"k1;Drukknop;3;Hal;Hal"_s})
            << u"De kolom Naam staat meer dan eens in de kopregel. | "
               u"La colonne Nom figure plus d'une fois dans la ligne d'en-tête."_s;
        QTest::newRow("quote never closed")
            << file({u"Id;Soort;Nummer;Naam"_s, u"k1;Drukknop;3;Hal"_s, u"k1;Drukknop;4;\"Trap"_s,
                     u"k1;Sfeer;1;A"_s})
            << u"Regel 3: een veld tussen aanhalingstekens wordt niet afgesloten. | "
               u"Ligne 3 : un champ entre guillemets n'est pas fermé."_s;
        QTest::newRow("text after a closing quote")
            << file({u"Id;Soort;Nummer;Naam"_s, u"k1;Drukknop;3;\"Hal\r\n\"x;y"_s})
            << u"Regel 3: tekst na het aanhalingsteken dat een veld afsluit. | "
               u"Ligne 3 : du texte suit le guillemet qui ferme un champ."_s;
        QTest::newRow("quote inside a field")
            << file({u"Id;Soort;Nummer;Naam"_s, u"k1;Drukknop;3;Hal"_s, u"k1;Drukknop;4;5\" TV"_s})
            << u"Regel 3: een aanhalingsteken in een veld dat er niet tussen staat. | "
               u"Ligne 3 : un guillemet dans un champ qui n'est pas entre guillemets."_s;
        QTest::newRow("too large") << file({u"Id;Soort;Nummer;Naam"_s, u"k1;Drukknop;3;Hal"_s}) +
                                          QByteArray(OverviewCsv::MaxFileSize, '\n')
                                   << u"Het bestand is groter dan 64 MB. | Le fichier dépasse 64 Mo."_s;
    }
    // Nothing of a damaged file is taken, not even its sound rows.
    void damagedFileChangesNothing()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, problem);
        const Installation h = house();
        QCOMPARE(outcome(OverviewCsv::importNames(file, h), h), QStringList{u"damaged: "_s + problem});
    }

    void typedNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("tabs and line breaks") << u"a\tb\r\nc\nd"_s << u"a b  c d"_s;
        QTest::newRow("control characters") << u"a\u0000b\u001Fc\u007Fd\u009Fe"_s << u"abcde"_s;
        QTest::newRow("line and paragraph separators") << u"a\u2028b\u2029c"_s << u"abc"_s;
        QTest::newRow("blanks around") << u"  a b  "_s << u"a b"_s;
        QTest::newRow("cut after 80, then trimmed") << QString(79, u'x') + u"  yz"_s << QString(79, u'x');
        QTest::newRow("never half a character") << QString(79, u'x') + u"\U0001F600"_s << QString(79, u'x');
    }
    // A name from a file is kept as the names panel keeps a typed one.
    void typedNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(OverviewCsv::typedName(typed), kept);
    }
};

QTEST_GUILESS_MAIN(TestOverviewCsv)
#include "tst_overviewcsv.moc"
