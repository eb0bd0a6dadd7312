#include "files/Backups.h"
#include "files/ModuleFile.h"
#include "support/TestHome.h"

#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
QDateTime at(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

ModuleImage imageOf(int type, int version, int master)
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    ModuleImage image(info->slotCount);
    image.set(info->versionSlot, version);
    image.set(ModuleTypes::MasterSlot, master);
    return image;
}

bool isLink(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}
} // namespace

class TestBackups : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Only names of exactly the backup form are taken for backups.
    void names()
    {
        const auto p = Backups::parseName(u"2027-01-02_03-04-05_ZK3412_ZK2412_v80_3.QV1"_s);
        QVERIFY(p);
        QCOMPARE(p->dateTime, at(2027, 1, 2, 3, 4, 5));
        QCOMPARE(p->model, u"ZK3412_ZK2412"_s);
        QCOMPARE(p->type, 0);
        QCOMPARE(p->version, 80);
        QCOMPARE(p->suffix, 3);
        QVERIFY(Backups::fileName(at(2026, 1, 1, 0, 0, 0), 4, 1).isEmpty());
        for (const char *foreign :
             {"2026-12-08_14-03-27_ZK2019_v229.qv1", "2026-12-08_14-03-27_ZK2019_v229.QV1.bak",
              "x2026-12-08_14-03-27_ZK2019_v229.QV1", "2026-12-08_14-03-27_ZK9999_v229.QV1",
              "2026-12-08_14-03-27_ZK2019_v0229.QV1", "2026-12-08_14-03-27_ZK2019_v1000.QV1",
              "2026-12-08_14-03-27_ZK2019_v229_1.QV1", "2026-12-08_14-03-27_ZK2019_v229_02.QV1",
              "2026-02-30_14-03-27_ZK2019_v229.QV1", "2026-12-08_24-03-27_ZK2019_v229.QV1", "klant.QV1"})
            QVERIFY2(!Backups::parseName(QString::fromLatin1(foreign)), foreign);
    }

    // The module file "Opslaan als" writes, in a folder only the user may enter; the same second
    // again gets the next suffix, also past a link someone left at a name.
    void writing()
    {
        TestHome home;
        const QString folder = Backups::folder();
        QCOMPARE(folder, home.path() + u"backups/"_s);
        const QDateTime when = at(2026, 12, 8, 14, 3, 27);
        const ModuleImage image = imageOf(2, 229, 1);
        const auto first = Backups::write(2, image, when);
        QCOMPARE(first.path, folder + u"2026-12-08_14-03-27_ZK2019_v229.QV1"_s);
        QCOMPARE(home.read(u"backups/2026-12-08_14-03-27_ZK2019_v229.QV1"_s), moduleFileContent(2, image));
        struct stat st
        {
        };
        QCOMPARE(::stat(QFile::encodeName(folder).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0700));

        QCOMPARE(Backups::write(2, imageOf(2, 229, 0), when).path,
                 folder + u"2026-12-08_14-03-27_ZK2019_v229_2.QV1"_s);
        QCOMPARE(home.read(u"backups/2026-12-08_14-03-27_ZK2019_v229.QV1"_s), moduleFileContent(2, image));
        home.write(u"elsewhere"_s, "keep me");
        QVERIFY(QFile::link(home.file(u"elsewhere"_s), folder + u"2026-12-08_14-03-27_ZK2019_v229_3.QV1"_s));
        QCOMPARE(Backups::write(2, image, when).path, folder + u"2026-12-08_14-03-27_ZK2019_v229_4.QV1"_s);
        QCOMPARE(home.read(u"elsewhere"_s), QByteArray("keep me"));
        QCOMPARE(QFileInfo(Backups::write(0, imageOf(0, 7, 1), when).path).fileName(),
                 u"2026-12-08_14-03-27_ZK3412_ZK2412_v7.QV1"_s);
    }

    // What cannot be written says why; nothing crashes and nothing is left behind.
    void failures()
    {
        TestHome home;
        const QDateTime when = at(2026, 1, 1, 0, 0, 0);
        QVERIFY(!Backups::write(4, ModuleImage(ModuleTypes::RelaySlots), when).ok());
        QVERIFY(!Backups::write(1, ModuleImage(ModuleTypes::RelaySlots), when).ok()); // wrong size
        home.write(u"backups"_s, "a file at the folder's name");
        const auto r = Backups::write(0, imageOf(0, 1, 1), when);
        QVERIFY(!r.ok());
        QVERIFY(r.error.contains(u"backups"_s));
        QCOMPARE(home.read(u"backups"_s), QByteArray("a file at the folder's name"));
        QVERIFY(Backups::list().isEmpty());
        QString error;
        QCOMPARE(Backups::prune(500, &error), -1);
        QVERIFY(!error.isEmpty());
        QVERIFY(Backups::notWrittenMessage(r.error, 2).startsWith(u"La copie de sécurité"_s));
        if (::geteuid() != 0) { // root writes anywhere
            QFile::remove(home.file(u"backups"_s));
            QVERIFY(QDir().mkdir(Backups::folder()));
            QFile::setPermissions(Backups::folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            QVERIFY(!Backups::write(0, imageOf(0, 1, 1), when).ok());
            QFile::setPermissions(Backups::folder(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    }

    // 503 backups become the newest 500; other files, a folder and links stay, whatever their
    // names, and nothing is deleted through a link.
    void pruning()
    {
        TestHome home;
        const QString folder = Backups::folder();
        QVERIFY(UserFolders::makePrivateFolder(folder));
        const QDateTime start = at(2026, 3, 1, 8, 0, 0);
        const auto nth = [&](int n) { return Backups::fileName(start.addSecs(n * 61), n % 4, n); };
        for (int i = 0; i < 501; ++i)
            home.write(u"backups/"_s + nth((i * 7) % 501), "backup"); // not made in name order
        // The same second twice: the suffix is the newer one.
        home.write(u"backups/"_s + Backups::fileName(start.addSecs(-5), 2, 1), "backup");
        home.write(u"backups/"_s + Backups::fileName(start.addSecs(-5), 2, 1, 2), "backup");
        const QStringList foreign{u"notes.txt"_s, u"klant.QV1"_s, u"2020-01-01_00-00-00_ZK2019_v1.qv1"_s,
                                  u".2020-01-01_00-00-00_ZK2019_v1.QV1"_s};
        for (const QString &name : foreign)
            home.write(u"backups/"_s + name, "foreign");
        QVERIFY(QDir(folder).mkdir(u"2019-01-01_00-00-00_ZK2019_v1.QV1"_s));
        home.write(u"precious"_s, "precious");
        QVERIFY(QFile::link(home.file(u"precious"_s), folder + u"2019-01-01_00-00-01_ZK2019_v1.QV1"_s));
        QVERIFY(QFile::link(folder + nth(0), folder + u"2019-01-01_00-00-02_ZK2019_v1.QV1"_s));

        QCOMPARE(Backups::prune(500), 3);
        QVERIFY(!QFileInfo::exists(folder + Backups::fileName(start.addSecs(-5), 2, 1)));
        QVERIFY(!QFileInfo::exists(folder + Backups::fileName(start.addSecs(-5), 2, 1, 2)));
        QVERIFY(!QFileInfo::exists(folder + nth(0)));
        QVERIFY(QFileInfo::exists(folder + nth(1)));
        for (const QString &name : foreign)
            QCOMPARE(home.read(u"backups/"_s + name), QByteArray("foreign"));
        QVERIFY(QFileInfo(folder + u"2019-01-01_00-00-00_ZK2019_v1.QV1"_s).isDir());
        QVERIFY(isLink(folder + u"2019-01-01_00-00-01_ZK2019_v1.QV1"_s));
        QVERIFY(isLink(folder + u"2019-01-01_00-00-02_ZK2019_v1.QV1"_s));
        QCOMPARE(home.read(u"precious"_s), QByteArray("precious"));
        QCOMPARE(Backups::list().size(), 500);
        QCOMPARE(Backups::prune(500), 0);
    }

    // Newest first (a suffix before the name without), with the file's master flag; a damaged
    // backup is listed as unreadable, other files not at all.
    void listing()
    {
        TestHome home;
        QVERIFY(Backups::list().isEmpty());
        QCOMPARE(Backups::prune(), 0); // no folder yet
        const auto a = Backups::write(1, imageOf(1, 17, 0), at(2026, 5, 4, 10, 0, 0));
        const auto b = Backups::write(3, imageOf(3, 80, 1), at(2026, 5, 4, 11, 30, 15));
        const auto c = Backups::write(3, imageOf(3, 80, 7), at(2026, 5, 4, 11, 30, 15));
        const QString damaged = Backups::fileName(at(2026, 6, 1, 9, 0, 0), 2, 229);
        home.write(u"backups/"_s + damaged, "not a module file");
        home.write(u"backups/klant.QV1"_s, moduleFileContent(2, imageOf(2, 1, 1)));

        const QList<Backups::Entry> e = Backups::list();
        QCOMPARE(e.size(), 4);
        QCOMPARE(e.at(0).path, Backups::folder() + damaged);
        QVERIFY(!e.at(0).readable);
        QCOMPARE(e.at(0).master, -1);
        QCOMPARE(e.at(0).type, 2);
        QCOMPARE(e.at(1).path, c.path);
        QCOMPARE(e.at(1).master, -1); // neither 0 nor 1
        QCOMPARE(e.at(2).path, b.path);
        QCOMPARE(e.at(2).dateTime, at(2026, 5, 4, 11, 30, 15));
        QCOMPARE(e.at(2).model, u"ZK2018"_s);
        QCOMPARE(e.at(2).type, 3);
        QCOMPARE(e.at(2).version, 80);
        QCOMPARE(e.at(2).master, 1);
        QCOMPARE(e.at(3).path, a.path);
        QCOMPARE(e.at(3).model, u"ZK24XX_ZK3447"_s);
        QCOMPARE(e.at(3).version, 17);
        QCOMPARE(e.at(3).master, 0);
        QVERIFY(e.at(3).readable);
    }
};

QTEST_APPLESS_MAIN(TestBackups)
#include "tst_backups.moc"
