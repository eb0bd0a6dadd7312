#include "common/MessageBox.h"
#include "support/WindowRig.h"

#include <QSignalSpy>
#include <QTest>

// Connecting, reading and sending, against a scripted module on an in-memory line (the ways out
// of a conversation are the rows of tst_waysout).
class TestConversation : public QObject
{
    Q_OBJECT

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
        QTest::addColumn<int>("versionSlot");
        QTest::newRow("relay") << 0 << QStringLiteral("ZK3412_ZK2412") << QStringLiteral("Relaismodule:")
                               << 79;
        QTest::newRow("dim") << 1 << QStringLiteral("ZK24XX_ZK3447") << QStringLiteral("Dimmodule:") << 47;
        QTest::newRow("velano") << 2 << QStringLiteral("ZK2019") << QStringLiteral("Velano module:") << 47;
        QTest::newRow("modular relay")
            << 3 << QStringLiteral("ZK2018") << QStringLiteral("Relaismodule:") << 79;
    }
    void readEachType()
    {
        QFETCH(int, type);
        QFETCH(QString, entry);
        QFETCH(QString, picture);
        QFETCH(int, versionSlot);
        WindowRig rig;
        TestWindow &w = rig.w();
        ScriptedModule &module = rig.attach(type, 1, 42 + type);
        QCOMPARE(module.memory[size_t(versionSlot)], 42 + type);
        const ModuleState before = w.state();
        w.Command1->click();
        module.announce();
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
        QCOMPARE(w.Label5->text(), QStringLiteral("Versie: %1").arg(42 + type));
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
        QVERIFY(w.isIdle());
        // On the wire: the burst of 52 "D", then the read command.
        QCOMPARE(rig.link.written(), QByteArray(52, 'D') + "T3600\n\r");
    }

    void slaveFromSlot40AndGarbageLines()
    {
        WindowRig rig;
        ScriptedModule &module = rig.attach(0);
        module.memory[40] = 0;
        // Lines that are no data lines, or name a slot outside the image, store nothing.
        module.extraLines = "xx\r"
                            "RDabc012\r"
                            "RD400001\r"
                            "??\r";
        QVERIFY(rig.read());
        QVERIFY(rig.w().Option2->isChecked());
        QCOMPARE(rig.w().state().MasterFlag, 0);
        QCOMPARE(rig.w().state().RelayImage, module.image());
    }

    void sendWritesEverySlotInOrder()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        QVERIFY(rig.read(1, 0));
        w.state().DimImage.set(5, 12);
        w.state().DimImage.set(149, 0);
        rig.link.takeWritten();
        const int pcDelay = w.state().PcDelay;
        rig.memory().assign(rig.memory().size(), 999);

        w.Command2->click();
        QVERIFY(!w.Command1->isEnabled() && !w.Command2->isEnabled());
        rig.module->announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Ready"));
        QByteArray expected = QByteArray(52, 'D') + "T3700\n\r";
        for (int slot = 0; slot < 150; ++slot)
            expected += "T" + QByteArray::number(1000 + slot).right(3) +
                        QByteArray::number(1000 + w.state().DimImage.value(slot)).right(3) + "\n\r";
        QCOMPARE(rig.link.written(), expected);
        QVERIFY(rig.link.written().contains("T005012\n\r"));
        QVERIFY(rig.link.written().endsWith("T149000\n\r"));
        QCOMPARE(rig.module->image(), w.state().DimImage);
        QCOMPARE(w.state().PcDelay, pcDelay);
        QVERIFY(w.Command1->isEnabled() && w.Command2->isEnabled() && w.Option1->isEnabled());
        QVERIFY(w.isIdle());
    }

    void wrongModuleGetsOnlyTheBurstAndTheEnd()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        QVERIFY(rig.read(0));
        const ModuleImage image = w.state().RelayImage;
        rig.link.takeWritten();

        rig.attach(1);
        w.Command2->click();
        rig.module->announce();
        QTRY_COMPARE(MessageBox::shownCount(), 1);
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Opgelet !"));
        QCOMPARE(MessageBox::lastText(), QStringLiteral("Verkeerde type module !"));
        QCOMPARE(rig.link.written(), QByteArray(52, 'D') + "T0006\n\r");
        QCOMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QCOMPARE(w.state().ModuleType, 0);
        QCOMPARE(w.state().RelayImage, image);
        QVERIFY(w.isIdle());
        QVERIFY(w.Command2->isEnabled());
    }

    void skipsLinesBeforeTheAnnounce()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        ScriptedModule &module = rig.attach(3, 0);
        w.Command1->click();
        rig.link.moduleSend("noise\rXM13\r");
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QCOMPARE(w.state().ModuleType, 3);
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("ZK2018"));
    }

    void frenchTexts()
    {
        WindowRig rig({.country = " 2 \r\n"});
        TestWindow &w = rig.w();
        ScriptedModule &module = rig.attach(1);
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
        WindowRig rig({.pc = "800\r\n"});
        QVERIFY(rig.read(0));
        // After the burst: "T3600\n\r", a pause after each of its first six characters.
        const QList<qint64> gaps = rig.link.writeGaps();
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
        WindowRig rig;
        TestWindow &w = rig.w();
        w.state().PcDelay = 801;
        QSignalSpy queued(&w.conversation(), &Conversation::framesQueued);
        QVERIFY(rig.read(1));
        w.Command2->click();
        rig.module->announce();
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
        WindowRig rig;
        TestWindow &w = rig.w();
        QVERIFY(rig.read(3));
        rig.link.takeWritten();
        w.Command2->click();
        rig.module->announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Ready"));
        QByteArray expected = QByteArray(52, 'D') + "T3700\n\r";
        for (int slot = 0; slot < 340; ++slot)
            expected += QByteArray("T") + QByteArray::number(1000 + slot).right(3) +
                        QByteArray::number(1000 + rig.memory()[size_t(slot)]).right(3) + "\n\r";
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
        WindowRig rig({.country = country});
        TestWindow &w = rig.w();
        ScriptedModule &module = rig.attach(type);
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
        WindowRig rig({.country = " 2 \r\n"});
        TestWindow &w = rig.w();
        QVERIFY(rig.read(0));
        rig.attach(1);
        w.Command2->click();
        rig.module->announce();
        QTRY_COMPARE(MessageBox::shownCount(), 1);
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Attention !"));
        QCOMPARE(MessageBox::lastText(), QStringLiteral("Module pas du bon type !"));
        QCOMPARE(MessageBox::lastButtons(), QStringList{QStringLiteral("OK")});
    }
};

QTEST_MAIN(TestConversation)
#include "tst_conversation.moc"
