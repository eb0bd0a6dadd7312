#include "protocol/Conversation.h"

#include "protocol/ModuleState.h"
#include "protocol/ReplyDispatch.h"
#include "serial/PacedWriter.h"
#include "serial/SerialLink.h"

using namespace Interval;

namespace {
// The name of the slot writer of an image, as the window's design names its three writers.
QString slotWriterName(const ModuleTypeInfo *info)
{
    if (info && info->image == ModuleTypes::Image::Dim) return QStringLiteral("Timer21");
    if (info && info->image == ModuleTypes::Image::Velano) return QStringLiteral("Timer24");
    return QStringLiteral("Timer20");
}
} // namespace

Conversation::Conversation(ModuleState &state, SerialLink &link, QObject *parent)
    : QObject(parent), m_state(state), m_link(link), m_writer(new PacedWriter(link, this))
{
    m_announceReader.setObjectName(QStringLiteral("Timer14"));
    m_commandSender.setObjectName(QStringLiteral("Timer17"));
    m_replyReader.setObjectName(QStringLiteral("Timer18"));
    m_writeCommandSender.setObjectName(QStringLiteral("Timer19"));
    m_slotWriter.setObjectName(slotWriterName(nullptr));
    m_stopSender.setObjectName(QStringLiteral("Timer22"));
    m_oneWaySender.setObjectName(QStringLiteral("Timer23"));
    // Every timer but the announce-line reader fires once and is started with the interval of
    // the step it runs.
    for (QTimer *t : {&m_commandSender, &m_replyReader, &m_writeCommandSender, &m_slotWriter, &m_stopSender,
                      &m_oneWaySender})
        t->setSingleShot(true);
    m_announceReader.setInterval(AnnouncePoll);
    for (QTimer *t : {&m_announceReader, &m_slotWriter})
        t->setTimerType(Qt::PreciseTimer);

    connect(&m_announceReader, &QTimer::timeout, this, &Conversation::Timer14_Timer);
    connect(&m_commandSender, &QTimer::timeout, this, &Conversation::Timer17_Timer);
    connect(&m_replyReader, &QTimer::timeout, this, &Conversation::Timer18_Timer);
    connect(&m_writeCommandSender, &QTimer::timeout, this, &Conversation::Timer19_Timer);
    connect(&m_slotWriter, &QTimer::timeout, this, &Conversation::slotWriterTick);
    connect(&m_stopSender, &QTimer::timeout, this, &Conversation::Timer22_Timer);
    connect(&m_oneWaySender, &QTimer::timeout, this, &Conversation::Timer23_Timer);

    connect(&m_link, &SerialLink::readyRead, this, &Conversation::onReadyRead);
    connect(&m_link, &SerialLink::lost, this, [this](const QString &detail) {
        if (isRunning()) finishWithProblem(Problem::LineLost, detail);
    });
    connect(m_writer, &PacedWriter::sent, this, &Conversation::onSent);
    connect(m_writer, &PacedWriter::failed, this, &Conversation::onFailed);
}

Conversation::~Conversation()
{
    m_writer->cancel();
}

void Conversation::enter(Phase phase)
{
    const bool wasRunning = isRunning();
    const bool wasClosing = m_phase == Phase::Closing;
    m_phase = phase;
    if (isRunning() != wasRunning) Q_EMIT runningChanged(isRunning());
    if (phase == Phase::Closing && !wasClosing) Q_EMIT leaving();
}

// ---- conversation starts -------------------------------------------------------------------

bool Conversation::connectModule()
{
    if (isRunning()) return false;
    m_state.ModuleType = ModuleTypes::None;
    TransferMode = 0;
    return start(Purpose::Read, Command::Read);
}

bool Conversation::sendConfiguration()
{
    if (isRunning()) return false;
    TransferMode = 1;
    return start(Purpose::Send, Command::Write);
}

bool Conversation::checkConfiguration()
{
    if (isRunning() || !ModuleTypes::isKnown(m_state.ModuleType)) return false;
    TransferMode = 0;
    return start(Purpose::Check, Command::Read);
}

bool Conversation::startDiagnostic(DiagnosticTest test)
{
    if (isRunning() || test == DiagnosticTest::None) return false;
    DiagnosticMode = test;
    return start(Purpose::Test, Command::OpenTest);
}

// The common start of every conversation: what it is for, the command it is about, the
// progress bar cycling while the module is looked for, and the line opened.
bool Conversation::start(Purpose purpose, QLatin1String command)
{
    m_purpose = purpose;
    m_cutSend.reset();
    RxText.clear();
    PendingCommand = command;
    ReadComplete = 0;
    setProgress(true, 0, 200);
    Q_EMIT statusChanged(Status::Searching);
    return openLink();
}

void Conversation::switchOutput(int output)
{
    if (m_phase != Phase::TestRunning) return;
    RxText.clear();
    PendingCommand = Wire::outputCommand(output);
    // A second press within the interval replaces the command: only the last one goes out.
    m_oneWaySender.start(OutputCommand);
}

int Conversation::pauseMicroseconds(int pcDelay)
{
    return qBound(0, pcDelay, PacedWriter::MaxPauseMicroseconds);
}

void Conversation::stopMonitor()
{
    if (m_phase != Phase::TestRunning) return;
    RxText.clear();
    PendingCommand = Command::MonitorStop;
    ReadComplete = 0;
    DiagnosticMode = DiagnosticTest::PushButtons;
    // A "T8019" still waiting to go out must not go out after the stop.
    m_commandSender.stop();
    m_stopSender.start(StopFrames);
    m_replyReader.stop();
    m_replyReaderArmed = false;
    enter(Phase::OwedFrames);
    Q_EMIT statusChanged(Status::EditMode);
}

void Conversation::stopOutputTest()
{
    if (m_phase != Phase::TestRunning) return;
    RxText.clear();
    PendingCommand = Command::OutputStop;
    m_oneWaySender.stop();
    m_stopSender.start(StopFrames);
    enter(Phase::OwedFrames);
    Q_EMIT statusChanged(Status::EditMode);
}

void Conversation::abandon()
{
    QString owed;
    int times = 1;
    switch (m_phase) {
    case Phase::Idle:
    case Phase::Closing:
        return;
    case Phase::OwedFrames:
        // A Stop's frames or an end frame are already on their way: they finish, then the way out.
        enter(Phase::Closing);
        return;
    case Phase::TestRunning:
        if (DiagnosticMode == DiagnosticTest::LineStatus) {
            owed = Command::End; // a scan the module has answered
        } else {
            owed = DiagnosticMode == DiagnosticTest::PushButtons ? Command::MonitorStop : Command::OutputStop;
            times = Command::StopFrames;
        }
        break;
    case Phase::EndDue:
        owed = Command::End; // an end frame waiting for its timer
        break;
    case Phase::Opening:
    case Phase::AwaitingAnnounce:
    case Phase::Identified:
    case Phase::Reading:
    case Phase::Sending:
    case Phase::StartingTest:
        break; // the module is in no test: nothing is owed
    }
    if (owed.isEmpty()) {
        leave();
        return;
    }
    stopTimers();
    m_replyReaderArmed = false;
    // A frame going out (a "T8019", an output command) finishes; what waits behind it is dropped.
    m_writer->dropQueued();
    m_afterSent.clear();
    RxText.clear();
    PendingCommand = owed;
    enter(Phase::Closing);
    sendOwed(times, [this](const QString &) { leave(); });
}

void Conversation::leave()
{
    stopAll();
    m_link.close();
    enter(Phase::Idle);
    setProgress(false, m_progressValue, m_progressMaximum);
    Q_EMIT abandoned();
}

void Conversation::clearReceived()
{
    RxText.clear();
}

void Conversation::closePort()
{
    if (isRunning()) stopAll();
    enter(Phase::Idle);
    m_writer->cancel();
    m_link.close();
}

// Every start stops whatever may still run (a reply reader still waiting after "T0006"
// included), closes the port if it is open, opens it and drops what came in meanwhile.
bool Conversation::openLink()
{
    stopAll();
    m_link.close();
    enter(Phase::Opening);
    // Looked up now, not when the port was chosen: an adapter plugged in, a link made or a
    // simulated module started after the program is found.
    m_link.setPortName(serialPortName(m_state.ComPort));
    if (!m_link.open()) {
        Problem p = Problem::PortFailed;
        switch (m_link.lastOpenError()) {
        case SerialLink::OpenError::NotFound:
            p = Problem::PortNotFound;
            break;
        case SerialLink::OpenError::InUse:
            p = Problem::PortInUse;
            break;
        case SerialLink::OpenError::NoPermission:
            p = Problem::NoPermission;
            break;
        default:
            break;
        }
        finishWithProblem(p, m_link.lastErrorText());
        return false;
    }
    m_link.discardInput();
    m_reader.clear();
    enter(Phase::AwaitingAnnounce);
    m_announceReader.start();
    return true;
}

void Conversation::stopTimers()
{
    for (QTimer *t : {&m_announceReader, &m_commandSender, &m_replyReader, &m_writeCommandSender,
                      &m_slotWriter, &m_stopSender, &m_oneWaySender})
        t->stop();
}

// Stops every timer and the writer; the phase is the caller's to change.
void Conversation::stopAll()
{
    stopTimers();
    m_replyReaderArmed = false;
    // The writer lets go of the port before anybody closes it.
    m_writer->cancel();
    m_afterSent.clear();
    m_readCopy.reset();
    // A send that ends here has not reached its last slot: the module holds only the frames
    // that left the port.
    if (m_phase == Phase::Sending) {
        // The writer has let go: its count includes a frame whose report is still on its way.
        const quint64 done = m_writer->framesWritten();
        const ModuleImage *image = m_state.currentImage();
        m_cutSend =
            CutSend{done > m_firstSlotFrame ? int(done - m_firstSlotFrame) : 0, image ? image->size() : 0};
    }
}

void Conversation::finishWithProblem(Problem p, const QString &detail)
{
    if (!isRunning()) return;
    // Only a lost line stops frames the module is owed.
    stopAll();
    m_link.close();
    enter(Phase::Idle);
    setProgress(false, m_progressValue, m_progressMaximum);
    Q_EMIT problem(p, m_link.portName(), detail);
}

// ---- writing --------------------------------------------------------------------------------

void Conversation::sendFrames(const QList<QByteArray> &frames, int pause, std::function<void()> then,
                              std::chrono::nanoseconds spacing)
{
    Q_EMIT framesQueued(frames, pause);
    const quint64 job = m_writer->send(frames, pause, spacing);
    m_afterSent[job] = std::move(then);
}

// Sends the pending command `times` times; `then` learns which command went out, since the
// pending command may have changed by the time the frames have left.
void Conversation::sendCommand(int times, std::function<void(const QString &)> then)
{
    const QString command = PendingCommand;
    QList<QByteArray> frames;
    for (int i = 0; i < times; ++i)
        frames << Wire::commandFrame(command);
    sendFrames(frames, pauseMicroseconds(m_state.PcDelay),
               [then = std::move(then), command] { then(command); });
}

void Conversation::sendOwed(int times, std::function<void(const QString &)> then)
{
    // A way out that is already waiting stays one: it leaves once the frames have left.
    if (m_phase != Phase::Closing) enter(Phase::OwedFrames);
    sendCommand(times, [this, then = std::move(then)](const QString &command) {
        if (m_phase == Phase::Closing) {
            leave();
            return;
        }
        then(command);
    });
}

void Conversation::onSent(quint64 job)
{
    const auto it = m_afterSent.find(job);
    if (it == m_afterSent.end()) return; // a job of a conversation that was stopped
    auto then = std::move(it->second);
    m_afterSent.erase(it);
    if (then) then();
}

void Conversation::onFailed(quint64 job)
{
    if (m_afterSent.count(job)) finishWithProblem(Problem::LineLost, m_link.lastErrorText());
}

// ---- progress -------------------------------------------------------------------------------

void Conversation::setProgress(bool visible, int value, int maximum)
{
    m_progressVisible = visible;
    m_progressValue = value;
    m_progressMaximum = maximum;
    Q_EMIT progressChanged(visible, value, maximum);
}

void Conversation::stepProgress()
{
    setProgress(m_progressVisible, m_progressValue + 1, m_progressMaximum);
}

// ---- reading --------------------------------------------------------------------------------

void Conversation::onReadyRead()
{
    const QByteArray bytes = m_link.readAll();
    // Between conversations nobody reads: what arrives is thrown away at once.
    if (!isRunning()) return;
    m_reader.append(bytes);
    if (m_replyReaderArmed && m_reader.hasLine() && !m_replyReader.isActive())
        m_replyReader.start(LineWaiting);
}

void Conversation::armReader()
{
    m_replyReaderArmed = true;
    m_replyReader.start(m_reader.hasLine() ? LineWaiting : ReplyPoll);
}

// Announce-line reader: cycles the progress bar while it waits; lines that do not begin
// with "M" are skipped.
void Conversation::Timer14_Timer()
{
    for (;;) {
        if (m_progressValue + 1 > m_progressMaximum) {
            setProgress(m_progressVisible, 0, m_progressMaximum);
            return;
        }
        stepProgress();
        const auto line = m_reader.takeLine();
        if (!line) return;
        RxText = *line;
        if (RxText.startsWith(QLatin1Char('M'))) break;
        RxText.clear();
    }
    m_announceReader.stop();
    sendFrames({Wire::dBurst()}, pauseMicroseconds(m_state.PcDelay), [this] { identify(); });
}

void Conversation::identify()
{
    m_link.discardInput();
    m_reader.clear();
    const auto announce = Wire::parseAnnounce(RxText);
    const int typeDigit = announce ? announce->typeDigit : -1;
    if (ModuleTypes::isKnown(m_state.ModuleType)) {
        if (typeDigit != m_state.ModuleType) {
            // Another module than the window's: it is told the conversation is over.
            PendingCommand = Command::End;
            enter(Phase::EndDue);
            m_oneWaySender.start(OutputCommand);
            setProgress(false, m_progressValue, m_progressMaximum);
            RxText.clear();
            return;
        }
    } else {
        if (!ModuleTypes::isKnown(typeDigit)) {
            const QString line = RxText;
            RxText.clear();
            finishWithProblem(Problem::UnsupportedModule, line);
            return;
        }
        m_state.MasterFlag = announce->masterFlag;
        m_state.ModuleType = typeDigit;
    }
    enter(Phase::Identified);
    if (m_purpose == Purpose::Test) {
        startDiagnosticTest();
        return;
    }
    if (m_purpose != Purpose::Check) Q_EMIT pageRequested(m_state.ModuleType);
    beginTransfer();
    RxText.clear();
}

void Conversation::beginTransfer()
{
    const ModuleTypeInfo *info = ModuleTypes::info(m_state.ModuleType);
    setProgress(true, 0, info->progressMaximum);
    if (TransferMode == 0) {
        // A check reads into a blank copy: every slot it shows came from the module.
        m_readCopy = m_purpose == Purpose::Check ? ModuleImage(info->slotCount) : *m_state.currentImage();
        Q_EMIT statusChanged(Status::Loading);
        m_commandSender.start(FirstCommand);
    } else {
        m_slotWriter.setObjectName(slotWriterName(info));
        Q_EMIT statusChanged(Status::Sending);
        m_writeCommandSender.start(FirstCommand);
    }
}

void Conversation::startDiagnosticTest()
{
    RxText.clear();
    m_commandSender.start(FirstCommand);
    switch (DiagnosticMode) {
    case DiagnosticTest::LineStatus:
        setProgress(true, 0, 10);
        Q_EMIT statusChanged(Status::ReadingLineStatus);
        break;
    case DiagnosticTest::PushButtons:
        setProgress(false, m_progressValue, m_progressMaximum);
        Q_EMIT statusChanged(Status::ReadingButtons);
        break;
    case DiagnosticTest::Outputs:
        setProgress(false, m_progressValue, m_progressMaximum);
        Q_EMIT statusChanged(Status::TestingOutputs);
        break;
    case DiagnosticTest::None:
        break;
    }
}

// Command-frame sender: sends the pending command, then waits for the replies.
void Conversation::Timer17_Timer()
{
    if (m_phase == Phase::EndDue) {
        // The scan's end frame is owed; the reply reader stays armed, ignoring what follows.
        sendOwed(1, [this](const QString &command) {
            enter(Phase::Idle);
            Q_EMIT endFrameSent();
            if (command == PendingCommand) armReader();
        });
        return;
    }
    if (m_phase == Phase::Identified)
        enter(m_purpose == Purpose::Test ? Phase::StartingTest : Phase::Reading);
    sendCommand(1, [this](const QString &command) {
        // Stopped while the command was on its way: no reader for it.
        if (command == PendingCommand) armReader();
    });
}

void Conversation::Timer18_Timer()
{
    if (!m_replyReaderArmed) return;
    const auto line = m_reader.takeLine();
    if (!line) return; // stays armed: the next characters that arrive bring the line
    m_replyReaderArmed = false;
    RxText = *line;
    dispatch();
}

void Conversation::dispatch()
{
    switch (decideReply(RxText, PendingCommand, DiagnosticMode)) {
    case ReplyRule::Ignore:
        RxText.clear();
        break;
    case ReplyRule::OutputTestReady:
        // From now on nothing is read: the output buttons each send one frame.
        enter(Phase::TestRunning);
        Q_EMIT outputTestReady();
        break;
    case ReplyRule::PushButtonReport:
        Q_EMIT pushButtonReport(RxText);
        commonEnd();
        break;
    case ReplyRule::MonitorStart:
        RxText.clear();
        PendingCommand = Command::Monitor;
        enter(Phase::TestRunning);
        m_commandSender.start(FollowUp);
        Q_EMIT monitorStarted();
        break;
    case ReplyRule::LineStatusReport: {
        stepProgress();
        const bool last = m_progressValue >= 10;
        Q_EMIT lineStatus(Wire::lineStatusValue(RxText), last);
        if (last) {
            PendingCommand = Command::End;
            enter(Phase::EndDue);
            m_commandSender.start(ScanEnd);
            ReadComplete = 1;
            setProgress(false, m_progressValue, m_progressMaximum);
            Q_EMIT statusChanged(Status::EditMode);
        }
        commonEnd();
        break;
    }
    case ReplyRule::LineStatusStart:
        RxText.clear();
        PendingCommand = Command::LineStatus;
        enter(Phase::TestRunning);
        m_commandSender.start(FollowUp);
        break;
    case ReplyRule::DataLine:
        // Only a read stores data lines; anything else the module sends is passed over.
        if (m_phase == Phase::Reading && m_readCopy) dataLine();
        commonEnd();
        break;
    }
}

void Conversation::commonEnd()
{
    RxText.clear();
    if (ReadComplete == 1) return;
    armReader();
}

void Conversation::dataLine()
{
    stepProgress();
    const auto data = Wire::parseDataLine(RxText);
    // A slot field that is no number, or a slot outside the image, is not stored.
    if (!data || !m_readCopy->contains(data->slot)) return;
    m_readCopy->set(data->slot, data->value);
    if (data->slot == m_readCopy->lastSlot()) finishRead();
}

void Conversation::finishRead()
{
    const ModuleImage read = *m_readCopy;
    m_readCopy.reset();
    ReadComplete = 1;
    enter(Phase::Idle);
    setProgress(false, m_progressValue, m_progressMaximum);
    if (m_purpose == Purpose::Check) {
        Q_EMIT checkFinished(read);
        return;
    }
    *m_state.currentImage() = read;
    // The window keeps a backup of what was read before it says "Edit mode".
    Q_EMIT readFinished();
    Q_EMIT statusChanged(Status::EditMode);
}

// ---- sending --------------------------------------------------------------------------------

void Conversation::Timer19_Timer()
{
    enter(Phase::Sending);
    // "T3700" is the first frame of the send; the slot frames follow it.
    m_firstSlotFrame = m_writer->framesWritten() + 1;
    sendCommand(1, [this](const QString &) {
        SendSlot = 0;
        m_slotWriter.start(SlotFrame);
    });
}

// One slot frame per tick. The first goes out one tick after "T3700"; each next one is handed
// to the writer as soon as the one before it has left the port, and the writer starts it one
// tick plus the frame's eight pauses after the start of that one (FrameRhythm), or at once when
// the line took longer than that: the module gets the idle time it had between frames.
void Conversation::slotWriterTick()
{
    const ModuleImage *image = m_state.currentImage();
    if (!image) return;
    stepProgress();
    const int slot = SendSlot;
    // Slot frames go out with half the pause of the command frames.
    const int pause = slotPauseMicroseconds(m_state.PcDelay);
    const auto afterFrame = [this, slot] {
        const ModuleImage *image = m_state.currentImage();
        if (!image || slot >= image->lastSlot()) {
            setProgress(false, m_progressValue, m_progressMaximum);
            enter(Phase::Idle);
            Q_EMIT statusChanged(Status::Ready);
            Q_EMIT sendFinished();
            return;
        }
        SendSlot = slot + 1;
        m_slotWriter.start(0);
    };
    sendFrames({Wire::slotFrame(slot, image->value(slot))}, pause, afterFrame, slotSpacing(m_state.PcDelay));
}

// ---- diagnostics ends -------------------------------------------------------------------------

void Conversation::Timer22_Timer()
{
    sendOwed(Command::StopFrames, [this](const QString &command) {
        enter(Phase::Idle);
        Q_EMIT stopFramesSent(command);
    });
}

void Conversation::Timer23_Timer()
{
    // The end frame of a wrong-module end is owed; an output command is not.
    if (m_phase == Phase::EndDue) {
        sendOwed(1, [this](const QString &) {
            enter(Phase::Idle);
            Q_EMIT wrongModule();
        });
        return;
    }
    sendCommand(1, [](const QString &) {});
}
