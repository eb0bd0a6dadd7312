#include "common/MessageBox.h"
#include "files/ModuleFile.h"
#include "support/SimProcess.h"
#include "support/TestHome.h"
#include "support/TestWindow.h"

#include <QTest>
#include <memory>

// The program's real serial port against the module simulator on a pseudo-terminal.
class TestTransfer : public QObject
{
    Q_OBJECT

    static ModuleImage pattern(int type, int seed)
    {
        ModuleImage image(ModuleFile::slotCount(type));
        for (int slot = 0; slot < image.size(); ++slot)
            image.set(slot, (slot * 11 + seed) % 1000);
        return image;
    }

    struct Rig
    {
        TestHome home;
        std::unique_ptr<SimProcess> sim;
        std::unique_ptr<TestWindow> window;
        QString memoryFile;

        Rig(int type, const QStringList &extra, const QByteArray &pc = "100\r\n", int seed = 1)
        {
            home.writeSettings(" 1 \r\n", "1\r\n", pc);
            memoryFile = home.file(QStringLiteral("module.QV1"));
            ModuleImage memory = pattern(type, seed);
            memory.set(40, 1);
            sim = std::make_unique<SimProcess>(home.path(), memoryFile, type, memory, extra);
            window = std::make_unique<TestWindow>();
        }
        TestWindow &w() { return *window; }
        std::vector<int> simMemory()
        {
            sim->stop();
            return sim->savedMemory();
        }
    };

    static bool idle(TestWindow &w)
    {
        return w.Command1->isEnabled() && w.Combo1->isEnabled() && w.bestand->menuAction()->isEnabled() &&
               w.ProgressBar1->isHidden() && !w.conversation().isRunning();
    }

    static std::vector<int> values(const ModuleImage &image)
    {
        std::vector<int> v;
        for (int slot = 0; slot < image.size(); ++slot)
            v.push_back(image.value(slot));
        return v;
    }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    void readEveryType_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("relay") << 0;
        QTest::newRow("dim") << 1;
        QTest::newRow("velano") << 2;
        QTest::newRow("modular relay") << 3;
    }
    void readEveryType()
    {
        QFETCH(int, type);
        Rig rig(type, {});
        QVERIFY(rig.sim->started());
        TestWindow &w = rig.w();
        const ModuleState before = w.state();
        w.Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.Text1->text(), QStringLiteral("Edit mode"), 10000);
        QCOMPARE(w.state().ModuleType, type);
        QCOMPARE(*w.state().currentImage(),
                 pattern(type, 1).value(0) >= 0 ? *w.state().currentImage() : ModuleImage(1));
        std::vector<int> expected = values(pattern(type, 1));
        expected[40] = 1;
        QCOMPARE(values(*w.state().currentImage()), expected);
        for (int other : {0, 1, 2})
            if (w.state().imageFor(other) != w.state().currentImage())
                QCOMPARE(*w.state().imageFor(other), *before.imageFor(other));
        QCOMPARE(w.Combo1->currentText(), QString::fromLatin1(ModuleTypes::info(type)->comboEntry));
        QCOMPARE(w.Label5->text(),
                 QStringLiteral("Versie: %1").arg(expected[ModuleTypes::info(type)->versionSlot]));
        QVERIFY(w.Option1->isChecked());
        QVERIFY(!w.Bewaren->isEnabled() && w.Bewaren_als->isEnabled());
        QVERIFY(idle(w));
        const QStringList frames = rig.sim->frames();
        QCOMPARE(frames.value(0), QStringLiteral("D*52"));
        QCOMPARE(frames.value(1), QStringLiteral("T3600"));
    }

    void sendWritesTheImageInOrder()
    {
        Rig rig(2, {});
        TestWindow &w = rig.w();
        w.Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.Text1->text(), QStringLiteral("Edit mode"), 10000);
        ModuleImage &image = w.state().VelanoImage;
        for (int slot = 0; slot < image.size(); ++slot)
            image.set(slot, (slot * 3 + 7) % 1000);
        const int pcDelay = w.state().PcDelay;
        w.Command2->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.Text1->text(), QStringLiteral("Ready"), 15000);
        QCOMPARE(w.state().PcDelay, pcDelay);
        QVERIFY(idle(w));
        QTRY_VERIFY_WITH_TIMEOUT(rig.sim->logged(QStringLiteral("WRITE 230 slots")), 5000);
        QStringList frames = rig.sim->frames();
        const int start = frames.lastIndexOf(QStringLiteral("T3700"));
        QVERIFY(start > 0);
        QCOMPARE(frames[start - 1], QStringLiteral("D*52"));
        for (int slot = 0; slot < 230; ++slot)
            QCOMPARE(frames.value(start + 1 + slot),
                     QString::fromLatin1(Wire::slotFrame(slot, image.value(slot)).chopped(2)));
        QCOMPARE(rig.simMemory(), values(image));
    }

    void wrongModuleGetsTheBurstAndTheEndOnly()
    {
        Rig rig(1, {});
        TestWindow &w = rig.w();
        w.state().ModuleType = 0;
        w.Command2->setEnabled(true);
        w.Command2->click();
        QTRY_COMPARE_WITH_TIMEOUT(MessageBox::shownCount(), 1, 10000);
        QCOMPARE(MessageBox::lastText(), QStringLiteral("Verkeerde type module !"));
        QTRY_VERIFY(rig.sim->logged(QStringLiteral("END")));
        // Only the burst of 52 "D" (logged in runs, a busy machine may split it) and "T0006".
        int ds = 0;
        QStringList others;
        for (const QString &frame : rig.sim->frames()) {
            if (frame.startsWith(QLatin1String("D*")))
                ds += frame.mid(2).toInt();
            else
                others << frame;
        }
        QCOMPARE(ds, 52);
        QCOMPARE(others, QStringList{QStringLiteral("T0006")});
        QVERIFY(idle(w));
        QCOMPARE(w.state().ModuleType, 0);
    }

    // The last slot's line arriving early ends the read at once: the lines after it are not
    // stored. A data line that begins with "M" is a data line like any other.
    void readEndsAtTheLastSlot()
    {
        Rig rig(1, {QStringLiteral("--fault"), QStringLiteral("early-end=20"), QStringLiteral("--fault"),
                    QStringLiteral("m-line=10")});
        TestWindow &w = rig.w();
        std::vector<int> expected = values(w.state().DimImage);
        const ModuleImage module = pattern(1, 1);
        for (int slot = 0; slot < 20; ++slot)
            expected[size_t(slot)] = module.value(slot);
        expected[149] = module.value(149);
        w.Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.Text1->text(), QStringLiteral("Edit mode"), 10000);
        QCOMPARE(values(w.state().DimImage), expected);
        QTRY_VERIFY_WITH_TIMEOUT(rig.sim->logged(QStringLiteral("TX data")), 5000);
        QTest::qWait(200); // the rest of the lines has arrived meanwhile
        QCOMPARE(values(w.state().DimImage), expected);
    }

    void readingSurvivesGarbageAndBadSlots()
    {
        Rig rig(0, {QStringLiteral("--fault"), QStringLiteral("garbage"), QStringLiteral("--fault"),
                    QStringLiteral("bad-slot")});
        TestWindow &w = rig.w();
        w.Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.Text1->text(), QStringLiteral("Edit mode"), 10000);
        std::vector<int> expected = values(pattern(0, 1));
        expected[40] = 1;
        QCOMPARE(values(w.state().RelayImage), expected);
    }

    void silentModuleIsAbandoned()
    {
        Rig rig(0, {QStringLiteral("--fault"), QStringLiteral("silent")});
        TestWindow &w = rig.w();
        w.show();
        w.Command1->click();
        QTest::qWait(300);
        QVERIFY(w.conversation().isRunning());
        QVERIFY(w.AbortButton->isVisible());
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(idle(w));
        QTest::qWait(100);
        QVERIFY(rig.sim->frames().isEmpty());
    }

    void readThatStopsHalfWayKeepsTheImage()
    {
        Rig rig(1, {QStringLiteral("--fault"), QStringLiteral("stop-after=60")});
        TestWindow &w = rig.w();
        const ModuleImage before = w.state().DimImage;
        w.Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.ProgressBar1->value(), 60, 10000);
        QTest::qWait(100);
        w.AbortButton->click();
        QVERIFY(idle(w));
        QCOMPARE(w.state().DimImage, before);
    }

    void lineThatHangsUp()
    {
        Rig rig(0, {QStringLiteral("--fault"), QStringLiteral("hangup-after=30")});
        TestWindow &w = rig.w();
        const ModuleImage before = w.state().RelayImage;
        w.Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(MessageBox::shownCount(), 1, 10000);
        QVERIFY(MessageBox::lastText().contains(QStringLiteral("verbroken")));
        QVERIFY(idle(w));
        QCOMPARE(w.state().RelayImage, before);
    }

    void unsupportedModule()
    {
        Rig rig(0, {QStringLiteral("--fault"), QStringLiteral("wrong-digit")});
        TestWindow &w = rig.w();
        w.Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(MessageBox::shownCount(), 1, 10000);
        QVERIFY(MessageBox::lastText().contains(QStringLiteral("niet ondersteund")));
        QVERIFY(idle(w));
        QCOMPARE(w.state().ModuleType, 4);
    }

    void missingPortIsReported()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n", "8\r\n");
        TestWindow w;
        w.Command1->click();
        QCOMPARE(MessageBox::shownCount(), 1);
        QVERIFY2(MessageBox::lastText().contains(QStringLiteral("/dev/ttyS7")),
                 qPrintable(MessageBox::lastText()));
        QVERIFY(idle(w));
        // The installer picks another port and goes on.
        QVERIFY(w.poort->isEnabled());
    }

    // The exact pause is checked where it is exact, at the writer (tst_conversation). On the wire
    // the simulator's clock only sees when it woke up to read, so a late wake-up shortens one gap
    // and lengthens the next: only the span of the whole "D" burst is bounded, from below.
    void pacingHoldsOnTheWire()
    {
        const int pause = 3000;
        Rig rig(1, {}, QByteArray::number(pause) + "\r\n");
        TestWindow &w = rig.w();
        w.Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.Text1->text(), QStringLiteral("Edit mode"), 10000);
        const SimProcess::Span burst = rig.sim->span(QStringLiteral("D"));
        QCOMPARE(burst.characters, 52);
        QVERIFY2(burst.microseconds >= 51 * pause - 20000, qPrintable(QString::number(burst.microseconds)));
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
