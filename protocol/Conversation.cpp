#include "protocol/Conversation.h"

#include "protocol/ModuleState.h"
#include "protocol/ReplyDispatch.h"
#include "serial/PacedWriter.h"
#include "serial/SerialLink.h"

using namespace Interval;

Conversation::Conversation(ModuleState &state, SerialLink &link, QObject *parent)
    : QObject(parent), m_state(state), m_link(link), m_writer(new PacedWriter(link, this))
{
    // Every timer but the announce-line reader fires once and is started with the interval of
    // the step it runs.
    for (QTimer *t : {&Timer17, &Timer18, &Timer19, &Timer20, &Timer21, &Timer22, &Timer23, &Timer24})
        t->setSingleShot(true);
    Timer14.setInterval(AnnouncePoll);
    for (QTimer *t : {&Timer14, &Timer20, &Timer21, &Timer24})
        t->setTimerType(Qt::PreciseTimer);

    connect(&Timer14, &QTimer::timeout, this, &Conversation::Timer14_Timer);
    connect(&Timer17, &QTimer::timeout, this, &Conversation::Timer17_Timer);
    connect(&Timer18, &QTimer::timeout, this, &Conversation::Timer18_Timer);
    connect(&Timer19, &QTimer::timeout, this, &Conversation::Timer19_Timer);
    connect(&Timer20, &QTimer::timeout, this, [this] { slotWriterTick(Timer20); });
    connect(&Timer21, &QTimer::timeout, this, [this] { slotWriterTick(Timer21); });
    connect(&Timer24, &QTimer::timeout, this, [this] { slotWriterTick(Timer24); });
    connect(&Timer22, &QTimer::timeout, this, &Conversation::Timer22_Timer);
    connect(&Timer23, &QTimer::timeout, this, &Conversation::Timer23_Timer);

    connect(&m_link, &SerialLink::readyRead, this, &Conversation::onReadyRead);
    connect(&m_link, &SerialLink::lost, this, [this](const QString &detail) {
        if (m_running) finishWithProblem(Problem::LineLost, detail);
    });
    connect(m_writer, &PacedWriter::sent, this, &Conversation::onSent);
    connect(m_writer, &PacedWriter::failed, this, &Conversation::onFailed);
}

Conversation::~Conversation()
{
    m_writer->cancel();
}

// ---- conversation starts -------------------------------------------------------------------

bool Conversation::connectModule()
{
    if (m_running) return false;
    m_state.ModuleType = ModuleTypes::None;
    TransferMode = 0;
    m_checking = false;
    return start(Command::Read);
}

bool Conversation::sendConfiguration()
{
    if (m_running) return false;
    TransferMode = 1;
    m_checking = false;
    return start(Command::Write);
}

bool Conversation::checkConfiguration()
{
    if (m_running || !ModuleTypes::isKnown(m_state.ModuleType)) return false;
    TransferMode = 0;
    m_checking = true;
    return start(Command::Read);
}

bool Conversation::startDiagnostic(DiagnosticTest test)
{
    if (m_running || test == DiagnosticTest::None) return false;
    DiagnosticMode = test;
    m_checking = false;
    return start(Command::OpenTest);
}

// The common start of every conversation: the command it is about, the progress bar cycling
// while the module is looked for, and the line opened.
bool Conversation::start(QLatin1String command)
{
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
    RxText.clear();
    PendingCommand = Wire::outputCommand(output);
    // A second press within the interval replaces the command: only the last one goes out.
    Timer23.start(OutputCommand);
}

int Conversation::pauseMicroseconds(int pcDelay)
{
    return qBound(0, pcDelay, PacedWriter::MaxPauseMicroseconds);
}

void Conversation::stopMonitor()
{
    m_testRunning = false;
    RxText.clear();
    PendingCommand = Command::MonitorStop;
    ReadComplete = 0;
    DiagnosticMode = DiagnosticTest::PushButtons;
    // A "T8019" still waiting to go out must not go out after the stop.
    Timer17.stop();
    Timer22.start(StopFrames);
    Timer18.stop();
    m_readerArmed = false;
    Q_EMIT statusChanged(Status::EditMode);
}

void Conversation::stopOutputTest()
{
    m_testRunning = false;
    RxText.clear();
    PendingCommand = Command::OutputStop;
    Timer23.stop();
    Timer22.start(StopFrames);
    Q_EMIT statusChanged(Status::EditMode);
}

void Conversation::abandon()
{
    if (!m_running || m_leaving) return;
    m_leaving = true;
    // A Stop's frames or an end frame are already on their way: they finish, then the way out.
    if (m_owedOnTheWay || Timer22.isActive()) return;
    QString owed;
    int times = 1;
    if (m_testRunning) {
        owed = DiagnosticMode == DiagnosticTest::PushButtons ? Command::MonitorStop : Command::OutputStop;
        times = Command::StopFrames;
    } else if (PendingCommand == Command::LineStatus || PendingCommand == Command::End) {
        // A scan the module has answered, or an end frame waiting for its timer.
        owed = Command::End;
    }
    if (owed.isEmpty()) {
        leave();
        return;
    }
    for (QTimer *t : {&Timer14, &Timer17, &Timer18, &Timer19, &Timer20, &Timer21, &Timer23, &Timer24})
        t->stop();
    m_readerArmed = false;
    // A frame going out (a "T8019", an output command) finishes; what waits behind it is dropped.
    m_writer->dropQueued();
    m_afterSent.clear();
    m_testRunning = false;
    RxText.clear();
    PendingCommand = owed;
    sendOwed(times, [this](const QString &) { leave(); });
}

void Conversation::leave()
{
    stopAll();
    m_link.close();
    setRunning(false);
    setProgress(false, m_progressValue, m_progressMaximum);
    Q_EMIT abandoned();
}

void Conversation::clearReceived()
{
    RxText.clear();
}

void Conversation::setPortNumber(int)
{
    if (m_running) stopAll();
    setRunning(false);
    m_writer->cancel();
    m_link.close();
}

// Every start stops whatever may still run (a reply reader still waiting after "T0006"
// included), closes the port if it is open, opens it and drops what came in meanwhile.
bool Conversation::openLink()
{
    stopAll();
    m_link.close();
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
        setRunning(true); // so that the common failure path restores everything
        finishWithProblem(p, m_link.lastErrorText());
        return false;
    }
    m_link.discardInput();
    m_reader.clear();
    setRunning(true);
    Timer14.start();
    return true;
}

void Conversation::stopAll()
{
    for (QTimer *t :
         {&Timer14, &Timer17, &Timer18, &Timer19, &Timer20, &Timer21, &Timer22, &Timer23, &Timer24})
        t->stop();
    m_readerArmed = false;
    // The writer lets go of the port before anybody closes it.
    m_writer->cancel();
    m_afterSent.clear();
    m_readCopy.reset();
    // A send that ends here has not reached its last slot: the module holds only the frames
    // that left the port.
    if (m_writing) {
        // The writer has let go: its count includes a frame whose report is still on its way.
        const quint64 done = m_writer->framesWritten();
        const ModuleImage *image = m_state.currentImage();
        m_cutSend =
            CutSend{done > m_firstSlotFrame ? int(done - m_firstSlotFrame) : 0, image ? image->size() : 0};
    }
    m_writing = false;
    m_leaving = false;
    m_testRunning = false;
    m_owedOnTheWay = false;
}

void Conversation::setRunning(bool running)
{
    if (m_running == running) return;
    m_running = running;
    Q_EMIT runningChanged(running);
}

void Conversation::finishWithProblem(Problem p, const QString &detail)
{
    if (!m_running) return;
    // Only a lost line stops frames the module is owed.
    stopAll();
    m_link.close();
    setRunning(false);
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
    m_owedOnTheWay = true;
    sendCommand(times, [this, then = std::move(then)](const QString &command) {
        m_owedOnTheWay = false;
        if (m_leaving) {
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
    if (!m_running) return;
    m_reader.append(bytes);
    if (m_readerArmed && m_reader.hasLine() && !Timer18.isActive()) Timer18.start(LineWaiting);
}

void Conversation::armReader()
{
    m_readerArmed = true;
    Timer18.start(m_reader.hasLine() ? LineWaiting : ReplyPoll);
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
    Timer14.stop();
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
            PendingCommand = Command::End;
            Timer23.start(OutputCommand);
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
    if (PendingCommand == Command::OpenTest) {
        startDiagnosticTest();
        return;
    }
    if (!m_checking) Q_EMIT pageRequested(m_state.ModuleType);
    beginTransfer();
    RxText.clear();
}

void Conversation::beginTransfer()
{
    const ModuleTypeInfo *info = ModuleTypes::info(m_state.ModuleType);
    setProgress(true, 0, info->progressMaximum);
    if (TransferMode == 0) {
        // A check reads into a blank copy: every slot it shows came from the module.
        m_readCopy = m_checking ? ModuleImage(info->slotCount) : *m_state.currentImage();
        Q_EMIT statusChanged(Status::Loading);
        Timer17.start(FirstCommand);
    } else {
        Q_EMIT statusChanged(Status::Sending);
        Timer19.start(FirstCommand);
    }
}

void Conversation::startDiagnosticTest()
{
    RxText.clear();
    Timer17.start(FirstCommand);
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
    const auto then = [this](const QString &command) {
        if (command == Command::End) {
            setRunning(false);
            Q_EMIT endFrameSent();
        }
        // Stopped while the command was on its way: no reader for it.
        if (command != PendingCommand) return;
        armReader();
    };
    if (PendingCommand == Command::End)
        sendOwed(1, then);
    else
        sendCommand(1, then);
}

void Conversation::Timer18_Timer()
{
    if (!m_readerArmed) return;
    const auto line = m_reader.takeLine();
    if (!line) return; // stays armed: the next characters that arrive bring the line
    m_readerArmed = false;
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
        m_testRunning = true;
        Q_EMIT outputTestReady();
        break;
    case ReplyRule::PushButtonReport:
        Q_EMIT pushButtonReport(RxText);
        commonEnd();
        break;
    case ReplyRule::MonitorStart:
        RxText.clear();
        PendingCommand = Command::Monitor;
        m_testRunning = true;
        Timer17.start(FollowUp);
        Q_EMIT monitorStarted();
        break;
    case ReplyRule::LineStatusReport: {
        stepProgress();
        const bool last = m_progressValue >= 10;
        Q_EMIT lineStatus(Wire::lineStatusValue(RxText), last);
        if (last) {
            PendingCommand = Command::End;
            Timer17.start(ScanEnd);
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
        Timer17.start(FollowUp);
        break;
    case ReplyRule::DataLine:
        // Only a read stores data lines; anything else the module sends is passed over.
        if (PendingCommand == Command::Read && m_readCopy) dataLine();
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
    setRunning(false);
    setProgress(false, m_progressValue, m_progressMaximum);
    if (m_checking) {
        m_checking = false;
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
    m_writing = true;
    // "T3700" is the first frame of the send; the slot frames follow it.
    m_firstSlotFrame = m_writer->framesWritten() + 1;
    sendCommand(1, [this](const QString &) {
        SendSlot = 0;
        slotWriter().start(SlotFrame);
    });
}

QTimer &Conversation::slotWriter()
{
    const ModuleTypeInfo *info = ModuleTypes::info(m_state.ModuleType);
    if (info && info->image == ModuleTypes::Image::Dim) return Timer21;
    if (info && info->image == ModuleTypes::Image::Velano) return Timer24;
    return Timer20;
}

// One slot frame per tick. The first goes out one tick after "T3700"; each next one is handed
// to the writer as soon as the one before it has left the port, and the writer starts it one
// tick plus the frame's eight pauses after the start of that one (FrameRhythm), or at once when
// the line took longer than that: the module gets the idle time it had between frames.
void Conversation::slotWriterTick(QTimer &timer)
{
    const ModuleImage *image = m_state.currentImage();
    if (!image) return;
    stepProgress();
    const int slot = SendSlot;
    // Slot frames go out with half the pause of the command frames.
    const int pause = slotPauseMicroseconds(m_state.PcDelay);
    const auto afterFrame = [this, &timer, slot] {
        const ModuleImage *image = m_state.currentImage();
        if (!image || slot >= image->lastSlot()) {
            setProgress(false, m_progressValue, m_progressMaximum);
            m_writing = false;
            setRunning(false);
            Q_EMIT statusChanged(Status::Ready);
            Q_EMIT sendFinished();
            return;
        }
        SendSlot = slot + 1;
        timer.start(0);
    };
    sendFrames({Wire::slotFrame(slot, image->value(slot))}, pause, afterFrame, slotSpacing(m_state.PcDelay));
}

// ---- diagnostics ends -------------------------------------------------------------------------

void Conversation::Timer22_Timer()
{
    sendOwed(11, [this](const QString &command) {
        setRunning(false);
        Q_EMIT stopFramesSent(command);
    });
}

void Conversation::Timer23_Timer()
{
    const auto then = [this](const QString &command) {
        if (command == Command::End) {
            setRunning(false);
            Q_EMIT wrongModule();
        }
    };
    // The end frame of a wrong-module end is owed; an output command is not.
    if (PendingCommand == Command::End)
        sendOwed(1, then);
    else
        sendCommand(1, then);
}
