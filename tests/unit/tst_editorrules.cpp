#include "editors/EditorRules.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace EditorRules;

// The slot codes and table texts of the editors.
class TestEditorRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listEntriesMustMatchExactly()
    {
        QCOMPARE(entryNumber(QStringLiteral("20"), 1, 20).value_or(-1), 20);
        for (const char *text : {"21", "0", "", " 7", "07", "+7", "7.0", "zeven"})
            QVERIFY2(!entryNumber(QString::fromLatin1(text), 1, 20), text);
    }

    void pushButtonFunctionEncoding()
    {
        QCOMPARE(pushButtonFunctionText(42, 2), QStringLiteral("***"));
        QCOMPARE(pushButtonFunctionText(0, 1), QStringLiteral("Uitgang 1"));
        QCOMPARE(pushButtonFunctionText(49, 2), QStringLiteral("Sortie 50"));
        QCOMPARE(pushButtonFunctionText(50, 1), QStringLiteral("Sfeer 1"));
        QCOMPARE(pushButtonFunctionText(69, 2), QStringLiteral("Contexte 20"));
        QCOMPARE(pushButtonFunctionText(70, 1), QStringLiteral("Uitgang 71"));
        QCOMPARE(pushButtonFunctionText(5, 3), QString());
        // A chosen function never leaves 0..outputs-1, 50..69 and 42.
        QCOMPARE(pushButtonFunctionValue(FunctionKind::Output, 1, 12).value_or(-1), 0);
        QCOMPARE(pushButtonFunctionValue(FunctionKind::Scene, 20, 4).value_or(-1), 69);
        QCOMPARE(pushButtonFunctionValue(FunctionKind::None, 0, 4).value_or(-1), 42);
        QVERIFY(!pushButtonFunctionValue(FunctionKind::Output, 5, 4));
        QVERIFY(!pushButtonFunctionValue(FunctionKind::Output, 0, 12));
        QVERIFY(!pushButtonFunctionValue(FunctionKind::Scene, 21, 12));
    }

    void baseFunctionsPerModuleType()
    {
        std::vector<int> relay(40, 42), dim(40, 42), velano(40, 42);
        for (int i = 0; i < 12; ++i)
            relay[size_t(i)] = i;
        for (int i = 0; i < 8; ++i)
            velano[size_t(i)] = i;
        for (int i = 0; i < 4; ++i)
            dim[size_t(i)] = dim[size_t(20 + i)] = velano[size_t(20 + i)] = i;
        QVERIFY(baseFunctions(0) == relay);
        QVERIFY(baseFunctions(3) == relay);
        QVERIFY(baseFunctions(1) == dim);
        QVERIFY(baseFunctions(2) == velano);
        QVERIFY(baseFunctions(4).empty());
        QVERIFY(!outputCount(4));
    }

    void secondFunctionTimeInHalfSeconds()
    {
        QCOMPARE(secondTimeEntries(),
                 (QStringList{u"0,5"_s, u"1"_s, u"1,5"_s, u"2"_s, u"2,5"_s, u"3"_s, u"3,5"_s, u"4"_s}));
        QCOMPARE(halfSecondsText(0), QStringLiteral("0"));
        QCOMPARE(halfSecondsText(9), QStringLiteral("4,5"));
        QCOMPARE(secondTimeValue(QStringLiteral("0,5")).value_or(-1), 1);
        QCOMPARE(secondTimeValue(QStringLiteral("4")).value_or(-1), 8);
        for (const char *text : {"0", "5", "1.5", "4,5", "", "2,50"})
            QVERIFY2(!secondTimeValue(QString::fromLatin1(text)), text);
    }

    void outputFunctionTexts_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("time");
        QTest::newRow("timed nl") << 1 << 1 << QStringLiteral("AAN/UIT+ tijdsfunctie")
                                  << QStringLiteral("3 min.");
        QTest::newRow("pulse") << 3 << 2 << QStringLiteral("Impulsion") << QStringLiteral("3 sec.");
        QTest::newRow("after nl") << 4 << 1 << QStringLiteral("Actief bij doven van uitgang 7 voor ")
                                  << QStringLiteral("3 min.");
        QTest::newRow("interlock fr")
            << 5 << 2 << QStringLiteral("Protection de la sortie 7 pour ") << QStringLiteral("3 min.");
        QTest::newRow("unknown code") << 9 << 1 << QStringLiteral("9") << QString();
        QTest::newRow("negative code") << -1 << 2 << QStringLiteral("-1") << QString();
    }
    void outputFunctionTexts()
    {
        QFETCH(int, code);
        QFETCH(int, language);
        QFETCH(QString, function);
        QFETCH(QString, time);
        QCOMPARE(outputFunctionText(code, 7, language), function);
        QCOMPARE(outputTimeText(code, 3), time);
    }

    void confirmingAnOutputFunction()
    {
        using W = std::vector<SlotValue>;
        // Only the slots the function uses are written.
        QVERIFY(outputFunctionWrites(2, 0, 9, 5) == (W{{43, 0}}));
        QVERIFY(outputFunctionWrites(12, 3, 15, 4) == (W{{53, 3}, {65, 15}}));
        QVERIFY(outputFunctionWrites(2, 4, 3, 7) == (W{{43, 4}, {55, 3}, {67, 7}}));
        // Incomplete or impossible entries write nothing.
        QVERIFY(outputFunctionWrites(0, 0, 0, 0).empty());
        QVERIFY(outputFunctionWrites(2, -1, 3, 7).empty());
        QVERIFY(outputFunctionWrites(2, 1, 0, 0).empty());
        QVERIFY(outputFunctionWrites(2, 3, 16, 0).empty());
        QVERIFY(outputFunctionWrites(2, 5, 3, 0).empty());
        QVERIFY(outputFunctionWrites(4, 4, 3, 4).empty());
    }
};

QTEST_GUILESS_MAIN(TestEditorRules)
#include "tst_editorrules.moc"
