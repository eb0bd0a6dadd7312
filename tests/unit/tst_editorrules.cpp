#include "editors/EditorRules.h"
#include "editors/SlotWords.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace EditorRules;

// The slot codes of the editors, and the texts their tables show.
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
        QCOMPARE(SlotWords(0, 2).pushButtonFunction(42), QStringLiteral("***"));
        QCOMPARE(SlotWords(0, 1).pushButtonFunction(0), QStringLiteral("Uitgang 1"));
        QCOMPARE(SlotWords(0, 2).pushButtonFunction(49), QStringLiteral("Sortie 50"));
        QCOMPARE(SlotWords(0, 1).pushButtonFunction(50), QStringLiteral("Sfeer 1"));
        QCOMPARE(SlotWords(0, 2).pushButtonFunction(69), QStringLiteral("Contexte 20"));
        QCOMPARE(SlotWords(0, 1).pushButtonFunction(70), QStringLiteral("Uitgang 71"));
        QCOMPARE(SlotWords(0, 3).pushButtonFunction(5), QString());
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
        QCOMPARE(SlotWords(0, language).outputFunction(code, 7), function);
        QCOMPARE(SlotWords(0, language).outputTime(code, 3), time);
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

    // With a language that is neither Dutch nor French the words of the slots are empty, so that
    // every control that shows them keeps its design-time text; only the master flag's words are
    // the same in both languages.
    void noWordsInNeitherLanguage()
    {
        for (int type = 0; type <= 3; ++type) {
            const SlotWords words(type, 0);
            for (const int slot : words.order())
                if (slot != 40) QVERIFY2(words.slotName(slot).isEmpty(), qPrintable(words.slotName(slot)));
            for (const QString &text :
                 {words.channel(1), words.channel(8), words.scene(0), words.dimChannel(1),
                  words.groupChoice(0), words.pushButtonNumber(1), words.pushButtonFunction(0)})
                QVERIFY2(text.isEmpty(), qPrintable(text));
            QCOMPARE(words.pushButtonColumns(), QStringList(3, QString()));
            QCOMPARE(words.slotName(40), u"Master/Slave"_s);
        }
        QCOMPARE(SlotWords(2, 1).channel(8), u"Relais 8"_s);
        QCOMPARE(SlotWords(2, 2).channel(1), u"Dim 1"_s);
        QCOMPARE(SlotWords(1, 2).channel(4), u"Sortie 4"_s);
    }
};

QTEST_GUILESS_MAIN(TestEditorRules)
#include "tst_editorrules.moc"
