#include "support/ScriptedModule.h"

#include "tools/module-sim/ModuleSim.h"

#include <chrono>
#include <mutex>

// Characters from the writer's thread, each with the time it was written, waiting for the
// module's thread. `target` is cleared (under the lock) when the module goes, so nothing is
// posted to it afterwards.
struct ScriptedModule::Inbox
{
    std::mutex mutex;
    ScriptedModule *target = nullptr;
    std::vector<std::pair<char, qint64>> chars;
    bool posted = false;
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

    qint64 nowUs() const
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start)
            .count();
    }
};

ScriptedModule::ScriptedModule(MemoryLink &link, int type, int master)
    : type(type), master(master), memory(ModuleTypes::info(type == 7 ? 0 : type)->slotCount), m_link(link),
      m_inbox(std::make_shared<Inbox>())
{
    for (size_t i = 0; i < memory.size(); ++i)
        memory[i] = static_cast<int>((i * 7 + 3) % 1000);
    memory[ModuleTypes::MasterSlot] = master;

    Sim::Config config;
    config.type = type == 7 ? 0 : type;
    config.announceIntervalMs = 0; // announces when the test says so
    m_sim = std::make_unique<Sim::ModuleSim>(config, memory);
    m_synced = memory;
    m_sim->start(nowUs());

    m_inbox->target = this;
    m_connection = connect(&link, &MemoryLink::programWrote, [inbox = m_inbox](char c) {
        std::lock_guard lock(inbox->mutex);
        if (!inbox->target) return;
        inbox->chars.emplace_back(c, inbox->nowUs());
        if (inbox->posted) return;
        inbox->posted = true;
        ScriptedModule *module = inbox->target;
        QMetaObject::invokeMethod(
            module, [module] { module->takeInbox(); }, Qt::QueuedConnection);
    });

    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { takeInbox(); });
}

ScriptedModule::~ScriptedModule()
{
    {
        std::lock_guard lock(m_inbox->mutex);
        m_inbox->target = nullptr;
    }
    disconnect(m_connection);
}

qint64 ScriptedModule::nowUs() const
{
    return m_inbox->nowUs();
}

void ScriptedModule::announce()
{
    sync();
    m_sim->announce(nowUs());
    sendWhatWaits();
    armTimer();
}

const ModuleImage ScriptedModule::image() const
{
    ModuleImage img(static_cast<int>(memory.size()));
    for (size_t i = 0; i < memory.size(); ++i)
        img.set(static_cast<int>(i), memory[i]);
    return img;
}

// Hands the module what the program wrote, each character at the time it was written, then
// lets its timers run up to now. `now` is taken with the characters, so every character
// written later has a later time: the module's clock never runs backwards.
void ScriptedModule::takeInbox()
{
    std::vector<std::pair<char, qint64>> chars;
    qint64 now;
    {
        std::lock_guard lock(m_inbox->mutex);
        chars.swap(m_inbox->chars);
        m_inbox->posted = false;
        now = m_inbox->nowUs();
    }
    sync();
    for (const auto &[c, time] : chars) {
        record(c);
        m_sim->advance(time);
        m_sim->receive(c, time);
        sendWhatWaits(); // before the next character: a new D burst drops what has not gone out
    }
    m_sim->advance(now);
    sendWhatWaits();

    const ModuleImage &held = m_sim->memory();
    memory.resize(static_cast<size_t>(held.size()));
    for (int slot = 0; slot < held.size(); ++slot)
        memory[static_cast<size_t>(slot)] = held.value(slot);
    m_synced = memory;
    armTimer();
}

// The test's knobs, as the module's configuration and memory.
void ScriptedModule::sync()
{
    Sim::Config config = m_sim->config();
    config.faults.clear();
    if (type == 7) config.faults.push_back({Sim::FaultKind::WrongDigit, 0});
    if (!answer) config.faults.push_back({Sim::FaultKind::NoReply, 0});
    if (stopAfterLines >= 0) config.faults.push_back({Sim::FaultKind::StopAfter, stopAfterLines});
    config.midReadLines = extraLines;
    config.status.clear();
    for (const QString &line : statusLines)
        config.status << (line.startsWith(QLatin1Char('S')) ? line.mid(1) : line).toLatin1();
    config.statusCount = static_cast<int>(statusLines.size());
    m_sim->setConfig(config);

    if (memory != m_synced) {
        if (!m_sim->setMemory(image()))
            qWarning("ScriptedModule: memory has %zu slots, the module %d; not taken", memory.size(),
                     m_sim->memory().size());
        m_synced = memory;
    }
}

void ScriptedModule::record(char c)
{
    if (c == 'D') {
        ++dCount;
        return;
    }
    m_frame += c;
    if (c != '\r') return;
    frames << QString::fromLatin1(m_frame).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    m_frame.clear();
}

void ScriptedModule::sendWhatWaits()
{
    QByteArray bytes;
    while (m_sim->hasTx()) {
        Sim::ModuleSim::TxItem &item = m_sim->txFront();
        if (item.hangup) {
            if (!bytes.isEmpty()) m_link.moduleSend(bytes);
            m_link.hangUp();
            while (m_sim->hasTx())
                m_sim->txPop();
            return;
        }
        bytes += item.bytes.mid(item.sent);
        m_sim->txPop();
    }
    if (!bytes.isEmpty()) m_link.moduleSend(bytes);
}

void ScriptedModule::armTimer()
{
    const qint64 deadline = m_sim->nextDeadline();
    if (deadline < 0) {
        m_timer.stop();
        return;
    }
    const qint64 wait = std::max<qint64>(0, deadline - nowUs());
    m_timer.start(std::chrono::milliseconds((wait + 999) / 1000));
}
