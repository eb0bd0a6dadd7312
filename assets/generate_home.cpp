// Lays out a complete installation folder: the four settings files with their shipped values,
// a picture of the front of each module type, and a short documentation file per module model
// and language. Run at build time: qv-assets <folder>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTextStream>
#include <cstdio>

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

struct Picture
{
    const char *file;
    const char *model;
    int outputs;
    int dimChannels;
};

// The front of a rail-mounted module: housing, terminal rows, status LED and model name.
QImage modulePicture(const Picture &p)
{
    QImage img(360, 220, QImage::Format_RGB32);
    img.fill(QColor(236, 236, 232));
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    const QRect body(30, 20, 300, 180);
    g.setPen(QPen(QColor(90, 90, 90), 2));
    g.setBrush(QColor(248, 248, 244));
    g.drawRoundedRect(body, 8, 8);
    // Terminal rows at the top and bottom edge.
    const int terminals = qMax(p.outputs + p.dimChannels, 6);
    for (int row = 0; row < 2; ++row) {
        const int y = row == 0 ? body.top() + 8 : body.bottom() - 28;
        const int width = (body.width() - 20) / terminals;
        for (int i = 0; i < terminals; ++i) {
            const QRect t(body.left() + 10 + i * width, y, width - 4, 20);
            g.setBrush(row == 0 && i < p.dimChannels ? QColor(200, 170, 60) : QColor(70, 110, 170));
            g.drawRect(t);
            g.setBrush(QColor(30, 30, 30));
            g.drawEllipse(t.center(), 3, 3);
        }
    }
    // Front label with the model name and a status LED.
    g.setBrush(QColor(40, 60, 90));
    const QRect label(body.left() + 40, body.top() + 60, body.width() - 80, 60);
    g.drawRoundedRect(label, 4, 4);
    g.setPen(Qt::white);
    QFont f = g.font();
    f.setPixelSize(26);
    f.setBold(true);
    g.setFont(f);
    g.drawText(label, Qt::AlignCenter, QString::fromLatin1(p.model));
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(40, 200, 60));
    g.drawEllipse(QPoint(body.right() - 22, body.top() + 90), 6, 6);
    return img;
}

struct Document
{
    const char *model;
    const char *kindNl;
    const char *kindFr;
    const char *detailNl;
    const char *detailFr;
};

bool writeDocument(const QString &path, const Document &d, bool french)
{
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(150);
    pdf.setTitle(QString::fromLatin1(d.model));
    pdf.setCreator(QStringLiteral("QV Velano5"));
    QPainter g;
    if (!g.begin(&pdf)) return false;
    const int w = pdf.width();
    QFont title = g.font();
    title.setPointSize(22);
    title.setBold(true);
    QFont body = g.font();
    body.setPointSize(11);

    g.setFont(title);
    g.drawText(QRect(0, 0, w, 120), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(d.model));
    g.setFont(body);
    const QString kind = QString::fromUtf8(french ? d.kindFr : d.kindNl);
    const QString detail = QString::fromUtf8(french ? d.detailFr : d.detailNl);
    const QString intro =
        french ? QStringLiteral(
                     "Ce document décrit le module %1 du bus domotique: raccordement, configuration avec "
                     "QV Velano5 et diagnostic.")
                     .arg(QString::fromLatin1(d.model))
               : QStringLiteral(
                     "Dit document beschrijft de module %1 van de domoticabus: aansluiten, configureren "
                     "met QV Velano5 en diagnose.")
                     .arg(QString::fromLatin1(d.model));
    const QString steps =
        french
            ? QStringLiteral(
                  "Configuration:\n1. Raccordez le module au port série de l'ordinateur.\n"
                  "2. Cliquez sur « Connecter »: le module s'annonce et sa configuration est lue.\n"
                  "3. Modifiez les boutons poussoirs, les temps et les contextes.\n"
                  "4. Cliquez sur « Envoyer » pour écrire la configuration dans le module.")
            : QStringLiteral(
                  "Configureren:\n1. Verbind de module met de seriële poort van de computer.\n"
                  "2. Klik op 'Verbinden': de module meldt zich aan en zijn configuratie wordt ingelezen.\n"
                  "3. Wijzig de drukknoppen, de tijden en de sferen.\n"
                  "4. Klik op 'Versturen' om de configuratie in de module te schrijven.");
    g.drawText(QRect(0, 150, w, 1400), Qt::TextWordWrap,
               kind + QStringLiteral("\n\n") + intro + QStringLiteral("\n\n") + detail +
                   QStringLiteral("\n\n") + steps);
    g.end();
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: qv-assets <installation folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.absolutePath())) {
        std::fprintf(stderr, "qv-assets: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;

    // Shipped settings: Dutch, port 1, 300 microseconds after each character, no default folder.
    ok &= writeBytes(out.filePath(QStringLiteral("country.vdm")), " 1 \r\n");
    ok &= writeBytes(out.filePath(QStringLiteral("port.vdm")), "1\r\n");
    ok &= writeBytes(out.filePath(QStringLiteral("pc.vdm")), "300\r\n");
    ok &= writeBytes(out.filePath(QStringLiteral("directory.vdm")), "\r\n");

    const Picture pictures[] = {
        {"relais.bmp", "ZK2412", 12, 0},
        {"modulair.bmp", "ZK2018", 12, 0},
        {"dimmer.bmp", "ZK24XX", 0, 4},
        {"velano.bmp", "ZK2019", 4, 4},
    };
    for (const Picture &p : pictures)
        ok &= modulePicture(p).save(out.filePath(QString::fromLatin1(p.file)), "BMP");

    const Document documents[] = {
        {"ZK2412", "Relaismodule met 12 uitgangen (ook ZK3412).",
         "Module relais à 12 sorties (aussi ZK3412).",
         "Elke uitgang kan AAN/UIT, met tijdsfunctie, als puls of met vergrendeling werken.",
         "Chaque sortie peut fonctionner en ON/OFF, avec fonction temps, en impulsion ou avec protection."},
        {"ZK2018", "Modulaire relaismodule met 12 uitgangen.", "Module relais modulaire à 12 sorties.",
         "Elke uitgang kan AAN/UIT, met tijdsfunctie, als puls of met vergrendeling werken.",
         "Chaque sortie peut fonctionner en ON/OFF, avec fonction temps, en impulsion ou avec protection."},
        {"ZK2019", "Velano module: 4 dimkanalen en 4 relaiskanalen.",
         "Module Velano: 4 sorties dim et 4 sorties relais.",
         "De dimkanalen hebben een instelbare beginwaarde; 20 sferen sturen alle kanalen tegelijk.",
         "Les sorties dim ont une valeur de début réglable; 20 contextes commandent toutes les sorties."},
        {"ZK2425", "Dimmodule met 4 kanalen.", "Module dim à 4 sorties.",
         "Elk kanaal heeft een beginwaarde van 10% tot 90%.",
         "Chaque sortie a une valeur de début de 10% à 90%."},
        {"ZK2436", "Dimmodule met 4 kanalen.", "Module dim à 4 sorties.",
         "Elk kanaal heeft een beginwaarde van 10% tot 90%.",
         "Chaque sortie a une valeur de début de 10% à 90%."},
        {"ZK2447", "Dimmodule met 4 kanalen (ook ZK3447).", "Module dim à 4 sorties (aussi ZK3447).",
         "Elk kanaal heeft een beginwaarde van 10% tot 90%.",
         "Chaque sortie a une valeur de début de 10% à 90%."},
    };
    for (const Document &d : documents) {
        for (const bool french : {false, true}) {
            const QString name = QString::fromLatin1(d.model) +
                                 (french ? QStringLiteral("_FR.pdf") : QStringLiteral("_NL.pdf"));
            const QString path = out.filePath(name);
            ok &= writeDocument(path, d, french);
            // The viewer looks documents up by lower-cased path; keep a copy under that name.
            const QString lower = out.filePath(name.toLower());
            QFile::remove(lower);
            ok &= QFile::copy(path, lower);
        }
    }
    if (!ok) {
        std::fprintf(stderr, "qv-assets: could not write every file into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
