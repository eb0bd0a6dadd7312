#include "app/Messages.h"
#include "files/Backups.h"
#include "files/ModuleFile.h"
#include "support/TestHome.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
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

// Dates a file as made at `when`, as the clock of the moment would have.
void setMade(const QString &path, const QDateTime &when)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
}

// The module file content with a seed in slot 0, so each seed gives other bytes.
QByteArray contentOf(int seed)
{
    ModuleImage image = imageOf(1, 17, 1);
    image.set(0, seed);
    return *moduleFileContent(1, image);
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Saves `content` over the file at `path` as "Module Opslaan" does: its old content kept first,
// then the file replaced, then its backups beyond the newest 20 pruned.
Backups::Replaced saveOver(const QString &path, const QByteArray &content, const QDateTime &now)
{
    const Backups::Replaced kept = Backups::keepReplaced(path, content, now);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(content);
    if (kept.status == Backups::Replaced::Made) Backups::pruneReplaced(path, kept.path);
    return kept;
}

// The contents of the replaced-file backups of `original`, newest first.
QList<QByteArray> keptContents(const QString &original)
{
    QList<QByteArray> contents;
    for (const Backups::Entry &e : Backups::listReplaced()) {
        if (e.original != original) continue;
        QFile f(e.path);
        contents << (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>"));
    }
    return contents;
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
        QCOMPARE(*first, folder + u"2026-12-08_14-03-27_ZK2019_v229.QV1"_s);
        QCOMPARE(home.read(u"backups/2026-12-08_14-03-27_ZK2019_v229.QV1"_s), *moduleFileContent(2, image));
        struct stat st
        {
        };
        QCOMPARE(::stat(QFile::encodeName(folder).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0700));

        QCOMPARE(*Backups::write(2, imageOf(2, 229, 0), when),
                 folder + u"2026-12-08_14-03-27_ZK2019_v229_2.QV1"_s);
        QCOMPARE(home.read(u"backups/2026-12-08_14-03-27_ZK2019_v229.QV1"_s), *moduleFileContent(2, image));
        home.write(u"elsewhere"_s, "keep me");
        QVERIFY(QFile::link(home.file(u"elsewhere"_s), folder + u"2026-12-08_14-03-27_ZK2019_v229_3.QV1"_s));
        QCOMPARE(*Backups::write(2, image, when), folder + u"2026-12-08_14-03-27_ZK2019_v229_4.QV1"_s);
        QCOMPARE(home.read(u"elsewhere"_s), QByteArray("keep me"));
        QCOMPARE(QFileInfo(*Backups::write(0, imageOf(0, 7, 1), when)).fileName(),
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
        QVERIFY(r.failure().detail.contains(u"backups"_s));
        QCOMPARE(home.read(u"backups"_s), QByteArray("a file at the folder's name"));
        QVERIFY(Backups::list().isEmpty());
        const auto pruned = Backups::prune(500);
        QCOMPARE(pruned.failure().kind, Failure::Kind::FolderUnreadable);
        QVERIFY(!pruned.failure().detail.isEmpty());
        QVERIFY(Messages::backupNotWritten(r.failure(), 2).startsWith(u"La copie de sécurité"_s));
        if (::geteuid() != 0) { // root writes anywhere
            QFile::remove(home.file(u"backups"_s));
            QVERIFY(QDir().mkdir(Backups::folder()));
            QFile::setPermissions(Backups::folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            QVERIFY(!Backups::write(0, imageOf(0, 1, 1), when).ok());
            QFile::setPermissions(Backups::folder(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    }

    // 503 backups become the newest 500, newest by when they were made, whatever their names
    // say; other files, a folder and links stay, whatever their names, and nothing is deleted
    // through a link.
    void pruning()
    {
        TestHome home;
        const QString folder = Backups::folder();
        QVERIFY(UserFolders::makePrivateFolder(folder));
        const QDateTime start = at(2026, 3, 1, 8, 0, 0);
        const auto nth = [&](int n) { return Backups::fileName(start.addSecs(n * 61), n % 4, n); };
        // Made in another order than their names: nth(k) made k minutes after the start, except
        // that nth(3) was made first of all and nth(0) half a minute after the start.
        for (int n = 0; n < 501; ++n) {
            home.write(u"backups/"_s + nth(n), "backup");
            setMade(folder + nth(n), start.addSecs(n == 3 ? -60 : n == 0 ? 30 : n * 60));
        }
        // Made at the same moment as nth(1), with an older name, twice in one second: at the same
        // moment the name decides, and of one second the suffix is the newer one.
        for (int suffix : {1, 2}) {
            const QString name = Backups::fileName(start.addSecs(-5), 2, 1, suffix);
            home.write(u"backups/"_s + name, "backup");
            setMade(folder + name, start.addSecs(60));
        }
        const QStringList foreign{u"notes.txt"_s, u"klant.QV1"_s, u"2020-01-01_00-00-00_ZK2019_v1.qv1"_s,
                                  u".2020-01-01_00-00-00_ZK2019_v1.QV1"_s};
        for (const QString &name : foreign)
            home.write(u"backups/"_s + name, "foreign");
        QVERIFY(QDir(folder).mkdir(u"2019-01-01_00-00-00_ZK2019_v1.QV1"_s));
        home.write(u"precious"_s, "precious");
        QVERIFY(QFile::link(home.file(u"precious"_s), folder + u"2019-01-01_00-00-01_ZK2019_v1.QV1"_s));
        QVERIFY(QFile::link(folder + nth(0), folder + u"2019-01-01_00-00-02_ZK2019_v1.QV1"_s));

        QCOMPARE(*Backups::prune(500), 3);
        QVERIFY(!QFileInfo::exists(folder + nth(3)));
        QVERIFY(!QFileInfo::exists(folder + nth(0)));
        QVERIFY(!QFileInfo::exists(folder + Backups::fileName(start.addSecs(-5), 2, 1)));
        QVERIFY(QFileInfo::exists(folder + Backups::fileName(start.addSecs(-5), 2, 1, 2)));
        QVERIFY(QFileInfo::exists(folder + nth(1)));
        QVERIFY(QFileInfo::exists(folder + nth(2)));
        for (const QString &name : foreign)
            QCOMPARE(home.read(u"backups/"_s + name), QByteArray("foreign"));
        QVERIFY(QFileInfo(folder + u"2019-01-01_00-00-00_ZK2019_v1.QV1"_s).isDir());
        QVERIFY(isLink(folder + u"2019-01-01_00-00-01_ZK2019_v1.QV1"_s));
        QVERIFY(isLink(folder + u"2019-01-01_00-00-02_ZK2019_v1.QV1"_s));
        QCOMPARE(home.read(u"precious"_s), QByteArray("precious"));
        QCOMPARE(Backups::list().size(), 500);
        QCOMPARE(*Backups::prune(500), 0);
    }

    // A clock that was once ahead left backups whose names (and, when it was this program's
    // clock, times) lie in the future: every new backup survives the pruning after it, and the
    // backups made later push out the oldest made, not each other. What is spared is never pruned.
    void futureDatedBackups_data()
    {
        QTest::addColumn<bool>("timesAhead");
        QTest::newRow("names ahead") << false;
        QTest::newRow("names and times ahead") << true;
    }
    void futureDatedBackups()
    {
        QFETCH(bool, timesAhead);
        TestHome home;
        const QString folder = Backups::folder();
        QVERIFY(UserFolders::makePrivateFolder(folder));
        const QDateTime ahead = at(2099, 1, 1, 0, 0, 0);
        const QDateTime past = QDateTime::currentDateTime().addDays(-1);
        const auto planted = [&](int n) { return Backups::fileName(ahead.addSecs(n), 2, 229); };
        for (int n = 0; n < 500; ++n) {
            home.write(u"backups/"_s + planted(n), "backup");
            setMade(folder + planted(n), (timesAhead ? ahead : past).addSecs(n));
        }
        QStringList made;
        for (int i = 0; i < 3; ++i) {
            const auto written = Backups::write(0, imageOf(0, 80, 1), at(2026, 5, 4, 10, 0, 0));
            QVERIFY(written.ok());
            QCOMPARE(*Backups::prune(500), 1);
            made << *written;
            for (const QString &path : made)
                QVERIFY2(QFileInfo::exists(path), qPrintable(path));
        }
        for (int n = 0; n < 3; ++n)
            QVERIFY(!QFileInfo::exists(folder + planted(n)));
        QVERIFY(QFileInfo::exists(folder + planted(3)));
        QCOMPARE(*Backups::prune(1, made.first()), 499);
        QCOMPARE(namesIn(folder), QStringList{QFileInfo(made.first()).fileName()});
    }

    // Before a module file is replaced, what it held is kept as a backup of its own, byte for
    // byte, listed with the read backups by the file's name; nothing is kept when nothing would
    // be lost.
    void keepingReplacedFiles()
    {
        TestHome home;
        const QString klant = home.file(u"klant.QV1"_s);
        const QDateTime when = at(2026, 12, 8, 14, 3, 27);
        QCOMPARE(Backups::keepReplaced(klant, contentOf(1), when).status, Backups::Replaced::NothingToKeep);
        home.write(u"klant.QV1"_s, contentOf(1));
        QCOMPARE(Backups::keepReplaced(klant, contentOf(1), when).status, Backups::Replaced::Unchanged);
        QVERIFY(!QFileInfo::exists(Backups::folder()));

        const auto older = Backups::write(2, imageOf(2, 229, 0), when.addSecs(-1));
        const auto newer = Backups::write(2, imageOf(2, 229, 0), when.addSecs(1));
        const auto kept = Backups::keepReplaced(klant, contentOf(2), when);
        QCOMPARE(kept.status, Backups::Replaced::Made);
        QFile backup(kept.path);
        QVERIFY(backup.open(QIODevice::ReadOnly));
        QCOMPARE(backup.readAll(), contentOf(1));
        const QList<Backups::Entry> all = Backups::listAll();
        QCOMPARE(all.size(), 3);
        QCOMPARE(all.at(0).path, *newer);
        QCOMPARE(all.at(2).path, *older);
        const Backups::Entry &e = all.at(1);
        QCOMPARE(e.path, kept.path);
        QVERIFY(e.isReplacedFile());
        QCOMPARE(e.original, klant);
        QCOMPARE(e.dateTime, when);
        QCOMPARE(e.model, u"ZK24XX_ZK3447"_s);
        QCOMPARE(e.version, 17);
        QCOMPARE(e.master, 1);
        QCOMPARE(Backups::list().size(), 2);

        // A link at the name: the replacement leaves what it points to as it is, so nothing is
        // read through it; a FIFO is not waited on.
        home.write(u"elders.QV1"_s, contentOf(3));
        QVERIFY(QFile::link(home.file(u"elders.QV1"_s), home.file(u"link.QV1"_s)));
        QVERIFY(::mkfifo(QFile::encodeName(home.file(u"pijp.QV1"_s)).constData(), 0600) == 0);
        for (const QString &name : {u"link.QV1"_s, u"pijp.QV1"_s})
            QCOMPARE(Backups::keepReplaced(home.file(name), contentOf(4), when).status,
                     Backups::Replaced::NothingToKeep);
        // More than a module file can hold is not kept, and says why.
        home.write(u"groot.QV1"_s, QByteArray(ModuleFile::MaxSize + 1, 'x'));
        const auto big = Backups::keepReplaced(home.file(u"groot.QV1"_s), contentOf(1), when);
        QCOMPARE(big.status, Backups::Replaced::Failed);
        QVERIFY(big.failure.detail.contains(u"groot.QV1"_s));
        QCOMPARE(Backups::listReplaced().size(), 1);

        // A save that failed after all takes its backup back, and nothing else.
        Backups::discardReplaced(*older);
        Backups::discardReplaced(kept.path);
        QVERIFY(Backups::listReplaced().isEmpty());
        QCOMPARE(namesIn(Backups::folder()),
                 (QStringList{QFileInfo(*older).fileName(), QFileInfo(*newer).fileName()}));
    }

    // A folder that cannot take a backup, or that others may write into, takes none of either
    // kind and says why.
    void folderThatCannotTakeBackups()
    {
        TestHome home;
        const QString klant = home.file(u"klant.QV1"_s);
        home.write(u"klant.QV1"_s, contentOf(1));
        home.write(u"backups"_s, "a file at the folder's name");
        auto r = Backups::keepReplaced(klant, contentOf(2), QDateTime());
        QCOMPARE(r.status, Backups::Replaced::Failed);
        QVERIFY(r.failure.detail.contains(u"backups"_s));
        QVERIFY(QFile::remove(home.file(u"backups"_s)));
        QVERIFY(UserFolders::makePrivateFolder(Backups::folder()));
        QVERIFY(QFile::setPermissions(Backups::folder(), QFileDevice::Permissions(0x7777)));
        r = Backups::keepReplaced(klant, contentOf(2), QDateTime());
        QCOMPARE(r.status, Backups::Replaced::Failed);
        QVERIFY(r.failure.detail.contains(u"private"_s));
        QVERIFY(!Backups::write(0, imageOf(0, 1, 1), QDateTime()).ok());
        QCOMPARE(namesIn(Backups::folder()), QStringList());
    }

    // The newest 20 of each file are kept, newest by when they were made whatever the clock
    // said; another file's backups and the read backups are never counted or pruned with them,
    // nor they with the read backups.
    void twentyPerFile()
    {
        TestHome home;
        const QString a = home.file(u"a.QV1"_s);
        const QString b = home.file(u"b.QV1"_s);
        home.write(u"a.QV1"_s, contentOf(0));
        home.write(u"b.QV1"_s, contentOf(100));
        QVERIFY(QDir(home.path()).mkdir(u"x"_s));
        QVERIFY(Backups::write(1, imageOf(1, 5, 0), at(2026, 1, 1, 0, 0, 0)).ok());
        QVERIFY(Backups::write(1, imageOf(1, 6, 0), at(2026, 1, 1, 0, 0, 1)).ok());
        for (int i = 101; i <= 103; ++i) // the same file by another way of writing its path
            QCOMPARE(saveOver(home.path() + u"x/../b.QV1"_s, contentOf(i), QDateTime()).status,
                     Backups::Replaced::Made);
        // The clock goes back a minute at every save.
        for (int i = 1; i <= 25; ++i) {
            const auto kept = saveOver(a, contentOf(i), at(2026, 6, 1, 0, 0, 0).addSecs(-60 * i));
            QCOMPARE(kept.status, Backups::Replaced::Made);
            QVERIFY(QFileInfo::exists(kept.path));
        }
        QList<QByteArray> expected;
        for (int i = 24; i >= 5; --i)
            expected << contentOf(i);
        QCOMPARE(keptContents(a), expected);
        QCOMPARE(keptContents(b), (QList<QByteArray>{contentOf(102), contentOf(101), contentOf(100)}));
        QCOMPARE(Backups::list().size(), 2);

        QCOMPARE(*Backups::prune(0), 2);
        QCOMPARE(Backups::listReplaced().size(), 23);
        QVERIFY(Backups::write(1, imageOf(1, 7, 0), QDateTime()).ok());
        QCOMPARE(*Backups::pruneReplaced(a, QString(), 0), 20);
        QCOMPARE(keptContents(b).size(), 3);
        QCOMPARE(Backups::list().size(), 1);
    }

    // A file's name is text from outside: markup, line ends and separators in it name nothing in
    // the folder. Links, folders and odd files at the names of replaced-file backups are never
    // followed, listed, deleted or written over, and a side file naming another file is not
    // counted for this one.
    void hostileNamesAndPlantedFiles()
    {
        TestHome home;
        const QString odd = home.path() + u"<b>klant &amp; <img src=\"pijp\">\n..%2F..%2Fx.QV1"_s;
        QFile f(odd);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contentOf(1));
        f.close();
        const auto first = saveOver(odd, contentOf(2), QDateTime());
        QCOMPARE(first.status, Backups::Replaced::Made);
        QCOMPARE(Backups::listReplaced().first().original, odd);
        QCOMPARE(Backups::replacedLabel(odd, 1),
                 u"vervangen: <b>klant &amp; <img src=\"pijp\">\n..%2F..%2Fx.QV1"_s);
        const QString folder = Backups::folder();
        const QRegularExpression ours(u"^replaced_[0-9a-f]{12}_[1-9][0-9]*\\.(QV1|json)$"_s);
        for (const QString &name : namesIn(folder))
            QVERIFY2(ours.match(name).hasMatch(), qPrintable(name));
        QCOMPARE(namesIn(home.path()).size(), 2); // the file and the backups' folder

        // Planted among that file's backups, under its digest.
        const QString prefix = QFileInfo(first.path).fileName().left(22); // "replaced_<digest>_"
        const auto plant = [&](const QString &rest, const QByteArray &bytes) {
            home.write(u"backups/"_s + prefix + rest, bytes);
        };
        const QByteArray side = QJsonDocument(QJsonObject{{u"original"_s, odd}}).toJson();
        home.write(u"precious"_s, "precious");
        home.write(u"side.json"_s, side);
        QVERIFY(QFile::link(home.file(u"precious"_s), folder + prefix + u"50.QV1"_s));
        plant(u"50.json"_s, side);
        QVERIFY(QDir().mkdir(folder + prefix + u"51.QV1"_s));
        plant(u"51.json"_s, side);
        plant(u"52.QV1"_s, contentOf(52));
        QVERIFY(QFile::link(home.file(u"side.json"_s), folder + prefix + u"52.json"_s));
        plant(u"53.QV1"_s, contentOf(53));
        plant(u"53.json"_s, "not json");
        plant(u"54.QV1"_s, contentOf(54));
        plant(u"55.QV1"_s, contentOf(55));
        plant(u"55.json"_s, QJsonDocument(QJsonObject{{u"original"_s, u"/elsewhere/x.QV1"_s}}).toJson());
        QStringList left = namesIn(folder);

        const auto second = saveOver(odd, contentOf(3), QDateTime());
        QCOMPARE(second.path, folder + prefix + u"56.QV1"_s);
        const QList<Backups::Entry> listed = Backups::listReplaced();
        QCOMPARE(listed.size(), 3);
        QCOMPARE(listed.at(0).path, second.path);
        QCOMPARE(listed.at(1).original, u"/elsewhere/x.QV1"_s);
        QCOMPARE(listed.at(2).path, first.path);
        QCOMPARE(*Backups::pruneReplaced(odd, QString(), 0), 2);
        left.removeAll(prefix + u"1.QV1"_s);
        left.removeAll(prefix + u"1.json"_s);
        QCOMPARE(namesIn(folder), left);
        QCOMPARE(home.read(u"precious"_s), QByteArray("precious"));
        QCOMPARE(home.read(u"side.json"_s), side);
        QVERIFY(isLink(folder + prefix + u"50.QV1"_s) && isLink(folder + prefix + u"52.json"_s));
    }

    // Newest first (a suffix before the name without), with the file's master flag; a damaged
    // backup is listed as unreadable, other files not at all.
    void listing()
    {
        TestHome home;
        QVERIFY(Backups::list().isEmpty());
        QCOMPARE(*Backups::prune(), 0); // no folder yet
        const auto a = Backups::write(1, imageOf(1, 17, 0), at(2026, 5, 4, 10, 0, 0));
        const auto b = Backups::write(3, imageOf(3, 80, 1), at(2026, 5, 4, 11, 30, 15));
        const auto c = Backups::write(3, imageOf(3, 80, 7), at(2026, 5, 4, 11, 30, 15));
        const QString damaged = Backups::fileName(at(2026, 6, 1, 9, 0, 0), 2, 229);
        home.write(u"backups/"_s + damaged, "not a module file");
        home.write(u"backups/klant.QV1"_s, *moduleFileContent(2, imageOf(2, 1, 1)));

        const QList<Backups::Entry> e = Backups::list();
        QCOMPARE(e.size(), 4);
        QCOMPARE(e.at(0).path, Backups::folder() + damaged);
        QVERIFY(!e.at(0).readable);
        QCOMPARE(e.at(0).master, -1);
        QCOMPARE(e.at(0).type, 2);
        QCOMPARE(e.at(1).path, *c);
        QCOMPARE(e.at(1).master, -1); // neither 0 nor 1
        QCOMPARE(e.at(2).path, *b);
        QCOMPARE(e.at(2).dateTime, at(2026, 5, 4, 11, 30, 15));
        QCOMPARE(e.at(2).model, u"ZK2018"_s);
        QCOMPARE(e.at(2).type, 3);
        QCOMPARE(e.at(2).version, 80);
        QCOMPARE(e.at(2).master, 1);
        QCOMPARE(e.at(3).path, *a);
        QCOMPARE(e.at(3).model, u"ZK24XX_ZK3447"_s);
        QCOMPARE(e.at(3).version, 17);
        QCOMPARE(e.at(3).master, 0);
        QVERIFY(e.at(3).readable);
    }
};

QTEST_APPLESS_MAIN(TestBackups)
#include "tst_backups.moc"
