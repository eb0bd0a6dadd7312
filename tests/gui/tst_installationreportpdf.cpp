#include "files/ReportDocument.h"
#include "installation/InstallationReport.h"
#include "support/PlantedInstallation.h"

#include <QImage>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;

// The installation report of the planted house written as a PDF file and printed, read back with
// QtPdf, in Dutch and French: its parts each on pages of their own, every push button's row, the
// page numbers, the column titles on a page a table runs over, and names shown as typed.
namespace {

const QStringList Headings{u"Kelder relais 1 (Kelder, kast 2)"_s, u"Living dimmer (Living)"_s, u"Zolder"_s};

// The text of every page of a PDF file, each run of blanks and line ends made one blank, so that
// a cell's text wrapped over two lines reads as typed.
QStringList pdfPages(const QString &path)
{
    QPdfDocument pdf;
    QStringList pages;
    if (pdf.load(path) != QPdfDocument::Error::None) return pages;
    for (int page = 0; page < pdf.pageCount(); ++page)
        pages << pdf.getAllText(page).text().simplified();
    return pages;
}

// Whether `texts` appear in `text` in this order.
bool inOrder(const QString &text, const QStringList &texts)
{
    qsizetype from = 0;
    for (const QString &t : texts) {
        from = text.indexOf(t, from);
        if (from < 0) {
            qWarning("missing or out of order: %s", qPrintable(t));
            return false;
        }
        from += t.size();
    }
    return true;
}

// How dark the darkest dot of `text` (not followed by a digit) is where the PDF file shows it (0 black .. 255
// white); -1 when the text is on no page.
int darkest(const QString &path, const QString &text)
{
    QPdfDocument pdf;
    if (pdf.load(path) != QPdfDocument::Error::None) return -1;
    for (int page = 0; page < pdf.pageCount(); ++page) {
        const QRegularExpressionMatch found =
            QRegularExpression(QRegularExpression::escape(text) + u"(?!\\d)"_s)
                .match(pdf.getAllText(page).text());
        if (!found.hasMatch()) continue;
        const qsizetype at = found.capturedStart();
        const QRectF box = pdf.getSelectionAtIndex(page, int(at), int(text.size())).boundingRectangle();
        const QSizeF size = pdf.pagePointSize(page);
        // The page is rendered on a transparent ground: laid on white paper first.
        QImage image((2 * size).toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter(&image).drawImage(0, 0, pdf.render(page, image.size()));
        int darkest = 255;
        const QRect dots(QRectF(2 * box.topLeft(), 2 * box.size()).toAlignedRect());
        for (int y = dots.top(); y <= dots.bottom(); ++y)
            for (int x = dots.left(); x <= dots.right(); ++x)
                if (image.rect().contains(x, y)) darkest = qMin(darkest, qGray(image.pixel(x, y)));
        return darkest;
    }
    return -1;
}

} // namespace

class TestInstallationReportPdf : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void wholeInstallation_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("words");
        // The title, the cover's labels, the overview's heading, its push buttons' title and
        // column titles, a push button, a module's report, the sheet's column titles, the findings.
        QTest::newRow("Dutch") << 1
                               << QStringList{u"Installatierapport"_s,
                                              u"Adres:"_s,
                                              u"Datum:"_s,
                                              u"Modules:"_s,
                                              u"Overzicht"_s,
                                              u"Drukknoppen"_s,
                                              u"Module Drukknop Naam 1ste functie 2de functie"_s,
                                              u"Drukknop"_s,
                                              u"Configuratie van de module"_s,
                                              u"Drukknop Naam"_s,
                                              u"Controle van de installatie"_s};
        QTest::newRow("French") << 2
                                << QStringList{u"Rapport d'installation"_s,
                                               u"Adresse :"_s,
                                               u"Date :"_s,
                                               u"Modules :"_s,
                                               u"Vue d'ensemble"_s,
                                               u"Boutons poussoirs"_s,
                                               u"Module Bouton poussoir Nom 1ère fonction 2ème fonction"_s,
                                               u"Bouton poussoir"_s,
                                               u"Configuration du module"_s,
                                               u"Bouton poussoir Nom"_s,
                                               u"Vérification de l'installation"_s};
    }

    void wholeInstallation()
    {
        QFETCH(int, language);
        QFETCH(QStringList, words);
        const QString file = path(u"installation-%1.pdf"_s.arg(language));
        const Report report =
            installationReport(PlantedInstallation::house(), language, PlantedInstallation::Morning);
        const Failure written = ReportDocument::exportPdf(report, file);
        QVERIFY2(written.ok(), qPrintable(written.detail));
        const QStringList pages = pdfPages(file);

        // At least: the cover, two pages of push buttons, outputs, scenes, three module reports,
        // three sheets and the findings; every page numbered "n / N".
        QVERIFY2(pages.size() >= 11, qPrintable(QString::number(pages.size())));
        for (int page = 0; page < pages.size(); ++page)
            QVERIFY2(pages[page].endsWith(u"%1 / %2"_s.arg(page + 1).arg(pages.size())),
                     qPrintable(pages[page].right(40)));

        // The cover alone on the first page.
        QCOMPARE(pages[0],
                 QStringList({words[0], u"Woning Peeters"_s, words[1], u"Kerkstraat 1, Gent"_s, words[2],
                              u"10/12/2026 09:00"_s, words[3], u"3"_s, u"1 / %1"_s.arg(pages.size())})
                     .join(u' '));

        // Each part starts a page: the overview, each module's report, each sheet, the findings.
        QStringList starts;
        for (const QString &page : pages)
            for (const QString &heading :
                 QStringList{words[4], Headings[0], Headings[1], Headings[2], words[10]})
                if (page.startsWith(heading + u' ')) starts << heading;
        QCOMPARE(starts, (QStringList{words[4], Headings[0], Headings[1], Headings[2], Headings[0],
                                      Headings[1], Headings[2], words[10]}));
        QVERIFY(pages[1].startsWith(words[4] + u' ' + words[5] + u' ' + words[6] + u' '));
        // The push buttons' table runs over a second page, under its column titles again.
        QVERIFY2(pages[2].startsWith(words[6] + u' '), qPrintable(pages[2].left(120)));

        // Every push button of every module has its row in the overview, in order. (A row that
        // reaches the foot of a page may go on at the top of the next one, so the module's text
        // is not always beside its push button.)
        QStringList rows;
        for (int m = 0; m < 3; ++m)
            for (int button = 1; button <= 20; ++button)
                rows << words[7] + u' ' + QString::number(button) + u' ';
        QVERIFY(inOrder(pages.mid(1).join(u' '), rows));
        QVERIFY(inOrder(pages[1], {Headings[0] + u' ' + words[7] + u" 1 Voordeur"_s,
                                   Headings[0] + u' ' + words[7] + u" 2 <b>x</b>"_s}));

        // Each module's report under its name and place; each sheet lists the twenty push buttons
        // with their names, and nothing else.
        for (int m = 0; m < 3; ++m) {
            QVERIFY(std::any_of(pages.cbegin(), pages.cend(), [&](const QString &page) {
                return page.startsWith(Headings[m] + u' ' + words[8] + u' ');
            }));
            QStringList sheet{Headings[m], words[9]};
            for (int button = 1; button <= 20; ++button)
                sheet << QString::number(button);
            if (m == 0) {
                sheet[2] += u" Voordeur"_s;
                sheet[3] += u" <b>x</b>"_s;
            }
            if (m == 1) sheet[2] += u" Zetel"_s;
            if (m == 2) sheet[21] += u" Trap boven"_s;
            const qsizetype page = pages.size() - 4 + m;
            QCOMPARE(pages[page], sheet.join(u' ') + u" %1 / %2"_s.arg(page + 1).arg(pages.size()));
        }
        QVERIFY(pages.last().startsWith(words[10] + u' '));
        QVERIFY(pages.last().contains(u"Trap boven"_s));

        // The push buttons that do nothing are greyed, every cell of their rows and nothing else.
        QCOMPARE(ReportDocument::html(report).count(u"<td style=\"color: #808080;\">"_s), 35 * 5);

        // The name with markup reads as typed wherever it is shown: the overview's push buttons and
        // outputs, the module's report and its sheet.
        QCOMPARE(pages.join(u' ').count(PlantedInstallation::Markup), 4);
    }

    // A table of many hundreds of rows runs over many pages: every row once and in order, the
    // column titles at the top of every page after the first, the note after the last row.
    void longTable()
    {
        Report report;
        report.title = u"Lang"_s;
        ReportSection table;
        table.title = u"Rijen"_s;
        table.columns = QStringList{u"Nummer"_s, u"Tekst"_s};
        QStringList rows;
        for (int row = 1; row <= 1200; ++row) {
            table.rows << QStringList{u"Rij %1"_s.arg(row), u"tekst"_s};
            rows << u"Rij %1 tekst"_s.arg(row);
        }
        table.greyedRows = {0, 700};
        table.note = u"Einde"_s;
        report.sections << table;
        QVERIFY(ReportDocument::exportPdf(report, path(u"long.pdf"_s)).ok());
        const QStringList pages = pdfPages(path(u"long.pdf"_s));
        QVERIFY(pages.size() > 20);
        QVERIFY(pages[0].startsWith(u"Lang Rijen Nummer Tekst Rij 1 tekst"_s));
        for (int page = 1; page < pages.size(); ++page)
            QVERIFY2(pages[page].startsWith(u"Nummer Tekst Rij "_s), qPrintable(pages[page].left(60)));
        const QString all = pages.join(u' ');
        QCOMPARE(all.count(u"Rij "_s), 1200);
        QVERIFY(inOrder(all, rows << u"Einde"_s << u"%1 / %1"_s.arg(pages.size())));
        // The greyed rows in grey type, wherever the table is cut, the others in black.
        for (const int row : {1, 2, 700, 701, 702}) {
            const int dark = darkest(path(u"long.pdf"_s), u"Rij %1"_s.arg(row));
            const bool grey = row == 1 || row == 701;
            QVERIFY2(grey ? dark > 90 : dark >= 0 && dark < 90,
                     qPrintable(u"row %1: %2"_s.arg(row).arg(dark)));
        }
    }

    // The printer gets every page numbered, or only those asked for.
    void printing()
    {
        const Report report =
            installationReport(PlantedInstallation::house(), 1, PlantedInstallation::Morning);
        const auto print = [&](const QString &file, int from, int to) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path(file));
            printer.setFromTo(from, to);
            ReportDocument::print(report, &printer);
            return pdfPages(path(file));
        };
        const QStringList whole = print(u"printed.pdf"_s, 0, 0);
        QVERIFY(whole.size() >= 11);
        QVERIFY(whole[0].startsWith(u"Installatierapport Woning Peeters"_s));
        for (int page = 0; page < whole.size(); ++page)
            QVERIFY(whole[page].endsWith(u"%1 / %2"_s.arg(page + 1).arg(whole.size())));
        const int last = int(whole.size());
        QCOMPARE(print(u"printed-part.pdf"_s, last - 4, last - 3), whole.mid(last - 5, 2));
    }
};

QTEST_MAIN(TestInstallationReportPdf)
#include "tst_installationreportpdf.moc"
