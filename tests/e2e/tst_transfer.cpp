#include "common/MessageBox.h"
#include "files/ModuleFile.h"
#include "support/SimRig.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

// The program's real serial port against the module simulator on a pseudo-terminal.
class TestTransfer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    void readEveryType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("pc");
        QTest::addColumn<int>("slotsRead"); // slots 0 .. n-1 and the last one; -1: all
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("master");
        const QStringList none;
        QTest::newRow("relay") << 0 << none << 100 << -1 << "ZK3412_ZK2412"
                               << "Versie: 870" << true;
        QTest::newRow("dim") << 1 << none << 100 << -1 << "ZK24XX_ZK3447"
                             << "Versie: 518" << true;
        QTest::newRow("velano") << 2 << none << 100 << -1 << "ZK2019"
                                << "Versie: 518" << true;
        QTest::newRow("modular relay") << 3 << none << 100 << -1 << "ZK2018"
                                       << "Versie: 870" << true;
        // Lines that are no data lines, or name no slot of the image, are passed over.
        QTest::newRow("relay, garbage and bad slots")
            << 0 << QStringList{u"garbage"_s, u"bad-slot"_s} << 100 << -1 << "ZK3412_ZK2412"
            << "Versie: 870" << true;
        // The last slot's line arriving early ends the read at once: the lines after it are not
        // stored. A data line that begins with "M" is a data line like any other.
        QTest::newRow("dim, last slot early, M data line")
            << 1 << QStringList{u"early-end=20"_s, u"m-line=10"_s} << 100 << 20 << "ZK24XX_ZK3447"
            << "Versie: 0" << false;
        // The exact pause is checked where it is exact, at the writer (tst_conversation). On the
        // wire the simulator's clock only sees when it woke up to read, so a late wake-up shortens
        // one gap and lengthens the next: only the span of the whole "D" burst is bounded.
        QTest::newRow("dim, 3 ms after each character") << 1 << none << 3000 << -1 << "ZK24XX_ZK3447"
                                                        << "Versie: 518" << true;
    }
    void readEveryType()
    {
        QFETCH(int, type);
        QFETCH(QStringList, faults);
        QFETCH(int, pc);
        QFETCH(int, slotsRead);
        QFETCH(QString, entry);
        QFETCH(QString, version);
        QFETCH(bool, master);
        SimRig rig({.type = type, .faults = faults, .pc = pc});
        TestWindow &w = rig.w();
        const ModuleState before = w.state();
        std::vector<int> expected = Images::values(rig.module());
        if (slotsRead >= 0) {
            const std::vector<int> untouched = Images::values(*before.imageFor(type));
            std::copy(untouched.begin() + slotsRead, untouched.end() - 1, expected.begin() + slotsRead);
        }
        QVERIFY(rig.read());
        QCOMPARE(w.state().ModuleType, type);
        QCOMPARE(rig.image(), expected);
        for (int other : {0, 1, 2})
            if (w.state().imageFor(other) != w.state().currentImage())
                QCOMPARE(*w.state().imageFor(other), *before.imageFor(other));
        QCOMPARE(w.Combo1->currentText(), entry);
        QCOMPARE(w.Label5->text(), version);
        QCOMPARE(w.Option1->isChecked(), master);
        QVERIFY(!w.Bewaren->isEnabled() && w.Bewaren_als->isEnabled());
        QVERIFY(w.isIdle());
        const QString frames = rig.sim().frames().join(QLatin1Char(' '));
        QVERIFY2(QRegularExpression(u"^(D\\*\\d+ )+T3600$"_s).match(frames).hasMatch(), qPrintable(frames));
        const SimProcess::Span burst = rig.sim().span(u"D"_s);
        QCOMPARE(burst.characters, 52);
        QVERIFY2(burst.microseconds >= 51 * pc - 20000, qPrintable(QString::number(burst.microseconds)));
        // The lines the module sent after the read had ended change nothing.
        QTRY_VERIFY_WITH_TIMEOUT(rig.sim().logged(u"TX data"_s), 5000);
        QTest::qWait(200);
        QCOMPARE(rig.image(), expected);
    }

    void sendWritesTheImageInOrder()
    {
        SimRig rig({.type = 2});
        TestWindow &w = rig.w();
        QVERIFY(rig.read());
        ModuleImage &image = w.state().VelanoImage;
        std::vector<int> sent;
        for (int slot = 0; slot < 230; ++slot)
            sent.push_back((slot * 3 + 7) % 1000);
        for (int slot = 0; slot < 230; ++slot)
            image.set(slot, sent[size_t(slot)]);
        QVERIFY(rig.send());
        QCOMPARE(w.Text1->text(), u"Ready"_s);
        QCOMPARE(w.state().PcDelay, 100); // the slot frames' half pause leaves the setting alone
        QVERIFY(rig.sim().logged(u"WRITE 230 slots"_s));
        const QStringList frames = rig.sim().frames();
        const qsizetype start = frames.lastIndexOf(u"T3700"_s);
        QVERIFY(start > 0);
        QCOMPARE(frames[start - 1], u"D*52"_s);
        QCOMPARE(frames.value(start + 1), u"T000007"_s);
        QCOMPARE(frames.value(start + 230), u"T229694"_s);
        for (int slot = 0; slot < 230; ++slot)
            QCOMPARE(frames.value(start + 1 + slot), u"T%1%2"_s.arg(slot, 3, 10, QLatin1Char('0'))
                                                         .arg(sent[size_t(slot)], 3, 10, QLatin1Char('0')));
        QCOMPARE(rig.saved(), sent);
    }

    // A relay module file sent to a dim module: the module gets the burst and the end only.
    void wrongModuleGetsTheBurstAndTheEndOnly()
    {
        SimRig rig({.type = 1});
        TestWindow &w = rig.w();
        writeModuleFile(rig.home.file(u"relais.QV1"_s), 0, Images::pattern(0, 5));
        QVERIFY(w.openModuleFile(rig.home.file(u"relais.QV1"_s)));
        w.Command2->click();
        QTRY_COMPARE_WITH_TIMEOUT(MessageBox::shownCount(), 1, 10000);
        QCOMPARE(MessageBox::lastText(), u"Verkeerde type module !"_s);
        QTRY_VERIFY(rig.sim().logged(u"END"_s));
        // Only the burst of 52 "D" (logged in runs, a busy machine may split it) and "T0006".
        int ds = 0;
        QStringList others;
        for (const QString &frame : rig.sim().frames()) {
            if (frame.startsWith(QLatin1String("D*")))
                ds += frame.mid(2).toInt();
            else
                others << frame;
        }
        QCOMPARE(ds, 52);
        QCOMPARE(others, QStringList{u"T0006"_s});
        QVERIFY(rig.waitIdle());
        QCOMPARE(w.state().ModuleType, 0);
        QCOMPARE(rig.stoppedMemory(), Images::values(rig.module()));
    }
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
