#include "files/ReportDocument.h"

#include <QPdfDocument>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

using namespace Qt::StringLiterals;

// The report written as a PDF file and printed, read back with QtPdf: pages, page size and text.
namespace {

const QDateTime When(QDate(2024, 5, 14), QTime(9, 5));

// A relay module with every push button, output and scene in use: more than one page.
ModuleImage fullRelayImage()
{
    ModuleImage image(340);
    for (int slot = 0; slot < 40; ++slot)
        image.set(slot, slot < 12 ? slot : slot < 20 ? 50 + slot : 42);
    image.set(40, 1);
    image.set(41, 4);
    image.set(46, 4); // output 5: on for 3 minutes when output 7 goes off
    image.set(58, 3);
    image.set(70, 7);
    image.set(79, 501);
    for (int slot = 80; slot < 340; ++slot)
        image.set(slot, slot % 3);
    return image;
}

// A dim module whose scenes all leave their channels as they are: one page.
ModuleImage quietDimImage()
{
    ModuleImage image(150);
    for (int slot = 0; slot < 150; ++slot)
        image.set(slot, slot < 40 ? 42 : slot < 50 ? 5 : 11);
    return image;
}

// The text of every page of a PDF file.
QStringList pdfPages(const QString &path, QSizeF *firstPageSize = nullptr)
{
    QPdfDocument pdf;
    QStringList pages;
    if (pdf.load(path) != QPdfDocument::Error::None) return pages;
    for (int page = 0; page < pdf.pageCount(); ++page)
        pages << pdf.getAllText(page).text();
    if (firstPageSize) *firstPageSize = pdf.pagePointSize(0);
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

} // namespace

class TestReportPdf : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private Q_SLOTS:
    // A4 pages numbered "n / N"; the heading and the push buttons open the first page; a table
    // cut by a page break shows its column titles again on the next page.
    void relayReportRunsOverNumberedA4Pages()
    {
        const Report report = makeReport(fullRelayImage(), 0, 1, u"/data/Klant Peeters.QV1"_s, When);
        const Failure written = ReportDocument::exportPdf(report, path("relay.pdf"));
        QVERIFY2(written.ok(), qPrintable(written.detail));
        QSizeF size;
        const QStringList pages = pdfPages(path("relay.pdf"), &size);
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        QVERIFY(qAbs(size.width() - 595.3) < 1 && qAbs(size.height() - 841.9) < 1);
        for (int page = 0; page < pages.size(); ++page)
            QVERIFY(pages[page].contains(u"%1 / %2"_s.arg(page + 1).arg(pages.size())));
        QVERIFY(inOrder(pages.first(),
                        {u"Configuratie van de module"_s, u"ZK3412_ZK2412 (Relaismodule)"_s, u"Versie:"_s,
                         u"501"_s, u"Master/Slave:"_s, u"Master"_s, u"Bestand:"_s,
                         u"/data/Klant Peeters.QV1"_s, u"Datum:"_s, u"14/05/2024 09:05"_s, u"Drukknoppen"_s,
                         u"Nummer: 1"_s, u"Uitgang 1"_s, u"Nummer: 20"_s, u"Sfeer 20"_s}));
        QVERIFY(inOrder(pages.join(u'\n'),
                        {u"Functie van de uitgangen"_s, u"Actief bij doven van uitgang 7 voor"_s, u"3 min."_s,
                         u"Tijd 2de functie"_s, u"2 Seconden"_s, u"Sferen"_s, u"Uitgang"_s, u"Groepsfeer"_s,
                         u"Sfeer 1"_s, u"Sfeer 20"_s}));
        for (int page = 1; page < pages.size(); ++page) {
            const QString top = pages[page].trimmed();
            QVERIFY2(!top.startsWith(u"Sfeer "_s) && !top.startsWith(u"Nummer"_s) && !top.at(0).isDigit(),
                     qPrintable(top.left(80)));
        }
    }

    // A file name is the installer's text: markup in it is shown, never obeyed.
    void smallFrenchReportShowsOutsideTextAsItIs()
    {
        const QString name = u"/data/<b>Klant</b> & Co </td></table><h1>x.QV1"_s;
        const Report report = makeReport(quietDimImage(), 1, 2, name, When);
        QVERIFY(ReportDocument::html(report).contains(
            u"/data/&lt;b&gt;Klant&lt;/b&gt; &amp; Co &lt;/td&gt;&lt;/table&gt;&lt;h1&gt;x.QV1"_s));
        QCOMPARE(ReportDocument::document(report)->toPlainText().count(name), 1);

        QVERIFY(ReportDocument::exportPdf(report, path("dim.pdf")).ok());
        const QStringList pages = pdfPages(path("dim.pdf"));
        QCOMPARE(pages.size(), 1);
        QVERIFY(inOrder(
            pages[0],
            {u"Configuration du module"_s, u"ZK24XX_ZK3447 (Module dim)"_s, u"Fichier:"_s, name, u"Date:"_s,
             u"Boutons poussoirs"_s, u"Numéro: 20"_s, u"Temps 2ème fonction"_s, u"2,5 Secondes"_s,
             u"Valeur début des sorties"_s, u"Sortie 4:"_s, u"50%"_s, u"Contextes"_s,
             u"Les contextes dont toutes les sorties sont sur *** ne sont pas repris."_s, u"1 / 1"_s}));
    }

    // A report replaces the file at its name whole; one that cannot be written leaves nothing.
    void exportReplacesOrFailsCleanly()
    {
        const Report report = makeReport(quietDimImage(), 1, 1, QString(), When);
        QFile old(path("old.pdf"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(200000, 'x')) == 200000);
        old.close();
        QVERIFY(ReportDocument::exportPdf(report, path("old.pdf")).ok());
        QCOMPARE(pdfPages(path("old.pdf")).size(), 1);

        const Failure failure = ReportDocument::exportPdf(report, path("no such folder/report.pdf"));
        QCOMPARE(failure.kind, Failure::Kind::NotWritten);
        QVERIFY(!failure.detail.isEmpty());
        // No module, no report.
        QCOMPARE(
            ReportDocument::exportPdf(makeReport(quietDimImage(), 4, 1, QString(), When), path("none.pdf"))
                .kind,
            Failure::Kind::NotWritten);
        QVERIFY(!QFile::exists(path("none.pdf")));
    }

    // The printer gets the pages asked for, with their own numbers; "Afdrukken" / "Imprimer"
    // asks for the printer first, and cancelling prints nothing.
    void printing()
    {
        const Report report = makeReport(fullRelayImage(), 0, 1, QString(), When);
        const auto print = [&report, this](const char *file, int from, int to) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path(file));
            printer.setFromTo(from, to);
            ReportDocument::print(report, &printer);
            return pdfPages(path(file));
        };
        const QStringList whole = print("printed.pdf", 0, 0);
        QVERIFY(whole.size() >= 2);
        QCOMPARE(print("printed-2.pdf", 2, 2), QStringList{whole[1]});

        QWidget parent;
        QString title;
        QTimer::singleShot(0, this, [&] {
            if (auto *dialog = parent.findChild<QPrintDialog *>(u"ReportPrintDialog"_s)) {
                title = dialog->windowTitle();
                dialog->reject();
            }
        });
        ReportDocument::print(makeReport(quietDimImage(), 1, 2, QString(), When), &parent);
        QCOMPARE(title, u"Imprimer"_s);
    }
};

QTEST_MAIN(TestReportPdf)
#include "tst_reportpdf.moc"
