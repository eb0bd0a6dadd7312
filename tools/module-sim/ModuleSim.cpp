#include "tools/module-sim/ModuleSim.h"

#include <algorithm>

namespace Sim {

namespace {

QByteArray digits3(int n)
{
    return QByteArray::number(1000 + n).right(3);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Lines slipped in among the data lines, before the data line of the given index.
struct Insert
{
    int before;
    const char *line;
};
constexpr Insert kGarbage[] = {{3, "xx\r"}, {50, "RDabc012\r"}, {120, "??\r"}};
constexpr Insert kBadSlots[] = {{5, "RD400123\r"}, {60, "RDx1y123\r"}};

} // namespace

bool Config::has(FaultKind kind) const
{
    return std::any_of(faults.begin(), faults.end(), [kind](const Fault &f) { return f.kind == kind; });
}

int Config::faultCount(FaultKind kind) const
{
    for (const Fault &f : faults)
        if (f.kind == kind) return f.count;
    return 0;
}

QList<QByteArray> defaultStatus()
{
    QList<QByteArray> list;
    for (int i = 0; i < 10; ++i)
        list << "0" + QByteArray::number(412 + i);
    return list;
}

std::vector<int> defaultMemory(int type, bool master, int version)
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    if (!info) return {};
    std::vector<int> memory(static_cast<size_t>(info->slotCount));
    for (int s = 0; s < info->slotCount; ++s)
        memory[static_cast<size_t>(s)] = (s * 7) % 1000;
    memory[ModuleTypes::MasterSlot] = master ? 1 : 0;
    if (version >= 0 && version <= 999) memory[static_cast<size_t>(info->versionSlot)] = version;
    return memory;
}

QByteArray ModuleSim::Run::gaps() const
{
    QByteArray out;
    for (size_t i = 1; i < times.size(); ++i) {
        if (i > 1) out += ',';
        out += QByteArray::number(times[i] - times[i - 1]);
    }
    return out;
}

ModuleSim::ModuleSim(const Config &config, std::vector<int> memory)
    : m_config(config), m_memory(static_cast<int>(memory.size()))
{
    for (int s = 0; s < m_memory.size(); ++s)
        m_memory.set(s, memory[static_cast<size_t>(s)]);
    if (m_config.status.isEmpty()) m_config.status = defaultStatus();
}

QByteArray ModuleSim::announceLine() const
{
    const char master = m_memory.value(ModuleTypes::MasterSlot) == 1 ? '1' : '0';
    const char type = m_config.has(FaultKind::WrongDigit) ? '7' : char('0' + m_config.type);
    return QByteArray("M") + master + type + m_config.version + '\r';
}

void ModuleSim::log(qint64 time, const QByteArray &text)
{
    if (logSink) logSink(time, text);
}

void ModuleSim::queue(const QByteArray &bytes, qint64 now, bool droppable)
{
    if (m_config.has(FaultKind::Silent)) return;
    if (m_txBytes + bytes.size() > MaxTxBytes) {
        if (!m_txFull) log(now, "TX dropped queue full");
        m_txFull = true;
        return;
    }
    m_txFull = false;
    m_txBytes += bytes.size();
    m_tx.push_back(TxItem{bytes, droppable, false, 0});
}

void ModuleSim::queueHangup()
{
    m_tx.push_back(TxItem{QByteArray(), false, true, 0});
}

QByteArray ModuleSim::takeTx(bool *hangup)
{
    QByteArray out;
    bool hung = false;
    for (const TxItem &item : m_tx) {
        if (item.hangup) {
            hung = true;
            break;
        }
        out += item.bytes.mid(item.sent);
    }
    m_tx.clear();
    m_txBytes = 0;
    if (hangup) *hangup = hung;
    return out;
}

void ModuleSim::start(qint64 now)
{
    enter(State::Announcing, now);
}

void ModuleSim::announce(qint64 now)
{
    if (m_config.has(FaultKind::Silent)) return;
    queue(announceLine(), now, true);
    log(now, "TX announce");
}

void ModuleSim::setConfig(const Config &config)
{
    const int type = m_config.type;
    m_config = config;
    m_config.type = type;
    if (m_config.status.isEmpty()) m_config.status = defaultStatus();
    // A running monitor never steps past the end of its script, nor keeps reporting when the
    // periodic report was switched off.
    if (m_buttonStep >= m_config.buttons.size()) m_nextButtonStep = -1;
    if (m_config.buttonEveryMs <= 0) m_nextButtonEvery = -1;
}

bool ModuleSim::setMemory(const ModuleImage &memory)
{
    if (memory.size() != m_memory.size()) return false;
    m_memory = memory;
    return true;
}

void ModuleSim::enter(State state, qint64 now)
{
    m_state = state;
    m_nextButtonStep = -1;
    m_nextButtonEvery = -1;
    switch (state) {
    case State::Announcing:
        m_nextAnnounce = now; // as soon as what is being sent has gone
        break;
    case State::Monitoring:
        m_buttonStep = 0;
        if (!m_config.buttons.empty())
            m_nextButtonStep = now + qint64(m_config.buttons.front().delayMs) * 1000;
        if (m_config.buttonEveryMs > 0) m_nextButtonEvery = now + qint64(m_config.buttonEveryMs) * 1000;
        break;
    case State::Writing:
        m_slotsWritten = 0;
        break;
    case State::Stopping:
        m_stopFramesSeen = 1;
        break;
    case State::Listening:
        break;
    }
}

void ModuleSim::receive(const QByteArray &bytes, qint64 now, qint64 spacing)
{
    for (char c : bytes) {
        advance(now);
        receive(c, now);
        now += spacing;
    }
}

void ModuleSim::receive(char c, qint64 now)
{
    if (!m_frame.empty()) {
        if (!m_frameHasLf) {
            if (isDigit(c) && m_frame.chars.size() < 7) {
                m_frame.add(c, now);
                return;
            }
            if (c == '\n') {
                m_frame.add(c, now);
                m_frameHasLf = true;
                return;
            }
        } else if (c == '\r') {
            m_frame.add(c, now);
            finishFrame(now);
            return;
        }
        finishFrame(now); // cut short; the character is taken on its own below
    }

    if (c == 'D') {
        flushJunk();
        const bool first = !m_dRunOpen;
        m_dRun.add(c, now);
        m_dRunOpen = true;
        m_dRunLast = now;
        if (first) beginConversation(now);
        if (m_dRun.chars.size() >= MaxRunChars)
            logDRun(); // the run goes on in a new piece: a program stuck on "D" costs no memory
        return;
    }
    endDRun();
    if (c == 'T') {
        flushJunk();
        m_frame.add(c, now);
        m_frameHasLf = false;
        return;
    }
    m_junk.add(c, now);
    if (m_junk.chars.size() >= MaxJunkChars) flushJunk();
}

void ModuleSim::logDRun()
{
    if (m_dRun.empty()) return;
    log(m_dRun.times.front(), "RX D*" + QByteArray::number(m_dRun.chars.size()) + " gaps=" + m_dRun.gaps());
    m_dRun.clear();
}

void ModuleSim::endDRun()
{
    logDRun();
    m_dRunOpen = false;
}

void ModuleSim::flushJunk()
{
    if (m_junk.empty()) return;
    log(m_junk.times.front(), "RX junk=" + m_junk.chars.toHex() + " gaps=" + m_junk.gaps());
    m_junk.clear();
}

void ModuleSim::finishFrame(qint64 now)
{
    const qint64 first = m_frame.times.front();
    QByteArray text = m_frame.chars;
    const bool complete = m_frameHasLf;
    if (complete) text.truncate(text.indexOf('\n'));
    log(first, "RX " + text + " gaps=" + m_frame.gaps());
    m_frame.clear();
    m_frameHasLf = false;
    m_lastFrame = now;
    m_frameSinceBurst = true;
    if (!complete) {
        log(now, "BAD " + text);
        return;
    }
    handleFrame(text, now);
}

void ModuleSim::beginConversation(qint64 now)
{
    // A new conversation: what has not begun to go out is dropped, announcing stops.
    m_tx.erase(std::remove_if(m_tx.begin(), m_tx.end(), [](const TxItem &i) { return i.sent == 0; }),
               m_tx.end());
    m_txBytes = 0;
    for (const TxItem &item : m_tx)
        m_txBytes += item.bytes.size();
    if (m_state == State::Writing)
        log(now, "WRITE aborted " + QByteArray::number(m_slotsWritten) + " of " +
                     QByteArray::number(m_memory.size()) + " slots");
    m_lastFrame = now;
    m_frameSinceBurst = false;
    enter(State::Listening, now);
}

void ModuleSim::handleFrame(const QByteArray &text, qint64 now)
{
    if (m_state == State::Announcing) {
        log(now, "IGNORED " + text + " announcing");
        return;
    }
    if (m_config.has(FaultKind::Silent) || m_config.has(FaultKind::NoReply)) {
        log(now, "IGNORED " + text + (m_config.has(FaultKind::Silent) ? " silent" : " no-reply"));
        return;
    }
    if (text.size() == 7)
        handleSlotFrame(text, now);
    else if (text.size() == 5)
        handleCommand(text.mid(1).toInt(), text, now);
    else
        log(now, "BAD " + text);
}

void ModuleSim::handleSlotFrame(const QByteArray &text, qint64 now)
{
    if (m_state != State::Writing) {
        log(now, "IGNORED " + text + " not-writing");
        return;
    }
    const int slot = text.mid(1, 3).toInt();
    const int value = text.mid(4, 3).toInt();
    if (!m_memory.contains(slot)) {
        log(now, "BAD " + text + " slot outside the memory");
        return;
    }
    m_memory.set(slot, value);
    ++m_slotsWritten;
    if (slot == m_memory.lastSlot()) {
        log(now, "WRITE " + QByteArray::number(m_slotsWritten) + " slots");
        if (m_config.has(FaultKind::ChangeAfterWrite)) {
            const int changed = m_config.faultCount(FaultKind::ChangeAfterWrite);
            if (m_memory.contains(changed)) {
                m_memory.set(changed, (m_memory.value(changed) + 1) % 1000);
                log(now, "FAULT change-after-write slot " + QByteArray::number(changed) + " now " +
                             QByteArray::number(m_memory.value(changed)));
            }
        }
        if (writeCompleted) writeCompleted();
        enter(State::Announcing, now);
    }
}

void ModuleSim::handleCommand(int command, const QByteArray &text, qint64 now)
{
    const bool isStop = command == 8219 || command == 7219;
    if (m_state == State::Stopping) {
        if (isStop) {
            if (++m_stopFramesSeen >= StopFrames) enter(State::Announcing, now);
            return;
        }
        enter(State::Listening, now);
    }
    if (m_state == State::Writing) {
        log(now, "WRITE aborted " + QByteArray::number(m_slotsWritten) + " of " +
                     QByteArray::number(m_memory.size()) + " slots");
        enter(State::Listening, now);
    }

    if (isStop) {
        log(now, "STOP");
        enter(State::Stopping, now);
        return;
    }
    if (command >= 7000 && command <= 7011) {
        if (m_outputs.size() >= MaxOutputs) m_outputs.removeFirst();
        m_outputs << command - 7000 + 1;
        log(now, "OUTPUT " + QByteArray::number(command - 7000 + 1));
        return;
    }
    switch (command) {
    case 3600: {
        sendData(now);
        const int stopAfter = m_config.faultCount(FaultKind::StopAfter);
        const bool cut = m_config.has(FaultKind::StopAfter) && stopAfter < m_memory.size();
        // A module that stopped short stays quiet until the next D burst.
        enter(cut ? State::Listening : State::Announcing, now);
        break;
    }
    case 3700:
        enter(State::Writing, now);
        break;
    case 3500: {
        const QByteArray line = announceLine();
        queue(line, now);
        log(now, "TX reply " + line.chopped(1));
        break;
    }
    case 9019: {
        // Bounded by the queue: lines beyond what may wait to be sent are not even made.
        int sent = 0;
        for (int i = 0; i < m_config.statusCount; ++i) {
            queue('S' + m_config.status[i % m_config.status.size()] + '\r', now);
            if (m_txFull) break;
            ++sent;
        }
        log(now, "TX status " + QByteArray::number(sent) + " lines");
        break;
    }
    case 8019:
        log(now, "MONITOR");
        enter(State::Monitoring, now);
        break;
    case 6:
        log(now, "END");
        enter(State::Announcing, now);
        break;
    default:
        log(now, "UNKNOWN " + text);
        break;
    }
}

void ModuleSim::sendData(qint64 now)
{
    const int count = m_memory.size();
    const bool garbage = m_config.has(FaultKind::Garbage);
    const bool badSlots = m_config.has(FaultKind::BadSlot);
    const int stopAfter =
        m_config.has(FaultKind::StopAfter) ? m_config.faultCount(FaultKind::StopAfter) : count;
    const int hangupAfter =
        m_config.has(FaultKind::HangupAfter) ? m_config.faultCount(FaultKind::HangupAfter) : -1;
    const int lines = std::min({count, stopAfter, hangupAfter < 0 ? count : hangupAfter});
    int extra = 0;
    const int earlyEnd = m_config.has(FaultKind::EarlyEnd) ? m_config.faultCount(FaultKind::EarlyEnd) : -1;
    const int mLine = m_config.has(FaultKind::MLine) ? m_config.faultCount(FaultKind::MLine) : -1;
    const auto dataLine = [&](int slot) -> QByteArray {
        return (slot == mLine ? QByteArray("M1") : QByteArray("RD")) + digits3(slot) +
               digits3(m_memory.value(slot)) + '\r';
    };
    for (int slot = 0; slot < lines; ++slot) {
        if (slot == earlyEnd && slot < count - 1) {
            queue(dataLine(count - 1), now);
            log(now, "FAULT early-end after " + QByteArray::number(slot) + " lines");
        }
        if (slot == count - 1 && earlyEnd >= 0 && earlyEnd < count - 1) break; // sent already
        if (garbage)
            for (const Insert &g : kGarbage)
                if (g.before == slot) {
                    queue(g.line, now);
                    ++extra;
                }
        if (badSlots)
            for (const Insert &b : kBadSlots)
                if (b.before == slot) {
                    queue(b.line, now);
                    ++extra;
                }
        if (slot == count / 2 && !m_config.midReadLines.isEmpty()) {
            queue(m_config.midReadLines, now);
            log(now, "TX mid-read lines " + QByteArray::number(m_config.midReadLines.count('\r')));
        }
        queue(dataLine(slot), now);
    }
    log(now, "TX data " + QByteArray::number(lines) + " lines");
    if (extra > 0)
        log(now, "FAULT " + QByteArray(garbage ? "garbage" : "") + (garbage && badSlots ? "," : "") +
                     (badSlots ? "bad-slot" : "") + " " + QByteArray::number(extra) + " lines");
    if (lines < count && stopAfter == lines) log(now, "FAULT stop-after " + QByteArray::number(lines));
    if (hangupAfter >= 0) {
        queueHangup();
        log(now, "FAULT hangup-after " + QByteArray::number(lines));
    }
}

void ModuleSim::sendButton(int index, qint64 now)
{
    const QByteArray line = 'P' + digits3(index).right(2);
    queue(line + '\r', now);
    log(now, "TX button " + line);
}

void ModuleSim::advance(qint64 now)
{
    if (m_dRunOpen && now - m_dRunLast >= QuietEndUs) endDRun();
    if (!m_junk.empty() && now - m_junk.times.back() >= QuietEndUs) flushJunk();
    if (!m_frame.empty() && now - m_frame.times.back() >= QuietEndUs) finishFrame(now);

    switch (m_state) {
    case State::Announcing:
        if (m_config.announceIntervalMs > 0 && !m_config.has(FaultKind::Silent) && m_tx.empty() &&
            now >= m_nextAnnounce) {
            queue(announceLine(), now, true);
            log(now, "TX announce");
            m_nextAnnounce += qint64(m_config.announceIntervalMs) * 1000;
            if (m_nextAnnounce <= now) m_nextAnnounce = now + qint64(m_config.announceIntervalMs) * 1000;
        }
        break;
    case State::Listening:
        if (m_config.has(FaultKind::NoReply) && now - m_lastFrame >= NoReplyQuietUs) {
            log(now, "TIMEOUT no-reply");
            enter(State::Announcing, now);
        } else if (!m_frameSinceBurst && now - m_lastFrame >= ListenQuietUs) {
            // The program gave up right after the D burst: be found again. Once a conversation
            // has begun (a diagnostic session may idle for minutes) the module waits.
            log(now, "TIMEOUT listen");
            enter(State::Announcing, now);
        }
        break;
    case State::Writing:
        if (now - m_lastFrame >= WriteQuietUs) {
            log(now, "TIMEOUT write " + QByteArray::number(m_slotsWritten) + " of " +
                         QByteArray::number(m_memory.size()) + " slots");
            enter(State::Announcing, now);
        }
        break;
    case State::Monitoring:
        if (m_nextButtonStep >= 0 && now >= m_nextButtonStep) {
            sendButton(m_config.buttons[m_buttonStep].index, now);
            ++m_buttonStep;
            m_nextButtonStep =
                m_buttonStep < m_config.buttons.size()
                    ? std::max(now, m_nextButtonStep + qint64(m_config.buttons[m_buttonStep].delayMs) * 1000)
                    : -1;
        }
        if (m_nextButtonEvery >= 0 && now >= m_nextButtonEvery) {
            sendButton(m_config.buttonEveryIndex, now);
            m_nextButtonEvery += qint64(m_config.buttonEveryMs) * 1000;
            if (m_nextButtonEvery <= now) // late: no burst of reports to catch up
                m_nextButtonEvery = now + qint64(m_config.buttonEveryMs) * 1000;
        }
        break;
    case State::Stopping:
        if (now - m_lastFrame >= StopQuietUs) enter(State::Announcing, now);
        break;
    }
}

qint64 ModuleSim::nextDeadline() const
{
    qint64 next = -1;
    auto consider = [&next](qint64 t) {
        if (t >= 0 && (next < 0 || t < next)) next = t;
    };
    if (m_dRunOpen) consider(m_dRunLast + QuietEndUs);
    if (!m_junk.empty()) consider(m_junk.times.back() + QuietEndUs);
    if (!m_frame.empty()) consider(m_frame.times.back() + QuietEndUs);
    switch (m_state) {
    case State::Announcing:
        if (m_config.announceIntervalMs > 0 && !m_config.has(FaultKind::Silent) && m_tx.empty())
            consider(m_nextAnnounce);
        break;
    case State::Listening:
        if (m_config.has(FaultKind::NoReply)) consider(m_lastFrame + NoReplyQuietUs);
        if (!m_frameSinceBurst) consider(m_lastFrame + ListenQuietUs);
        break;
    case State::Writing:
        consider(m_lastFrame + WriteQuietUs);
        break;
    case State::Monitoring:
        consider(m_nextButtonStep);
        consider(m_nextButtonEvery);
        break;
    case State::Stopping:
        consider(m_lastFrame + StopQuietUs);
        break;
    }
    return next;
}

} // namespace Sim
