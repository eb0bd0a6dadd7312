// An installation at its limits (250 modules, every text and name at its longest): opening and saving its
// file, opening it in the window, and selecting a module in the window's panel, beside opening
// one module file; then the overview's three tables, the whole-installation check and the CSV
// file made from it, and the overview and the check shown in the window: medians of `runs`
// (default 9), with the load average, since a shared machine moves the times.
//
// Selecting is timed as the installer sees it: from the click on a row of the panel to the
// module's picture painted in the window (its type, page, master/slave, version and editors set
// up on the way). The modules take the four types in turn, so every selection changes the page.
// The window needs a display: without one named, the offscreen platform is used.
#include "app/Installations.h"
#include "app/MainWindow.h"
#include "files/ModuleFile.h"
#include "installation/Installation.h"
#include "installation/InstallationCheck.h"
#include "installation/Overview.h"
#include "installation/OverviewCsv.h"
#include "protocol/ModuleTypes.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWindow>
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
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
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

// 250 modules with every text and name at its longest (in characters JSON writes as escapes), each image
// known and sent; `typeOf` gives each module's type.
Installation atTheLimits(const std::function<int(int)> &typeOf)
{
    Installation inst;
    const QString longText(InstallationFormat::MaxNameLength, QChar(0x20ac));
    inst.name = inst.address = longText;
    inst.notes = QString(InstallationFormat::MaxNotesLength, QChar(0x20ac));
    for (int i = 0; i < InstallationFormat::MaxModules; ++i) {
        InstallationModule m;
        m.id = QStringLiteral("module-%1").arg(i);
        m.name = m.place = longText;
        m.notes = inst.notes;
        m.type = typeOf(i);
        m.image = pattern(m.type, i);
        m.names = ModuleNames::forType(m.type);
        for (auto *list : {&m.names.outputs, &m.names.pushButtons, &m.names.scenes})
            std::fill(list->begin(), list->end(), longText);
        m.knownImage = pattern(m.type, i + 1);
        m.knownAt = m.sentAt = m.checkedAt = QDateTime::currentDateTimeUtc();
        m.knownFrom = QStringLiteral("send");
        m.sendOutcome = QString::fromLatin1(InstallationFormat::Sent);
        m.checkOutcome = QString::fromLatin1(InstallationFormat::CheckEqual);
        inst.modules.push_back(m);
    }
    return inst;
}

// The shipped installation folder copied into `to`, so that the window finds its settings and
// module pictures while everything it writes stays in the throw-away folder.
bool copyFolder(const QString &from, const QString &to)
{
    const QDir source(from);
    if (!source.exists()) return false;
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(source.relativeFilePath(file));
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target)) return false;
    }
    return true;
}

// Notes the paint of one widget: the image shown is the one the installer sees.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget *widget) : m_widget(widget) { widget->installEventFilter(this); }
    void reset() { m_painted = false; }
    // Runs the event loop until the widget has been painted; false when it was not within `ms`.
    bool waitForPaint(int ms = 5000)
    {
        const QDeadlineTimer deadline(ms);
        while (!m_painted) {
            if (deadline.hasExpired()) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return true;
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_widget && event->type() == QEvent::Paint) m_painted = true;
        return false;
    }

private:
    QWidget *m_widget;
    bool m_painted = false;
};

// A click of the left mouse button on `row` of the panel's list, as a person gives it.
void click(QTreeWidget *list, QTreeWidgetItem *row)
{
    QWidget *viewport = list->viewport();
    // On the row's name: the row itself may reach beyond what the panel shows.
    const QRect rect = list->visualItemRect(row);
    const QPointF at(list->columnViewportPosition(0) + list->columnWidth(0) / 2, rect.center().y());
    const QPointF global = viewport->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
    QCoreApplication::sendEvent(viewport, &release);
}

bool fail(const char *what)
{
    std::fprintf(stderr, "qv-bench-installation: %s\n", what);
    return false;
}

struct WindowFigures
{
    double open = 0;
    double select = 0;
    double overview = 0; // "Overzicht" until its table is painted
    double check = 0;    // "Installatie controleren" until its list is painted
};

// Runs the menu entry `entry` of the window and waits until `shown` has been painted.
bool timeEntry(MainWindow &window, const char *entry, const char *shown, int runs, double &figure)
{
    auto *action = window.findChild<QAction *>(QString::fromLatin1(entry));
    auto *widget = window.findChild<QWidget *>(QString::fromLatin1(shown));
    action->trigger(); // built the first time, not timed
    if (!widget) widget = window.findChild<QWidget *>(QString::fromLatin1(shown));
    if (!action || !widget) return fail("an installation page is missing");
    PaintWatch painted(widget);
    bool ok = true;
    figure = medianMs(runs, [&] {
        painted.reset();
        action->trigger();
        ok = ok && painted.waitForPaint();
    });
    return ok || fail("an installation page was not painted");
}

// Opens the installation at `path` in a window and selects rows spread over the whole list.
bool measureWindow(const QString &path, int runs, WindowFigures &figures)
{
    MainWindow window;
    window.resize(1000, 700);
    window.show();
    const QDeadlineTimer shown(10000);
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        if (shown.hasExpired()) return fail("the window was not shown");
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    Installations &installations = *window.installations();
    auto *list = window.findChild<QTreeWidget *>(QStringLiteral("modulesLijst"));
    if (!list) return fail("the installation panel has no list");
    PaintWatch listPainted(list->viewport());
    bool ok = true;
    figures.open = medianMs(runs, [&] {
        listPainted.reset();
        ok = ok && installations.openInstallation(path) && listPainted.waitForPaint();
    });
    if (!ok || list->topLevelItemCount() != InstallationFormat::MaxModules)
        return fail("the installation was not opened in the window");

    auto *picture = window.findChild<QWidget *>(QStringLiteral("Picture2"));
    if (!picture) return fail("the window has no module picture");
    PaintWatch picturePainted(picture);
    // Rows from all over the list (the scroll to a row is not timed), each of another type than
    // the one before.
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const int index = (i * 37 + 1) % InstallationFormat::MaxModules;
        QTreeWidgetItem *row = list->topLevelItem(index);
        list->scrollToItem(row);
        QCoreApplication::processEvents();
        picturePainted.reset();
        QElapsedTimer t;
        t.start();
        click(list, row);
        if (!picturePainted.waitForPaint() || installations.inHand() != index)
            return fail("a module chosen in the panel was not shown");
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    figures.select = times[times.size() / 2];
    return timeEntry(window, "overzicht", "drukknoppenOverzicht", runs, figures.overview) &&
           timeEntry(window, "installatieControleren", "bevindingen", runs, figures.check);
}
} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    if (!dir.isValid() || !copyFolder(QStringLiteral(QV_BENCH_HOME), dir.path())) {
        fail("the installation folder was not copied");
        return 1;
    }
    qputenv("QV_VELANO_HOME", QFile::encodeName(dir.path() + QLatin1Char('/')));
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 9;

    Installation inst = atTheLimits([](int) { return 0; });
    const QString path = dir.filePath(QStringLiteral("huis.qvi"));
    const QString mixedPath = dir.filePath(QStringLiteral("gemengd.qvi"));
    const QString modulePath = dir.filePath(QStringLiteral("module.QV1"));
    if (!writeInstallationFile(path, inst, QDateTime::currentDateTime()).failure.ok() ||
        !writeInstallationFile(mixedPath, atTheLimits([](int i) { return i % 4; }),
                               QDateTime::currentDateTime())
             .failure.ok() ||
        !writeModuleFile(modulePath, 0, pattern(0, 1)).ok()) {
        fail("the files were not written");
        return 1;
    }
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
    const Installation mixed = *readInstallationFile(mixedPath);
    std::size_t rows = 0;
    const double tables = medianMs(runs, [&] {
        rows = Overview::pushButtons(mixed, Lang::Language(1)).rows.size() +
               Overview::outputs(mixed, Lang::Language(1)).rows.size() +
               Overview::scenes(mixed, Lang::Language(1)).rows.size();
    });
    std::size_t findings = 0;
    const double check =
        medianMs(runs, [&] { findings = InstallationCheck::check(mixed, Lang::Language(1)).size(); });
    const double csv = medianMs(runs, [&] {
        if (OverviewCsv::exportCsv(mixed, Lang::Language(1)).isEmpty()) std::abort();
    });
    WindowFigures window;
    if (!measureWindow(mixedPath, runs, window)) return 1;
    std::printf(
        "installation at the limits (%d modules, %lld bytes): open %.1f ms, save %.1f ms; in the window: "
        "open %.1f ms, select a module %.1f ms; one module file: open %.3f ms (medians of %d runs; "
        "load average %s / %s)\n",
        InstallationFormat::MaxModules, static_cast<long long>(QFile(path).size()), open, save, window.open,
        window.select, moduleOpen, runs, qPrintable(before), qPrintable(loadAverage()));
    std::printf(
        "overview's three tables (%zu rows) %.1f ms, check (%zu findings) %.1f ms, CSV file %.1f ms; in "
        "the window: overview shown %.1f ms, check shown %.1f ms\n",
        rows, tables, findings, check, csv, window.overview, window.check);
    return 0;
}
