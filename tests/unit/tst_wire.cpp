#include "protocol/ReplyDispatch.h"
#include "protocol/Wire.h"

#include <QTest>

class TestWire : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void framesAsLiteralBytes()
    {
        QCOMPARE(Wire::commandFrame(QStringLiteral("T3600")), QByteArray("T3600\n\r"));
        QCOMPARE(Wire::commandFrame(QStringLiteral("T0006")), QByteArray("T0006\n\r"));
        QCOMPARE(Wire::slotFrame(5, 12), QByteArray("T005012\n\r"));
        QCOMPARE(Wire::slotFrame(0, 0), QByteArray("T000000\n\r"));
        QCOMPARE(Wire::slotFrame(339, 7), QByteArray("T339007\n\r"));
        QCOMPARE(Wire::slotFrame(40, 999), QByteArray("T040999\n\r"));
        QCOMPARE(Wire::dBurst(), QByteArray(52, 'D'));
        QCOMPARE(Wire::outputCommand(1), QStringLiteral("T7000"));
        QCOMPARE(Wire::outputCommand(5), QStringLiteral("T7004"));
        QCOMPARE(Wire::outputCommand(12), QStringLiteral("T7011"));
    }

    void lineReaderKeepsLineFeeds()
    {
        LineReader r;
        r.append("X1");
        QVERIFY(!r.takeLine());
        r.append("2\r\nY\r");
        QCOMPARE(r.takeLine().value(), QStringLiteral("X12"));
        QCOMPARE(r.takeLine().value(), QStringLiteral("\nY"));
        QVERIFY(!r.takeLine());
        QVERIFY(r.isEmpty());
        r.append("\r");
        QCOMPARE(r.takeLine().value(), QString());
    }

    // Whatever the module sends, the reader keeps a bounded amount, and the line after an
    // overlong one starts where the module meant it to.
    void lineReaderIsBounded()
    {
        LineReader r;
        r.append(QByteArray(LineReader::MaxPending - 1, 'x'));
        r.append("yz");
        r.append(QByteArray(10'000'000, 'w'));
        QCOMPARE(r.size(), LineReader::MaxPending);
        QVERIFY(!r.takeLine());
        r.append("www\rRD040001\r");
        const QString cut = r.takeLine().value();
        QCOMPARE(cut.size(), LineReader::MaxPending);
        QVERIFY(cut.endsWith(QLatin1Char('y')));
        QCOMPARE(r.takeLine().value(), QStringLiteral("RD040001"));
        QVERIFY(r.isEmpty());

        // Complete lines that nobody takes: the newest are kept.
        for (int i = 0; i < 200'000; ++i)
            r.append("RD" + QByteArray::number(100000 + i) + "\r");
        QVERIFY(r.size() <= LineReader::MaxBuffered);
        QVERIFY(r.size() > LineReader::MaxBuffered - 20);
        QString last;
        while (const auto line = r.takeLine())
            last = *line;
        QCOMPARE(last, QStringLiteral("RD299999"));
        QVERIFY(r.isEmpty());
    }

    void dataLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << QStringLiteral("RD040001") << 40 << 1;
        QTest::newRow("leading zeros") << QStringLiteral("xx339007") << 339 << 7;
        QTest::newRow("M counts as data") << QStringLiteral("M1005012") << 5 << 12;
        QTest::newRow("blanks skipped") << QStringLiteral("RD 12 7 ") << 12 << 7;
        QTest::newRow("blank inside a field") << QStringLiteral("RD4 0 7 ") << 40 << 7;
        QTest::newRow("blank after a digit") << QStringLiteral("RD3 912x4") << 39 << 12;
        QTest::newRow("value stops at non-digit") << QStringLiteral("RD0121x3") << 12 << 1;
        QTest::newRow("value without digits is 0") << QStringLiteral("RD012abc") << 12 << 0;
        QTest::newRow("short value") << QStringLiteral("RD0129") << 12 << 9;
        QTest::newRow("outside the image is still parsed") << QStringLiteral("RD400001") << 400 << 1;
        QTest::newRow("slot not a number") << QStringLiteral("RDabc012") << -1 << 0;
        QTest::newRow("too short") << QStringLiteral("RD") << -1 << 0;
        QTest::newRow("empty") << QString() << -1 << 0;
    }
    void dataLines()
    {
        QFETCH(QString, line);
        QFETCH(int, slot);
        QFETCH(int, value);
        const auto data = Wire::parseDataLine(line);
        QCOMPARE(data.has_value(), slot >= 0);
        if (data) {
            QCOMPARE(data->slot, slot);
            QCOMPARE(data->value, value);
        }
    }

    void announceAndReports()
    {
        auto a = Wire::parseAnnounce(QStringLiteral("M12501"));
        QVERIFY(a);
        QCOMPARE(a->masterFlag, 1);
        QCOMPARE(a->typeDigit, 2);
        a = Wire::parseAnnounce(QStringLiteral("M0"));
        QCOMPARE(a->typeDigit, -1);
        QCOMPARE(Wire::parseAnnounce(QStringLiteral("M07"))->typeDigit, 7);
        QVERIFY(!Wire::parseAnnounce(QStringLiteral("X12")));
        QVERIFY(!Wire::parseAnnounce(QStringLiteral("\nM12")));

        QCOMPARE(Wire::parsePushButtonIndex(QStringLiteral("P04")).value_or(-1), 4);
        QCOMPARE(Wire::parsePushButtonIndex(QStringLiteral("P19xyz")).value_or(-1), 19);
        QVERIFY(!Wire::parsePushButtonIndex(QStringLiteral("P4")));
        QVERIFY(!Wire::parsePushButtonIndex(QStringLiteral("P 4")));
        QVERIFY(!Wire::parsePushButtonIndex(QStringLiteral("Pab")));
        QCOMPARE(Wire::lineStatusValue(QStringLiteral("S0412")), QStringLiteral("0412"));
        QCOMPARE(Wire::lineStatusValue(QStringLiteral("S04")), QStringLiteral("04"));
    }

    void replyRulesInOrder()
    {
        const QString m = QStringLiteral("M12");
        const QString other = QStringLiteral("RD001002");
        QCOMPARE(decideReply(m, QStringLiteral("T0006"), DiagnosticTest(3)), ReplyRule::Ignore);
        QCOMPARE(decideReply(m, QStringLiteral("T3500"), DiagnosticTest(3)), ReplyRule::OutputTestReady);
        QCOMPARE(decideReply(m, QStringLiteral("T8019"), DiagnosticTest(2)), ReplyRule::PushButtonReport);
        QCOMPARE(decideReply(other, QStringLiteral("T8019"), DiagnosticTest(2)), ReplyRule::PushButtonReport);
        QCOMPARE(decideReply(m, QStringLiteral("T3500"), DiagnosticTest(2)), ReplyRule::MonitorStart);
        QCOMPARE(decideReply(other, QStringLiteral("T9019"), DiagnosticTest(1)), ReplyRule::LineStatusReport);
        QCOMPARE(decideReply(m, QStringLiteral("T3500"), DiagnosticTest(1)), ReplyRule::LineStatusStart);
        QCOMPARE(decideReply(m, QStringLiteral("T3600"), DiagnosticTest(1)), ReplyRule::DataLine);
        QCOMPARE(decideReply(other, QStringLiteral("T3500"), DiagnosticTest(1)), ReplyRule::DataLine);
        QCOMPARE(decideReply(other, QStringLiteral("T9019"), DiagnosticTest(2)), ReplyRule::DataLine);
    }
};

QTEST_GUILESS_MAIN(TestWire)
#include "tst_wire.moc"
