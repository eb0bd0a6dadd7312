// Draws the program's icon (a rail-mounted bus module seen from the front) as PNG files of the
// hicolor theme: <folder>/<n>x<n>/apps/qv-velano5.png for each size. Run at build time:
// qv-icon <folder> <size>...
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

QImage icon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.scale(size / 64.0, size / 64.0); // drawn on a 64 x 64 grid

    // Housing.
    g.setPen(QPen(QColor(70, 70, 70), 1.5));
    g.setBrush(QColor(248, 248, 244));
    g.drawRoundedRect(QRectF(6, 4, 52, 56), 6, 6);

    // Terminal rows at the top and bottom edge.
    g.setPen(Qt::NoPen);
    for (int row = 0; row < 2; ++row) {
        const qreal y = row == 0 ? 8 : 48;
        for (int i = 0; i < 5; ++i) {
            const QRectF t(10 + i * 9, y, 7, 8);
            g.setBrush(row == 0 && i < 2 ? QColor(200, 170, 60) : QColor(70, 110, 170));
            g.drawRect(t);
            g.setBrush(QColor(30, 30, 30));
            g.drawEllipse(t.center(), 1.6, 1.6);
        }
    }

    // Front label with a "V" mark and the status LED.
    g.setBrush(QColor(40, 60, 90));
    g.drawRoundedRect(QRectF(12, 20, 40, 24), 3, 3);
    QPainterPath v;
    v.moveTo(19, 25);
    v.lineTo(27, 39);
    v.lineTo(35, 25);
    g.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(Qt::NoBrush);
    g.drawPath(v);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(40, 200, 60));
    g.drawEllipse(QPointF(45, 32), 3.2, 3.2);
    return img;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: qv-icon <folder> <size>...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size < 16 || size > 1024) {
            std::fprintf(stderr, "qv-icon: not a size: %s\n", argv[i]);
            return 2;
        }
        const QString folder = out.filePath(QStringLiteral("%1x%1/apps").arg(size));
        const QString file = folder + QStringLiteral("/qv-velano5.png");
        if (!QDir().mkpath(folder) || !icon(size).save(file, "PNG")) {
            std::fprintf(stderr, "qv-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
