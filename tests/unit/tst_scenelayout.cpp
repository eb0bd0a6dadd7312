#include "protocol/ModuleImage.h"
#include "scenes/SceneLayout.h"

#include <QSet>
#include <QTest>

using SceneLayout::ChannelKind;

// The scene table of the three module families and the fields of the scene editor.
class TestSceneLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Every used field of every scene edits its own slot inside the image; with the flags they
    // cover the table once, up to the last slot (scene 20 and its flag).
    void tableCoversTheImageOnce_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("lastSceneFirstSlot");
        QTest::addColumn<int>("usedFields");
        QTest::newRow("relay 0") << 0 << 80 << 327 << 12;
        QTest::newRow("dim") << 1 << 50 << 145 << 4;
        QTest::newRow("Velano") << 2 << 50 << 221 << 8;
        QTest::newRow("relay 3") << 3 << 80 << 327 << 12;
    }
    void tableCoversTheImageOnce()
    {
        QFETCH(int, type);
        QFETCH(int, first);
        QFETCH(int, lastSceneFirstSlot);
        QFETCH(int, usedFields);
        const ModuleImage image(ModuleTypes::info(type)->slotCount);
        QCOMPARE(SceneLayout::channelSlot(type, 19, 1), lastSceneFirstSlot);
        QCOMPARE(SceneLayout::channelSlot(type, 19, SceneLayout::channelCount(type)), image.lastSlot() - 1);
        QCOMPARE(SceneLayout::groupFlagSlot(type, 19), image.lastSlot());
        QSet<int> taken;
        for (int scene = 0; scene < SceneLayout::SceneCount; ++scene) {
            for (int field = 0; field < SceneLayout::FieldCount; ++field) {
                const int slot = SceneLayout::fieldSlot(type, scene, field);
                if (SceneLayout::fieldUse(type, field)) {
                    QVERIFY(image.contains(slot) && !taken.contains(slot));
                    taken.insert(slot);
                } else {
                    QCOMPARE(slot, -1);
                }
            }
            taken.insert(SceneLayout::groupFlagSlot(type, scene));
        }
        QCOMPARE(taken.size(), SceneLayout::SceneCount * (usedFields + 1));
        QCOMPARE(taken.size(), image.size() - first);
        QCOMPARE(*std::min_element(taken.begin(), taken.end()), first);
        QCOMPARE(SceneLayout::showOrder(type).size(), usedFields);
        QCOMPARE(SceneLayout::fieldSlot(type, 20, 1), -1);
        QCOMPARE(SceneLayout::groupFlagSlot(type, -1), -1);
    }

    void fieldsOfTheDimAndVelanoModules()
    {
        for (int scene : {0, 3, 19}) {
            QCOMPARE(SceneLayout::fieldSlot(1, scene, 7), 52 + 5 * scene); // dim field 7: channel 3
            QCOMPARE(SceneLayout::fieldSlot(2, scene, 3), 54 + 9 * scene); // Velano field 3: channel 5
        }
        QCOMPARE(SceneLayout::fieldUse(2, 3)->kind, ChannelKind::Relay);
        QCOMPARE(SceneLayout::fieldUse(2, 7)->kind, ChannelKind::Dim);
    }

    // List position <-> stored code. "Toggle" is 2 on relay-style and 10 on dim-style channels;
    // "***" is 10 on the relay modules and 11 on every other channel.
    void codes_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("codes");
        const QList<int> dim{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
        QTest::newRow("relay 0") << 0 << int(ChannelKind::Relay) << QList<int>{0, 1, 2, 10};
        QTest::newRow("relay 3") << 3 << int(ChannelKind::Relay) << QList<int>{0, 1, 2, 10};
        QTest::newRow("Velano relay") << 2 << int(ChannelKind::Relay) << QList<int>{0, 1, 2, 11};
        QTest::newRow("dim") << 1 << int(ChannelKind::Dim) << dim;
        QTest::newRow("Velano dim") << 2 << int(ChannelKind::Dim) << dim;
    }
    void codes()
    {
        QFETCH(int, type);
        QFETCH(int, kind);
        QFETCH(QList<int>, codes);
        const auto k = ChannelKind(kind);
        QCOMPARE(SceneLayout::listSize(k), codes.size());
        for (int position = 0; position < codes.size(); ++position) {
            QCOMPARE(SceneLayout::codeAt(type, k, position), codes[position]);
            QCOMPARE(SceneLayout::positionOf(type, k, codes[position]), position);
        }
        QCOMPARE(SceneLayout::codeAt(type, k, -1), -1);
        QCOMPARE(SceneLayout::codeAt(type, k, codes.size()), -1);
        // Codes a list does not hold (read from a module or a file) have no position.
        for (int code = -1; code <= 999; ++code)
            if (!codes.contains(code)) QCOMPARE(SceneLayout::positionOf(type, k, code), -1);
    }
};

QTEST_APPLESS_MAIN(TestSceneLayout)
#include "tst_scenelayout.moc"
