#pragma once

#include "protocol/ModuleImage.h"

#include <QByteArray>
#include <QList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// One simulated bus module, without any I/O: characters go in with their arrival time, lines to
// send come out of a queue, events go to a log sink. Times are microseconds on any monotonic
// clock; the caller feeds characters with receive() and calls advance() for the timers.
namespace Sim {

enum class FaultKind
{
    Silent,           // never announces, never answers
    NoReply,          // announces and takes the D burst, then answers no command
    StopAfter,        // the answer to a read stops after `count` data lines
    Garbage,          // garbage lines among the data lines
    BadSlot,          // a data line with slot 400 and one with a slot that is no number
    HangupAfter,      // the line is hung up after `count` data lines
    WrongDigit,       // announces type digit 7
    EarlyEnd,         // the line of the last slot comes after `count` data lines, the rest after it
    MLine,            // the data line of slot `count` begins with "M1" instead of "RD"
    ChangeAfterWrite, // slot `count` holds another value than was written, once a write completes
};

struct Fault
{
    FaultKind kind;
    int count = 0;
};

struct ButtonStep
{
    int index;   // 0..99
    int delayMs; // after the monitor started or after the previous step
};

struct Config
{
    int type = 0;
    QByteArray version = "501";
    // The announce line is repeated this often while the module waits for a program; 0: it is
    // sent only when asked (ModuleSim::announce()) and in reply to "T3500".
    int announceIntervalMs = 100;
    std::vector<ButtonStep> buttons;
    int buttonEveryMs = 0; // 0: no periodic report
    int buttonEveryIndex = 0;
    QList<QByteArray> status; // four characters each; cycled to ten lines; empty: the default
    int statusCount = 10;     // lines that answer a line-status scan; fewer: a scan that stops short
    // Lines slipped into the answer to a read, before the data line of the middle slot (slot
    // count / 2), each with its CR; empty: none.
    QByteArray midReadLines;
    std::vector<Fault> faults;

    bool has(FaultKind kind) const;
    int faultCount(FaultKind kind) const;
};

// The ten line-status values sent when none are configured.
QList<QByteArray> defaultStatus();
// The memory of a module straight from the factory: value (slot * 7) % 1000, slot 40 the master
// flag, the version slot the version number.
std::vector<int> defaultMemory(int type, bool master, int version);

class ModuleSim
{
public:
    enum class State
    {
        Announcing, // repeats the announce line
        Listening,  // after a D burst: waits for command frames
        Writing,    // after "T3700": takes slot frames
        Monitoring, // after "T8019": reports push-buttons
        Stopping,   // swallows the burst of stop frames
    };

    struct TxItem
    {
        QByteArray bytes;
        bool droppable = false; // an announce line: dropped when the line cannot take it
        bool hangup = false;    // not bytes: hang the line up here
        qsizetype sent = 0;     // bytes already handed to the line (kept by the sender)
    };

    // `memory` must hold the slot count of config.type.
    ModuleSim(const Config &config, std::vector<int> memory);

    void start(qint64 now);
    // Sends the announce line once, now, whatever the module is doing (the line a module sends
    // when it is switched on); the state does not change. Nothing goes out from a silent module.
    void announce(qint64 now);
    void receive(char c, qint64 now);
    void receive(const QByteArray &bytes, qint64 now, qint64 spacing = 0); // test helper
    void advance(qint64 now);
    // When advance() has something to do next, or -1 when only a character or the sender can
    // change anything.
    qint64 nextDeadline() const;

    bool hasTx() const { return !m_tx.empty(); }
    TxItem &txFront() { return m_tx.front(); }
    void txPop()
    {
        m_txBytes -= m_tx.front().bytes.size();
        m_tx.pop_front();
    }
    // Everything queued, as bytes, emptying the queue (tests). *hangup tells whether a hang-up
    // was queued; the bytes after it are not returned.
    QByteArray takeTx(bool *hangup = nullptr);

    State state() const { return m_state; }
    const Config &config() const { return m_config; }
    // Takes a changed configuration while running: faults switched on or off, other line-status
    // values, another announce interval. The type stays what it was (the memory keeps its size);
    // a push-button script that shrinks ends a running monitor's remaining steps.
    void setConfig(const Config &config);
    const ModuleImage &memory() const { return m_memory; }
    // Replaces the memory, as the module's own keys would change it. False (and nothing changes)
    // when `memory` does not have the memory's size.
    bool setMemory(const ModuleImage &memory);
    // The outputs switched, oldest first; only the last MaxOutputs are kept.
    const QList<int> &outputs() const { return m_outputs; }
    QByteArray announceLine() const;

    // Each event as "<text>", with the time it belongs to (for a frame: its first character).
    std::function<void(qint64 time, const QByteArray &text)> logSink;
    // A write conversation took the last slot.
    std::function<void()> writeCompleted;

    static constexpr qint64 QuietEndUs = 50'000;        // ends a D run, junk, or a frame without CR
    static constexpr qint64 WriteQuietUs = 2'000'000;   // a write conversation whose frames stop
    static constexpr qint64 StopQuietUs = 300'000;      // end of the burst of stop frames
    static constexpr qint64 NoReplyQuietUs = 2'000'000; // the deaf module takes up announcing again
    static constexpr qint64 ListenQuietUs = 2'000'000;  // a D burst that no frame follows
    static constexpr int StopFrames = 11;

    // Bounds that hold whatever the program sends. A run of D's is logged in pieces of at most
    // MaxRunChars (the program's burst is 52); junk in pieces of MaxJunkChars. What waits to be
    // sent is bounded too: a program that asks faster than the line can answer loses the answers
    // that do not fit (a full read answer is 340 lines of 9 bytes).
    static constexpr qsizetype MaxRunChars = 4096;
    static constexpr qsizetype MaxJunkChars = 64;
    static constexpr qsizetype MaxTxBytes = 16 * 1024;
    static constexpr qsizetype MaxOutputs = 1000;

private:
    struct Run
    {
        QByteArray chars;
        std::vector<qint64> times;
        bool empty() const { return chars.isEmpty(); }
        void add(char c, qint64 t)
        {
            chars += c;
            times.push_back(t);
        }
        QByteArray gaps() const;
        void clear()
        {
            chars.clear();
            times.clear();
        }
    };

    void log(qint64 time, const QByteArray &text);
    void queue(const QByteArray &bytes, qint64 now, bool droppable = false);
    void queueHangup();
    void enter(State state, qint64 now);
    void logDRun();
    void endDRun();
    void flushJunk();
    void finishFrame(qint64 now);
    void handleFrame(const QByteArray &text, qint64 now);
    void handleCommand(int command, const QByteArray &text, qint64 now);
    void handleSlotFrame(const QByteArray &text, qint64 now);
    void beginConversation(qint64 now);
    void sendData(qint64 now);
    void sendButton(int index, qint64 now);

    Config m_config;
    ModuleImage m_memory;
    State m_state = State::Announcing;
    std::deque<TxItem> m_tx;
    qsizetype m_txBytes = 0;
    bool m_txFull = false; // answers are being dropped; logged once until one fits again
    QList<int> m_outputs;

    // The D run under way: its characters not logged yet, whether it goes on (it may have been
    // logged in part) and the time of its last D.
    Run m_dRun;
    bool m_dRunOpen = false;
    qint64 m_dRunLast = 0;
    Run m_frame;
    bool m_frameHasLf = false;
    Run m_junk;

    qint64 m_nextAnnounce = 0;
    qint64 m_lastFrame = 0; // arrival of the last complete frame (or of the D burst)
    bool m_frameSinceBurst = false;
    int m_slotsWritten = 0;
    int m_stopFramesSeen = 0;
    size_t m_buttonStep = 0;
    qint64 m_nextButtonStep = -1;
    qint64 m_nextButtonEvery = -1;
};

} // namespace Sim
