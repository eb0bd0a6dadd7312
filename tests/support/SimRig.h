#pragma once

#include "files/ModuleFile.h"
#include "support/Find.h"
#include "support/Images.h"
#include "support/SimProcess.h"
#include "support/TestHome.h"
#include "support/TestWindow.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

// What a rig starts with.
struct SimSetup
{
    int type = 0;                           // the module's type
    int seed = 1;                           // its memory: Images::pattern(type, seed) ...
    bool master = true;                     // ... with slot 40 set to 1 (master)
    std::optional<ModuleImage> memory = {}; // or this memory instead
    QStringList faults = {};                // simulator faults ("silent", "stop-after=60" ...)
    int pc = 100;                           // pc.vdm: microseconds after each character
    int port = 1;                           // port.vdm; the module is linked as com1
    bool linkInHome = true;                 // false: the link lies where the program never looks
};

// The program's real serial port against qv-module-sim on a pseudo-terminal: a throw-away
// installation folder with its settings, the main window (shown, made before the module is
// attached, so the port is found at the conversation's start) and a simulated module with a
// memory of its own, linked as port 1.
class SimRig
{
public:
    using Setup = SimSetup;

    explicit SimRig(const Setup &setup = {}) : m_linkInHome(setup.linkInHome)
    {
        home.writeSettings(" 1 \r\n", QByteArray::number(setup.port) + "\r\n",
                           QByteArray::number(setup.pc) + "\r\n");
        m_window = std::make_unique<TestWindow>();
        m_window->show();
        if (setup.memory)
            attach(setup.type, *setup.memory, setup.faults);
        else
            attach(setup.type, setup.seed, setup.faults, setup.master);
    }

    TestHome home;
    TestWindow &w() { return *m_window; }
    // The program started anew on the same folder and module, the window before it destroyed as a
    // program that was killed leaves it: nothing asked, nothing saved, nothing cleaned up.
    void restart()
    {
        m_window.reset();
        m_window = std::make_unique<TestWindow>();
        m_window->show();
    }
    SimProcess &sim() { return *m_sim; }
    // The memory the module was started with, and the file it keeps it in.
    const ModuleImage &module() const { return m_module; }
    QString memoryFile() const { return m_memoryFile; }
    // The pseudo-terminal the module's link leads to.
    QString device() const { return QFileInfo(linkFolder() + QStringLiteral("com1")).canonicalFilePath(); }

    // Another module behind the same link (the one before goes first).
    void attach(int type, int seed, const QStringList &faults = {}, bool master = true)
    {
        ModuleImage memory = Images::pattern(type, seed);
        if (master) memory.set(ModuleTypes::MasterSlot, 1);
        attach(type, memory, faults);
    }
    void attach(int type, const ModuleImage &memory, const QStringList &faults = {})
    {
        m_sim.reset();
        m_module = memory;
        m_memoryFile = home.file(QStringLiteral("module%1.QV1").arg(type));
        writeModuleFile(m_memoryFile, type, memory);
        // Fast, announcing every 20 ms, the memory loaded from its file and saved there after
        // every completed write.
        QStringList arguments = QStringLiteral("--fast --announce-interval 20").split(QLatin1Char(' '));
        arguments << QStringLiteral("--load") << m_memoryFile << QStringLiteral("--save") << m_memoryFile;
        for (const QString &fault : faults)
            arguments << QStringLiteral("--fault") << fault;
        m_sim = std::make_unique<SimProcess>(linkFolder(), arguments);
        QVERIFY2(m_sim->started(), "the simulator did not start");
    }
    // Another module behind the same link, started with simulator options besides those attach()
    // gives it (e.g. {"--buttons", "12:300"}: push button 13 reported 300 ms after the monitor
    // started).
    void attachWith(int type, const ModuleImage &memory, const QStringList &options)
    {
        m_sim.reset();
        m_module = memory;
        m_memoryFile = home.file(QStringLiteral("module%1.QV1").arg(type));
        writeModuleFile(m_memoryFile, type, memory);
        QStringList arguments = QStringLiteral("--fast --announce-interval 20").split(QLatin1Char(' '));
        arguments << QStringLiteral("--load") << m_memoryFile << QStringLiteral("--save") << m_memoryFile;
        arguments << options;
        m_sim = std::make_unique<SimProcess>(linkFolder(), arguments);
        QVERIFY2(m_sim->started(), "the simulator did not start");
    }

    // "Verbinden" and the whole read: the window says "Edit mode".
    [[nodiscard]] bool read()
    {
        byName<QPushButton>(m_window.get(), "Command1")->click();
        return waitForStatus(QStringLiteral("Edit mode"), 30000);
    }
    // "Versturen": the module has taken the last slot and kept what it got, the window is idle.
    [[nodiscard]] bool send()
    {
        const int before = m_sim->saves();
        byName<QPushButton>(m_window.get(), "Command2")->click();
        // The window's send to its end first: reading the simulator's growing log while it runs
        // would take the time the send needs (under the sanitizers, more than it has). Generous:
        // a relay module's 340 slots take seconds at the wire's pace, far longer on a loaded
        // machine.
        return QTest::qWaitFor([this] { return !m_window->isIdle(); }, 5000) && waitIdle(60000) &&
               waitForStatus(QStringLiteral("Ready"), 1000) &&
               QTest::qWaitFor([&] { return m_sim->saves() > before; }, 20000);
    }
    [[nodiscard]] bool waitIdle(int ms = 5000)
    {
        return QTest::qWaitFor([this] { return m_window->isIdle(); }, ms);
    }
    // The module's memory as it saved it after its last completed write.
    std::vector<int> saved() const
    {
        const auto data = readModuleFile(m_memoryFile);
        return data ? data->values : std::vector<int>{};
    }
    // The module's memory once it has stopped (and saved what it holds).
    std::vector<int> stoppedMemory()
    {
        m_sim->stop();
        return saved();
    }
    // The values of the image in the window.
    std::vector<int> image() { return Images::values(*w().state().currentImage()); }
    // The frames the module received after the first `frame`.
    QStringList framesAfter(const QString &frame) const
    {
        const QStringList all = m_sim->frames();
        const qsizetype at = all.indexOf(frame);
        return at < 0 ? QStringList{QStringLiteral("<no %1>").arg(frame)} : all.mid(at + 1);
    }

private:
    [[nodiscard]] bool waitForStatus(const QString &text, int ms)
    {
        QLineEdit *status = byName<QLineEdit>(m_window.get(), "Text1");
        if (QTest::qWaitFor([&] { return status->text() == text; }, ms)) return true;
        qWarning("the window says \"%s\", not \"%s\"", qPrintable(status->text()), qPrintable(text));
        return false;
    }

    QString linkFolder() const { return m_linkInHome ? home.path() : m_elsewhere.path() + QLatin1Char('/'); }

    bool m_linkInHome;
    QTemporaryDir m_elsewhere;
    ModuleImage m_module{0};
    QString m_memoryFile;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<TestWindow> m_window; // goes before the module
};
