#include "app/ModulePage.h"
#include "common/MessageBox.h"
#include "support/WindowRig.h"
#include "viewer/Folivo.h"

#include <QPdfDocument>
#include <QTest>

// The documentation buttons of the module pages and the close button.
class TestDocPages : public QObject
{
    Q_OBJECT

    static bool documentShown(TestWindow &w)
    {
        QWidget *browser = w.Folivo1->findChild<QWidget *>(QStringLiteral("WebBrowser1"));
        return w.Folivo1->isVisible() && browser && browser->isVisible() &&
               w.Folivo1->document()->status() == QPdfDocument::Status::Ready;
    }

private Q_SLOTS:
    void init() { MessageBox::setAutoAnswer(true); }

    void eachButtonOpensItsDocument_data()
    {
        QTest::addColumn<QByteArray>("country");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("document");
        const QList<std::tuple<QString, QString, QString>> rows = {
            {QStringLiteral("ZK3412_ZK2412"), QStringLiteral("Command11"), QStringLiteral("ZK2412")},
            {QStringLiteral("ZK2018"), QStringLiteral("Command11"), QStringLiteral("ZK2018")},
            {QStringLiteral("ZK2019"), QStringLiteral("Command11"), QStringLiteral("ZK2019")},
            {QStringLiteral("ZK24XX_ZK3447"), QStringLiteral("Command13"), QStringLiteral("ZK2425")},
            {QStringLiteral("ZK24XX_ZK3447"), QStringLiteral("Command14"), QStringLiteral("ZK2436")},
            {QStringLiteral("ZK24XX_ZK3447"), QStringLiteral("Command33"), QStringLiteral("ZK2447")},
        };
        for (const auto &[entry, button, model] : rows) {
            QTest::addRow("%s NL", qPrintable(model))
                << QByteArray(" 1 \r\n") << entry << button << model + QStringLiteral("_NL.pdf");
            QTest::addRow("%s FR", qPrintable(model))
                << QByteArray(" 2 \r\n") << entry << button << model + QStringLiteral("_FR.pdf");
        }
    }
    void eachButtonOpensItsDocument()
    {
        QFETCH(QByteArray, country);
        QFETCH(QString, entry);
        QFETCH(QString, button);
        QFETCH(QString, document);
        WindowRig rig({.country = country, .documentation = true});
        TestWindow &w = rig.w();
        w.chooseType(entry);
        auto *b = w.Frame11->findChild<QPushButton *>(button);
        QVERIFY(b && b->isVisible());
        b->click();
        QCOMPARE(w.Folivo1->path(), rig.home.path() + document);
        QTRY_VERIFY(documentShown(w));
        QCOMPARE(w.Folivo1->homeDocument(), (rig.home.path() + document).toLower());
        QVERIFY(!w.Combo1->isEnabled());
        QVERIFY(w.Command15->isVisible());
        QCOMPARE(w.Command15->text(),
                 country == " 1 \r\n" ? QStringLiteral("Sluiten") : QStringLiteral("Fermer"));
        for (QWidget *f : std::initializer_list<QWidget *>{w.Frame1, w.Frame2, w.Frame11})
            QVERIFY(f->isHidden());

        w.Command15->click();
        QVERIFY(w.Folivo1->isHidden());
        QVERIFY(w.Command15->isHidden());
        QVERIFY(w.Combo1->isEnabled());
        QVERIFY(w.Frame1->isVisible() && w.Frame2->isVisible());
        QVERIFY(w.Frame11->isVisible()); // the installer picked the page in the list
    }

    void noLanguageOpensNothing()
    {
        WindowRig rig({.country = " 3 \r\n", .documentation = true});
        TestWindow &w = rig.w();
        w.chooseType(QStringLiteral("ZK2019"));
        byName<QPushButton>(w.Frame11, "Command11")->click();
        // No document to open: the viewer is not even built.
        QVERIFY(!w.Folivo1.get() || (w.Folivo1->isHidden() && w.Folivo1->path().isEmpty()));
        QVERIFY(w.Command15->isVisible());
        QVERIFY(w.Frame1->isHidden() && w.Frame2->isHidden() && w.Frame11->isHidden());
    }

    void closingAfterAnIdentifiedModule()
    {
        WindowRig rig({.country = " 1 \r\n", .documentation = true});
        TestWindow &w = rig.w();
        QVERIFY(rig.read(2));
        QCOMPARE(w.modulePageShown(), 0);
        QVERIFY(w.Frame11->isVisible());
        byName<QPushButton>(w.Frame11, "Command11")->click();
        QTRY_VERIFY(documentShown(w));
        w.Command15->click();
        QVERIFY(w.Frame1->isVisible() && w.Frame2->isVisible());
        QVERIFY(w.Frame11->isHidden());
    }

    void missingDocumentLeavesTheViewerEmpty()
    {
        WindowRig rig({.country = " 1 \r\n", .documentation = true});
        TestWindow &w = rig.w();
        QFile::remove(rig.home.file(QStringLiteral("ZK2436_NL.pdf")));
        QFile::remove(rig.home.file(QStringLiteral("zk2436_nl.pdf")));
        w.chooseType(QStringLiteral("ZK24XX_ZK3447"));
        byName<QPushButton>(w.Frame11, "Command14")->click();
        QWidget *browser = w.Folivo1->findChild<QWidget *>(QStringLiteral("WebBrowser1"));
        QVERIFY(browser && browser->isHidden());
        QVERIFY(w.Command15->isVisible() && w.Frame11->isHidden());
        w.Command15->click();
        QVERIFY(w.Frame1->isVisible() && w.Frame2->isVisible() && w.Frame11->isVisible());
        QVERIFY(w.Combo1->isEnabled());
    }

    // A document fetched over http that the viewer gives up on is explained in the window's language.
    void documentNotFetchedIsExplained()
    {
        for (const auto &[country, words] :
             {std::pair{QByteArray(" 1 \r\n"), QStringLiteral("te groot")},
              std::pair{QByteArray(" 2 \r\n"), QStringLiteral("trop grand")}}) {
            WindowRig rig({.country = country, .documentation = true});
            TestWindow &w = rig.w();
            w.chooseType(QStringLiteral("ZK2019"));
            byName<QPushButton>(w.Frame11, "Command11")
                ->click(); // the viewer is built when a document is first shown
            MessageBox::resetRecord();
            MessageBox::setAutoAnswer(true);
            w.Folivo1->remoteFailed(Folivo::RemoteFailure::TooLarge);
            QCOMPARE(MessageBox::shownCount(), 1);
            QVERIFY2(MessageBox::lastText().contains(words), qPrintable(MessageBox::lastText()));
            w.Folivo1->remoteFailed(Folivo::RemoteFailure::TimedOut);
            w.Folivo1->remoteFailed(Folivo::RemoteFailure::Failed);
            QCOMPARE(MessageBox::shownCount(), 3);
        }
    }
};

QTEST_MAIN(TestDocPages)
#include "tst_docpages.moc"
