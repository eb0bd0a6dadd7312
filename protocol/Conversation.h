#pragma once

#include "protocol/ModuleImage.h"
#include "protocol/Vocabulary.h"
#include "protocol/Wire.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>

struct ModuleState;
class SerialLink;
class PacedWriter;

// The conversation with a module: opening the line, waiting for the module's announce line,
// identifying it, reading and sending the configuration and running the diagnostic tests.
// It is a chain of one-shot timers; each step hands the window what it has to show through
// the signals below and never touches a widget. The state of the conversation is its own; the
// module images, the module type and the settings are the shared model's.
//
// A conversation is always in one phase; it runs in every phase but Idle:
//
//   Idle -> Opening             the installer starts a read, a send, a check or a test
//   Opening -> AwaitingAnnounce the port opened (a port that does not open ends it: Idle)
//   AwaitingAnnounce            the module's "M" line came: the "D" burst answers it, then
//     -> Identified               the module is the one expected (or the first one, for a read)
//     -> EndDue                   a module of another type than the window's
//     -> Idle                     a module of no type the program knows
//   Identified                  the first command leaves after a short pause:
//     -> Reading                  "T3600" (a read, or a check into a copy of its own)
//     -> Sending                  "T3700", then one slot frame after the other
//     -> StartingTest             "T3500", until the module answers "M"
//   StartingTest -> TestRunning the module answered: a line-status scan, the push-button
//                               monitor or the output test runs on the module
//   TestRunning -> EndDue       the scan has its ten lines: "T0006" after a second
//   TestRunning -> OwedFrames   the installer's Stop: eleven stop frames after a short pause
//   EndDue -> OwedFrames        the end frame goes out
//   Reading, Sending, OwedFrames -> Idle    the last data line, slot frame or owed frame
//
// The module is owed what takes it out of a test (stop frames, "T0006"), and gets it whatever
// happens, except a lost line. When the installer gets out (Afbreken, Esc, closing the window),
// a conversation that owes the module nothing ends at once (Idle); otherwise it goes Closing
// (from TestRunning, EndDue or OwedFrames): the owed frames go out, then the port closes
// (Idle). A test's buttons do nothing once it is Closing. Any phase ends in Idle on a lost line
// or when the port is closed from the port menu.
//
// What the conversation is for (a read, a check, a send or a test) is chosen at its start and
// decides where the identification leads; it is not a phase, since a read and a check go
// through the same phases, and the window asks after a way out whether it left a check.
class Conversation : public QObject
{
    Q_OBJECT
public:
    using Status = ConversationStatus;
    using Problem = ConversationProblem;

    Conversation(ModuleState &state, SerialLink &link, QObject *parent = nullptr);
    ~Conversation() override;

    // Conversation starts. Each returns false when the line cannot be opened (problem() follows).
    bool connectModule();     // identify the module and read its configuration
    bool sendConfiguration(); // write the image of the current type into the module
    // Reads the module again into a copy of its own, as "Verbinden" does, and hands the copy to
    // checkFinished(): the module type, the master flag and the images stay as they are, and a
    // module of another type ends it as a wrong module.
    bool checkConfiguration();
    bool startDiagnostic(DiagnosticTest test); // one of the three tests
    // While a test runs on the module (and only then): switch output 1..12 of the output test,
    // stop the push-button monitor, stop the output test.
    void switchOutput(int output);
    void stopMonitor();
    void stopOutputTest();
    // The installer gets out (Afbreken, Esc, closing the window). What the module is owed goes
    // out first and is never cut short: the stop frames of a running push-button monitor or
    // output test (as its Stop sends them), the "T0006" of a line-status scan that the module
    // has answered or of a wrong-module end. Then the port is closed and abandoned() follows.
    // Anything else stops at once, a send half-way included (the window asks first).
    void abandon();
    // The port menu: ends whatever runs and closes the port. The device of the port number is
    // looked up at every conversation start, so a link made after this is found.
    void closePort();
    // "Nieuwe module": forgets the line received so far.
    void clearReceived();

    bool isRunning() const { return m_phase != Phase::Idle; }
    // The conversation under way, or the one the installer just got out of, is a check.
    bool isChecking() const { return m_purpose == Purpose::Check; }
    // Slot frames (or the "T3700" before them) are being written into the module.
    bool isWriting() const { return m_phase == Phase::Sending; }
    // A send that was stopped or lost its line after "T3700": how many slot frames had left the
    // port (their carriage return included) of the image's values. Until the next conversation
    // starts.
    struct CutSend
    {
        int framesWritten = 0;
        int slotCount = 0;
    };
    std::optional<CutSend> cutSend() const { return m_cutSend; }
    // Characters received and not yet handed on as lines.
    qsizetype pendingInput() const { return m_reader.size(); }
    // True while a timer of the chain polls (the announce wait); a conversation waiting for a
    // reply line costs nothing until characters arrive.
    bool isPolling() const { return m_announceReader.isActive() || m_replyReader.isActive(); }

    // The pause after each character of a command frame, in microseconds: the setting, bounded
    // to 0..100000 µs.
    static int pauseMicroseconds(int pcDelay);
    // The pause after each character of a slot frame: half that of a command frame.
    static int slotPauseMicroseconds(int pcDelay) { return pauseMicroseconds(pcDelay) / 2; }
    // From the start of one slot frame to the start of the next, at the least: one tick of the
    // slot writer plus the eight pauses of a frame (11.2 ms at the shipped 300 µs).
    static std::chrono::nanoseconds slotSpacing(int pcDelay)
    {
        return Interval::SlotFrame + 8 * std::chrono::microseconds(slotPauseMicroseconds(pcDelay));
    }

Q_SIGNALS:
    void progressChanged(bool visible, int value, int maximum);
    void statusChanged(Conversation::Status status);
    // A module was identified: the window shows the page of its type before the transfer starts.
    void pageRequested(int type);
    void readFinished();
    // A check read the module's whole configuration: what the module holds now.
    void checkFinished(const ModuleImage &moduleHolds);
    void sendFinished();
    void wrongModule();
    // "T0006" went out after a line-status scan: the scan is over.
    void endFrameSent();
    void outputTestReady();
    void monitorStarted();
    void lineStatus(const QString &value, bool last);
    void pushButtonReport(const QString &line);
    void stopFramesSent(const QString &command);
    void problem(Conversation::Problem problem, const QString &port, const QString &detail);
    void abandoned();
    // The installer got out of a test on the module: what the module is owed goes out now, and
    // abandoned() follows once it has. A test's own controls have nothing left to do.
    void leaving();
    // A conversation started or came to its end (the window offers its stop control meanwhile).
    void runningChanged(bool running);
    // Frames handed to the writer with the pause after each of their characters.
    void framesQueued(const QList<QByteArray> &frames, int pauseMicroseconds);

private:
    // Where the conversation is (the class comment shows how one follows the other).
    enum class Phase
    {
        Idle,             // none runs; the port may still be open after a test's end
        Opening,          // the port is being opened
        AwaitingAnnounce, // polling for the module's "M" line, then the "D" burst
        Identified,       // the module is known: its first command follows after a pause
        Reading,          // "T3600" and the data lines
        Sending,          // "T3700" and the slot frames
        StartingTest,     // "T3500" and the module's "M" answer
        TestRunning,      // a scan, the push-button monitor or the output test runs on the module
        EndDue,           // "T0006" follows after a pause (a scan that has its lines, a wrong module)
        OwedFrames,       // stop frames or an end frame the module is owed go out (or wait for their timer)
        Closing,          // the installer got out: what the module is owed goes out, then the port closes
    };
    enum class Purpose
    {
        Read,
        Check,
        Send,
        Test
    };
    // Every change of phase goes through here; the window learns when the conversation starts
    // or ends running.
    void enter(Phase phase);

    bool start(Purpose purpose, QLatin1String command);
    bool openLink();
    void stopTimers();
    void stopAll();
    void finishWithProblem(Problem p, const QString &detail);
    // Hands frames to the writer; `then` runs once they have left the port. With a `spacing`,
    // each frame starts no sooner than that after the start of the frame before it.
    void sendFrames(const QList<QByteArray> &frames, int pause, std::function<void()> then,
                    std::chrono::nanoseconds spacing = std::chrono::nanoseconds(0));
    void sendCommand(int times, std::function<void(const QString &)> then);
    // Sends the pending command `times` times as frames the module is owed: a way out waits
    // for them, then leaves.
    void sendOwed(int times, std::function<void(const QString &)> then);
    // The end of a way out: the port closed, the window told.
    void leave();
    void setProgress(bool visible, int value, int maximum);
    void stepProgress();
    void armReader();

    void onReadyRead();
    void onSent(quint64 job);
    void onFailed(quint64 job);

    void Timer14_Timer();
    void Timer17_Timer();
    void Timer18_Timer();
    void Timer19_Timer();
    void slotWriterTick();
    void Timer22_Timer();
    void Timer23_Timer();

    void identify();
    void beginTransfer();
    void startDiagnosticTest();
    void dispatch();
    void commonEnd();
    void dataLine();
    void finishRead();

    // The timers of the chain, named by what they wait for; each has the name the window's
    // design gives it as its object name.
    QTimer m_announceReader{this};     // Timer14: polls for the announce line, cycling the progress bar
    QTimer m_commandSender{this};      // Timer17: sends a command frame, then arms the reply reader
    QTimer m_replyReader{this};        // Timer18: runs whenever a complete reply line has arrived
    QTimer m_writeCommandSender{this}; // Timer19: sends "T3700", then starts the slot writer
    // Timer20, Timer21 or Timer24: writes the slot frames of the relay, dim or Velano image; it
    // takes the name of the image's writer when a send starts.
    QTimer m_slotWriter{this};
    QTimer m_stopSender{this};   // Timer22: sends the eleven stop frames of a test
    QTimer m_oneWaySender{this}; // Timer23: sends a frame that gets no reply (an output, an end frame)

    // The conversation's state.
    QString PendingCommand;
    QString RxText;
    int TransferMode = 0; // 0 read, 1 send
    int ReadComplete = 0;
    int SendSlot = 0;
    DiagnosticTest DiagnosticMode = DiagnosticTest::None;

    Phase m_phase = Phase::Idle;
    Purpose m_purpose = Purpose::Read;
    // The reply reader hands the next complete line on. It is armed once a command has left and
    // after each line it handed on, in any phase that reads replies (and after a scan's "T0006",
    // when the line it would hand on is ignored).
    bool m_replyReaderArmed = false;

    ModuleState &m_state;
    SerialLink &m_link;
    PacedWriter *m_writer;
    LineReader m_reader;
    std::map<quint64, std::function<void()>> m_afterSent;
    bool m_progressVisible = false;
    int m_progressValue = 0;
    int m_progressMaximum = 0;
    std::optional<ModuleImage> m_readCopy; // the image being read, taken over at the last slot
    quint64 m_firstSlotFrame = 0;          // the writer's count of frames when the first slot frame goes out
    std::optional<CutSend> m_cutSend;
};
