#include "common/MessageBox.h"
#include "files/Backups.h"
#include "files/ModuleFile.h"
#include "support/SimRig.h"

#include <QRegularExpression>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// The installer's safety net against a simulated module on the program's real serial port: a
// backup of every module read, backups that open and send but are never saved over, and the
// check after a send.
class TestSafetyNet : public QObject
{
    Q_OBJECT

    // A relay master whose settings are all values its editors show as they are.
    static ModuleImage relayMaster()
    {
        ModuleImage memory = Images::pattern(0, 1);
        for (int slot = 0; slot < 40; ++slot)
            memory.set(slot, slot % 12);
        memory.set(ModuleTypes::MasterSlot, 1);
        memory.set(41, 5);
        for (int output = 1; output <= 12; ++output) {
            memory.set(41 + output, output % 6);
            memory.set(53 + output, output);
            memory.set(65 + output, 0);
        }
        return memory;
    }

    static QStringList backupNames()
    {
        return QDir(Backups::folder()).entryList(QDir::Files | QDir::System, QDir::Name);
    }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    // Every completed read leaves a backup in the user's data folder that holds exactly what the
    // module holds; the oldest beyond 500 go, nothing else in the folder is touched.
    void everyReadIsBackedUp()
    {
        SimRig rig({.memory = relayMaster()});
        const QDir folder(Backups::folder());
        QVERIFY(UserFolders::makePrivateFolder(Backups::folder()));
        for (int n = 0; n < 500; ++n) {
            const QString name =
                Backups::fileName(QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(n), 0, 229);
            QVERIFY(QFile::copy(rig.memoryFile(), folder.filePath(name)));
        }
        QFile(folder.filePath(u"notities.txt"_s)).open(QIODevice::WriteOnly);
        QVERIFY(folder.mkdir(u"2019-01-01_00-00-00_ZK2019_v1.QV1"_s));
        QVERIFY(QFile::link(rig.memoryFile(), folder.filePath(u"2019-01-02_00-00-00_ZK2019_v1.QV1"_s)));

        QVERIFY(rig.read());
        struct stat st
        {
        };
        QCOMPARE(::stat(QFile::encodeName(Backups::folder()).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
        const QList<Backups::Entry> backups = Backups::list();
        QCOMPARE(backups.size(), 500);
        const QString newest = QFileInfo(backups.first().path).fileName();
        QVERIFY2(
            QRegularExpression(u"^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d_ZK3412_ZK2412_v\\d{3}\\.QV1$"_s)
                .match(newest)
                .hasMatch(),
            qPrintable(newest));
        QCOMPARE(readModuleFile(backups.first().path)->values, Images::values(rig.module()));
        const QStringList names = backupNames();
        QVERIFY(!names.contains(Backups::fileName(QDateTime(QDate(2020, 1, 1), QTime(0, 0)), 0, 229)));
        QVERIFY(
            names.contains(Backups::fileName(QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(1), 0, 229)));
        QVERIFY(names.contains(u"notities.txt"_s));
        QVERIFY(names.contains(u"2019-01-02_00-00-00_ZK2019_v1.QV1"_s));
        QVERIFY(QFileInfo(folder.filePath(u"2019-01-01_00-00-00_ZK2019_v1.QV1"_s)).isDir());
        QVERIFY(QFile::exists(rig.memoryFile()));
    }

    // A backup opens as a module file does but is never saved over, and what it holds goes back
    // into the module with "Versturen".
    void aBackupOpensAndSends()
    {
        SimRig rig({.memory = relayMaster()});
        QVERIFY(rig.read());
        const std::vector<int> asRead = Images::values(rig.module());
        const QString backup = Backups::list().first().path;
        rig.w().selectOption(rig.w().Option2);
        QVERIFY(rig.send());
        QCOMPARE(rig.saved().at(ModuleTypes::MasterSlot), 0);

        QVERIFY(rig.w().openBackup(backup));
        QCOMPARE(rig.w().state().ModuleFilePath, QString());
        QCOMPARE(rig.w().windowTitle(), u"QV Velano"_s);
        QVERIFY(!rig.w().Bewaren->isEnabled());
        QVERIFY(rig.w().Bewaren_als->isEnabled());
        QVERIFY(rig.w().Command2->isEnabled());
        QVERIFY(rig.w().Option1->isChecked());
        QVERIFY(rig.send());
        QCOMPARE(rig.saved(), asRead);
        // Opening a backup puts it among the recent files no more than a read does.
        QVERIFY(!rig.w().findChild<QAction *>(u"recent1"_s));
    }

    // The check after a send reads the module again and reports every value the module does not
    // hold as sent, in the editors' words; the window stays as the send left it.
    void checkAfterSending_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        // All well is a piece of information; differences are a warning.
        QTest::newRow("module holds what was sent")
            << QStringList() << u"Controle: alle 340 waarden gelijk"_s
            << u"Controle: alle 340 waarden gelijk"_s << u"Controle"_s << int(MessageBox::Icon::Information);
        QTest::newRow("slot 45 changes after the write")
            << QStringList{u"change-after-write=45"_s}
            << u"Controle: 1 waarde verschilt tussen het programma en de module:"_s
            << u"Controle: 1 waarde verschilt tussen het programma en de module:\n"
               "Uitgang 4, functie: Actief bij doven van → Vergrendeling met uitgang"_s
            << u"Opgelet !"_s << int(MessageBox::Icon::Warning);
    }
    void checkAfterSending()
    {
        QFETCH(QStringList, faults);
        QFETCH(QString, status);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(int, icon);
        SimRig rig({.memory = relayMaster(), .faults = faults});
        byName<QAction>(&rig.w(), "Controleren")->trigger();
        QVERIFY(rig.read());
        const QString windowTitle = rig.w().windowTitle();
        const std::vector<int> sent = rig.image();
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
        rig.w().Command2->click();
        QTRY_VERIFY_WITH_TIMEOUT(rig.w().Text1->text().startsWith(u"Controle: "_s), 20000);
        QCOMPARE(rig.w().Text1->text(), status);
        QCOMPARE(MessageBox::lastText(), text);
        QCOMPARE(MessageBox::lastTitle(), title);
        QCOMPARE(int(MessageBox::lastIcon()), icon);
        QVERIFY(!rig.w().conversation().isRunning());
        // Two readings of the module: the read and the check.
        QCOMPARE(rig.sim().frames().count(u"T3600"_s), 2);
        QCOMPARE(rig.image(), sent);
        QCOMPARE(rig.w().windowTitle(), windowTitle);
        QCOMPARE(rig.w().state().ModuleType, 0);
        QVERIFY(rig.w().Command2->isEnabled());
        QVERIFY(!rig.w().Bewaren->isEnabled());
        // The check keeps no backup of its own.
        QCOMPARE(Backups::list().size(), 1);
    }

    // Abandoned while the module has gone quiet half-way: the check says so and changes nothing.
    void abandonedCheck()
    {
        SimRig rig({.memory = relayMaster(), .faults = {u"stop-after=5"_s}});
        byName<QAction>(&rig.w(), "Controleren")->trigger();
        QVERIFY(rig.w().openModuleFile(rig.memoryFile()));
        rig.w().Command2->click();
        QTRY_VERIFY_WITH_TIMEOUT(rig.w().conversation().isChecking() && rig.w().conversation().isRunning(),
                                 10000);
        QTest::keyClick(&rig.w(), Qt::Key_Escape);
        QTRY_COMPARE(rig.w().Text1->text(), u"Controle afgebroken"_s);
        QCOMPARE(rig.w().state().ModuleFilePath, rig.memoryFile());
        QVERIFY(rig.w().Bewaren->isEnabled());
        QVERIFY(rig.w().Command2->isEnabled());
    }
};

QTEST_MAIN(TestSafetyNet)
#include "tst_safetynet.moc"
