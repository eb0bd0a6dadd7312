#include "files/Report.h"
#include "protocol/ModuleNames.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The configuration report of known images of each module type, row by row, in both languages.
// The images are written slot by slot, the expected texts spelled out.
namespace {

const QDateTime When(QDate(2024, 5, 14), QTime(9, 5));
using Rows = QList<QStringList>;

void put(ModuleImage &image, int first, std::initializer_list<int> values)
{
    for (const int v : values)
        image.set(first++, v);
}

void fill(ModuleImage &image, int first, int last, int value)
{
    for (int slot = first; slot <= last; ++slot)
        image.set(slot, value);
}

QStringList titles(const Report &report)
{
    QStringList t;
    for (const ReportSection &s : report.sections)
        t << s.title;
    return t;
}

QStringList repeated(int count, const QString &text)
{
    return QStringList(count, text);
}

// Relay module, master: a few push buttons, every output function, and three scenes that set
// something; the other seventeen leave every output as it is (code 10).
ModuleImage relayImage()
{
    ModuleImage image(340);
    fill(image, 0, 39, 42);
    put(image, 0, {0, 11, 50, 69});        // push buttons 1..4: output 1, output 12, scene 1, scene 20
    image.set(20, 3);                      // push button 1, second function: output 4
    image.set(39, 55);                     // push button 20, second function: scene 6
    put(image, 40, {1, 3});                // master, 1,5 s
    put(image, 42, {0, 1, 2, 3, 4, 5, 9}); // functions of outputs 1..7 (9: no such function)
    put(image, 54, {7, 5, 15, 5, 3, 10, 2});
    put(image, 66, {0, 0, 0, 0, 7, 1, 0});
    image.set(79, 501);
    fill(image, 80, 339, 10);
    for (int s = 0; s < 20; ++s)
        image.set(92 + 13 * s, 0);
    put(image, 80, {0, 1, 2});
    image.set(92, 1);            // scene 1: off, on, toggle; a group scene
    image.set(80 + 26 + 11, 11); // scene 3: 11 is no value of a relay module's list ...
    image.set(92 + 26, 7);       // ... nor 7 a group choice
    image.set(327 + 11, 1);      // scene 20: output 12 on
    return image;
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void relayModuleInDutch()
    {
        const Report r = makeReport(relayImage(), 0, 1, u"/home/jan/Klant Peeters.QV1"_s, When);
        QCOMPARE(r.title, u"Configuratie van de module"_s);
        QCOMPARE(titles(r), (QStringList{QString(), u"Drukknoppen"_s, u"Functie van de uitgangen"_s,
                                         u"Tijd 2de functie"_s, u"Sferen"_s}));
        QCOMPARE(r.sections[0].rows, (Rows{{u"Module:"_s, u"ZK3412_ZK2412 (Relaismodule)"_s},
                                           {u"Versie:"_s, u"501"_s},
                                           {u"Master/Slave:"_s, u"Master"_s},
                                           {u"Bestand:"_s, u"/home/jan/Klant Peeters.QV1"_s},
                                           {u"Datum:"_s, u"14/05/2024 09:05"_s}}));

        QCOMPARE(r.sections[1].columns, (QStringList{u"Drukknop"_s, u"1° functie"_s, u"2° functie"_s}));
        Rows buttons{{u"Nummer: 1"_s, u"Uitgang 1"_s, u"Uitgang 4"_s},
                     {u"Nummer: 2"_s, u"Uitgang 12"_s, u"***"_s},
                     {u"Nummer: 3"_s, u"Sfeer 1"_s, u"***"_s},
                     {u"Nummer: 4"_s, u"Sfeer 20"_s, u"***"_s}};
        for (int n = 5; n <= 19; ++n)
            buttons << QStringList{u"Nummer: "_s + QString::number(n), u"***"_s, u"***"_s};
        buttons << QStringList{u"Nummer: 20"_s, u"***"_s, u"Sfeer 6"_s};
        QCOMPARE(r.sections[1].rows, buttons);

        // Output 1's stored time is not shown for plain on/off; an unknown code shows its number.
        QCOMPARE(r.sections[2].columns, (QStringList{u"Uitgang nr:"_s, u"Functie"_s, u"Actieve tijd"_s}));
        Rows outputs{{u"1"_s, u"AAN/UIT"_s, QString()},
                     {u"2"_s, u"AAN/UIT+ tijdsfunctie"_s, u"5 min."_s},
                     {u"3"_s, u"AAN + tijdsfunctie"_s, u"15 min."_s},
                     {u"4"_s, u"Puls"_s, u"5 sec."_s},
                     {u"5"_s, u"Actief bij doven van uitgang 7 voor "_s, u"3 min."_s},
                     {u"6"_s, u"Vergrendeling met uitgang 1 voor "_s, u"10 min."_s},
                     {u"7"_s, u"9"_s, QString()}};
        for (int n = 8; n <= 12; ++n)
            outputs << QStringList{QString::number(n), u"AAN/UIT"_s, QString()};
        QCOMPARE(r.sections[2].rows, outputs);
        QCOMPARE(r.sections[3].rows, (Rows{{u"1,5 Seconden"_s}}));

        const ReportSection &scenes = r.sections[4];
        QStringList columns{u"Sfeer"_s};
        for (int n = 1; n <= 12; ++n)
            columns << u"Uitgang "_s + QString::number(n);
        QCOMPARE(scenes.columns, columns << u"Groepsfeer"_s);
        const QStringList rest = repeated(9, u"***"_s);
        QCOMPARE(
            scenes.rows,
            (Rows{QStringList{u"Sfeer 1"_s, u"Uit"_s, u"Aan"_s, u"Toggle"_s} + rest << u"Ja"_s,
                  QStringList{u"Sfeer 3"_s} + rest + QStringList{u"***"_s, u"***"_s, u"11"_s, u"7"_s},
                  QStringList{u"Sfeer 20"_s} + rest + QStringList{u"***"_s, u"***"_s, u"Aan"_s, u"Nee"_s}}));
        QCOMPARE(scenes.note, u"Sferen waarin alle uitgangen op *** staan, zijn niet opgenomen."_s);
    }

    void relayModulesInFrench()
    {
        const Report r = makeReport(relayImage(), 3, 2, QString(), When);
        QCOMPARE(r.title, u"Configuration du module"_s);
        QCOMPARE(titles(r), (QStringList{QString(), u"Boutons poussoirs"_s, u"Fonctions des sorties"_s,
                                         u"Temps 2ème fonction"_s, u"Contextes"_s}));
        // Without a module file the heading has no file line.
        QCOMPARE(r.sections[0].rows, (Rows{{u"Module:"_s, u"ZK2018 (Module relais)"_s},
                                           {u"Version:"_s, u"501"_s},
                                           {u"Master/Slave:"_s, u"Master"_s},
                                           {u"Date:"_s, u"14/05/2024 09:05"_s}}));
        QCOMPARE(r.sections[1].columns,
                 (QStringList{u"Bouton poussoir"_s, u"1° fonction"_s, u"2° fonction"_s}));
        QCOMPARE(r.sections[1].rows[19], (QStringList{u"Numéro: 20"_s, u"***"_s, u"Contexte 6"_s}));
        QCOMPARE(r.sections[2].columns, (QStringList{u"Sortie nr:"_s, u"Fonction"_s, u"Temps actif"_s}));
        QCOMPARE(r.sections[2].rows.mid(3, 3),
                 (Rows{{u"4"_s, u"Impulsion"_s, u"5 sec."_s},
                       {u"5"_s, u"Actif si extinction de la sortie 7 pour "_s, u"3 min."_s},
                       {u"6"_s, u"Protection de la sortie 1 pour "_s, u"10 min."_s}}));
        QCOMPARE(r.sections[3].rows, (Rows{{u"1,5 Secondes"_s}}));
        const ReportSection &scenes = r.sections[4];
        QCOMPARE(scenes.rows.size(), 3);
        QCOMPARE(scenes.rows[0],
                 (QStringList{u"Contexte 1"_s, u"OFF"_s, u"ON"_s, u"Toggle"_s} + repeated(9, u"***"_s)
                  << u"Qui"_s));
        QCOMPARE(scenes.note, u"Les contextes dont toutes les sorties sont sur *** ne sont pas repris."_s);
        // The two relay types differ in their model only.
        Report zk3412 = makeReport(relayImage(), 0, 2, QString(), When);
        QCOMPARE(zk3412.sections[0].rows[0][1], u"ZK3412_ZK2412 (Module relais)"_s);
        zk3412.sections[0].rows[0] = r.sections[0].rows[0];
        QCOMPARE(zk3412.sections, r.sections);
    }

    // Dim module, slave, in French: start values, no output functions, no group-scene column;
    // "***" is code 11 here.
    void dimModuleInFrench()
    {
        ModuleImage image(150);
        fill(image, 0, 39, 42);
        put(image, 0, {0, 1, 2, 3, 4}); // push button 5 switches an output the module lacks
        put(image, 20, {0, 1, 2, 3});
        put(image, 40, {0, 0, 3, 9, 1, 0}); // slave, no valid time, start values
        image.set(47, 212);
        fill(image, 50, 149, 11);
        put(image, 55, {0, 9, 10, 11, 1}); // scene 2, its group flag set on a slave
        image.set(70, 12);                 // scene 5: 12 is no value of the dim list

        const Report r = makeReport(image, 1, 2, u"C:\\Clients\\dim.QV1"_s, When);
        QCOMPARE(titles(r), (QStringList{QString(), u"Boutons poussoirs"_s, u"Temps 2ème fonction"_s,
                                         u"Valeur début des sorties"_s, u"Contextes"_s}));
        QCOMPARE(r.sections[0].rows, (Rows{{u"Module:"_s, u"ZK24XX_ZK3447 (Module dim)"_s},
                                           {u"Version:"_s, u"212"_s},
                                           {u"Master/Slave:"_s, u"Slave"_s},
                                           {u"Fichier:"_s, u"C:\\Clients\\dim.QV1"_s},
                                           {u"Date:"_s, u"14/05/2024 09:05"_s}}));
        QCOMPARE(r.sections[1].rows.mid(3, 3), (Rows{{u"Numéro: 4"_s, u"Sortie 4"_s, u"Sortie 4"_s},
                                                     {u"Numéro: 5"_s, u"Sortie 5"_s, u"***"_s},
                                                     {u"Numéro: 6"_s, u"***"_s, u"***"_s}}));
        QCOMPARE(r.sections[2].rows, (Rows{{u"0 Secondes"_s}}));
        QCOMPARE(r.sections[3].rows, (Rows{{u"Sortie 1:"_s, u"30%"_s},
                                           {u"Sortie 2:"_s, u"90%"_s},
                                           {u"Sortie 3:"_s, u"10%"_s},
                                           {u"Sortie 4:"_s, u"0%"_s}}));
        QCOMPARE(r.sections[4].columns,
                 (QStringList{u"Contexte"_s, u"Sortie 1"_s, u"Sortie 2"_s, u"Sortie 3"_s, u"Sortie 4"_s}));
        QCOMPARE(r.sections[4].rows, (Rows{{u"Contexte 2"_s, u"OFF"_s, u"90%"_s, u"Toggle"_s, u"***"_s},
                                           {u"Contexte 5"_s, u"12"_s, u"***"_s, u"***"_s, u"***"_s}}));
    }

    // Velano module, master, in Dutch: dim channels 1..4 and relays 5..8. "***" is code 11 on
    // every channel, so relays holding 10 (the relay modules' "***") keep their scene.
    void velanoModuleInDutch()
    {
        ModuleImage image(230);
        fill(image, 0, 39, 42);
        put(image, 0, {0, 1, 2, 3, 4, 5, 6, 7});
        put(image, 40, {1, 8, 5, 6, 7, 8});
        image.set(47, 300);
        fill(image, 50, 229, 11);
        put(image, 50, {10, 5, 11, 0, 2, 1, 10, 11, 0}); // scene 1
        put(image, 63, {10, 10, 10, 10, 1});             // scene 2: relays 10, group scene

        const Report r = makeReport(image, 2, 1, QString(), QDateTime());
        QCOMPARE(titles(r), (QStringList{QString(), u"Drukknoppen"_s, u"Tijd 2de functie"_s,
                                         u"Beginwaarde dim-kanalen"_s, u"Sferen"_s}));
        // Without a date the heading has no date line either.
        QCOMPARE(r.sections[0].rows, (Rows{{u"Module:"_s, u"ZK2019 (Velano module)"_s},
                                           {u"Versie:"_s, u"300"_s},
                                           {u"Master/Slave:"_s, u"Master"_s}}));
        QCOMPARE(r.sections[1].rows.mid(7, 2),
                 (Rows{{u"Nummer: 8"_s, u"Uitgang 8"_s, u"***"_s}, {u"Nummer: 9"_s, u"***"_s, u"***"_s}}));
        QCOMPARE(r.sections[2].rows, (Rows{{u"4 Seconden"_s}}));
        QCOMPARE(r.sections[3].rows, (Rows{{u"Kanaal 1:"_s, u"50%"_s},
                                           {u"Kanaal 2:"_s, u"60%"_s},
                                           {u"Kanaal 3:"_s, u"70%"_s},
                                           {u"Kanaal 4:"_s, u"80%"_s}}));
        QCOMPARE(r.sections[4].columns,
                 (QStringList{u"Sfeer"_s, u"Dim 1"_s, u"Dim 2"_s, u"Dim 3"_s, u"Dim 4"_s, u"Relais 5"_s,
                              u"Relais 6"_s, u"Relais 7"_s, u"Relais 8"_s, u"Groepsfeer"_s}));
        QCOMPARE(r.sections[4].rows,
                 (Rows{{u"Sfeer 1"_s, u"Toggle"_s, u"50%"_s, u"***"_s, u"Uit"_s, u"Toggle"_s, u"Aan"_s,
                        u"10"_s, u"***"_s, u"Nee"_s},
                       QStringList{u"Sfeer 2"_s} + repeated(4, u"***"_s) + repeated(4, u"10"_s) << u"Ja"_s}));
    }

    void edges()
    {
        // No scene left out: no note. Every scene left out: no rows, the note all the same.
        ModuleImage dim(150);
        QCOMPARE(makeReport(dim, 1, 1, QString(), When).sections.last().rows.size(), 20);
        QVERIFY(makeReport(dim, 1, 1, QString(), When).sections.last().note.isEmpty());
        fill(dim, 50, 149, 11);
        const ReportSection none = makeReport(dim, 1, 1, QString(), When).sections.last();
        QVERIFY(none.rows.isEmpty() && !none.note.isEmpty());

        QVERIFY(makeReport(relayImage(), 4, 1, QString(), When).isEmpty());
        // Any language other than French gives a Dutch report.
        const Report other = makeReport(relayImage(), 0, 3, QString(), When);
        QCOMPARE(other.language, 1);
        QCOMPARE(other.sections, makeReport(relayImage(), 0, 1, QString(), When).sections);
        // A master slot neither 0 nor 1 is shown as stored, and offers no group column.
        ModuleImage image = relayImage();
        image.set(40, 7);
        const Report r = makeReport(image, 0, 1, QString(), When);
        QCOMPARE(r.sections[0].rows[2], (QStringList{u"Master/Slave:"_s, u"7"_s}));
        QCOMPARE(r.sections[4].rows[0].size(), 13);
    }

    // An installation module's names: a name column where a list has names, functions and dim
    // channels with their names, markup kept as typed; a list without names keeps its columns.
    void names_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("scene");
        QTest::newRow("Dutch") << 1 << u"Naam"_s << u"Uitgang "_s << u"Sfeer "_s;
        QTest::newRow("French") << 2 << u"Nom"_s << u"Sortie "_s << u"Contexte "_s;
    }
    void names()
    {
        QFETCH(int, language);
        QFETCH(QString, name);
        QFETCH(QString, output);
        QFETCH(QString, scene);
        ModuleNames names = ModuleNames::forType(0);
        names.outputs[0] = u"<b>x</b>"_s;
        names.outputs[3] = u"Keuken & bar"_s;
        names.pushButtons[0] = u"Voordeur, links"_s;
        names.scenes[19] = u"TV-avond"_s;
        const Report r = makeReport(relayImage(), 0, language, QString(), When, &names);
        const ReportSection &buttons = r.sections[1];
        QCOMPARE(buttons.columns.size(), 4);
        QCOMPARE(buttons.columns[1], name);
        QCOMPARE(buttons.rows[0].mid(1), (QStringList{u"Voordeur, links"_s, output + u"1 – <b>x</b>"_s,
                                                      output + u"4 – Keuken & bar"_s}));
        QCOMPARE(buttons.rows[3].mid(1), (QStringList{QString(), scene + u"20 – TV-avond"_s, u"***"_s}));
        QCOMPARE(r.sections[2].columns[1], name);
        QCOMPARE(r.sections[2].rows[3].mid(0, 2), (QStringList{u"4"_s, u"Keuken & bar"_s}));
        const ReportSection &scenes = r.sections[4];
        QCOMPARE(scenes.columns[1], name);
        QCOMPARE(scenes.rows.last().mid(0, 2), (QStringList{scene + u"20"_s, u"TV-avond"_s}));
        // Channel titles stay numbers, so the table keeps its width.
        QCOMPARE(scenes.columns[2], output + u"1"_s);

        // No scene names: the scene table is laid out as without names.
        names.scenes[19].clear();
        const Report fewer = makeReport(relayImage(), 0, language, QString(), When, &names);
        QCOMPARE(fewer.sections[4].columns,
                 makeReport(relayImage(), 0, language, QString(), When).sections[4].columns);

        // A dim module's channels read with their names.
        ModuleNames dimNames = ModuleNames::forType(1);
        dimNames.outputs[1] = u"Keuken"_s;
        ModuleImage dim(150);
        const ReportSection dimStart = makeReport(dim, 1, language, QString(), When, &dimNames).sections[3];
        QVERIFY2(dimStart.rows[1][0].endsWith(u"2 – Keuken:"_s), qPrintable(dimStart.rows[1][0]));
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
