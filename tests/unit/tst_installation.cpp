#include "installation/Installation.h"
#include "support/Images.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Failure::Kind)

namespace {
InstallationModule moduleOf(int type, const QString &id, int seed)
{
    InstallationModule m;
    m.id = id;
    m.name = u"Kelder relais %1"_s.arg(seed);
    m.place = u"Kelder, kast 2"_s;
    m.type = type;
    m.image = Images::pattern(type, seed);
    m.names = ModuleNames::forType(type);
    return m;
}

// The smallest valid file around one module's JSON (written as the test gives it).
QByteArray fileWith(const QByteArray &module, const QByteArray &top = {})
{
    return "{\"format\": \"qv-installation\", \"version\": 1" + top + ", \"modules\": [" + module + "]}";
}

QByteArray dimModule(const QByteArray &more = {})
{
    return "{\"id\": \"a\", \"type\": 1, \"image\": \"" + imageText(Images::pattern(1, 3)).toLatin1() + "\"" +
           more + "}";
}
} // namespace

// The installation file: what it holds, in a stable order; what is damaged is refused with the
// first problem; unknown keys survive a save; a file at every limit opens.
class TestInstallation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writtenInAStableOrder()
    {
        Installation empty;
        empty.name = u"Woning Peeters"_s;
        QCOMPARE(installationContent(empty), QByteArray("{\n"
                                                        "    \"format\": \"qv-installation\",\n"
                                                        "    \"modules\": [\n"
                                                        "    ],\n"
                                                        "    \"name\": \"Woning Peeters\",\n"
                                                        "    \"version\": 1\n"
                                                        "}\n"));
        ModuleImage image(ModuleTypes::DimSlots);
        image.set(0, 42);
        image.set(149, 999);
        const QString text = imageText(image);
        QVERIFY(text.startsWith(u"042 000 000 "_s) && text.endsWith(u" 000 999"_s));
        QCOMPARE(text.size(), 150 * 4 - 1);
        QCOMPARE(imageFromText(text, 150), image);
        const QStringList bad{text.left(text.size() - 4), QString(text + u" 000"_s),
                              QString(text).replace(0, 3, u"1x0"_s), QString(text).replace(3, 1, u","_s),
                              QString(text).replace(0, 3, u"-01"_s)};
        for (const QString &b : bad)
            QVERIFY(!imageFromText(b, 150));
    }

    void roundTripIsByteIdentical()
    {
        Installation inst;
        inst.name = u"Woning Peeters"_s;
        inst.address = u"Kerkstraat 1, 9000 Gent"_s;
        inst.notes = u"Sleutel bij de buren.\nAlarm: 1234"_s;
        inst.modules = {moduleOf(0, u"m1"_s, 1), moduleOf(1, u"m2"_s, 2), moduleOf(3, u"m3"_s, 3)};
        InstallationModule &m = inst.modules[1];
        m.notes = u"Dimmer «salon» — 3 kanalen\ttab"_s;
        m.knownImage = Images::pattern(1, 9);
        m.knownAt = QDateTime(QDate(2026, 12, 10), QTime(14, 3, 27), Qt::UTC);
        m.knownFrom = u"read"_s;
        m.sentAt = m.knownAt.addSecs(60);
        m.sendOutcome = QString::fromLatin1(InstallationFormat::PartlySent);
        m.checkedAt = m.knownAt.addSecs(120);
        m.checkOutcome = QString::fromLatin1(InstallationFormat::CheckDifferent);
        m.names.outputs[3] = u"Keuken plafond"_s;
        m.names.pushButtons[12] = u"Voordeur <b>x</b>"_s;
        m.names.scenes[1] = u"TV-avond"_s;

        const QByteArray bytes = installationContent(inst);
        QVERIFY(bytes.contains("\"outputs\": {\n                    \"4\": \"Keuken plafond\""));
        QCOMPARE(bytes.count("\"names\""), 1); // only a module with names has the key
        QVERIFY(bytes.contains("\"at\": \"2026-12-10T14:03:27Z\""));
        QVERIFY(bytes.contains("\"outcome\": \"gedeeltelijk verstuurd\""));
        const auto back = parseInstallation(bytes);
        QVERIFY2(back, qPrintable(back.failure().detail));
        QCOMPARE(installationContent(*back), bytes);
        QCOMPARE(back->modules.size(), size_t(3));
        QCOMPARE(back->modules[1].notes, m.notes);
        QCOMPARE(*back->modules[1].knownImage, *m.knownImage);
        QCOMPARE(back->modules[1].sentAt, m.sentAt);
        QCOMPARE(back->modules[1].names, m.names);
        QCOMPARE(back->modules[0].names.outputs.size(), size_t(12));
        QCOMPARE(ModuleNames::of(back->modules[1].names.pushButtons, 13), u"Voordeur <b>x</b>"_s);
        QCOMPARE(ModuleNames::of(back->modules[1].names.outputs, 5), QString()); // a dim module has 4
        QCOMPARE(back->modules[2].type, 3);
        QCOMPARE(back->modules[2].image, Images::pattern(3, 3));
    }

    // A newer program's fields are kept wherever they stand.
    void unknownKeysAreKept()
    {
        const QByteArray content =
            fileWith(dimModule(", \"colour\": \"blue\", \"known\": {\"from\": \"send\", \"signal\": 7},"
                               " \"lastCheck\": {\"by\": \"Jan\"}, \"names\": {\"zones\": {\"1\": \"x\"}}"),
                     ", \"future\": {\"a\": [1, 2]}");
        auto inst = parseInstallation(content);
        QVERIFY2(inst, qPrintable(inst.failure().detail));
        inst->modules[0].name = u"Salon"_s;
        const QByteArray saved = installationContent(*inst);
        for (const char *kept : {"\"future\": {", "\"colour\": \"blue\"", "\"signal\": 7", "\"by\": \"Jan\"",
                                 "\"zones\": {", "\"from\": \"send\"", "\"name\": \"Salon\""})
            QVERIFY2(saved.contains(kept), kept);
        QCOMPARE(installationContent(*parseInstallation(saved)), saved);
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Failure::Kind>("kind");
        QTest::addColumn<QString>("where");
        using K = Failure::Kind;
        const QByteArray image = imageText(Images::pattern(1, 3)).toLatin1();
        QTest::newRow("not JSON") << QByteArray("{\"format\": ") << K::NotJson << QString();
        QTest::newRow("a list") << QByteArray("[1]") << K::NotJson << QString();
        QTest::newRow("no marker") << QByteArray("{\"version\": 1}") << K::NotAnInstallation << u"format"_s;
        QTest::newRow("version 2") << QByteArray("{\"format\": \"qv-installation\", \"version\": 2}")
                                   << K::UnknownVersion << u"version"_s;
        QTest::newRow("name too long")
            << fileWith({}, ", \"name\": \"" + QByteArray(81, 'x') + "\"") << K::TooLong << u"name"_s;
        QTest::newRow("control character") << fileWith(dimModule(", \"place\": \"kast\\u0007\""))
                                           << K::ControlCharacter << u"modules[0].place"_s;
        QTest::newRow("line break in a name")
            << fileWith(dimModule(", \"name\": \"a\\nb\"")) << K::ControlCharacter << u"modules[0].name"_s;
        QTest::newRow("notes too long")
            << fileWith(dimModule(", \"notes\": \"" + QByteArray(2001, 'n') + "\"")) << K::TooLong
            << u"modules[0].notes"_s;
        QTest::newRow("type 4") << fileWith("{\"id\": \"a\", \"type\": 4, \"image\": \"\"}") << K::BadField
                                << u"modules[0].type"_s;
        QTest::newRow("type 1.5") << fileWith("{\"id\": \"a\", \"type\": 1.5, \"image\": \"" + image + "\"}")
                                  << K::BadField << u"modules[0].type"_s;
        QTest::newRow("type 1e300") << fileWith("{\"id\": \"a\", \"type\": 1e300, \"image\": \"\"}")
                                    << K::BadField << u"modules[0].type"_s;
        QTest::newRow("no id") << fileWith("{\"type\": 1, \"image\": \"" + image + "\"}") << K::BadField
                               << u"modules[0].id"_s;
        QTest::newRow("relay image, dim type")
            << fileWith("{\"id\": \"a\", \"type\": 1, \"image\": \"" +
                        imageText(Images::pattern(0, 1)).toLatin1() + "\"}")
            << K::BadImage << u"modules[0].image"_s;
        QTest::newRow("value 1000") << fileWith("{\"id\": \"a\", \"type\": 1, \"image\": \"1000" +
                                                image.mid(3) + "\"}")
                                    << K::BadImage << u"modules[0].image"_s;
        QTest::newRow("known image short") << fileWith(dimModule(", \"known\": {\"image\": \"000 001\"}"))
                                           << K::BadImage << u"modules[0].known.image"_s;
        QTest::newRow("bad date") << fileWith(dimModule(", \"lastSend\": {\"at\": \"gisteren\"}"))
                                  << K::BadField << u"modules[0].lastSend.at"_s;
        QTest::newRow("unknown outcome") << fileWith(dimModule(", \"lastCheck\": {\"outcome\": \"ok\"}"))
                                         << K::BadField << u"modules[0].lastCheck.outcome"_s;
        QTest::newRow("output 5 of a dim module")
            << fileWith(dimModule(", \"names\": {\"outputs\": {\"5\": \"x\"}}")) << K::BadField
            << u"modules[0].names.outputs.5"_s;
        QTest::newRow("push button 01")
            << fileWith(dimModule(", \"names\": {\"pushButtons\": {\"01\": \"x\"}}")) << K::BadField
            << u"modules[0].names.pushButtons.01"_s;
        QTest::newRow("scene name too long")
            << fileWith(dimModule(", \"names\": {\"scenes\": {\"20\": \"" + QByteArray(81, 's') + "\"}}"))
            << K::TooLong << u"modules[0].names.scenes.20"_s;
        QTest::newRow("name with a tab")
            << fileWith(dimModule(", \"names\": {\"scenes\": {\"1\": \"a\\tb\"}}")) << K::ControlCharacter
            << u"modules[0].names.scenes.1"_s;
        QTest::newRow("names a list")
            << fileWith(dimModule(", \"names\": []")) << K::BadField << u"modules[0].names"_s;
        QTest::newRow("duplicate id")
            << fileWith(dimModule() + ", " + dimModule()) << K::DuplicateId << u"modules[1].id"_s;
        QTest::newRow("modules not a list")
            << QByteArray("{\"format\": \"qv-installation\", \"version\": 1, \"modules\": {}}") << K::BadField
            << u"modules"_s;
    }
    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(Failure::Kind, kind);
        QFETCH(QString, where);
        const auto inst = parseInstallation(content);
        QVERIFY(!inst);
        QCOMPARE(inst.failure().kind, kind);
        QCOMPARE(inst.failure().text, where);
        QVERIFY(inst.failure().detail.startsWith(where));
    }

    // A save replaces the file whole; what it held goes to the backups apart from the module
    // files' (never listed among them), and an unchanged installation keeps nothing.
    void savedWithItsPreviousVersionKept()
    {
        TestHome home;
        const QString path = home.file(u"peeters.qvi"_s);
        Installation inst;
        inst.name = u"Woning Peeters"_s;
        inst.modules = {moduleOf(2, u"m1"_s, 1)};
        const QDateTime now = QDateTime::currentDateTime();
        InstallationSaved saved = writeInstallationFile(path, inst, now);
        QVERIFY2(saved.failure.ok(), qPrintable(saved.failure.detail));
        QCOMPARE(saved.kept.status, Backups::Replaced::NothingToKeep);
        const auto bytesOf = [](const QString &file) {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
        };
        const QByteArray first = bytesOf(path);
        QCOMPARE(writeInstallationFile(path, inst, now).kept.status, Backups::Replaced::Unchanged);

        inst.modules[0].name = u"Zolder"_s;
        saved = writeInstallationFile(path, inst, now);
        QCOMPARE(saved.kept.status, Backups::Replaced::Made);
        QVERIFY(saved.kept.path.endsWith(u".qvi"_s));
        QCOMPARE(bytesOf(saved.kept.path), first);
        QVERIFY(Backups::listReplaced().isEmpty());
        const auto back = readInstallationFile(path);
        QVERIFY(back);
        QCOMPARE(back->modules[0].name, u"Zolder"_s);

        // A folder at the name: nothing written, nothing kept.
        QVERIFY(QDir(home.path()).mkdir(u"map.qvi"_s));
        saved = writeInstallationFile(home.file(u"map.qvi"_s), inst, now);
        QCOMPARE(saved.failure.kind, Failure::Kind::NotWritten);
        QCOMPARE(readInstallationFile(home.file(u"geen.qvi"_s)).failure().kind, Failure::Kind::Missing);
        QCOMPARE(readInstallationFile(home.file(u"geen.qvi"_s)).failure().path, home.file(u"geen.qvi"_s));
        home.write(u"groot.qvi"_s, QByteArray(InstallationFormat::MaxSize + 1, ' '));
        QCOMPARE(readInstallationFile(home.file(u"groot.qvi"_s)).failure().kind,
                 Failure::Kind::TooLargeInstallation);
    }

    // What the panel says of a module as its record grows: read, edited, sent, checked.
    void statesInWords()
    {
        const QDateTime at(QDate(2026, 12, 10), QTime(14, 3), Qt::LocalTime);
        InstallationModule m = moduleOf(0, u"a"_s, 1);
        QStringList dutch, french;
        const auto state = [&] {
            dutch << moduleState(m, 1);
            french << moduleState(m, 2);
        };
        state();
        recordRead(m, Images::pattern(0, 5), at);
        QCOMPARE(m.image, Images::pattern(0, 5));
        state();
        m.image.set(3, 42);
        state();
        recordSend(m, false, at.addSecs(60));
        state();
        recordSend(m, true, at.addSecs(120));
        state();
        recordCheck(m, true, at.addSecs(180));
        state();
        recordCheck(m, false, at.addSecs(240));
        state();
        QCOMPARE(dutch, (QStringList{
                            u"nooit gelezen"_s, u"gelezen 10-12-2026 14:03"_s, u"gewijzigd, niet verstuurd"_s,
                            u"gedeeltelijk verstuurd"_s, u"verstuurd 10-12-2026 14:05"_s,
                            u"verstuurd en gecontroleerd 10-12-2026 14:06"_s, u"controle: verschillen"_s}));
        QCOMPARE(french,
                 (QStringList{u"jamais lu"_s, u"lu le 10/12/2026 14:03"_s, u"modifié, non envoyé"_s,
                              u"partiellement envoyé"_s, u"envoyé le 10/12/2026 14:05"_s,
                              u"envoyé et vérifié le 10/12/2026 14:06"_s, u"contrôle : différences"_s}));
        QCOMPARE(*m.knownImage, m.image); // a complete send: the module holds the image
    }

    // A read is offered to the modules of its type (the relay types together), fewest differences
    // first; one is preselected only when it alone is the closest.
    void whichModuleARead()
    {
        Installation inst;
        inst.modules = {moduleOf(0, u"r1"_s, 1), moduleOf(1, u"d1"_s, 1), moduleOf(3, u"r2"_s, 2),
                        moduleOf(0, u"r3"_s, 2)};
        recordRead(inst.modules[3], Images::pattern(0, 7), QDateTime::currentDateTime());
        ModuleImage read = Images::pattern(0, 2);
        read.set(0, 999);
        ReadCandidates c = readCandidates(inst, 0, read);
        QCOMPARE(c.candidates.size(), size_t(3));
        QCOMPARE(c.candidates[0].module, 2); // r2 differs in one slot
        QCOMPARE(c.candidates[0].differences, 1);
        QCOMPARE(c.preselected, 2);
        QCOMPARE(c.candidates[2].module, 3); // r3 is compared with what it was read as
        // Two equally close: none preselected.
        inst.modules[0].image = Images::pattern(0, 2);
        c = readCandidates(inst, 3, read);
        QCOMPARE(c.candidates[0].differences, c.candidates[1].differences);
        QCOMPARE(c.preselected, -1);
        QCOMPARE(readCandidates(inst, 1, Images::pattern(1, 1)).preselected, 1);
        QVERIFY(readCandidates(inst, 2, Images::pattern(2, 1)).candidates.empty());
    }

    // A recovery copy is offered for a file it is newer than, and for an installation never
    // saved; a declined one stays under a name of its own and is not offered again.
    void recoveryCopies()
    {
        const auto minuteOld = [](const QString &file) {
            QFile f(file);
            return f.open(QIODevice::ReadWrite) && f.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                                                 QFileDevice::FileModificationTime);
        };
        TestHome home;
        const QString path = home.file(u"peeters.qvi"_s);
        Installation inst;
        inst.modules = {moduleOf(1, u"m1"_s, 1)};
        QVERIFY(writeInstallationFile(path, inst, QDateTime::currentDateTime()).failure.ok());
        QCOMPARE(InstallationRecovery::newerCopy(path), QString());

        inst.name = u"bezig"_s;
        const QString key = InstallationRecovery::keyOf(path);
        QVERIFY(InstallationRecovery::write(inst, key, path, QDateTime::currentDateTime()).ok());
        QVERIFY(minuteOld(path));
        const QString copy = InstallationRecovery::newerCopy(path);
        QVERIFY(!copy.isEmpty());
        QCOMPARE(readInstallationFile(copy)->name, u"bezig"_s);
        QVERIFY(InstallationRecovery::unsavedCopies().isEmpty());
        // Written in the same tick of the file system's clock as the file: still offered.
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite) &&
                    f.setFileTime(QFileInfo(copy).lastModified(), QFileDevice::FileModificationTime));
        }
        QCOMPARE(InstallationRecovery::newerCopy(path), copy);

        // Saved again later: the copy is older than the file and not offered; nor is a copy
        // holding what the file holds.
        QVERIFY(writeInstallationFile(path, inst, QDateTime::currentDateTime()).failure.ok());
        QVERIFY(InstallationRecovery::newerCopy(path).isEmpty());
        QVERIFY(minuteOld(copy));
        QCOMPARE(InstallationRecovery::newerCopy(path), QString());
        InstallationRecovery::discard(key);
        QVERIFY(!QFile::exists(copy));

        QVERIFY(InstallationRecovery::write(inst, u"new-1"_s, QString(), QDateTime::currentDateTime()).ok());
        const QStringList unsaved = InstallationRecovery::unsavedCopies();
        QCOMPARE(unsaved.size(), 1);
        const QString kept =
            InstallationRecovery::keepDeclined(unsaved.first(), QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        QVERIFY(kept.endsWith(u"recovery_new-1_20261210-090000.qvi"_s));
        QVERIFY(readInstallationFile(kept));
        QVERIFY(InstallationRecovery::unsavedCopies().isEmpty());
    }

    // 250 modules with every text and name at its longest, in characters JSON may write as six-byte escapes:
    // the file opens. One module more is refused, and so is a file beyond the size cap.
    void aFileAtEveryLimitOpens()
    {
        Installation inst;
        const QString longName(InstallationFormat::MaxNameLength, QChar(0x20ac));
        inst.name = inst.address = longName;
        inst.notes = QString(InstallationFormat::MaxNotesLength, QChar(0x20ac));
        for (int i = 0; i < InstallationFormat::MaxModules; ++i) {
            InstallationModule m =
                moduleOf(0, longName.left(76) + u"%1"_s.arg(i, 4, 10, QLatin1Char('0')), i);
            m.name = m.place = longName;
            m.notes = inst.notes;
            m.knownImage = Images::pattern(0, i + 1);
            m.knownAt = m.sentAt = m.checkedAt = QDateTime(QDate(2026, 12, 10), QTime(0, 0), Qt::UTC);
            m.knownFrom = u"send"_s;
            m.sendOutcome = QString::fromLatin1(InstallationFormat::PartlySent);
            m.checkOutcome = QString::fromLatin1(InstallationFormat::CheckDifferent);
            for (auto *list : {&m.names.outputs, &m.names.pushButtons, &m.names.scenes})
                std::fill(list->begin(), list->end(), longName);
            inst.modules.push_back(m);
        }
        QByteArray bytes = installationContent(inst);
        bytes.replace("\xe2\x82\xac", "\\u20ac");
        QVERIFY2(bytes.size() <= InstallationFormat::MaxSize, qPrintable(QString::number(bytes.size())));
        const auto back = parseInstallation(bytes);
        QVERIFY2(back, qPrintable(back.failure().detail));
        QCOMPARE(back->modules.size(), size_t(InstallationFormat::MaxModules));

        inst.modules.push_back(moduleOf(1, u"one more"_s, 1));
        QCOMPARE(parseInstallation(installationContent(inst)).failure().kind, Failure::Kind::TooManyModules);
        QCOMPARE(parseInstallation(QByteArray(InstallationFormat::MaxSize + 1, ' ')).failure().kind,
                 Failure::Kind::TooLargeInstallation);
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_installation.moc"
