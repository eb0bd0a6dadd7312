// Draws the README's pictures of the program: qv-screenshots <output folder>.
// Run it under a display (scripts/screenshots.sh starts a virtual one) with QV_VELANO_HOME set to
// a copy of the installation folder: the language is switched there for the French picture.
//
// Every picture shows the real window at work: a relay module played on an in-memory line is
// read into it, then the editors, the diagnostics and the documentation are brought up the way
// the installer does.
#include "app/Installations.h"
#include "app/ModulePage.h"
#include "app/SettingsFiles.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "editors/EditorRules.h"
#include "editors/PushButtonFrame.h"
#include "files/CompareWindow.h"
#include "files/ImageCompare.h"
#include "files/ReportDocument.h"
#include "installation/Installation.h"
#include "installation/InstallationReport.h"
#include "protocol/ModuleNames.h"
#include "scenes/SceneFrame.h"
#include "scenes/SceneLayout.h"
#include "serial/MemoryLink.h"
#include "support/Find.h"
#include "support/ScriptedModule.h"
#include "support/TestWindow.h"
#include "viewer/Folivo.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDockWidget>
#include <QLineEdit>
#include <QPainter>
#include <QPdfDocument>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <functional>
#include <iterator>
#include <memory>

namespace {
constexpr int ModuleType = 0; // a relay module: every editor and all twelve outputs
constexpr int Version = 501;
const QSize WindowSize(1000, 770); // tall enough for all twenty push buttons

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until `done` holds; false when it did not within `ms`.
bool waitFor(const std::function<bool()> &done, int ms = 10000)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        settle(20);
    }
    return true;
}

bool write(const QPixmap &picture, const QDir &out, const char *name)
{
    const QString path = out.filePath(QString::fromLatin1(name));
    const bool ok = !picture.isNull() && picture.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

bool save(QWidget *w, const QDir &out, const char *name)
{
    settle(300);
    return write(w->grab(), out, name);
}

// The window with an open drop-down list drawn over it (the list is a window of its own).
bool saveWithPopup(QWidget *w, QComboBox *combo, const QDir &out, const char *name)
{
    combo->showPopup();
    settle(300);
    QPixmap picture = w->grab();
    QWidget *popup = combo->view()->window();
    if (popup->isVisible()) {
        QPainter painter(&picture);
        painter.drawPixmap(popup->mapToGlobal(QPoint(0, 0)) - w->mapToGlobal(QPoint(0, 0)), popup->grab());
    }
    combo->hidePopup();
    return write(picture, out, name);
}

bool fail(const char *what)
{
    std::fprintf(stderr, "qv-screenshots: %s\n", what);
    return false;
}

// The memory of the module the pictures show: the base functions with a few scenes on push
// buttons, some timed outputs, and twenty scenes of different make-up.
void prepare(ScriptedModule &module)
{
    using namespace EditorRules;
    std::fill(module.memory.begin(), module.memory.end(), 0);
    const auto set = [&module](int slot, int value) { module.memory[static_cast<size_t>(slot)] = value; };
    const std::vector<int> base = baseFunctions(ModuleType);
    for (size_t slot = 0; slot < base.size(); ++slot)
        set(static_cast<int>(slot), base[slot]);
    const int outputs = *outputCount(ModuleType);
    set(firstFunctionSlot(14), *pushButtonFunctionValue(FunctionKind::Scene, 2, outputs));
    set(firstFunctionSlot(15), *pushButtonFunctionValue(FunctionKind::Scene, 3, outputs));
    set(secondFunctionSlot(1), *pushButtonFunctionValue(FunctionKind::Scene, 1, outputs));
    set(secondFunctionSlot(2), *pushButtonFunctionValue(FunctionKind::Output, 12, outputs));
    set(ModuleTypes::MasterSlot, 1);
    set(ModuleTypes::SecondFunctionTimeSlot, 4);
    for (int output = 1; output <= RelayOutputCount; ++output)
        set(outputTimeSlot(output), 1);
    for (const auto &[output, code, time, linked] :
         {std::tuple{2, 1, 5, 0}, std::tuple{3, 3, 2, 0}, std::tuple{4, 4, 10, 5}, std::tuple{6, 2, 15, 0},
          std::tuple{9, 5, 3, 10}})
        for (const SlotValue &w : outputFunctionWrites(output, code, time, linked))
            set(w.slot, w.value);
    set(ModuleTypes::info(ModuleType)->versionSlot, Version);
    for (int scene = 0; scene < SceneLayout::SceneCount; ++scene) {
        for (int channel = 1; channel <= SceneLayout::channelCount(ModuleType); ++channel) {
            const int position = scene == 0 ? 1 : scene == 1 ? 0 : ((channel - 1) * (scene + 1)) % 4;
            set(SceneLayout::channelSlot(ModuleType, scene, channel),
                SceneLayout::codeAt(ModuleType, SceneLayout::ChannelKind::Relay, position));
        }
        set(SceneLayout::groupFlagSlot(ModuleType, scene), scene % 3 == 0 ? 1 : 0);
    }
}

// Connects and reads the module, as the installer's "Verbinden" does.
bool read(TestWindow &window, ScriptedModule &module)
{
    window.Command1->click();
    module.announce();
    return waitFor([&window] {
        return !window.conversation().isRunning() && window.Text1->text() == QLatin1String("Edit mode");
    });
}

// The installer picks list entry `index`.
void pick(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
}

bool pushButtonEditor(TestWindow &window, const QDir &out)
{
    window.Command7->click();
    PushButtonFrame *f = window.Frame3;
    // Push button 13 gets scene 1 as its first function and output 12 as its second.
    pick(byName<QComboBox>(f, "Combo2"), 12);
    byName<QRadioButton>(f, "Option4")->click();
    pick(byName<QComboBox>(f, "Combo4"), 0);
    byName<QRadioButton>(f, "Option6")->click();
    pick(byName<QComboBox>(f, "Combo5"), 11);
    byName<QPushButton>(f, "Command3")->click();
    return save(&window, out, "push-buttons.png");
}

bool sceneEditor(TestWindow &window, const QDir &out)
{
    window.Command10->click();
    window.Frame9->selectScene(2);
    return save(&window, out, "scenes.png");
}

// Pages `first`..`last` of `report` as the PDF export writes them, side by side, each drawn at
// about 108 dots per inch on white paper.
bool reportPages(const Report &report, int first, int last, const QDir &out, const char *name)
{
    const QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("report.pdf"));
    if (!folder.isValid()) return fail("no folder for the report");
    if (const Failure failure = ReportDocument::exportPdf(report, file); !failure.ok())
        return fail(qPrintable(QStringLiteral("the report was not written: ") + failure.detail));
    QPdfDocument pdf;
    if (pdf.load(file) != QPdfDocument::Error::None || pdf.pageCount() <= last)
        return fail("the report was not read back");
    const QSize size = (pdf.pagePointSize(first) * 1.5).toSize();
    const int gap = 12;
    const int count = last - first + 1;
    QPixmap picture(size.width() * count + gap * (count - 1), size.height());
    picture.fill(QColor(0xd0, 0xd0, 0xd0));
    QPainter painter(&picture);
    for (int page = first; page <= last; ++page) {
        const QPoint at((page - first) * (size.width() + gap), 0);
        painter.fillRect(QRect(at, size), Qt::white);
        painter.drawImage(at, pdf.render(page, size));
    }
    painter.end();
    return write(picture, out, name);
}

// The first page of the configuration report of the module in the window.
bool reportPage(TestWindow &window, const QDir &out)
{
    const ModuleState &state = window.state();
    const Report report = makeReport(*state.imageFor(ModuleType), ModuleType, state.Language,
                                     state.ModuleFilePath, QDateTime(QDate(2024, 5, 14), QTime(14, 2)));
    return reportPages(report, 0, 0, out, "report-page1.png");
}

// The comparison of the module in the window with a customer's file that differs in a few
// settings: two push-button functions, slave instead of master, an output's time, a scene value.
bool compareWindow(TestWindow &window, const QDir &out)
{
    const ModuleState &state = window.state();
    const ModuleImage &inHand = *state.imageFor(ModuleType);
    ModuleImage file = inHand;
    file.set(4, 51);  // push button 5, first function: scene 2
    file.set(26, 42); // push button 7, second function: none
    file.set(ModuleTypes::MasterSlot, 1 - inHand.value(ModuleTypes::MasterSlot));
    file.set(57, inHand.value(57) % 15 + 1);                                 // output 4, its time
    file.set(ModuleTypes::info(ModuleType)->firstSceneSlot + 6 * 13 + 2, 1); // scene 7, output 3
    const ImageCompare::Result result =
        ImageCompare::compare(ModuleType, inHand, ModuleType, file, state.Language);
    CompareWindow compare(state.Language, QStringLiteral("/home/installateur/klant-jansen.QV1"), result);
    compare.resize(760, 230);
    compare.show();
    return save(&compare, out, "compare.png");
}

// The push-button monitor after a few presses on the bus, its history list opened.
bool diagnostics(TestWindow &window, MemoryLink &link, ScriptedModule &module, const QDir &out)
{
    window.Command12->click();
    DiagnosticsFrame *f = window.Frame10;
    byName<QTabWidget>(f, "SSTab1")->setCurrentIndex(1);
    QTime now(14, 2, 11);
    DiagnosticsFrame::clock = [&now] { return now; };
    byName<QPushButton>(f, "Command17")->click();
    module.announce();
    if (!waitFor([f] { return byName<QPushButton>(f, "Command18")->isEnabled(); }))
        return fail("the push-button monitor did not start");
    for (const auto &[report, seconds] :
         {std::pair{"P04", 0}, std::pair{"P11", 4}, std::pair{"P02", 9}, std::pair{"P12", 17}}) {
        now = QTime(14, 2, 11).addSecs(seconds);
        const int before = byName<QComboBox>(f, "Combo29")->count();
        link.moduleSend(QByteArray(report) + '\r');
        if (!waitFor([f, before] { return byName<QComboBox>(f, "Combo29")->count() > before; }))
            return fail("a push-button report was not listed");
    }
    const bool ok = saveWithPopup(&window, byName<QComboBox>(f, "Combo29"), out, "diagnostics.png");
    byName<QPushButton>(f, "Command18")->click();
    DiagnosticsFrame::clock = [] { return QTime::currentTime(); };
    return waitFor([f, &window] {
               return byName<QPushButton>(f, "Command17")->isEnabled() && !window.conversation().isRunning();
           }) &&
           ok;
}

// The module page's documentation button opens the model's document inside the window.
bool documentation(TestWindow &window, const QDir &out)
{
    Q_EMIT window.Combo1->textActivated(window.Combo1->currentText());
    byName<QPushButton>(window.Frame11, "Command11")->click();
    if (!waitFor([&window] { return window.Folivo1->document()->status() == QPdfDocument::Status::Ready; }))
        return fail("the documentation was not opened");
    settle(1000); // the pages are rendered in the background
    const bool ok = save(&window, out, "documentation.png");
    window.Command15->click();
    return ok;
}

// An installation of a small house in the side panel, beside the module page of the module in
// hand: each module in another state (sent and checked, read, changed and not sent, sent, never
// read), the first one chosen in the panel.
bool installation(const QDir &out, const ModuleImage &relay)
{
    const QTemporaryDir folder;
    if (!folder.isValid()) return fail("no folder for the installation");
    const QDateTime morning(QDate(2026, 12, 10), QTime(9, 12), QTimeZone::utc());
    const auto module = [](const char *name, const char *place, int type, const ModuleImage &image) {
        InstallationModule m;
        m.id = QString::fromLatin1(name).toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
        m.name = QString::fromUtf8(name);
        m.place = QString::fromUtf8(place);
        m.type = type;
        m.image = image;
        return m;
    };
    const auto base = [](int type) {
        ModuleImage image(ModuleTypes::info(type)->slotCount);
        const std::vector<int> values = EditorRules::baseFunctions(type);
        for (size_t slot = 0; slot < values.size() && static_cast<int>(slot) < image.size(); ++slot)
            image.set(static_cast<int>(slot), values[slot]);
        return image;
    };
    Installation house;
    house.name = QStringLiteral("Woning Peeters");
    house.address = QStringLiteral("Kerkstraat 1, Gent");
    InstallationModule kelder1 = module("Kelder relais 1", "Kelder, kast 2", 0, relay);
    // What the installer calls the first module's outputs, push buttons and scenes.
    kelder1.names = ModuleNames::forType(0);
    const char *outputs[] = {"Keuken plafond", "Keuken werkblad", "Eettafel", "Living",
                             "Inkom",          "Gang boven",      "Badkamer", "Slaapkamer 1",
                             "Slaapkamer 2",   "Terras",          "Tuinpad",  "Garagepoort"};
    const char *buttons[] = {"Voordeur", "Keuken deur",  "Keuken eiland", "Living zetel",
                             "Inkom",    "Trap beneden", "Trap boven",    "Badkamer"};
    const char *scenes[] = {"Alles uit", "TV-avond", "Eten", "Nacht"};
    for (size_t i = 0; i < std::size(outputs); ++i)
        kelder1.names.outputs[i] = QString::fromUtf8(outputs[i]);
    for (size_t i = 0; i < std::size(buttons); ++i)
        kelder1.names.pushButtons[i] = QString::fromUtf8(buttons[i]);
    for (size_t i = 0; i < std::size(scenes); ++i)
        kelder1.names.scenes[i] = QString::fromUtf8(scenes[i]);
    recordRead(kelder1, relay, morning);
    recordSend(kelder1, true, morning.addSecs(40 * 60));
    recordCheck(kelder1, true, morning.addSecs(41 * 60));
    InstallationModule kelder2 = module("Kelder relais 2", "Kelder, kast 2", 0, base(0));
    recordRead(kelder2, base(0), morning.addSecs(5 * 60));
    InstallationModule keuken = module("Keuken dimmer", "Keuken", 1, base(1));
    recordRead(keuken, base(1), morning.addSecs(12 * 60));
    keuken.image.set(3, keuken.image.value(3) + 1);
    InstallationModule living = module("Living Velano", "Living", 2, base(2));
    recordRead(living, base(2), morning.addSecs(20 * 60));
    recordSend(living, true, morning.addSecs(52 * 60));
    InstallationModule garage = module("Garage relais", "Garage", 3, base(3));
    house.modules = {kelder1, kelder2, keuken, living, garage};
    const QString path = folder.filePath(QStringLiteral("woning-peeters.qvi"));
    if (!writeInstallationFile(path, house, morning).failure.ok())
        return fail("the installation was not written");

    // The panel wide enough for its four columns.
    SettingsFiles::write(QString::fromLatin1(SettingsFiles::Panel), "590,1\r\n");
    SettingsFiles::write(QString::fromLatin1(SettingsFiles::Country), SettingsFiles::languageContent(1));
    TestWindow window;
    window.resize(1280, WindowSize.height());
    window.show();
    settle(300);
    if (!window.installations()->openInstallation(path)) return fail("the installation was not opened");
    auto *list = byName<QTreeWidget>(&window, "modulesLijst");
    const QRect row = list->visualItemRect(list->topLevelItem(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    if (!waitFor([&window] { return window.installations()->inHand() == 0; }))
        return fail("the module was not put in hand");
    bool ok = save(&window, out, "installation.png");
    // The push-button table of the named module, one push button chosen; the panel hidden, so
    // the table has the window's width.
    byName<QDockWidget>(&window, "installatiePaneel")->hide();
    window.Command7_Click();
    auto *chosen = byName<QComboBox>(&window, "Combo2");
    pick(chosen, 2);
    byName<QRadioButton>(&window, "Option3")->setChecked(true);
    pick(byName<QComboBox>(&window, "Combo3"), 2);
    settle(100);
    ok &= save(&window, out, "names.png");
    // The overview of the house, its push buttons filtered on a module's name, the panel still
    // hidden so the table has the room.
    window.findChild<QAction *>(QStringLiteral("overzicht"))->trigger();
    auto *filter = byName<QLineEdit>(&window, "drukknoppenFilter");
    filter->setText(QStringLiteral("Kelder relais 1"));
    settle(100);
    ok &= save(&window, out, "overview.png");
    filter->clear();
    // The installation report's cover and the first page of its overview.
    ok &= reportPages(installationReport(house, Lang::Language(1), morning.toLocalTime()), 0, 1, out,
                      "installation-report.png");
    window.installations()->installatieSluiten_Click();
    return ok;
}

// A window in the language of country.vdm, after reading the module.
struct Session
{
    MemoryLink link;
    std::unique_ptr<TestWindow> window;
    std::unique_ptr<ScriptedModule> module;

    explicit Session(int language)
    {
        SettingsFiles::write(QString::fromLatin1(SettingsFiles::Country),
                             SettingsFiles::languageContent(language));
        window = std::make_unique<TestWindow>(nullptr, &link);
        window->resize(WindowSize);
        window->show();
        module = std::make_unique<ScriptedModule>(link, ModuleType, 1);
        prepare(*module);
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: qv-screenshots <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.absolutePath());
    bool ok = true;
    ModuleImage relay(0); // the module read in the Dutch window, in hand in the installation

    {
        Session dutch(1);
        TestWindow &w = *dutch.window;
        ok &= read(w, *dutch.module) ? save(&w, out, "main-window.png") : fail("the module was not read");
        ok &= pushButtonEditor(w, out);
        ok &= sceneEditor(w, out);
        ok &= reportPage(w, out);
        ok &= compareWindow(w, out);
        ok &= diagnostics(w, dutch.link, *dutch.module, out);
        ok &= documentation(w, out);
        relay = *w.state().imageFor(ModuleType);
    }
    ok &= installation(out, relay);
    {
        Session french(2);
        TestWindow &w = *french.window;
        ok &= read(w, *french.module) ? save(&w, out, "main-window-fr.png") : fail("the module was not read");
    }
    SettingsFiles::write(QString::fromLatin1(SettingsFiles::Country), SettingsFiles::languageContent(1));
    return ok ? 0 : 1;
}
