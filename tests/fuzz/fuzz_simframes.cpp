// The simulated module reads whatever the program (or a test gone wrong) writes to its line,
// character by character with the time each arrives. Whatever the characters and their timing,
// it must keep its memory within its slots and values, say what it did in its log, answer in
// whole lines, and never leave a timer due that advancing the clock does not settle (the
// pseudo-terminal loop would spin on it).
//
// Input: the first byte chooses the module: bits 0-1 the type, bit 2 the master flag, bits 3-5
// a fault (0: none). Every further byte goes to the module 1042 us after the one before it (a
// character time at 9600 baud, the line sending as fast as it can), except two that stand for
// silence on the line: '~' 60 ms (past the end of a frame or a D run) and '^' 2.5 s (past
// every time-out of a conversation).
#include "FuzzCheck.h"
#include "tools/module-sim/ModuleSim.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr qint64 kCharUs = 1042;
constexpr qint64 kShortSilenceUs = 60'000;
constexpr qint64 kLongSilenceUs = 2'500'000;

const Sim::FaultKind kFaults[] = {
    Sim::FaultKind::Silent,  Sim::FaultKind::NoReply,     Sim::FaultKind::StopAfter, Sim::FaultKind::Garbage,
    Sim::FaultKind::BadSlot, Sim::FaultKind::HangupAfter, Sim::FaultKind::WrongDigit};

struct Harness
{
    Sim::ModuleSim &module;

    // What the line does in fast mode: everything queued goes out at once; a hang-up drops the rest.
    void drain()
    {
        while (module.hasTx()) {
            Sim::ModuleSim::TxItem &item = module.txFront();
            if (item.hangup) {
                while (module.hasTx())
                    module.txPop();
                break;
            }
            FUZZ_CHECK(!item.bytes.isEmpty());
            FUZZ_CHECK(item.bytes.endsWith('\r'));
            FUZZ_CHECK(item.bytes.count('\r') == 1);
            module.txPop();
        }
    }

    // Advances the clock to `now` and settles everything due by then.
    void settle(qint64 now)
    {
        for (int round = 0;; ++round) {
            module.advance(now);
            drain();
            const qint64 next = module.nextDeadline();
            if (next < 0 || next > now) break;
            // A few rounds settle a change of state; more means a timer that never moves on.
            FUZZ_CHECK(round < 16);
        }
    }

    void checkModule() const
    {
        const ModuleImage &memory = module.memory();
        for (int slot = 0; slot < memory.size(); ++slot)
            FUZZ_CHECK(memory.value(slot) >= 0 && memory.value(slot) <= 999);
        for (int output : module.outputs())
            FUZZ_CHECK(output >= 1 && output <= 12);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0) return 0;
    const uint8_t choice = data[0];
    Sim::Config config;
    config.type = choice & 3;
    const bool master = (choice >> 2) & 1;
    const int fault = (choice >> 3) & 7;
    if (fault > 0) config.faults.push_back({kFaults[fault - 1], 5});
    config.buttons = {{4, 20}, {7, 0}, {12, 5}};
    config.buttonEveryMs = 300;
    config.buttonEveryIndex = 9;

    std::vector<int> memory = Sim::defaultMemory(config.type, master, 501);
    const int slotCount = static_cast<int>(memory.size());
    Sim::ModuleSim module(config, std::move(memory));
    Harness h{module};
    module.logSink = [](qint64 time, const QByteArray &text) {
        FUZZ_CHECK(!text.isEmpty());
        FUZZ_CHECK(time >= 0);
    };

    qint64 now = 0;
    module.start(now);
    h.settle(now);
    for (size_t i = 1; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '~') {
            now += kShortSilenceUs;
        } else if (c == '^') {
            now += kLongSilenceUs;
        } else {
            now += kCharUs;
            h.settle(now);
            module.receive(c, now);
        }
        h.settle(now);
        FUZZ_CHECK(module.memory().size() == slotCount);
    }
    // The line falls silent: every run, frame and time-out ends.
    for (int i = 0; i < 4; ++i) {
        now += kLongSilenceUs;
        h.settle(now);
    }
    h.checkModule();
    FUZZ_CHECK(module.memory().size() == slotCount);
    return 0;
}
