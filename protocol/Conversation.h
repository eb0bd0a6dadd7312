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
    void switchOutput(int output);             // output test: switch output 1..12
    void stopMonitor();
    void stopOutputTest();
    // The installer gets out (Afbreken, Esc, closing the window). What the module is owed goes
    // out first and is never cut short: the stop frames of a running push-button monitor or
    // output test (as its Stop sends them), the "T0006" of a line-status scan that the module
    // has answered or of a wrong-module end. Then the port is closed and abandoned() follows.
    // Anything else stops at once, a send half-way included (the window asks first).
    void abandon();
    // The port menu: closes the port. The device of the port number is looked up at every
    // conversation start, so a link made after this is found.
    void setPortNumber(int number);
    // "Nieuwe module": forgets the line received so far.
    void clearReceived();

    bool isRunning() const { return m_running; }
    // The conversation is a check after a send.
    bool isChecking() const { return m_checking; }
    // Slot frames (or the "T3700" before them) are being written into the module.
    bool isWriting() const { return m_writing; }
    // A way out is waiting for the frames the module is owed.
    bool isLeaving() const { return m_leaving; }
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
    bool isPolling() const { return Timer14.isActive() || Timer18.isActive(); }

    // The conversation's own state, read-only.
    const QString &pendingCommand() const { return PendingCommand; }
    const QString &receivedLine() const { return RxText; }
    int transferMode() const { return TransferMode; }
    int readComplete() const { return ReadComplete; }
    int sendSlot() const { return SendSlot; }
    DiagnosticTest diagnosticTest() const { return DiagnosticMode; }

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
    // A conversation started or came to its end (the window offers its stop control meanwhile).
    void runningChanged(bool running);
    // Frames handed to the writer with the pause after each of their characters.
    void framesQueued(const QList<QByteArray> &frames, int pauseMicroseconds);

private:
    bool start(QLatin1String command);
    bool openLink();
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
    void setRunning(bool running);
    QTimer &slotWriter();

    void onReadyRead();
    void onSent(quint64 job);
    void onFailed(quint64 job);

    void Timer14_Timer();
    void Timer17_Timer();
    void Timer18_Timer();
    void Timer19_Timer();
    void slotWriterTick(QTimer &timer);
    void Timer22_Timer();
    void Timer23_Timer();

    void identify();
    void beginTransfer();
    void startDiagnosticTest();
    void dispatch();
    void commonEnd();
    void dataLine();
    void finishRead();

    // The timers of the chain, named as the window's design names them.
    QTimer Timer14; // announce-line reader; also cycles the progress bar while waiting
    QTimer Timer17; // command-frame sender, then starts the reply reader
    QTimer Timer18; // reply-line reader: runs whenever a complete line has arrived
    QTimer Timer19; // "T3700" sender, then starts the slot writer
    QTimer Timer20; // slot writer of the relay image
    QTimer Timer21; // slot writer of the dim image
    QTimer Timer22; // stop-frame sender (11 frames)
    QTimer Timer23; // command-frame sender without a reply
    QTimer Timer24; // slot writer of the Velano image

    // The conversation's state.
    QString PendingCommand;
    QString RxText;
    int TransferMode = 0; // 0 read, 1 send
    int ReadComplete = 0;
    int SendSlot = 0;
    DiagnosticTest DiagnosticMode = DiagnosticTest::None;

    ModuleState &m_state;
    SerialLink &m_link;
    PacedWriter *m_writer;
    LineReader m_reader;
    std::map<quint64, std::function<void()>> m_afterSent;
    bool m_running = false;
    bool m_readerArmed = false;
    bool m_writing = false;
    bool m_checking = false;
    bool m_leaving = false;
    // A push-button monitor or output test runs on the module: from its "M" answer to "T3500"
    // until its Stop.
    bool m_testRunning = false;
    // Frames the module is owed (stop frames, an end frame) are with the writer.
    bool m_owedOnTheWay = false;
    bool m_progressVisible = false;
    int m_progressValue = 0;
    int m_progressMaximum = 0;
    std::optional<ModuleImage> m_readCopy; // the image being read, taken over at the last slot
    quint64 m_firstSlotFrame = 0;          // the writer's count of frames when the first slot frame goes out
    std::optional<CutSend> m_cutSend;
};
