#pragma once

#include "protocol/ModuleImage.h"
#include "protocol/Wire.h"
#include "serial/MemoryLink.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <vector>

namespace Sim {
class ModuleSim;
}

// Plays a bus module on the far end of a MemoryLink: the simulator's own module logic, answering
// at once (no 9600-baud pacing). It announces itself only when asked; what it reads out is
// `memory`, and what a send writes into it shows there.
//
// What the program writes is stamped with its time in the writer's thread and handed to the
// module in the thread this object lives in, so a busy test thread never splits a frame; the
// module's answers go back with MemoryLink::moduleSend, and its timers run on a QTimer.
class ScriptedModule : public QObject
{
public:
    // Type 7 is a relay module (type 0's memory) that announces the type digit 7.
    ScriptedModule(MemoryLink &link, int type, int master = 1);
    ~ScriptedModule() override;
    ScriptedModule(const ScriptedModule &) = delete;
    ScriptedModule &operator=(const ScriptedModule &) = delete;

    // The announce line, once, now: "M", the master flag (slot 40), the type digit, "501".
    void announce();
    const ModuleImage image() const;

    // The knobs below are read whenever the module takes characters or announces, so a test
    // may change them at any moment between two events.
    int type;
    int master;              // as given; slot 40 of `memory` starts with it
    std::vector<int> memory; // slot values; slot 40 is the master flag the module announces
    bool answer = true;      // false: announces when asked, takes the D burst, answers no command
    int stopAfterLines = -1; // stop a read after this many data lines
    QByteArray extraLines;   // sent in the middle of a read (before the data line of the middle slot)
    QStringList frames;      // every frame received, without LF CR
    int dCount = 0;          // every "D" received
    QStringList statusLines = {QStringLiteral("S0412"), QStringLiteral("S0413"), QStringLiteral("S0414"),
                               QStringLiteral("S0415"), QStringLiteral("S0416"), QStringLiteral("S0417"),
                               QStringLiteral("S0418"), QStringLiteral("S0419"), QStringLiteral("S0420"),
                               QStringLiteral("S0421")}; // the answer to a line-status scan, as sent

private:
    struct Inbox; // what the writer's thread hands over

    qint64 nowUs() const;
    void takeInbox();
    void sync();
    void record(char c);
    void sendWhatWaits();
    void armTimer();

    MemoryLink &m_link;
    std::shared_ptr<Inbox> m_inbox;
    QMetaObject::Connection m_connection;
    std::unique_ptr<Sim::ModuleSim> m_sim;
    std::vector<int> m_synced; // `memory` as the module last had it
    QTimer m_timer;
    QByteArray m_frame;
};
