#include "common/MessageBox.h"
#include "files/Backups.h"
#include "files/ImageCompare.h"
#include "files/ModuleFile.h"
#include "support/SimProcess.h"
#include "support/TestHome.h"
#include "support/TestWindow.h"

#include <QRegularExpression>
#include <QTest>
#include <memory>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// The installer's safety net against a simulated module on the program's real serial port: a
// backup of every module read, backups that open and send but are never saved over, and the
// check after a send.
class TestSafetyNet : public QObject
{
    Q_OBJECT

    struct Rig
    {
        TestHome home;
        std::unique_ptr<SimProcess> sim;
        std::unique_ptr<TestWindow> window;
        QString memoryFile;

        explicit Rig(const QStringList &faults = {})
        {
            home.writeSettings(" 1 \r\n", "1\r\n", "100\r\n");
            memoryFile = home.file(u"module.QV1"_s);
            // A relay master whose settings are all values its editors show as they are.
            ModuleImage memory(ModuleFile::slotCount(0));
            for (int slot = 0; slot < memory.size(); ++slot)
                memory.set(slot, (slot * 11 + 1) % 1000);
            for (int slot = 0; slot < 40; ++slot)
                memory.set(slot, slot % 12);
            memory.set(ModuleTypes::MasterSlot, 1);
            memory.set(41, 5);
            for (int output = 1; output <= 12; ++output) {
                memory.set(41 + output, output % 6);
                memory.set(53 + output, output);
                memory.set(65 + output, 0);
            }
            QStringList arguments;
            for (const QString &fault : faults)
                arguments << u"--fault"_s << fault;
            sim = std::make_unique<SimProcess>(home.path(), memoryFile, 0, memory, arguments);
            window = std::make_unique<TestWindow>();
            window->show();
        }
        TestWindow &w() { return *window; }
        std::vector<int> memory() const { return sim->savedMemory(); }
        std::vector<int> image() const
        {
            const ModuleImage &image = *window->state().currentImage();
            std::vector<int> values;
            for (int slot = 0; slot < image.size(); ++slot)
                values.push_back(image.value(slot));
            return values;
        }
        int completedWrites() const { return sim->completedWrites(); }
        void read()
        {
            w().Command1->click();
            QTRY_COMPARE_WITH_TIMEOUT(w().Text1->text(), u"Edit mode"_s, 10000);
        }
        void send()
        {
            const int before = completedWrites();
            w().Command2->click();
            QTRY_COMPARE_WITH_TIMEOUT(completedWrites(), before + 1, 20000);
            QTRY_VERIFY(!w().conversation().isRunning());
        }
        QAction *action(const char *name) const { return window->find<QAction>(name); }
    };

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
        Rig rig;
        QVERIFY(rig.sim->started());
        const QDir folder(Backups::folder());
        QVERIFY(UserFolders::makePrivateFolder(Backups::folder()));
        for (int n = 0; n < 500; ++n) {
            const QString name =
                Backups::fileName(QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(n), 0, 229);
            QVERIFY(QFile::copy(rig.memoryFile, folder.filePath(name)));
        }
        QFile(folder.filePath(u"notities.txt"_s)).open(QIODevice::WriteOnly);
        QVERIFY(folder.mkdir(u"2019-01-01_00-00-00_ZK2019_v1.QV1"_s));
        QVERIFY(QFile::link(rig.memoryFile, folder.filePath(u"2019-01-02_00-00-00_ZK2019_v1.QV1"_s)));

        rig.read();
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
        QCOMPARE(readModuleFile(backups.first().path)->values, rig.memory());
        const QStringList names = backupNames();
        QVERIFY(!names.contains(Backups::fileName(QDateTime(QDate(2020, 1, 1), QTime(0, 0)), 0, 229)));
        QVERIFY(
            names.contains(Backups::fileName(QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(1), 0, 229)));
        QVERIFY(names.contains(u"notities.txt"_s));
        QVERIFY(names.contains(u"2019-01-02_00-00-00_ZK2019_v1.QV1"_s));
        QVERIFY(QFileInfo(folder.filePath(u"2019-01-01_00-00-00_ZK2019_v1.QV1"_s)).isDir());
        QVERIFY(QFile::exists(rig.memoryFile));
    }

    // A backup opens as a module file does but is never saved over, and what it holds goes back
    // into the module with "Versturen".
    void aBackupOpensAndSends()
    {
        Rig rig;
        QVERIFY(rig.sim->started());
        rig.read();
        const std::vector<int> asRead = rig.memory();
        const QString backup = Backups::list().first().path;
        rig.w().selectOption(rig.w().Option2);
        rig.send();
        QTRY_COMPARE(rig.memory().at(ModuleTypes::MasterSlot), 0);

        QVERIFY(rig.w().openBackup(backup));
        QCOMPARE(rig.w().state().ModuleFilePath, QString());
        QCOMPARE(rig.w().windowTitle(), u"QV Velano"_s);
        QVERIFY(!rig.action("Bewaren")->isEnabled());
        QVERIFY(rig.action("Bewaren_als")->isEnabled());
        QVERIFY(rig.w().Command2->isEnabled());
        QVERIFY(rig.w().Option1->isChecked());
        rig.send();
        QTRY_COMPARE(rig.memory(), asRead);
        // Opening a backup puts it among the recent files no more than a read does.
        QVERIFY(!rig.w().findChild<QAction *>(u"recent1"_s));
    }

    // The check after a send reads the module again and reports every value the module does not
    // hold as sent, in the editors' words; the window stays as the send left it.
    void checkAfterSending_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::newRow("module holds what was sent") << QStringList();
        QTest::newRow("slot 45 changes after the write") << QStringList{u"change-after-write=45"_s};
    }
    void checkAfterSending()
    {
        QFETCH(QStringList, faults);
        Rig rig(faults);
        QVERIFY(rig.sim->started());
        rig.action("Controleren")->trigger();
        rig.read();
        const QString title = rig.w().windowTitle();
        const std::vector<int> sent = rig.image();
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
        rig.w().Command2->click();
        QTRY_VERIFY_WITH_TIMEOUT(rig.w().Text1->text().startsWith(u"Controle: "_s), 20000);
        QVERIFY(!rig.w().conversation().isRunning());
        // Two readings of the module: the read and the check.
        QCOMPARE(rig.sim->frames().count(u"T3600"_s), 2);
        QCOMPARE(rig.image(), sent);
        QCOMPARE(rig.w().windowTitle(), title);
        QCOMPARE(rig.w().state().ModuleType, 0);
        QVERIFY(rig.w().Command2->isEnabled());
        QVERIFY(!rig.action("Bewaren")->isEnabled());
        // The check keeps no backup of its own.
        QCOMPARE(Backups::list().size(), 1);
        // All well is a piece of information; differences are a warning.
        if (faults.isEmpty()) {
            QCOMPARE(rig.w().Text1->text(), u"Controle: alle 340 waarden gelijk"_s);
            QCOMPARE(MessageBox::lastText(), u"Controle: alle 340 waarden gelijk"_s);
            QCOMPARE(MessageBox::lastTitle(), u"Controle"_s);
            QCOMPARE(MessageBox::lastIcon(), MessageBox::Icon::Information);
            return;
        }
        QCOMPARE(MessageBox::lastTitle(), u"Opgelet !"_s);
        QCOMPARE(MessageBox::lastIcon(), MessageBox::Icon::Warning);
        ModuleImage inHand(340);
        ModuleImage held(340);
        for (int slot = 0; slot < 340; ++slot) {
            inHand.set(slot, sent[size_t(slot)]);
            held.set(slot, slot == 45 ? (sent[45] + 1) % 1000 : sent[size_t(slot)]);
        }
        const QStringList expected =
            ImageCompare::lines(ImageCompare::compare(0, inHand, 0, held, 1).differences);
        QCOMPARE(expected.size(), 1);
        QCOMPARE(MessageBox::lastText(),
                 u"Controle: 1 waarde verschilt tussen het programma en de module:\n"_s + expected.first());
    }

    // Abandoned while the module has gone quiet half-way: the check says so and changes nothing.
    void abandonedCheck()
    {
        Rig rig({u"stop-after=5"_s});
        QVERIFY(rig.sim->started());
        rig.action("Controleren")->trigger();
        QVERIFY(rig.w().openModuleFile(rig.memoryFile));
        rig.w().Command2->click();
        QTRY_VERIFY_WITH_TIMEOUT(rig.w().conversation().isChecking() && rig.w().conversation().isRunning(),
                                 10000);
        QTest::keyClick(&rig.w(), Qt::Key_Escape);
        QTRY_COMPARE(rig.w().Text1->text(), u"Controle afgebroken"_s);
        QCOMPARE(rig.w().state().ModuleFilePath, rig.memoryFile);
        QVERIFY(rig.action("Bewaren")->isEnabled());
        QVERIFY(rig.w().Command2->isEnabled());
    }
};

QTEST_MAIN(TestSafetyNet)
#include "tst_safetynet.moc"
