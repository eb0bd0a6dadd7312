#include "app/Settings.h"
#include "common/MessageBox.h"
#include "serial/MemoryLink.h"
#include "support/TestHome.h"
#include "support/TestWindow.h"

#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// A user's settings folder that others may write in is not used: the program says so once, in
// the language of the next layer's settings, works with those, and a change the installer makes
// is refused with the same reason instead of being written there.
class TestOwnFolder : public QObject
{
    Q_OBJECT

    static void setMode(const QString &path, mode_t mode)
    {
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode) == 0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Folders the test makes for the user are the user's alone, whatever the umask.
        ::umask(022);
    }
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
        forgetReportedSettingsFolder();
    }

    void aFolderOthersMayWriteInIsReportedOnce()
    {
        TestUserHome m;
        m.write(m.shipped(u"country.vdm"_s), " 1 \r\n");
        m.write(m.admin(u"port.vdm"_s), "4\r\n");
        m.write(m.user(u"country.vdm"_s), " 2 \r\n");
        m.write(m.user(u"port.vdm"_s), "6\r\n");
        m.write(m.user(u"recent.vdm"_s), m.shipped(u"klant.QV1"_s).toUtf8() + "\n");
        m.write(m.shipped(u"klant.QV1"_s), "");
        setMode(m.user(), 0770);
        const QString message =
            u"De map met uw eigen instellingen wordt niet gebruikt:\n"_s +
            QDir::toNativeSeparators(m.user()) +
            u"\nOok anderen mogen in deze map schrijven.\n\nDe instellingen van de "
            u"beheerder of de standaardinstellingen gelden. Wijzigingen en poortkoppelingen "
            u"worden pas bewaard wanneer dit een gewone map is die van u is en waarin niemand "
            u"anders mag schrijven."_s;
        MemoryLink link;
        {
            TestWindow w(nullptr, &link);
            QCOMPARE(MessageBox::shownCount(), 1);
            QCOMPARE(MessageBox::lastTitle(), u"Opgelet !"_s);
            QCOMPARE(MessageBox::lastText(), message);
            QCOMPARE(w.state().Language, 1);
            QCOMPARE(w.state().ComPort, 4);
            QVERIFY(!w.findChild<QAction *>(u"recent1"_s));

            // A change is not written there; the message says why.
            w.p[2]->trigger();
            QCOMPARE(MessageBox::shownCount(), 2);
            QCOMPARE(MessageBox::lastText(), message);
            QCOMPARE(m.read(m.user(u"port.vdm"_s)), QByteArray("6\r\n"));
            QCOMPARE(QDir(m.user()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     QStringList({u"country.vdm"_s, u"port.vdm"_s, u"recent.vdm"_s}));
        }
        // Said once per run: the next window says nothing more.
        {
            TestWindow again(nullptr, &link);
            QCOMPARE(MessageBox::shownCount(), 2);
            QCOMPARE(again.state().ComPort, 4);
        }
        // Private again, the user's own settings count.
        setMode(m.user(), 0700);
        TestWindow own(nullptr, &link);
        QCOMPARE(MessageBox::shownCount(), 2);
        QCOMPARE(own.state().Language, 2);
        QCOMPARE(own.state().ComPort, 6);
        QVERIFY(own.findChild<QAction *>(u"recent1"_s));
    }
};

QTEST_MAIN(TestOwnFolder)
#include "tst_ownfolder.moc"
