#include "app/SettingsFiles.h"
#include "protocol/ModuleState.h"
#include "support/TestHome.h"

#include <QFileInfo>
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fieldReading_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("number");
        QTest::newRow("written language") << QByteArray(" 1 \r\n") << QStringLiteral("1 ") << 1;
        QTest::newRow("port digit") << QByteArray("3\r\n") << QStringLiteral("3") << 3;
        QTest::newRow("up to the comma") << QByteArray("  2,7\r\n") << QStringLiteral("2") << 2;
        QTest::newRow("quoted") << QByteArray("\"12\",3\r\n") << QStringLiteral("12") << 12;
        QTest::newRow("no line end") << QByteArray("800") << QStringLiteral("800") << 800;
        QTest::newRow("only the first line") << QByteArray("4\r\n5\r\n") << QStringLiteral("4") << 4;
        QTest::newRow("text") << QByteArray("abc\r\n") << QStringLiteral("abc") << -1;
        QTest::newRow("empty") << QByteArray("") << QString() << -1;
    }
    void fieldReading()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, field);
        QFETCH(int, number);
        QCOMPARE(SettingsFiles::firstField(content), field);
        QCOMPARE(SettingsFiles::numberField(content).value_or(-1), number);
    }

    void folderIsReadWhole_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("folder");
        QTest::newRow("comma in the name") << QByteArray("/data/Jansen, Piet\r\n") << QStringLiteral("/data/Jansen, Piet");
        QTest::newRow("quoted") << QByteArray("\"c:\\a, b\\\"\r\n") << QStringLiteral("c:\\a, b\\");
        QTest::newRow("blanks kept") << QByteArray(" /x y/ \r\n") << QStringLiteral(" /x y/ ");
        QTest::newRow("empty") << QByteArray("\r\n") << QString();
    }
    void folderIsReadWhole()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, folder);
        QCOMPARE(SettingsFiles::folderLine(content), folder);
    }

    void writtenForms()
    {
        QCOMPARE(SettingsFiles::languageContent(1), QByteArray(" 1 \r\n"));
        QCOMPARE(SettingsFiles::languageContent(2), QByteArray(" 2 \r\n"));
        QCOMPARE(SettingsFiles::portContent(3), QByteArray("3\r\n"));
        QCOMPARE(SettingsFiles::folderContent(QStringLiteral("/home/a, b")), QByteArray("/home/a, b\r\n"));
    }

    void writeAndReadBack()
    {
        TestHome home;
        QVERIFY(SettingsFiles::write(QStringLiteral("directory.vdm"),
                                     SettingsFiles::folderContent(QStringLiteral("/srv/Klant, De Vries"))));
        QCOMPARE(home.read(QStringLiteral("directory.vdm")), QByteArray("/srv/Klant, De Vries\r\n"));
        QCOMPARE(SettingsFiles::readFolder(QStringLiteral("directory.vdm")).value_or(QString()),
                 QStringLiteral("/srv/Klant, De Vries"));
        QVERIFY(!SettingsFiles::readNumber(QStringLiteral("country.vdm")).has_value());
    }

    void failedWriteIsReported()
    {
        TestHome home;
        // A settings "file" that is a folder cannot be replaced; the folder stays.
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("port.vdm")));
        QVERIFY(!SettingsFiles::write(QStringLiteral("port.vdm"), SettingsFiles::portContent(5)));
        QVERIFY(QFileInfo(home.file(QStringLiteral("port.vdm"))).isDir());
        // An installation folder that does not exist.
        InstallFolder::setOverride(home.path() + QStringLiteral("gone/"));
        QVERIFY(!SettingsFiles::write(QStringLiteral("port.vdm"), SettingsFiles::portContent(5)));
    }

    void imagesByType()
    {
        ModuleState s;
        QCOMPARE(s.imageFor(0), &s.RelayImage);
        QCOMPARE(s.imageFor(3), &s.RelayImage);
        QCOMPARE(s.imageFor(1), &s.DimImage);
        QCOMPARE(s.imageFor(2), &s.VelanoImage);
        QCOMPARE(s.imageFor(4), nullptr);
        QCOMPARE(s.currentImage(), nullptr); // no module identified at start
        QCOMPARE(s.RelayImage.size(), 340);
        QCOMPARE(s.DimImage.lastSlot(), 149);
        QCOMPARE(s.VelanoImage.lastSlot(), 229);
        s.DimImage.set(150, 7); // outside the image: ignored
        s.DimImage.set(-1, 7);
        QCOMPARE(s.DimImage, ModuleImage(150));
        QCOMPARE(s.DimImage.value(999), 0);
        QCOMPARE(threeDigits(0), QStringLiteral("000"));
        QCOMPARE(threeDigits(7), QStringLiteral("007"));
        QCOMPARE(threeDigits(339), QStringLiteral("339"));
        QCOMPARE(ModuleTypes::typeForComboEntry(QStringLiteral("ZK2018")), 3);
        QCOMPARE(ModuleTypes::typeForComboEntry(QStringLiteral("zk2018")), -1);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
