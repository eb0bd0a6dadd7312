#include "installation/InstallationCheck.h"
#include "installation/InstallationReport.h"
#include "installation/Overview.h"
#include "support/PlantedInstallation.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Rows = QList<QStringList>;

// The installation report's parts on the planted house, in both languages: the cover, the
// overview's tables, each module's report, the push-button sheets and the check's findings.
namespace {

const QStringList Headings{u"Kelder relais 1 (Kelder, kast 2)"_s, u"Living dimmer (Living)"_s, u"Zolder"_s};

QStringList headingsOf(const QList<ReportSection> &sections)
{
    QStringList out;
    for (const ReportSection &s : sections)
        if (!s.heading.isEmpty()) out << s.heading;
    return out;
}

} // namespace

class TestInstallationReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void composition_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("readable");
        QTest::addColumn<QStringList>("words");
        // title, address, date, modules, overview, its three tables, a module's report, the sheet's
        // columns, the findings' heading and columns, a finding on the Velano module.
        const QStringList dutch{u"Installatierapport"_s,
                                u"Adres:"_s,
                                u"Datum:"_s,
                                u"Modules:"_s,
                                u"Overzicht"_s,
                                u"Drukknoppen"_s,
                                u"Uitgangen"_s,
                                u"Sferen"_s,
                                u"Configuratie van de module"_s,
                                u"Drukknop"_s,
                                u"Naam"_s,
                                u"Controle van de installatie"_s,
                                u"Ernst"_s,
                                u"Module"_s,
                                u"Bevinding"_s,
                                u"waarschuwing"_s,
                                u"Drukknop 20 – Trap boven heeft een naam maar geen functie"_s};
        QTest::newRow("Dutch") << 1 << 1 << dutch;
        QTest::newRow("French") << 2 << 2
                                << QStringList{
                                       u"Rapport d'installation"_s,
                                       u"Adresse :"_s,
                                       u"Date :"_s,
                                       u"Modules :"_s,
                                       u"Vue d'ensemble"_s,
                                       u"Boutons poussoirs"_s,
                                       u"Sorties"_s,
                                       u"Contextes"_s,
                                       u"Configuration du module"_s,
                                       u"Bouton poussoir"_s,
                                       u"Nom"_s,
                                       u"Vérification de l'installation"_s,
                                       u"Gravité"_s,
                                       u"Module"_s,
                                       u"Constat"_s,
                                       u"avertissement"_s,
                                       u"Bouton poussoir 20 – Trap boven a un nom mais aucune fonction"_s};
        // A window with no language set still gets a readable report.
        QTest::newRow("no language: Dutch") << 0 << 1 << dutch;
    }

    void composition()
    {
        QFETCH(int, language);
        QFETCH(int, readable);
        QFETCH(QStringList, words);
        const Installation house = PlantedInstallation::house();
        const Report r = installationReport(house, language, PlantedInstallation::Morning);
        QCOMPARE(r.language, readable);
        QCOMPARE(r.title, words[0]);

        // The cover alone on the first page: name, address, date and number of modules.
        const ReportSection &cover = r.sections[0];
        QCOMPARE(cover.title, u"Woning Peeters"_s);
        QCOMPARE(cover.rows, (Rows{{words[1], u"Kerkstraat 1, Gent"_s},
                                   {words[2], u"10/12/2026 09:00"_s},
                                   {words[3], u"3"_s}}));
        QVERIFY(cover.columns.isEmpty() && !cover.newPage && cover.heading.isEmpty());

        // The overview's tables as the overview shows them, each on a new page; its push buttons
        // that do nothing greyed (7 + 16 + 12 of them), every other row not.
        const std::vector<Overview::Table> tables{Overview::pushButtons(house, readable),
                                                  Overview::outputs(house, readable),
                                                  Overview::scenes(house, readable)};
        qsizetype greyed = 0;
        for (int t = 0; t < 3; ++t) {
            const ReportSection &s = r.sections[1 + t];
            QCOMPARE(s.heading, t == 0 ? words[4] : QString());
            QCOMPARE(s.title, words[5 + t]);
            QVERIFY(s.newPage);
            QCOMPARE(s.columns, tables[size_t(t)].columns);
            QCOMPARE(s.rows.size(), qsizetype(tables[size_t(t)].rows.size()));
            for (qsizetype row = 0; row < s.rows.size(); ++row) {
                QCOMPARE(s.rows[row], tables[size_t(t)].rows[size_t(row)].cells);
                QCOMPARE(s.greyedRows.contains(int(row)), tables[size_t(t)].rows[size_t(row)].unused);
            }
            greyed += s.greyedRows.size();
        }
        QCOMPARE(r.sections[1].rows.size(), 60);
        QCOMPARE(greyed, 35);

        // Each module's report as it is printed alone (with its names, without file or date),
        // headed by the module's name and place on a new page.
        qsizetype at = 4;
        for (size_t m = 0; m < 3; ++m) {
            const InstallationModule &module = house.modules[m];
            const Report alone =
                makeReport(module.image, module.type, readable, QString(), QDateTime(), &module.names);
            QList<ReportSection> expected = alone.sections;
            expected[0].heading = Headings[qsizetype(m)];
            expected[0].title = words[8];
            expected[0].newPage = true;
            QCOMPARE(r.sections.mid(at, expected.size()), expected);
            at += expected.size();
        }
        QVERIFY(r.sections[5].rows.contains(
                    QStringList{u"Nummer: 2"_s, PlantedInstallation::Markup, u"Uitgang 2"_s, u"***"_s}) ||
                r.sections[5].rows.contains(
                    QStringList{u"Numéro: 2"_s, PlantedInstallation::Markup, u"Sortie 2"_s, u"***"_s}));

        // A sheet per module: its twenty push buttons with their names, on a page of its own.
        for (qsizetype m = 0; m < 3; ++m) {
            const ReportSection &sheet = r.sections[at + m];
            QCOMPARE(sheet.heading, Headings[m]);
            QVERIFY(sheet.newPage && sheet.title.isEmpty());
            QCOMPARE(sheet.columns, (QStringList{words[9], words[10]}));
            QCOMPARE(sheet.rows.size(), 20);
            for (int button = 1; button <= 20; ++button)
                QCOMPARE(sheet.rows[button - 1][0], QString::number(button));
        }
        QCOMPARE(r.sections[at].rows[0][1], u"Voordeur"_s);
        QCOMPARE(r.sections[at].rows[1][1], PlantedInstallation::Markup);
        QCOMPARE(r.sections[at].rows[2][1], QString());
        QCOMPARE(r.sections[at + 1].rows[0][1], u"Zetel"_s);
        QCOMPARE(r.sections[at + 2].rows[19][1], u"Trap boven"_s);

        // Last, the check's findings: severity, module and text, in the check's order.
        const ReportSection &findings = r.sections.last();
        QCOMPARE(r.sections.size(), at + 4);
        QCOMPARE(findings.heading, words[11]);
        QVERIFY(findings.newPage);
        QCOMPARE(findings.columns, (QStringList{words[12], words[13], words[14]}));
        const auto found = InstallationCheck::check(house, readable);
        QCOMPARE(findings.rows.size(), qsizetype(found.size()));
        for (size_t f = 0; f < found.size(); ++f)
            QCOMPARE(findings.rows[qsizetype(f)][2], found[f].text);
        QVERIFY(findings.rows.contains(QStringList{words[15], u"Zolder"_s, words[16]}));
    }

    // What is left out: a table without rows, the findings of a tidy installation, a module whose
    // image does not fit its type, the date when there is none; a module without a name is headed
    // by its number.
    void partsLeftOut()
    {
        const Installation house = PlantedInstallation::house();

        Installation empty;
        empty.name = u"Leeg"_s;
        const Report nothing = installationReport(empty, 1, QDateTime());
        QCOMPARE(nothing.sections.size(), 1);
        QCOMPARE(nothing.sections[0].rows, (Rows{{u"Adres:"_s, QString()}, {u"Modules:"_s, u"0"_s}}));

        // The relay module alone: nothing for the check to say.
        Installation tidy;
        tidy.modules = {house.modules[0]};
        const Report tidyReport = installationReport(tidy, 2, PlantedInstallation::Morning);
        QCOMPARE(headingsOf(tidyReport.sections),
                 (QStringList{u"Vue d'ensemble"_s, Headings[0], Headings[0]}));
        QCOMPARE(tidyReport.sections.last().columns, (QStringList{u"Bouton poussoir"_s, u"Nom"_s}));

        // The Velano module sets no scene and no push button calls one: no scenes table. A module
        // whose image is too short for its type has no report and no sheet; a nameless one is
        // headed by its number and place.
        Installation odd;
        odd.modules = {house.modules[2], house.modules[0], house.modules[2]};
        odd.modules[1].image = ModuleImage(100);
        odd.modules[2].name.clear();
        odd.modules[2].place = u"Zolder"_s;
        const Report oddReport = installationReport(odd, 1, PlantedInstallation::Morning);
        QCOMPARE(oddReport.sections[1].title, u"Drukknoppen"_s);
        QCOMPARE(oddReport.sections[2].title, u"Uitgangen"_s);
        QCOMPARE(oddReport.sections[3].heading, u"Zolder"_s);
        QCOMPARE(oddReport.sections[1].rows.size(), 40);
        QCOMPARE(headingsOf(oddReport.sections),
                 (QStringList{u"Overzicht"_s, u"Zolder"_s, u"Module 3 (Zolder)"_s, u"Zolder"_s,
                              u"Module 3 (Zolder)"_s, u"Controle van de installatie"_s}));
    }
};

QTEST_GUILESS_MAIN(TestInstallationReport)
#include "tst_installationreport.moc"
