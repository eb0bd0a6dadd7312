#include "protocol/Conversation.h"
#include "serial/PacedWriter.h"
#include "serial/SerialLink.h"

#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <mutex>

using namespace std::chrono;

namespace {

// A clock that moves only when the line writes a character (by the time that character takes on
// the wire) or when the writer waits (to the end of its wait): the moments the writer picks are
// exact whatever the machine is doing.
class FakeClock : public WriterClock
{
public:
    Time now() const override { return Time(nanoseconds(m_ns.load())); }
    bool waitUntil(std::unique_lock<std::mutex> &, std::condition_variable &, Time deadline,
                   const std::function<bool()> &stopped) override
    {
        if (stopped()) return false;
        advanceTo(deadline.time_since_epoch().count());
        return true;
    }
    void advance(qint64 ns) { m_ns += ns; }

private:
    void advanceTo(qint64 ns)
    {
        qint64 current = m_ns.load();
        while (current < ns && !m_ns.compare_exchange_weak(current, ns)) {
        }
    }
    std::atomic<qint64> m_ns{1'000'000'000};
};

// A line on which each character takes `charNs` of the fake clock to leave the port.
class TimedLink : public SerialLink
{
public:
    TimedLink(FakeClock &clock, qint64 charNs) : m_clock(clock), m_charNs(charNs) {}
    void setPortName(const QString &) override {}
    QString portName() const override { return QString(); }
    bool open() override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    OpenError lastOpenError() const override { return OpenError::None; }
    QString lastErrorText() const override { return QString(); }
    QByteArray readAll() override { return QByteArray(); }
    void discardInput() override {}
    bool writeAndDrain(char c) override
    {
        std::lock_guard lock(m_mutex);
        m_starts.append(m_clock.now().time_since_epoch().count());
        m_chars.append(c);
        m_clock.advance(m_charNs);
        return true;
    }
    // When each character started to go out, in nanoseconds of the fake clock.
    QList<qint64> starts() const
    {
        std::lock_guard lock(m_mutex);
        return m_starts;
    }
    QByteArray chars() const
    {
        std::lock_guard lock(m_mutex);
        return m_chars;
    }

private:
    FakeClock &m_clock;
    qint64 m_charNs;
    mutable std::mutex m_mutex;
    QList<qint64> m_starts;
    QByteArray m_chars;
};

constexpr qint64 CharAt9600 = 1'041'667; // ten bits at 9600 baud

} // namespace

// The rhythm of the slot frames: a frame starts one slot-writer tick plus its eight pauses after
// the start of the frame before it, and never before that frame's carriage return has left the
// port.
class TestPacedWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void slotFrameRhythm_data()
    {
        QTest::addColumn<int>("pcDelay");
        QTest::addColumn<qint64>("charNs");
        QTest::addColumn<qint64>("period");
        // 10 ms + 8 x 150 us; the frame itself takes 10.575 ms, so the module gets idle time.
        QTest::newRow("shipped pause, 9600 baud") << 300 << CharAt9600 << qint64(11'200'000);
        // No pause: the tick alone.
        QTest::newRow("no pause, 9600 baud") << 0 << CharAt9600 << qint64(10'000'000);
        // A line slower than the rhythm: each frame starts as the one before it has left.
        QTest::newRow("slow line") << 300 << qint64(2'000'000) << qint64(9 * 2'000'000 + 8 * 150'000);
    }
    void slotFrameRhythm()
    {
        QFETCH(int, pcDelay);
        QFETCH(qint64, charNs);
        QFETCH(qint64, period);
        FakeClock clock;
        TimedLink link(clock, charNs);
        PacedWriter writer(link, nullptr, &clock);
        QSignalSpy sent(&writer, &PacedWriter::sent);
        const int pause = Conversation::slotPauseMicroseconds(pcDelay);
        const nanoseconds spacing = Conversation::slotSpacing(pcDelay);
        QCOMPARE(spacing.count(), 10'000'000 + 8 * 1000 * qint64(pause));
        constexpr int Frames = 6;
        // "T3700" first, as a send writes it: no rhythm of its own.
        writer.send({"T3700\n\r"}, pause * 2);
        for (int slot = 0; slot < Frames; ++slot)
            writer.send({QByteArray("T") + QByteArray::number(1000 + slot).right(3) + "042\n\r"}, pause,
                        spacing);
        QTRY_COMPARE(sent.size(), Frames + 1);
        QCOMPARE(writer.framesWritten(), quint64(Frames + 1));

        const QList<qint64> starts = link.starts();
        QCOMPARE(starts.size(), 7 + 9 * Frames);
        QCOMPARE(link.chars().mid(7, 9), QByteArray("T000042\n\r"));
        for (int k = 1; k < Frames; ++k) {
            const qint64 start = starts[7 + 9 * k];
            const qint64 previousStart = starts[7 + 9 * (k - 1)];
            const qint64 previousEnd = starts[7 + 9 * (k - 1) + 8] + charNs; // its carriage return has left
            QCOMPARE(start - previousStart, period);
            QVERIFY(start >= previousEnd);
        }
        // Within a frame: a pause after each character but the last.
        for (int i = 1; i < 9; ++i)
            QCOMPARE(starts[7 + i] - starts[7 + i - 1], charNs + 1000 * qint64(pause));
    }

    // The rule itself: the later of the two moments.
    void nextStart()
    {
        const WriterClock::Time t0;
        QCOMPARE(FrameRhythm::nextStart(t0, t0 + 10'575us, 11'200us), t0 + 11'200us);
        QCOMPARE(FrameRhythm::nextStart(t0, t0 + 19'200us, 11'200us), t0 + 19'200us);
    }
};

QTEST_MAIN(TestPacedWriter)
#include "tst_pacedwriter.moc"
