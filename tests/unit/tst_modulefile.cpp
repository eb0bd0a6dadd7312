#include "files/ModuleFile.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <sys/stat.h>

namespace {
ModuleImage patternImage(int count, int seed)
{
    ModuleImage image(count);
    for (int s = 0; s < count; ++s)
        image.set(s, (s * 37 + seed) % 1000);
    return image;
}

// A valid file of the given type whose slot lines are taken from `values` (cycled).
QByteArray fileOf(int type, const QList<QByteArray> &values, int count = -1)
{
    if (count < 0) count = ModuleFile::slotCount(type);
    QByteArray out = " " + QByteArray::number(type) + " \r\n";
    for (int s = 0; s < count; ++s)
        out += values[s % values.size()] + "\r\n";
    return out;
}
} // namespace

class TestModuleFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writtenBytes_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("lines");
        QTest::newRow("relay 0") << 0 << 341;
        QTest::newRow("dim 1") << 1 << 151;
        QTest::newRow("velano 2") << 2 << 231;
        QTest::newRow("relay 3") << 3 << 341;
    }
    void writtenBytes()
    {
        QFETCH(int, type);
        QFETCH(int, lines);
        ModuleImage image(lines - 1);
        image.set(0, 12);
        image.set(2, 999);
        const QByteArray bytes = *moduleFileContent(type, image);
        QVERIFY(bytes.startsWith(
            QByteArray(" " + QByteArray::number(type) + " \r\n 12 \r\n 0 \r\n 999 \r\n 0 \r\n")));
        QVERIFY(bytes.endsWith("\r\n 0 \r\n"));
        QCOMPARE(bytes.count("\r\n"), lines);
        QCOMPARE(bytes.count('\n'), lines);
        QCOMPARE(bytes.count('\r'), lines);
    }

    void roundTripThroughFiles()
    {
        QTemporaryDir dir;
        for (int type = 0; type <= 3; ++type) {
            const ModuleImage image = patternImage(ModuleFile::slotCount(type), type);
            const QString path = dir.filePath(QStringLiteral("m%1.QV1").arg(type));
            const Failure written = writeModuleFile(path, type, image);
            QVERIFY2(written.ok(), qPrintable(written.detail));
            const auto data = readModuleFile(path);
            QVERIFY2(data, qPrintable(data.failure().detail));
            QCOMPARE(data->type, type); // 3 stays 3 although it shares the relay image
            ModuleImage back(ModuleFile::slotCount(data->type));
            for (int s = 0; s < back.size(); ++s)
                back.set(s, data->values[static_cast<size_t>(s)]);
            QCOMPARE(back, image);
        }
    }

    // Anything that would not read back is refused, and an existing file is left alone.
    void unreadableImagesAreNotWritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.QV1"));
        QVERIFY(writeModuleFile(path, 1, patternImage(150, 5)).ok());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();

        ModuleImage outOfRange = patternImage(150, 0);
        outOfRange.set(17, 1000);
        Failure why = writeModuleFile(path, 4, patternImage(340, 0)); // no module identified
        QCOMPARE(why.kind, Failure::Kind::NotAModuleImage);
        QVERIFY(why.detail.contains(QLatin1String("type 4")));
        QCOMPARE(writeModuleFile(path, 1, patternImage(340, 0)).kind,
                 Failure::Kind::NotAModuleImage); // relay image
        why = writeModuleFile(path, 1, outOfRange);
        QCOMPARE(why.kind, Failure::Kind::NotAModuleImage);
        QVERIFY(why.detail.contains(QLatin1String("slot 17")));
        why = writeModuleFile(dir.filePath(QStringLiteral("no/such/dir/x.QV1")), 1, patternImage(150, 0));
        QCOMPARE(why.kind, Failure::Kind::NotWritten);

        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    // A disk that fills up half-way: reported, and the old file stays whole.
    void shortWriteIsAFailure()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.QV1"));
        QVERIFY(writeModuleFile(path, 0, patternImage(340, 1)).ok());
        const auto before = parseModuleFile([&] {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }());
        QVERIFY(before);

        Failure why;
        {
            const FileSizeLimit limit(100);
            QVERIFY(limit.active());
            why = writeModuleFile(path, 0, patternImage(340, 2));
        }
        QCOMPARE(why.kind, Failure::Kind::NotWritten);
        QVERIFY(why.detail.contains(path));
        const auto after = readModuleFile(path);
        QVERIFY(after);
        QCOMPARE(after->values, before->values);
        // The cut-off new file is not left behind.
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("m.QV1")});
    }

    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("line");
        const QList<QByteArray> ok{" 5 "};
        QByteArray badAt7 = fileOf(1, ok);
        badAt7.replace(5 * 5 + 5, 3, "abc"); // line 7 = slot 5: " 5 " -> "abc"
        QTest::newRow("empty") << QByteArray() << int(Failure::Kind::BadType) << 1;
        QTest::newRow("type text") << QByteArray("abc\r\n") << int(Failure::Kind::BadType) << 1;
        QTest::newRow("type 4") << fileOf(4, ok, 340) << int(Failure::Kind::BadType) << 1;
        QTest::newRow("type -1") << fileOf(-1, ok, 340) << int(Failure::Kind::BadType) << 1;
        QTest::newRow("type 1.5") << QByteArray("1.5\r\n") << int(Failure::Kind::BadType) << 1;
        QTest::newRow("type only") << QByteArray(" 2 \r\n") << int(Failure::Kind::TooShort) << 2;
        QTest::newRow("dim short") << fileOf(1, ok, 100) << int(Failure::Kind::TooShort) << 102;
        QTest::newRow("relay one short") << fileOf(0, ok, 339) << int(Failure::Kind::TooShort) << 341;
        QTest::newRow("text at slot 5") << badAt7 << int(Failure::Kind::BadValue) << 7;
        QTest::newRow("1000") << fileOf(2, {" 1 ", "1000"}) << int(Failure::Kind::BadValue) << 3;
        QTest::newRow("negative") << fileOf(2, {"-1 "}) << int(Failure::Kind::BadValue) << 2;
        QTest::newRow("sign only") << fileOf(2, {" 1 ", " - "}) << int(Failure::Kind::BadValue) << 3;
        QTest::newRow("blank type line")
            << QByteArray("  \r\n") + fileOf(1, ok).mid(5) << int(Failure::Kind::BadType) << 1;
        QTest::newRow("blank inside") << fileOf(2, {"1 2"}) << int(Failure::Kind::BadValue) << 2;
        QTest::newRow("huge") << fileOf(2, {"99999999999999999999"}) << int(Failure::Kind::BadValue) << 2;
        // A type line that disagrees with the length of the values: the file of another type.
        QTest::newRow("relay values under type 1")
            << fileOf(1, ok, 340) << int(Failure::Kind::OtherTypesLength) << 1;
        QTest::newRow("velano values under type 1")
            << fileOf(1, ok, 230) << int(Failure::Kind::OtherTypesLength) << 1;
        QTest::newRow("relay values under type 2, blank lines after")
            << fileOf(2, ok, 340) + "\r\n \r\n"
            << int(Failure::Kind::OtherTypesLength) << 1;
        QByteArray relayWithEmptyTail = fileOf(1, ok, 230);
        for (int s = 230; s < 340; ++s)
            relayWithEmptyTail += "\r\n";
        QTest::newRow("relay values under type 1, last slots empty")
            << relayWithEmptyTail << int(Failure::Kind::OtherTypesLength) << 1;
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, kind);
        QFETCH(int, line);
        const Failure error = parseModuleFile(content).failure();
        QCOMPARE(int(error.kind), kind);
        QCOMPARE(error.line, line);
        QVERIFY(error.detail.startsWith(QStringLiteral("line %1: ").arg(line)));
    }

    void acceptedVariants_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QList<QByteArray> v{" 7 "};
        QTest::newRow("trailing empty lines") << fileOf(1, v) + "\r\n  \r\n\r\n";
        QTest::newRow("lone LF") << fileOf(1, v).replace("\r\n", "\n");
        QTest::newRow("lone CR") << fileOf(1, v).replace("\r\n", "\r");
        QTest::newRow("no final line end") << fileOf(1, v).chopped(2);
        QTest::newRow("blanks, tabs, sign, comma") << fileOf(1, {"7", "\t7\t", "  +7", "7,99", " 007 ,x"});
    }
    void acceptedVariants()
    {
        QFETCH(QByteArray, content);
        const auto data = parseModuleFile(content);
        QVERIFY2(data, qPrintable(data.failure().detail));
        QCOMPARE(data->type, 1);
        QCOMPARE(data->values, std::vector<int>(150, 7));
    }

    // A slot that holds nothing is written as an empty line and reads as 0, wherever it is; an
    // empty value before a comma is the same. The length guard looks only at values that run past
    // the slots of the type, so a file whose last slots are empty still reads.
    void emptySlotLinesReadAsZero()
    {
        QByteArray dim = " 1 \r\n";
        std::vector<int> expected(150, 0);
        for (int s = 0; s < 150; ++s) {
            switch (s) {
            case 0:
            case 149:
                dim += "\r\n";
                break;
            case 5:
                dim += " \t \r\n";
                break;
            case 10:
                dim += " , old\r\n";
                break;
            default:
                dim += " " + QByteArray::number(s) + " \r\n";
                expected[size_t(s)] = s;
                break;
            }
        }
        auto data = parseModuleFile(dim);
        QVERIFY2(data, qPrintable(data.failure().detail));
        QCOMPARE(data->type, 1);
        QCOMPARE(data->values, expected);

        // Velano and relay files whose last slots are empty: as long as a dim or Velano file up to
        // their last value, and still their own type.
        for (const auto &[type, used] : {std::pair{2, 150}, std::pair{0, 230}, std::pair{3, 150}}) {
            QByteArray content = fileOf(type, {" 9 "}, used);
            for (int s = used; s < ModuleFile::slotCount(type); ++s)
                content += "\r\n";
            data = parseModuleFile(content);
            QVERIFY2(data, qPrintable(data.failure().detail));
            QCOMPARE(data->type, type);
            QCOMPARE(int(std::count(data->values.begin(), data->values.end(), 9)), used);
            QCOMPARE(int(std::count(data->values.begin(), data->values.end(), 0)),
                     ModuleFile::slotCount(type) - used);
        }
    }

    // Reading stops after the slots of the type: what follows (more values, text, bytes of another
    // program) is not read, unless it makes the file exactly as long as another type's file.
    void linesAfterTheLastSlotAreIgnored_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("type");
        const QList<QByteArray> v{" 4 "};
        QTest::newRow("text after blank lines") << fileOf(2, v) + "\r\n\r\nx\r\n" << 2;
        QTest::newRow("a few more values") << fileOf(1, v, 160) << 1;
        QTest::newRow("a note and bytes") << fileOf(3, v) + "saved by the service van\r\n\x1a\xff\x00" << 3;
        QTest::newRow("longer than every type") << fileOf(0, v, 400) << 0;
        QTest::newRow("one value more than a relay file") << fileOf(0, v, 340) + " 1 \r\n" << 0;
    }
    void linesAfterTheLastSlotAreIgnored()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, type);
        const auto data = parseModuleFile(content);
        QVERIFY2(data, qPrintable(data.failure().detail));
        QCOMPARE(data->type, type);
        QCOMPARE(data->values, std::vector<int>(size_t(ModuleFile::slotCount(type)), 4));
    }

    // The refusal says what disagrees, for the installer's message.
    void otherTypesLengthIsExplained()
    {
        const Failure error = parseModuleFile(fileOf(1, {" 3 "}, 340) + "\r\n").failure();
        QCOMPARE(error.kind, Failure::Kind::OtherTypesLength);
        QCOMPARE(error.figures, QList<int>({1, 341}));
        QCOMPARE(error.detail,
                 QStringLiteral("line 1: module type 1, but the file has the 341 lines of a type-0 module"));
    }

    void fileLevelErrors()
    {
        QTemporaryDir dir;
        const QString none = dir.filePath(QStringLiteral("none.QV1"));
        QCOMPARE(readModuleFile(none).failure().kind, Failure::Kind::Missing);
        QCOMPARE(readModuleFile(none).failure().path, none);
        QCOMPARE(readModuleFile(dir.path()).failure().kind, Failure::Kind::NotAFile);

        QFile big(dir.filePath(QStringLiteral("big.QV1")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.write(fileOf(1, {" 1 "})));
        QVERIFY(big.resize(ModuleFile::MaxSize + 1)); // sparse: cheap
        big.close();
        QCOMPARE(readModuleFile(big.fileName()).failure().kind, Failure::Kind::TooLarge);
    }

    // Only regular files are read: a FIFO nobody writes to, a device or a folder is refused at
    // once instead of holding up the window or feeding it endless data. A link to a regular file
    // reads as the file.
    void onlyRegularFilesAreRead()
    {
#ifdef Q_OS_WIN
        QSKIP("POSIX FIFOs and devices");
#else
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("pipe.QV1"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(readModuleFile(fifo).failure().kind, Failure::Kind::NotAFile);
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(readModuleFile(QStringLiteral("/dev/zero")).failure().kind, Failure::Kind::NotAFile);

        const QString real = dir.filePath(QStringLiteral("real.QV1"));
        QVERIFY(writeModuleFile(real, 2, patternImage(230, 4)).ok());
        const QString link = dir.filePath(QStringLiteral("link.QV1"));
        QVERIFY(QFile::link(real, link));
        QVERIFY(readModuleFile(link));
        QVERIFY(QFile::link(fifo, dir.filePath(QStringLiteral("to-pipe.QV1"))));
        QCOMPARE(readModuleFile(dir.filePath(QStringLiteral("to-pipe.QV1"))).failure().kind,
                 Failure::Kind::NotAFile);
        QVERIFY(
            QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("dangling.QV1"))));
        QCOMPARE(readModuleFile(dir.filePath(QStringLiteral("dangling.QV1"))).failure().kind,
                 Failure::Kind::Missing);
#endif
    }

    // A save replaces the name itself: a link planted there is replaced by the file and its
    // target is never written; an existing file is replaced with its permissions kept; nothing
    // but the saved file is left in the folder.
    void saveNeverWritesThroughALink()
    {
#ifdef Q_OS_WIN
        QSKIP("POSIX links and modes");
#else
        QTemporaryDir dir;
        const QString victim = dir.filePath(QStringLiteral("someone-elses.txt"));
        {
            QFile f(victim);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("precious");
        }
        const QString path = dir.filePath(QStringLiteral("klant.QV1"));
        QVERIFY(QFile::link(victim, path));
        QVERIFY(writeModuleFile(path, 1, patternImage(150, 6)).ok());
        QFile v(victim);
        QVERIFY(v.open(QIODevice::ReadOnly));
        QCOMPARE(v.readAll(), QByteArray("precious"));
        QVERIFY(!QFileInfo(path).isSymLink());
        QVERIFY(readModuleFile(path));

        // A dangling link is replaced too, without making its target.
        const QString dangling = dir.filePath(QStringLiteral("dangling.QV1"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("made-elsewhere")), dangling));
        QVERIFY(writeModuleFile(dangling, 1, patternImage(150, 6)).ok());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("made-elsewhere"))));

        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
        QVERIFY(writeModuleFile(path, 2, patternImage(230, 7)).ok());
        struct stat st
        {
        };
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
        QCOMPARE(readModuleFile(path)->type, 2);

        // A new file gets the usual permissions, the umask applied.
        const mode_t mask = ::umask(022);
        QVERIFY(writeModuleFile(dir.filePath(QStringLiteral("nieuw.QV1")), 1, patternImage(150, 1)).ok());
        ::umask(mask);
        QVERIFY(::stat(QFile::encodeName(dir.filePath(QStringLiteral("nieuw.QV1"))).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0644));

        // A folder at the name is refused and stays.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("map.QV1")));
        const Failure why = writeModuleFile(dir.filePath(QStringLiteral("map.QV1")), 1, patternImage(150, 1));
        QCOMPARE(why.kind, Failure::Kind::NotWritten);
        QVERIFY(why.detail.contains(QLatin1String("map.QV1")));
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList({QStringLiteral("dangling.QV1"), QStringLiteral("klant.QV1"),
                         QStringLiteral("map.QV1"), QStringLiteral("nieuw.QV1"),
                         QStringLiteral("someone-elses.txt")}));
#endif
    }

    // Random and mutated files: never a crash, a result that holds what the type needs, and an
    // error line inside the file (or one past its end).
    void fuzz()
    {
        QRandomGenerator rng(20240611);
        const QByteArray valid = *moduleFileContent(0, patternImage(340, 3));
        const char alphabet[] = " 0123456789,+-\r\n\tx";
        QElapsedTimer timer;
        timer.start();
        int accepted = 0;
        for (int round = 0; round < 3000; ++round) {
            QByteArray content;
            if (round % 3 == 0) {
                content.resize(rng.bounded(600));
                for (char &c : content)
                    c = round % 2 ? alphabet[rng.bounded(int(sizeof alphabet) - 1)] : char(rng.bounded(256));
            } else {
                content = round % 3 == 1 ? valid : *moduleFileContent(1, patternImage(150, round));
                for (int k = rng.bounded(1, 4); k > 0; --k) {
                    const int at = rng.bounded(int(content.size()));
                    switch (rng.bounded(3)) {
                    case 0:
                        content[at] = alphabet[rng.bounded(int(sizeof alphabet) - 1)];
                        break;
                    case 1:
                        content.remove(at, rng.bounded(1, 20));
                        break;
                    default:
                        content.insert(at, content.mid(rng.bounded(int(content.size())), 8));
                        break;
                    }
                }
            }
            const auto data = parseModuleFile(content);
            const Failure &error = data.failure();
            if (data) {
                ++accepted;
                QCOMPARE(int(data->values.size()), ModuleFile::slotCount(data->type));
                for (int v : data->values)
                    QVERIFY(v >= 0 && v <= 999);
            } else {
                QVERIFY(error.kind != Failure::Kind::None);
                QVERIFY(error.line >= 1 && error.line <= content.count('\n') + content.count('\r') + 2);
            }
        }
        QVERIFY(accepted > 0); // some mutations (a digit for a digit) stay valid
        QVERIFY(timer.elapsed() < 20000);
    }
};

QTEST_GUILESS_MAIN(TestModuleFile)
#include "tst_modulefile.moc"
