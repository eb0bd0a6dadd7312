#include "app/Launcher.h"
#include "common/MessageBox.h"
#include "files/CompareWindow.h"
#include "files/ModuleFileDialogs.h"
#include "support/RealBoxes.h"
#include "support/WindowRig.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Leaving the program never loses an image the installer changed without being asked; the
// module files used last are offered again, also after a restart; a comparison lists what was
// edited; the check after sending is remembered.
class TestLeaving : public QObject
{
    Q_OBJECT

    // A relay module file, master, second-function time 5 (shown by its editor as it is), every
    // other slot a value of its own.
    static QString moduleFile(WindowRig &rig, const QString &name, int seed = 3)
    {
        ModuleImage image = Images::pattern(0, seed, 7);
        image.set(ModuleTypes::MasterSlot, 1);
        image.set(41, 5);
        return rig.writeFile(0, image, name);
    }

    int m_quits = 0;
    int m_restarts = 0;

private Q_SLOTS:
    void init()
    {
        m_quits = m_restarts = 0;
        Launcher::setQuitter([this] { ++m_quits; });
        Launcher::setProgramStarter([this](const QString &, const QStringList &) {
            ++m_restarts;
            return true;
        });
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }
    void cleanup()
    {
        Launcher::setQuitter({});
        Launcher::setProgramStarter({});
    }

    // Nothing changed since the file was opened (an editor that merely stores the same value
    // when it opens included): everything ends at once, as before.
    void unchangedImageEndsAtOnce()
    {
        WindowRig rig;
        QVERIFY(rig.w().openModuleFile(moduleFile(rig, u"klant.QV1"_s)));
        rig.w().Command7_Click();
        rig.w().Command8_Click();
        rig.action("Einde")->trigger();
        QCOMPARE(m_quits, 1);
        QCOMPARE(MessageBox::shownCount(), 0);
        rig.w().close();
        QVERIFY(!rig.w().isVisible());
    }

    // A changed image: Einde, closing the window and the language switch ask; "stay" keeps
    // everything, "leave without saving" leaves, "save" writes the open file first.
    void changedImageAsks_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Einde") << u"Einde"_s;
        QTest::newRow("closing the window") << u"close"_s;
        QTest::newRow("language switch") << u"frans"_s;
    }
    void changedImageAsks()
    {
        QFETCH(QString, way);
        WindowRig rig;
        const QString path = moduleFile(rig, u"klant.QV1"_s);
        QVERIFY(rig.w().openModuleFile(path));
        rig.w().selectOption(rig.w().Option2); // slave: slot 40 becomes 0
        const auto leave = [&] {
            if (way == u"close"_s)
                rig.w().close();
            else
                rig.action(way.toLatin1().constData())->trigger();
        };
        const auto left = [&] {
            return way == u"close"_s   ? !rig.w().isVisible()
                   : way == u"frans"_s ? m_restarts == 1
                                       : m_quits == 1;
        };

        MessageBox::setNextChoice(2); // stay
        leave();
        QCOMPARE(MessageBox::lastText(),
                 u"De gegevens zijn gewijzigd en nog niet verstuurd of bewaard. Toch afsluiten?"_s);
        QCOMPARE(MessageBox::lastButtons(),
                 (QStringList{u"Bewaren"_s, u"Afsluiten zonder bewaren"_s, u"Blijven"_s}));
        QVERIFY(!left());
        QVERIFY(rig.w().isVisible());
        QCOMPARE(rig.home.read(u"country.vdm"_s), " 1 \r\n"_ba);

        MessageBox::setNextChoice(0); // save: the open file is written, then the program ends
        leave();
        QVERIFY(left());
        const auto saved = readModuleFile(path);
        QVERIFY(saved);
        QCOMPARE(saved->values.at(ModuleTypes::MasterSlot), 0);
    }

    // Closing the window during a conversation: the conversation is left first (the window goes
    // back to the open file), then the changes are asked about.
    void closingDuringAConversationAsksAfterwards()
    {
        WindowRig rig;
        QVERIFY(rig.w().openModuleFile(moduleFile(rig, u"klant.QV1"_s)));
        rig.w().selectOption(rig.w().Option2);
        rig.w().Command1_Click();
        QVERIFY(rig.w().conversation().isRunning());
        MessageBox::setNextChoice(2); // stay
        rig.w().close();
        QVERIFY(!rig.w().conversation().isRunning());
        QCOMPARE(MessageBox::lastButtons().last(), u"Blijven"_s);
        QVERIFY(rig.w().isVisible());
        QCOMPARE(rig.w().state().ModuleFilePath, rig.home.file(u"klant.QV1"_s));
        QVERIFY(rig.w().Option2->isChecked());
    }

    // The status tip of each port entry names the device it opens now, looked up when the menu
    // opens.
    void portEntriesNameTheirDevice()
    {
        WindowRig rig;
        QVERIFY(QFile::link(u"/dev/null"_s, rig.home.file(u"com2"_s)));
        Q_EMIT rig.w().poort->aboutToShow();
        QVERIFY2(rig.w().p[1]->statusTip().contains(u"/dev/null"_s), qPrintable(rig.w().p[1]->statusTip()));
        QVERIFY(rig.w().p[2]->statusTip().contains(u"/dev/ttyS2"_s));
        QFile::remove(rig.home.file(u"com2"_s));
        Q_EMIT rig.w().poort->aboutToShow();
        QVERIFY(!rig.w().p[1]->statusTip().contains(u"/dev/null"_s));
    }

    // "Leave without saving" leaves the file as it was; with no file open, "save" opens the save
    // dialog and a cancelled dialog keeps the program open.
    void leavingWithoutSavingAndCancelledSave()
    {
        WindowRig rig;
        const QString path = moduleFile(rig, u"klant.QV1"_s);
        const QByteArray before = rig.home.read(u"klant.QV1"_s);
        QVERIFY(rig.w().openModuleFile(path));
        rig.w().selectOption(rig.w().Option2);
        MessageBox::setNextChoice(1);
        rig.action("Einde")->trigger();
        QCOMPARE(m_quits, 1);
        QCOMPARE(rig.home.read(u"klant.QV1"_s), before);

        // After "Nieuwe module" no file is open: "save" asks for a name.
        rig.w().nieuw_Click();
        QTimer::singleShot(0, &rig.w(), [&rig] {
            auto *dialog = rig.w().findChild<SaveDialog *>(u"Form3"_s);
            QVERIFY(dialog);
            dialog->reject();
        });
        MessageBox::setNextChoice(0);
        rig.action("Einde")->trigger();
        QCOMPARE(m_quits, 1);
    }

    // The module files opened and saved last: numbered, newest first, the full path as tip;
    // kept over a restart; a file that has gone leaves the list with a message.
    void recentFiles()
    {
        WindowRig rig;
        const QString a = moduleFile(rig, u"a.QV1"_s, 1);
        const QString b = moduleFile(rig, u"b & c.QV1"_s, 2);
        QVERIFY(rig.w().openModuleFile(a));
        QVERIFY(rig.w().openModuleFile(b));
        QVERIFY(rig.w().openModuleFile(a));
        rig.restart();
        QAction *first = rig.action("recent1");
        QAction *second = rig.action("recent2");
        QCOMPARE(first->text(), u"&1 a.QV1"_s);
        QCOMPARE(first->toolTip(), QFileInfo(a).absoluteFilePath());
        QCOMPARE(second->text(), u"&2 b && c.QV1"_s);
        QVERIFY(!rig.w().findChild<QAction *>(u"recent3"_s));

        second->trigger();
        QCOMPARE(rig.w().state().ModuleFilePath, b);
        QCOMPARE(rig.action("recent1")->toolTip(), QFileInfo(b).absoluteFilePath());

        QFile::remove(a);
        rig.action("recent2")->trigger();
        QVERIFY(MessageBox::lastText().contains(u"bestaat niet meer"_s));
        QCOMPARE(rig.w().state().ModuleFilePath, b);
        QVERIFY(!rig.w().findChild<QAction *>(u"recent2"_s));

        // At most eight.
        for (int n = 0; n < 10; ++n)
            QVERIFY(rig.w().openModuleFile(moduleFile(rig, u"f%1.QV1"_s.arg(n), n)));
        QVERIFY(rig.w().findChild<QAction *>(u"recent8"_s));
        QVERIFY(!rig.w().findChild<QAction *>(u"recent9"_s));

        // Disabled during a conversation, like the rest of the menu.
        rig.w().Command1_Click();
        QVERIFY(!rig.w().bestand->menuAction()->isEnabled());
        rig.w().conversation().abandon();
    }

    // Comparing with the file that was opened lists exactly what was edited since, in the
    // editors' words; a file of another type gives a message instead.
    void compareListsTheEdits()
    {
        WindowRig rig;
        const QString path = moduleFile(rig, u"klant.QV1"_s);
        QVERIFY(rig.w().openModuleFile(path));
        rig.w().selectOption(rig.w().Option2);
        rig.w().state().currentImage()->set(4, 51); // push button 5, first function: scene 2
        const auto compareWith = [&rig](const QString &name) {
            QTimer::singleShot(0, &rig.w(), [&rig, name] {
                auto *dialog = rig.w().findChild<OpenDialog *>(u"Form2"_s);
                QVERIFY(dialog);
                auto *files = byName<FileList>(dialog, "File1");
                const auto items = files->findItems(name, Qt::MatchExactly);
                QVERIFY(!items.isEmpty());
                files->setCurrentItem(items.first());
                Q_EMIT files->itemClicked(items.first());
                byName<QPushButton>(dialog, "Command1")->click();
                if (dialog->isVisible()) dialog->reject();
            });
            rig.action("Vergelijken")->trigger();
        };
        compareWith(u"klant.QV1"_s);
        auto *window = rig.w().findChild<CompareWindow *>();
        QVERIFY(window);
        QStringList rows;
        auto *differences = byName<QTreeWidget>(window, "DifferenceList");
        for (int i = 0; i < differences->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = differences->topLevelItem(i);
            rows << item->text(0) + u" | "_s + item->text(1) + u" | "_s + item->text(2);
        }
        QCOMPARE(rows, (QStringList{u"Drukknop 5, 1ste functie | Sfeer 2 | Uitgang 32"_s,
                                    u"Master/Slave | Slave | Master"_s}));
        window->close();

        ModuleImage dim(ModuleTypes::DimSlots);
        writeModuleFile(rig.home.file(u"dim.QV1"_s), 1, dim);
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
        compareWith(u"dim.QV1"_s);
        QVERIFY(MessageBox::lastText().startsWith(u"Vergelijken is niet mogelijk"_s));
    }

    // The check after sending is off until the installer turns it on, and stays as chosen.
    void checkAfterSendingIsRemembered()
    {
        WindowRig rig({.country = " 2 \r\n"});
        QAction *check = rig.action("Controleren");
        QCOMPARE(check->text(), u"Vérifier après envoi"_s);
        QVERIFY(!check->isChecked());
        check->trigger();
        QCOMPARE(rig.home.read(u"check.vdm"_s), "1\r\n"_ba);
        rig.restart();
        QVERIFY(rig.action("Controleren")->isChecked());
        rig.action("Controleren")->trigger();
        rig.restart();
        QVERIFY(!rig.action("Controleren")->isChecked());
    }

    // The question before leaving, shown for real: Esc and its close button mean "stay", for every
    // way of leaving and in both languages. The open file stays byte for byte as it was, the edit
    // stays in hand, nothing ends and no new program starts.
    void escapeAndCloseButtonStay_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("escape");
        QTest::addColumn<int>("language");
        for (int language : {1, 2})
            for (const char *way : {"Einde", "close", "switch"})
                for (bool escape : {true, false})
                    QTest::addRow("%s, %s, %s", way, escape ? "Esc" : "close button",
                                  language == 1 ? "Dutch" : "French")
                        << QString::fromLatin1(way) << escape << language;
    }
    void escapeAndCloseButtonStay()
    {
        QFETCH(QString, way);
        QFETCH(bool, escape);
        QFETCH(int, language);
        const QByteArray country = language == 1 ? " 1 \r\n"_ba : " 2 \r\n"_ba;
        WindowRig rig({.country = country});
        const QString path = moduleFile(rig, u"klant.QV1"_s);
        const QByteArray before = rig.home.read(u"klant.QV1"_s);
        QVERIFY(rig.w().openModuleFile(path));
        rig.w().selectOption(rig.w().Option2);
        MessageBox::setAutoAnswer(false);
        RealBoxes boxes({escape ? RealBoxes::escape() : RealBoxes::closeButton()});
        leave(rig, way);
        QCOMPARE(boxes.shown(), 1);
        QCOMPARE(boxes.unexpected(), 0);
        QCOMPARE(boxes.texts().first(),
                 language == 1
                     ? u"De gegevens zijn gewijzigd en nog niet verstuurd of bewaard. Toch afsluiten?"_s
                     : u"Les données ont été modifiées et ne sont pas encore envoyées ni sauvées. "
                       u"Quitter quand même ?"_s);
        QVERIFY(rig.w().isVisible());
        QCOMPARE(m_quits, 0);
        QCOMPARE(m_restarts, 0);
        QCOMPARE(rig.home.read(u"klant.QV1"_s), before);
        QCOMPARE(rig.home.read(u"country.vdm"_s), country);
        QCOMPARE(rig.w().state().currentImage()->value(ModuleTypes::MasterSlot), 0);
        QVERIFY(rig.w().state().hasChanges());
    }

    // The real way out of the program (no stand-in for ending it): the question is asked once,
    // its answer holds, and a language switch starts one new program, only once this one has
    // agreed to end.
    void realQuitAsksOnce_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("ends");
        QTest::newRow("Einde, leave without saving") << u"Einde"_s << u"Afsluiten zonder bewaren"_s << true;
        QTest::newRow("Einde, stay") << u"Einde"_s << u"Blijven"_s << false;
        QTest::newRow("closing, leave without saving") << u"close"_s << u"Afsluiten zonder bewaren"_s << true;
        QTest::newRow("language switch, leave without saving")
            << u"switch"_s << u"Afsluiten zonder bewaren"_s << true;
        QTest::newRow("language switch, stay") << u"switch"_s << u"Blijven"_s << false;
    }
    void realQuitAsksOnce()
    {
        QFETCH(QString, way);
        QFETCH(QString, answer);
        QFETCH(bool, ends);
        Launcher::setQuitter({});
        WindowRig rig;
        const QString path = moduleFile(rig, u"klant.QV1"_s);
        const QByteArray before = rig.home.read(u"klant.QV1"_s);
        QVERIFY(rig.w().openModuleFile(path));
        rig.w().selectOption(rig.w().Option2);
        MessageBox::setAutoAnswer(false);
        RealBoxes boxes({RealBoxes::click(answer)});
        // The program's own event loop runs, as in the program; a way out that keeps the program
        // running ends the loop here, and a loop that does not end in time is a failure.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(3); });
        watchdog.start(20000);
        QTimer::singleShot(0, &rig.w(), [&] {
            leave(rig, way);
            if (rig.w().isVisible()) QCoreApplication::exit(2);
        });
        const int code = QApplication::exec();
        watchdog.stop();
        QCOMPARE(code, ends ? 0 : 2);
        QCOMPARE(boxes.shown(), 1);
        QCOMPARE(boxes.unexpected(), 0);
        QCOMPARE(MessageBox::shownCount(), 1);
        QCOMPARE(rig.w().isVisible(), !ends);
        QCOMPARE(m_restarts, way == u"switch"_s && ends ? 1 : 0);
        QCOMPARE(rig.home.read(u"country.vdm"_s), way == u"switch"_s && ends ? " 2 \r\n"_ba : " 1 \r\n"_ba);
        QCOMPARE(rig.home.read(u"klant.QV1"_s), before);
    }

private:
    // Leaves the program one way or another: Einde, the window's close button, or switching to the
    // other language.
    static void leave(WindowRig &rig, const QString &way)
    {
        if (way == u"close"_s)
            rig.w().close();
        else if (way == u"switch"_s)
            rig.action(rig.w().state().Language == 2 ? "ned" : "frans")->trigger();
        else
            rig.action(way.toLatin1().constData())->trigger();
    }
};

QTEST_MAIN(TestLeaving)
#include "tst_leaving.moc"
