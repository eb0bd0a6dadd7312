// Opening and saving an installation at its limits (250 relay modules, every text at its longest,
// images known and sent), beside opening one module file: medians of `runs` (default 9), with the
// load average, since a shared machine moves the times.
#include "files/ModuleFile.h"
#include "installation/Installation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
ModuleImage pattern(int type, int seed)
{
    ModuleImage image(ModuleTypes::info(type)->slotCount);
    for (int slot = 0; slot < image.size(); ++slot)
        image.set(slot, (slot * 11 + seed) % 1000);
    return image;
}

double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 0)
                                       : QStringLiteral("?");
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 9;
    QTemporaryDir dir;
    qputenv("QV_VELANO_HOME", QFile::encodeName(dir.path()));

    Installation inst;
    const QString longText(InstallationFormat::MaxNameLength, QChar(0x20ac));
    inst.name = inst.address = longText;
    inst.notes = QString(InstallationFormat::MaxNotesLength, QChar(0x20ac));
    for (int i = 0; i < InstallationFormat::MaxModules; ++i) {
        InstallationModule m;
        m.id = QStringLiteral("module-%1").arg(i);
        m.name = m.place = longText;
        m.notes = inst.notes;
        m.type = 0;
        m.image = pattern(0, i);
        m.knownImage = pattern(0, i + 1);
        m.knownAt = m.sentAt = m.checkedAt = QDateTime::currentDateTimeUtc();
        m.knownFrom = QStringLiteral("send");
        m.sendOutcome = QString::fromLatin1(InstallationFormat::Sent);
        m.checkOutcome = QString::fromLatin1(InstallationFormat::CheckEqual);
        inst.modules.push_back(m);
    }
    const QString path = dir.filePath(QStringLiteral("huis.qvi"));
    const QString modulePath = dir.filePath(QStringLiteral("module.QV1"));
    if (!writeInstallationFile(path, inst, QDateTime::currentDateTime()).failure.ok() ||
        !writeModuleFile(modulePath, 0, pattern(0, 1)).ok())
        return 1;
    const QString before = loadAverage();
    int seed = 0;
    const double save = medianMs(runs, [&] {
        inst.modules[0].image.set(0, ++seed % 1000); // a change: the previous version is kept
        writeInstallationFile(path, inst, QDateTime::currentDateTime());
    });
    const double open = medianMs(runs, [&] {
        if (!readInstallationFile(path)) std::abort();
    });
    const double moduleOpen = medianMs(runs, [&] {
        if (!readModuleFile(modulePath)) std::abort();
    });
    std::printf(
        "installation at the limits (%d modules, %lld bytes): open %.1f ms, save %.1f ms; one module file: "
        "open %.2f ms (medians of %d runs; load average %s / %s)\n",
        InstallationFormat::MaxModules, static_cast<long long>(QFile(path).size()), open, save, moduleOpen,
        runs, qPrintable(before), qPrintable(loadAverage()));
    return 0;
}
