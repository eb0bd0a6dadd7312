#include "app/ModulePage.h"
#include "common/MessageBox.h"
#include "support/Find.h"
#include "support/TestHome.h"
#include "support/TestWindow.h"

#include <QImage>
#include <QTest>
#include <QtEndian>

namespace {

// A bitmap file header and information header for a 24-bit picture of the given size, with no
// pixels after it.
QByteArray bitmapHeader(qint32 width, qint32 height)
{
    QByteArray h(54, '\0');
    auto put32 = [&h](int at, quint32 v) { qToLittleEndian(v, h.data() + at); };
    auto put16 = [&h](int at, quint16 v) { qToLittleEndian(v, h.data() + at); };
    h[0] = 'B';
    h[1] = 'M';
    put32(2, 54 + quint32(width) * 3 * quint32(height));
    put32(10, 54); // pixels start right after the headers
    put32(14, 40); // information header size
    put32(18, quint32(width));
    put32(22, quint32(height));
    put16(26, 1);  // planes
    put16(28, 24); // bits a pixel
    return h;
}

} // namespace

// The module page's picture comes from the installation folder and is read as a bitmap only:
// a file of that name with other content, or a bitmap that cannot be read, leaves it empty.
class TestModulePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MessageBox::setAutoAnswer(true); }

    void pictureIsABitmapOrNothing()
    {
        TestHome home;
        home.writeSettings();
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(home.file(QStringLiteral("dimmer.bmp")), "BMP"));
        // A picture in another format under a bitmap's name is not decoded by that format's reader.
        QVERIFY(picture.save(home.file(QStringLiteral("relais.bmp")), "PNG"));
        // A bitmap that claims 30000 x 30000 pixels and holds none: nothing is made of it.
        home.write(QStringLiteral("velano.bmp"), bitmapHeader(30000, 30000));
        // modulair.bmp is missing.

        TestWindow w;
        w.show();
        const auto page = [&w](const char *entry) {
            w.chooseType(QString::fromLatin1(entry));
            return byName<QLabel>(w.Frame11, "Picture2")->pixmap();
        };
        QCOMPARE(page("ZK24XX_ZK3447").size(), QSize(40, 30));
        QVERIFY(page("ZK3412_ZK2412").isNull()); // and the dimmer's picture is gone
        QVERIFY(w.Frame11->isVisible());
        QCOMPARE(byName<QLabel>(w.Frame11, "Label2")->text(),
                 QStringLiteral("Relaismodule")); // the page itself is shown
        QVERIFY(page("ZK2019").isNull());
        QVERIFY(page("ZK2018").isNull());
        QCOMPARE(page("ZK24XX_ZK3447").size(), QSize(40, 30));
    }
};

QTEST_MAIN(TestModulePage)
#include "tst_modulepage.moc"
