#include "common/MessageBox.h"
#include "files/Backups.h"
#include "files/ModuleFile.h"
#include "files/ModuleFileDialogs.h"
#include "support/RealBoxes.h"
#include "support/WindowRig.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPdfDocument>
#include <QTest>

using namespace Qt::StringLiterals;

// What the window says about the image in hand tells the truth: the title and the report name a
// module file only while the image is that file's; the PDF export starts in the installer's
// module folder and asks about the file it will really write; Qt's own dialogs and the standard
// buttons of the boxes speak the window's language; a backup that could not be written is told
// once the read has wound up.
class TestReportAndStates : public QObject
{
    Q_OBJECT

    // The installer's module folder, inside the rig's folder.
    static constexpr const char *Folder = "klanten";
    static RigSettings settings(int language = 1)
    {
        return {.country = language == 2 ? " 2 \r\n" : " 1 \r\n", .moduleFolder = Folder};
    }
    // A relay module file in the module folder, second-function time 5, every slot a value of its own.
    static QString relayFile(WindowRig &rig, const QString &name)
    {
        ModuleImage image = Images::pattern(0, 3, 7);
        image.set(41, 5);
        return rig.writeFile(0, image, QLatin1String(Folder) + u"/"_s + name);
    }

    // What the PDF export dialog showed, and the file written (empty when none was).
    struct Export
    {
        QString folder;
        QString proposed;
        QString title;
        QStringList buttons;
        QString written;
    };

    // Bestand -> Exporteren als PDF..., the dialog answered as a person answers it: the name
    // typed over the proposed one, then the dialog's accept button.
    static Export exportPdf(WindowRig &rig, const QString &typed)
    {
        Export e;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            poll.stop();
            auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
            e.folder = dialog->directory().absolutePath();
            e.proposed = name ? name->text() : QString();
            e.title = dialog->windowTitle();
            if (auto *box = dialog->findChild<QDialogButtonBox *>(u"buttonBox"_s))
                for (QAbstractButton *b : box->buttons())
                    e.buttons << b->text().remove(QLatin1Char('&'));
            if (name) {
                name->setText(typed);
                // Enter in the name field accepts the dialog, as the installer does.
                QTest::keyClick(name, Qt::Key_Return);
            }
            // A dialog still open (the installer declined to replace a file) is left.
            if (dialog->isVisible()) dialog->reject();
        });
        poll.start();
        rig.w().find<QAction>("PdfExport")->trigger();
        const QString path = e.folder + u"/"_s + typed + (typed.endsWith(u".pdf"_s) ? u""_s : u".pdf"_s);
        if (QFileInfo::exists(path)) e.written = path;
        return e;
    }

    static QString pdfText(const QString &path)
    {
        QPdfDocument pdf;
        if (pdf.load(path) != QPdfDocument::Error::None) return QString();
        QString text;
        for (int page = 0; page < pdf.pageCount(); ++page)
            text += pdf.getAllText(page).text();
        return text;
    }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    // A read replaces the image of an open file: the title and the report no longer name the
    // file ("Module Opslaan" stays as it was); saving under a name brings the name back.
    void titleAndReportNameTheFileOfTheImage()
    {
        WindowRig rig(settings());
        const QString relay = relayFile(rig, u"kelder relais M1.QV1"_s);
        QVERIFY(rig.w().openModuleFile(relay));
        QCOMPARE(rig.w().windowTitle(), u"QV Velano  -  "_s + relay);
        Export e = exportPdf(rig, u"relais"_s);
        QCOMPARE(e.proposed, u"kelder relais M1.pdf"_s);
        QVERIFY(pdfText(e.written).contains(u"kelder relais M1.QV1"_s));

        QVERIFY(rig.read(1));
        QCOMPARE(rig.w().windowTitle(), u"QV Velano"_s);
        QCOMPARE(rig.w().state().ModuleFilePath, relay);
        QVERIFY(!rig.w().Bewaren->isEnabled());
        e = exportPdf(rig, u"dim"_s);
        QCOMPARE(e.proposed,
                 u"ZK24XX_ZK3447_"_s + QDate::currentDate().toString(u"yyyy-MM-dd"_s) + u".pdf"_s);
        QVERIFY(!e.written.isEmpty());
        const QString text = pdfText(e.written);
        QVERIFY(text.contains(u"ZK24XX_ZK3447"_s));
        QVERIFY2(!text.contains(u"kelder"_s), qPrintable(text.left(300)));

        // Saved under a name, the image is that file's.
        QTimer::singleShot(0, &rig.w(), [&rig] {
            auto *dialog = rig.w().findChild<SaveDialog *>(u"Form3"_s);
            QVERIFY(dialog);
            byName<QLineEdit>(dialog, "Text1")->setText(u"dim M2"_s);
            byName<QPushButton>(dialog, "Command1")->click();
        });
        rig.w().Bewaren_als_Click();
        const QString saved = rig.folder(Folder) + u"/dim M2.QV1"_s;
        QCOMPARE(rig.w().windowTitle(), u"QV Velano  -  "_s + saved);
        QVERIFY(pdfText(exportPdf(rig, u"dim opgeslagen"_s).written).contains(u"dim M2.QV1"_s));
    }

    // The PDF export: Qt's own dialog in the window's language, started in the module folder
    // (never the program's working folder), ".pdf" added before the question about replacing a
    // file, which therefore names the file that would be written.
    void pdfExportDialog_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("Dutch") << 1;
        QTest::newRow("French") << 2;
    }
    void pdfExportDialog()
    {
        QFETCH(int, language);
        const bool nl = language == 1;
        WindowRig rig(settings(language));
        const QString before = QDir::currentPath();
        QDir::setCurrent(rig.home.path());
        QVERIFY(rig.w().openModuleFile(relayFile(rig, u"klant.QV1"_s)));
        Export e = exportPdf(rig, u"rapport"_s);
        QCOMPARE(e.folder, QFileInfo(rig.folder(Folder)).absoluteFilePath());
        QCOMPARE(e.title, nl ? u"Exporteren als PDF"_s : u"Exporter en PDF"_s);
        QCOMPARE(e.buttons, nl ? (QStringList{u"Opslaan"_s, u"Annuleren"_s})
                               : (QStringList{u"Enregistrer"_s, u"Annuler"_s}));
        QCOMPARE(e.written, rig.folder(Folder) + u"/rapport.pdf"_s);
        const QByteArray first = rig.home.read(u"klanten/rapport.pdf"_s);

        // Again under the same name typed without ".pdf": the question is about rapport.pdf;
        // Esc keeps the file.
        MessageBox::setAutoAnswer(false);
        {
            RealBoxes boxes({RealBoxes::escape()});
            exportPdf(rig, u"rapport"_s);
            QCOMPARE(boxes.shown(), 1);
            QVERIFY2(boxes.texts().first().contains(u"rapport.pdf"_s), qPrintable(boxes.texts().first()));
        }
        QCOMPARE(rig.home.read(u"klanten/rapport.pdf"_s), first);
        QVERIFY(!QFileInfo::exists(rig.home.file(u"rapport.pdf"_s)));
        QDir::setCurrent(before);

        // Qt's print dialog and the standard buttons of the program's own boxes speak the
        // window's language too: the base functions' question shows OK and Cancel in it.
        QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), nl ? u"Afdrukken"_s : u"Imprimer"_s);
        ModuleImage image(ModuleTypes::VelanoSlots);
        image.set(0, 60);
        QVERIFY(rig.openFile(2, image, u"klanten/velano.QV1"_s));
        rig.w().Command7_Click();
        RealBoxes question({RealBoxes::escape()});
        rig.w().Frame3->findChild<QPushButton *>(u"Command4"_s)->click();
        QCOMPARE(question.shown(), 1);
        QCOMPARE(MessageBox::lastButtons(),
                 nl ? (QStringList{u"OK"_s, u"Annuleren"_s}) : (QStringList{u"OK"_s, u"Annuler"_s}));
        QCOMPARE(rig.w().state().VelanoImage.value(0), 60); // Esc is Cancel
    }

    // A backup that cannot be written is told after the read has wound up: the window already
    // reads "Edit mode" and shows the module read.
    void backupProblemToldAfterTheRead()
    {
        WindowRig rig(settings());
        QFile blocker(Backups::folder().chopped(1));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the backups folder goes
        blocker.close();
        MessageBox::setAutoAnswer(false);
        QString statusWhenTold;
        bool versionShownWhenTold = false;
        RealBoxes boxes({[&](QMessageBox *box) {
            statusWhenTold = rig.w().Text1->text();
            versionShownWhenTold = rig.w().Label5->isVisible();
            QTest::keyClick(box, Qt::Key_Escape);
        }});
        QVERIFY(rig.read(0));
        QTRY_COMPARE(boxes.shown(), 1);
        QVERIFY2(
            boxes.texts().first().startsWith(u"De reservekopie van deze module kon niet bewaard worden"_s),
            qPrintable(boxes.texts().first()));
        QCOMPARE(statusWhenTold, u"Edit mode"_s);
        QVERIFY(versionShownWhenTold);
        QVERIFY(rig.w().Bewaren_als->isEnabled());
    }
};

QTEST_MAIN(TestReportAndStates)
#include "tst_reportandstates.moc"
