#include "app/ModulePage.h"
#include "common/MessageBox.h"
#include "serial/MemoryLink.h"
#include "support/ScriptedModule.h"
#include "support/TestHome.h"
#include "support/TestWindow.h"

#include <QSignalSpy>
#include <QTest>

// Connecting, reading, sending and the ways a conversation can go wrong, against a scripted
// module on an in-memory line.
class TestConversation : public QObject
{
    Q_OBJECT

    struct Rig
    {
        TestHome home;
        MemoryLink link;
        TestWindow window{nullptr, &link};
        Rig() { home.writeSettings(" 1 \r\n", "1\r\n", "20\r\n"); }
    };

    static bool idle(TestWindow &w)
    {
        return w.Command1->isEnabled() && w.Combo1->isEnabled() && w.bestand->menuAction()->isEnabled() &&
               w.settings->menuAction()->isEnabled() && w.ProgressBar1->isHidden() &&
               w.AbortButton->isHidden() && !w.conversation().isRunning();
    }

    // Connects and lets `module` announce itself once the line is open.
    static void connectTo(TestWindow &w, ScriptedModule &module)
    {
        w.Command1->click();
        module.announce();
    }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    void readEachType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("picture");
        QTest::newRow("relay") << 0 << QStringLiteral("ZK3412_ZK2412") << QStringLiteral("Relaismodule:");
        QTest::newRow("dim") << 1 << QStringLiteral("ZK24XX_ZK3447") << QStringLiteral("Dimmodule:");
        QTest::newRow("velano") << 2 << QStringLiteral("ZK2019") << QStringLiteral("Velano module:");
        QTest::newRow("modular relay") << 3 << QStringLiteral("ZK2018") << QStringLiteral("Relaismodule:");
    }
    void readEachType()
    {
        QFETCH(int, type);
        QFETCH(QString, entry);
        QFETCH(QString, picture);
        Rig rig;
        TestWindow &w = rig.window;
        w.show();
        ScriptedModule module(rig.link, type, 1);
        const ModuleState before = w.state();
        connectTo(w, module);
        QCOMPARE(w.state().ModuleType, 4);
        QVERIFY(!w.Command1->isEnabled());
        QVERIFY(w.AbortButton->isVisible());
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));

        QCOMPARE(w.state().ModuleType, type);
        QCOMPARE(*w.state().imageFor(type), module.image());
        for (int other = 0; other < 3; ++other)
            if (w.state().imageFor(other) != w.state().imageFor(type))
                QCOMPARE(*w.state().imageFor(other), *before.imageFor(other));
        QCOMPARE(w.Combo1->currentText(), entry);
        QVERIFY(w.Frame11->isVisible());
        QCOMPARE(w.Frame11->title(), picture);
        const int versionSlot = ModuleTypes::info(type)->versionSlot;
        QCOMPARE(w.Label5->text(), QStringLiteral("Versie: %1").arg(module.memory[versionSlot]));
        QVERIFY(w.Label5->isVisible());
        QVERIFY(w.Option1->isChecked());
        QCOMPARE(w.state().MasterFlag, 1);
        QVERIFY(!w.Bewaren->isEnabled());
        QVERIFY(w.Bewaren_als->isEnabled());
        QVERIFY(w.Command2->isEnabled());
        for (QWidget *b :
             std::initializer_list<QWidget *>{w.Command7, w.Command8, w.Command9, w.Command10, w.Command12})
            QVERIFY(b->isVisible() && b->isEnabled());
        QCOMPARE(w.Command9->text(), type == 1 || type == 2 ? QStringLiteral("Beginwaarde dim-kanalen")
                                                            : QStringLiteral("Functie van de uitgangen"));
        QVERIFY(idle(w));
        // On the wire: the burst of 52 "D", then the read command.
        QCOMPARE(rig.link.written(), QByteArray(52, 'D') + "T3600\n\r");
    }

    void slaveFromSlot40AndGarbageLines()
    {
        Rig rig;
        TestWindow &w = rig.window;
        ScriptedModule module(rig.link, 0, 1);
        module.memory[40] = 0;
        // Lines that are no data lines, or name a slot outside the image, store nothing.
        module.extraLines = "xx\r"
                            "RDabc012\r"
                            "RD400001\r"
                            "??\r";
        const int slot0Before = w.state().RelayImage.value(0);
        connectTo(w, module);
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QVERIFY(w.Option2->isChecked());
        QCOMPARE(w.state().MasterFlag, 0);
        QCOMPARE(w.state().RelayImage, module.image());
        Q_UNUSED(slot0Before);
    }

    void sendWritesEverySlotInOrder()
    {
        Rig rig;
        TestWindow &w = rig.window;
        ScriptedModule module(rig.link, 1, 0);
        connectTo(w, module);
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        w.state().DimImage.set(5, 12);
        w.state().DimImage.set(149, 0);
        rig.link.takeWritten();
        const int pcDelay = w.state().PcDelay;
        module.memory.assign(module.memory.size(), 999);

        w.Command2->click();
        QVERIFY(!w.Command1->isEnabled() && !w.Command2->isEnabled());
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Ready"));
        QByteArray expected = QByteArray(52, 'D') + "T3700\n\r";
        for (int slot = 0; slot < 150; ++slot)
            expected += Wire::slotFrame(slot, w.state().DimImage.value(slot));
        QCOMPARE(rig.link.written(), expected);
        QVERIFY(rig.link.written().contains("T005012\n\r"));
        QCOMPARE(module.image(), w.state().DimImage);
        QCOMPARE(w.state().PcDelay, pcDelay);
        QVERIFY(w.Command1->isEnabled() && w.Command2->isEnabled() && w.Option1->isEnabled());
        QVERIFY(idle(w));
    }

    void wrongModuleGetsOnlyTheBurstAndTheEnd()
    {
        Rig rig;
        TestWindow &w = rig.window;
        ScriptedModule relay(rig.link, 0);
        connectTo(w, relay);
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        const ModuleImage image = w.state().RelayImage;
        rig.link.takeWritten();

        ScriptedModule dim(rig.link, 1);
        relay.answer = false;
        w.Command2->click();
        dim.announce();
        QTRY_COMPARE(MessageBox::shownCount(), 1);
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Opgelet !"));
        QCOMPARE(MessageBox::lastText(), QStringLiteral("Verkeerde type module !"));
        QCOMPARE(rig.link.written(), QByteArray(52, 'D') + "T0006\n\r");
        QCOMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QCOMPARE(w.state().ModuleType, 0);
        QCOMPARE(w.state().RelayImage, image);
        QVERIFY(idle(w));
        QVERIFY(w.Command2->isEnabled());
    }

    void silentModuleCanBeAbandoned()
    {
        Rig rig;
        TestWindow &w = rig.window;
        w.show();
        w.Command1->click();
        QVERIFY(w.AbortButton->isVisible());
        QTest::qWait(50);
        QVERIFY(w.ProgressBar1->isVisible());
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(idle(w));
        QVERIFY(!w.Command2->isEnabled()); // no module in hand
        QCOMPARE(w.Text1->text(), QStringLiteral("Afgebroken"));
        QVERIFY(!rig.link.isOpen());
        QTest::qWait(30);
        QCOMPARE(rig.link.written(), QByteArray());
    }

    void abandonedReadKeepsTheImage()
    {
        Rig rig;
        TestWindow &w = rig.window;
        ScriptedModule module(rig.link, 2);
        module.stopAfterLines = 100;
        const ModuleImage before = w.state().VelanoImage;
        connectTo(w, module);
        QTRY_COMPARE(w.ProgressBar1->value(), 100);
        QTest::qWait(20);
        QVERIFY(w.conversation().isRunning());
        w.AbortButton->click();
        QVERIFY(idle(w));
        QCOMPARE(w.state().VelanoImage, before);
        // A new connection reads the whole image.
        module.stopAfterLines = -1;
        connectTo(w, module);
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QCOMPARE(w.state().VelanoImage, module.image());
    }

    void lineLostMidRead()
    {
        Rig rig;
        TestWindow &w = rig.window;
        ScriptedModule module(rig.link, 0);
        module.stopAfterLines = 10;
        const ModuleImage before = w.state().RelayImage;
        connectTo(w, module);
        QTRY_COMPARE(w.ProgressBar1->value(), 10);
        rig.link.hangUp();
        QTRY_COMPARE(MessageBox::shownCount(), 1);
        QVERIFY(MessageBox::lastText().contains(QStringLiteral("verbroken")));
        QVERIFY(idle(w));
        QCOMPARE(w.state().RelayImage, before);
    }

    void portThatCannotBeOpened_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("words");
        QTest::newRow("missing") << int(SerialLink::OpenError::NotFound) << QStringLiteral("bestaat niet");
        QTest::newRow("busy") << int(SerialLink::OpenError::InUse) << QStringLiteral("in gebruik");
        QTest::newRow("permission") << int(SerialLink::OpenError::NoPermission) << QStringLiteral("dialout");
    }
    void portThatCannotBeOpened()
    {
        QFETCH(int, error);
        QFETCH(QString, words);
        Rig rig;
        TestWindow &w = rig.window;
        w.p[7]->trigger(); // port 8: no link in the folder, so the serial device ttyS7
        rig.link.failNextOpen(SerialLink::OpenError(error), QStringLiteral("detail"));
        w.Command1->click();
        QCOMPARE(MessageBox::shownCount(), 1);
        QVERIFY2(MessageBox::lastText().contains(words), qPrintable(MessageBox::lastText()));
        QVERIFY(MessageBox::lastText().contains(QStringLiteral("/dev/ttyS7")));
        QVERIFY(idle(w));
        QVERIFY(w.poort->isEnabled());
    }

    void unsupportedTypeDigit()
    {
        Rig rig;
        TestWindow &w = rig.window;
        w.Command1->click();
        rig.link.moduleSend("M17501\r");
        QTRY_COMPARE(MessageBox::shownCount(), 1);
        QVERIFY(MessageBox::lastText().contains(QStringLiteral("niet ondersteund")));
        QCOMPARE(w.state().ModuleType, 4);
        QVERIFY(idle(w));
        QCOMPARE(rig.link.written(), QByteArray(52, 'D'));
    }

    void skipsLinesBeforeTheAnnounce()
    {
        Rig rig;
        TestWindow &w = rig.window;
        ScriptedModule module(rig.link, 3, 0);
        w.Command1->click();
        rig.link.moduleSend("noise\rXM13\r");
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QCOMPARE(w.state().ModuleType, 3);
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("ZK2018"));
    }

    void frenchTexts()
    {
        Rig rig;
        rig.home.writeSettings(" 2 \r\n");
        MemoryLink link;
        TestWindow w(nullptr, &link);
        ScriptedModule module(link, 1);
        w.Command1->click();
        QCOMPARE(w.Text1->text(), QStringLiteral("Recherche module..."));
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QVERIFY(w.Label5->text().startsWith(QStringLiteral("Version: ")));
        QCOMPARE(w.Command9->text(), QStringLiteral("Valeur début des sorties"));
        QCOMPARE(w.Command12->text(), QStringLiteral("Diagnostics"));
        QCOMPARE(w.Frame11->title(), QStringLiteral("Module dim:"));
    }

    void pacingBetweenCharacters()
    {
        Rig rig;
        rig.home.writeSettings(" 1 \r\n", "1\r\n", "800\r\n");
        MemoryLink link;
        TestWindow w(nullptr, &link);
        ScriptedModule module(link, 0);
        w.Command1->click();
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        // After the burst: "T3600\n\r", a pause after each of its first six characters.
        const QList<qint64> gaps = link.writeGaps();
        QCOMPARE(gaps.size(), 52 + 7 - 1);
        for (int i = 0; i < 51; ++i)
            QVERIFY2(gaps[i] >= 800, qPrintable(QString::number(gaps[i])));
        for (int i = 53; i < gaps.size(); ++i)
            QVERIFY2(gaps[i] >= 800, qPrintable(QString::number(gaps[i])));
    }

    // The pause is exact where the program decides it: the writer gets the setting with every
    // command frame and the burst, half of it with every slot frame; the setting is bounded.
    void pauseHandedToTheWriter()
    {
        Rig rig;
        TestWindow &w = rig.window;
        w.state().PcDelay = 801;
        QSignalSpy queued(&w.conversation(), &Conversation::framesQueued);
        ScriptedModule module(rig.link, 1);
        connectTo(w, module);
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        w.Command2->click();
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Ready"));
        QCOMPARE(w.state().PcDelay, 801);
        QStringList commands;
        int slotFrames = 0;
        for (const QList<QVariant> &call : queued) {
            const auto frames = call.at(0).value<QList<QByteArray>>();
            const int pause = call.at(1).toInt();
            QCOMPARE(frames.size(), 1);
            if (frames[0].size() == 9) {
                QCOMPARE(pause, 400);
                ++slotFrames;
            } else {
                QCOMPARE(pause, 801);
                commands << QString::fromLatin1(frames[0].left(5));
            }
        }
        QCOMPARE(commands, (QStringList{QStringLiteral("DDDDD"), QStringLiteral("T3600"),
                                        QStringLiteral("DDDDD"), QStringLiteral("T3700")}));
        QCOMPARE(slotFrames, 150);
        QCOMPARE(Conversation::pauseMicroseconds(1000000), 100000);
        QCOMPARE(Conversation::pauseMicroseconds(100000), 100000);
        QCOMPARE(Conversation::pauseMicroseconds(-5), 0);
    }

    // A relay send, literally: "T3700", then one frame per slot 0..339 in order with the values read.
    void relaySendOnTheWire()
    {
        Rig rig;
        TestWindow &w = rig.window;
        ScriptedModule module(rig.link, 3);
        connectTo(w, module);
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        rig.link.takeWritten();
        w.Command2->click();
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Ready"));
        QByteArray expected = QByteArray(52, 'D') + "T3700\n\r";
        for (int slot = 0; slot < 340; ++slot)
            expected += QByteArray("T") + QByteArray::number(1000 + slot).right(3) +
                        QByteArray::number(1000 + module.memory[size_t(slot)]).right(3) + "\n\r";
        QCOMPARE(rig.link.written(), expected);
    }

    // What the status text and the progress bar say through a read and a send, in both
    // languages, for each module type.
    void statusAndProgress_data()
    {
        QTest::addColumn<QByteArray>("country");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("maximum");
        for (const auto &[name, country] :
             {std::pair{"Dutch", QByteArray(" 1 \r\n")}, std::pair{"French", QByteArray(" 2 \r\n")}}) {
            QTest::addRow("%s relay", name) << country << 0 << 341;
            QTest::addRow("%s dim", name) << country << 1 << 151;
            QTest::addRow("%s Velano", name) << country << 2 << 231;
            QTest::addRow("%s modular relay", name) << country << 3 << 341;
        }
    }
    void statusAndProgress()
    {
        QFETCH(QByteArray, country);
        QFETCH(int, type);
        QFETCH(int, maximum);
        TestHome home;
        home.writeSettings(country, "1\r\n", "20\r\n");
        MemoryLink link;
        TestWindow w(nullptr, &link);
        ScriptedModule module(link, type);
        QStringList seen; // each status text with the progress bar's maximum at that moment
        connect(w.Text1, &QLineEdit::textChanged, &w, [&](const QString &text) {
            seen << QStringLiteral("%1 / %2").arg(text).arg(w.ProgressBar1->maximum());
        });
        int lastValue = 0;
        connect(w.ProgressBar1, &QProgressBar::valueChanged, &w, [&](int value) {
            if (w.ProgressBar1->maximum() == maximum) lastValue = value;
        });
        w.Command1->click();
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QCOMPARE(lastValue, maximum - 1);
        w.Command2->click();
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Ready"));
        const bool french = country.contains('2');
        const QString searching =
            french ? QStringLiteral("Recherche module...") : QStringLiteral("Module zoeken...");
        const QString max = QString::number(maximum);
        QCOMPARE(seen,
                 (QStringList{searching + QStringLiteral(" / 200"),
                              (french ? QStringLiteral("Chargement des données...")
                                      : QStringLiteral("Inladen van de gegevens...")) +
                                  QStringLiteral(" / ") + max,
                              QStringLiteral("Edit mode / ") + max, searching + QStringLiteral(" / 200"),
                              (french ? QStringLiteral("Envoyer les données...")
                                      : QStringLiteral("Versturen van de gegevens...")) +
                                  QStringLiteral(" / ") + max,
                              QStringLiteral("Ready / ") + max}));
    }

    void frenchWrongModuleBox()
    {
        TestHome home;
        home.writeSettings(" 2 \r\n", "1\r\n", "20\r\n");
        MemoryLink link;
        TestWindow w(nullptr, &link);
        ScriptedModule relay(link, 0);
        connectTo(w, relay);
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        relay.answer = false;
        ScriptedModule dim(link, 1);
        w.Command2->click();
        dim.announce();
        QTRY_COMPARE(MessageBox::shownCount(), 1);
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Attention !"));
        QCOMPARE(MessageBox::lastText(), QStringLiteral("Module pas du bon type !"));
        QCOMPARE(MessageBox::lastButtons(), QStringList{QStringLiteral("OK")});
    }
};

QTEST_MAIN(TestConversation)
#include "tst_conversation.moc"
