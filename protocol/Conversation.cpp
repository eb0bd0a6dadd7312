#include "protocol/Conversation.h"

#include "protocol/ModuleState.h"
#include "protocol/PacedWriter.h"
#include "protocol/ReplyDispatch.h"
#include "protocol/SerialLink.h"

namespace {
const QString T3600 = QStringLiteral("T3600");
const QString T3700 = QStringLiteral("T3700");
const QString T3500 = QStringLiteral("T3500");
const QString T0006 = QStringLiteral("T0006");
const QString T9019 = QStringLiteral("T9019");
const QString T8019 = QStringLiteral("T8019");
const QString T8219 = QStringLiteral("T8219");
const QString T7219 = QStringLiteral("T7219");
constexpr int SlotInterval = 10; // ms from one slot frame to the next
} // namespace

Conversation::Conversation(ModuleState &state, SerialLink &link, QObject *parent)
    : QObject(parent), m_state(state), m_link(link), m_writer(new PacedWriter(link, this))
{
    for (QTimer *t : {&Timer17, &Timer18, &Timer19, &Timer20, &Timer21, &Timer22, &Timer23, &Timer24})
        t->setSingleShot(true);
    Timer14.setInterval(5);
    Timer17.setInterval(20);
    Timer18.setInterval(1);
    Timer19.setInterval(20);
    Timer20.setInterval(1);
    Timer21.setInterval(30);
    Timer22.setInterval(20);
    Timer23.setInterval(20);
    Timer24.setInterval(30);
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
        if (m_running)
            finishWithProblem(Problem::LineLost, detail);
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
    if (m_running)
        return false;
    m_state.ModuleType = ModuleTypes::None;
    m_state.TransferMode = 0;
    return start(T3600);
}

bool Conversation::sendConfiguration()
{
    if (m_running)
        return false;
    m_state.TransferMode = 1;
    return start(T3700);
}

bool Conversation::startDiagnostic(int mode)
{
    if (m_running)
        return false;
    m_state.DiagnosticMode = mode;
    return start(T3500);
}

// The common start of every conversation: the command it is about, the progress bar cycling
// while the module is looked for, and the line opened.
bool Conversation::start(const QString &command)
{
    m_state.RxText.clear();
    m_state.PendingCommand = command;
    m_state.ReadComplete = 0;
    setProgress(true, 0, 200);
    Q_EMIT statusChanged(Status::Searching);
    return openLink();
}

void Conversation::switchOutput(int output)
{
    m_state.RxText.clear();
    m_state.PendingCommand = Wire::outputCommand(output);
    // A second press within the interval replaces the command: only the last one goes out.
    Timer23.start(40);
}

int Conversation::pauseMicroseconds(int pcDelay)
{
    return qBound(0, pcDelay, PacedWriter::MaxPauseMicroseconds);
}

void Conversation::stopMonitor()
{
    m_testRunning = false;
    m_state.RxText.clear();
    m_state.PendingCommand = T8219;
    m_state.ReadComplete = 0;
    m_state.DiagnosticMode = 2;
    // A "T8019" still waiting to go out must not go out after the stop.
    Timer17.stop();
    Timer22.start(20);
    Timer18.stop();
    m_readerArmed = false;
    Q_EMIT statusChanged(Status::EditMode);
}

void Conversation::stopOutputTest()
{
    m_testRunning = false;
    m_state.RxText.clear();
    m_state.PendingCommand = T7219;
    Timer23.stop();
    Timer22.start(20);
    Q_EMIT statusChanged(Status::EditMode);
}

void Conversation::abandon()
{
    if (!m_running || m_leaving)
        return;
    m_leaving = true;
    // A Stop's frames or an end frame are already on their way: they finish, then the way out.
    if (m_owedOnTheWay || Timer22.isActive())
        return;
    QString owed;
    int times = 1;
    if (m_testRunning) {
        owed = m_state.DiagnosticMode == 2 ? T8219 : T7219;
        times = 11;
    } else if (m_state.PendingCommand == T9019 || m_state.PendingCommand == T0006) {
        // A scan the module has answered, or an end frame waiting for its timer.
        owed = T0006;
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
    m_state.RxText.clear();
    m_state.PendingCommand = owed;
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

void Conversation::setPortNumber(int)
{
    if (m_running)
        stopAll();
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
    for (QTimer *t : {&Timer14, &Timer17, &Timer18, &Timer19, &Timer20, &Timer21, &Timer22, &Timer23, &Timer24})
        t->stop();
    m_readerArmed = false;
    // The writer lets go of the port before anybody closes it.
    m_writer->cancel();
    m_afterSent.clear();
    m_readCopy.reset();
    m_writing = false;
    m_leaving = false;
    m_testRunning = false;
    m_owedOnTheWay = false;
    restorePcDelay();
}

void Conversation::setRunning(bool running)
{
    if (m_running == running)
        return;
    m_running = running;
    Q_EMIT runningChanged(running);
}

void Conversation::restorePcDelay()
{
    if (m_pcDelayBeforeSend) {
        m_state.PcDelay = *m_pcDelayBeforeSend;
        m_pcDelayBeforeSend.reset();
    }
}

void Conversation::finishWithProblem(Problem p, const QString &detail)
{
    if (!m_running)
        return;
    // Only a lost line stops frames the module is owed.
    stopAll();
    m_link.close();
    setRunning(false);
    setProgress(false, m_progressValue, m_progressMaximum);
    Q_EMIT problem(p, m_link.portName(), detail);
}

// ---- writing --------------------------------------------------------------------------------

void Conversation::sendFrames(const QList<QByteArray> &frames, std::function<void()> then)
{
    const int pause = pauseMicroseconds(m_state.PcDelay);
    Q_EMIT framesQueued(frames, pause);
    const quint64 job = m_writer->send(frames, pause);
    m_afterSent[job] = std::move(then);
}

// Sends the pending command `times` times; `then` learns which command went out, since the
// pending command may have changed by the time the frames have left.
void Conversation::sendCommand(int times, std::function<void(const QString &)> then)
{
    const QString command = m_state.PendingCommand;
    QList<QByteArray> frames;
    for (int i = 0; i < times; ++i)
        frames << Wire::commandFrame(command);
    sendFrames(frames, [then = std::move(then), command] { then(command); });
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
    if (it == m_afterSent.end())
        return; // a job of a conversation that was stopped
    auto then = std::move(it->second);
    m_afterSent.erase(it);
    if (then)
        then();
}

void Conversation::onFailed(quint64 job)
{
    if (m_afterSent.count(job))
        finishWithProblem(Problem::LineLost, m_link.lastErrorText());
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
    if (!m_running)
        return;
    m_reader.append(bytes);
    if (m_readerArmed && m_reader.hasLine() && !Timer18.isActive())
        Timer18.start(0);
}

void Conversation::armReader()
{
    m_readerArmed = true;
    Timer18.start(m_reader.hasLine() ? 0 : 1);
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
        if (!line)
            return;
        m_state.RxText = *line;
        if (m_state.RxText.startsWith(QLatin1Char('M')))
            break;
        m_state.RxText.clear();
    }
    Timer14.stop();
    sendFrames({Wire::dBurst()}, [this] { identify(); });
}

void Conversation::identify()
{
    m_link.discardInput();
    m_reader.clear();
    const auto announce = Wire::parseAnnounce(m_state.RxText);
    const int typeDigit = announce ? announce->typeDigit : -1;
    if (ModuleTypes::isKnown(m_state.ModuleType)) {
        if (typeDigit != m_state.ModuleType) {
            m_state.PendingCommand = T0006;
            Timer23.start(40);
            setProgress(false, m_progressValue, m_progressMaximum);
            m_state.RxText.clear();
            return;
        }
    } else {
        if (!ModuleTypes::isKnown(typeDigit)) {
            const QString line = m_state.RxText;
            m_state.RxText.clear();
            finishWithProblem(Problem::UnsupportedModule, line);
            return;
        }
        m_state.MasterFlag = announce->masterFlag;
        m_state.ModuleType = typeDigit;
    }
    if (m_state.PendingCommand == T3500) {
        startDiagnosticTest();
        return;
    }
    Q_EMIT pageRequested(m_state.ModuleType);
    beginTransfer();
    m_state.RxText.clear();
}

void Conversation::beginTransfer()
{
    const ModuleTypeInfo *info = ModuleTypes::info(m_state.ModuleType);
    setProgress(true, 0, info->progressMaximum);
    if (m_state.TransferMode == 0) {
        m_readCopy = *m_state.currentImage();
        Q_EMIT statusChanged(Status::Loading);
        Timer17.start(50);
    } else {
        Q_EMIT statusChanged(Status::Sending);
        Timer19.start(50);
    }
}

void Conversation::startDiagnosticTest()
{
    m_state.RxText.clear();
    Timer17.start(50);
    switch (m_state.DiagnosticMode) {
    case 1:
        setProgress(true, 0, 10);
        Q_EMIT statusChanged(Status::ReadingLineStatus);
        break;
    case 2:
        setProgress(false, m_progressValue, m_progressMaximum);
        Q_EMIT statusChanged(Status::ReadingButtons);
        break;
    case 3:
        setProgress(false, m_progressValue, m_progressMaximum);
        Q_EMIT statusChanged(Status::TestingOutputs);
        break;
    }
    Q_EMIT diagnosticsStarting(m_state.DiagnosticMode);
}

// Command-frame sender: sends the pending command, then waits for the replies.
void Conversation::Timer17_Timer()
{
    const auto then = [this](const QString &command) {
        if (command == T0006) {
            setRunning(false);
            Q_EMIT endFrameSent();
        }
        // Stopped while the command was on its way: no reader for it.
        if (command != m_state.PendingCommand)
            return;
        armReader();
    };
    if (m_state.PendingCommand == T0006)
        sendOwed(1, then);
    else
        sendCommand(1, then);
}

void Conversation::Timer18_Timer()
{
    if (!m_readerArmed)
        return;
    const auto line = m_reader.takeLine();
    if (!line)
        return; // stays armed: the next characters that arrive bring the line
    m_readerArmed = false;
    m_state.RxText = *line;
    dispatch();
}

void Conversation::dispatch()
{
    switch (decideReply(m_state.RxText, m_state.PendingCommand, m_state.DiagnosticMode)) {
    case ReplyRule::Ignore:
        m_state.RxText.clear();
        break;
    case ReplyRule::OutputTestReady:
        // From now on nothing is read: the output buttons each send one frame.
        m_testRunning = true;
        Q_EMIT outputTestReady();
        break;
    case ReplyRule::PushButtonReport:
        Q_EMIT pushButtonReport(m_state.RxText);
        commonEnd();
        break;
    case ReplyRule::MonitorStart:
        m_state.RxText.clear();
        m_state.PendingCommand = T8019;
        m_testRunning = true;
        Timer17.start(40);
        Q_EMIT monitorStarted();
        break;
    case ReplyRule::LineStatusReport: {
        stepProgress();
        const bool last = m_progressValue >= 10;
        Q_EMIT lineStatus(Wire::lineStatusValue(m_state.RxText), last);
        if (last) {
            m_state.PendingCommand = T0006;
            Timer17.start(1000);
            m_state.ReadComplete = 1;
            setProgress(false, m_progressValue, m_progressMaximum);
            Q_EMIT statusChanged(Status::EditMode);
        }
        commonEnd();
        break;
    }
    case ReplyRule::LineStatusStart:
        m_state.RxText.clear();
        m_state.PendingCommand = T9019;
        Timer17.start(40);
        break;
    case ReplyRule::DataLine:
        // Only a read stores data lines; anything else the module sends is passed over.
        if (m_state.PendingCommand == T3600 && m_readCopy)
            dataLine();
        commonEnd();
        break;
    }
}

void Conversation::commonEnd()
{
    m_state.RxText.clear();
    if (m_state.ReadComplete == 1)
        return;
    armReader();
}

void Conversation::dataLine()
{
    stepProgress();
    const auto data = Wire::parseDataLine(m_state.RxText);
    // A slot field that is no number, or a slot outside the image, is not stored.
    if (!data || !m_readCopy->contains(data->slot))
        return;
    m_readCopy->set(data->slot, data->value);
    if (data->slot == m_readCopy->lastSlot())
        finishRead();
}

void Conversation::finishRead()
{
    *m_state.currentImage() = *m_readCopy;
    m_readCopy.reset();
    m_state.ReadComplete = 1;
    setRunning(false);
    setProgress(false, m_progressValue, m_progressMaximum);
    Q_EMIT statusChanged(Status::EditMode);
    Q_EMIT readFinished();
}

// ---- sending --------------------------------------------------------------------------------

void Conversation::Timer19_Timer()
{
    m_writing = true;
    sendCommand(1, [this](const QString &) {
        m_state.SendSlot = 0;
        m_pcDelayBeforeSend = m_state.PcDelay;
        // Half the pause of the command frames (a setting beyond the longest pause counts as
        // the longest).
        m_state.PcDelay = pauseMicroseconds(m_state.PcDelay) / 2;
        QTimer &writer = m_state.ModuleType == 1 ? Timer21 : m_state.ModuleType == 2 ? Timer24 : Timer20;
        m_slotSchedule.start();
        writer.start(SlotInterval);
    });
}

// One slot frame per tick, on a fixed schedule: slot n is due (n + 1) intervals after "T3700"
// went out, or at once when the frames before it took longer than that.
void Conversation::slotWriterTick(QTimer &timer)
{
    const ModuleImage *image = m_state.currentImage();
    if (!image)
        return;
    stepProgress();
    const int slot = m_state.SendSlot;
    sendFrames({Wire::slotFrame(slot, image->value(slot))}, [this, &timer, slot] {
        const ModuleImage *image = m_state.currentImage();
        if (!image || slot >= image->lastSlot()) {
            setProgress(false, m_progressValue, m_progressMaximum);
            restorePcDelay();
            m_writing = false;
            setRunning(false);
            Q_EMIT statusChanged(Status::Ready);
            Q_EMIT sendFinished();
            return;
        }
        m_state.SendSlot = slot + 1;
        const qint64 dueNs = qint64(slot + 2) * SlotInterval * 1000000;
        const qint64 waitNs = dueNs - m_slotSchedule.nsecsElapsed();
        timer.start(static_cast<int>(qMax<qint64>(0, (waitNs + 500000) / 1000000)));
    });
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
        if (command == T0006) {
            setRunning(false);
            Q_EMIT wrongModule();
        }
    };
    // The end frame of a wrong-module end is owed; an output command is not.
    if (m_state.PendingCommand == T0006)
        sendOwed(1, then);
    else
        sendCommand(1, then);
}
