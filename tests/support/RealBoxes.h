#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>

// The program's message boxes shown for real (the message-box test hooks off) and answered as a
// person answers them: Esc, the box's close button, or a click on a caption. Each box that comes
// on screen while the answers live gets the next answer; a box beyond them, or one still open
// after the watchdog's time, is closed with Esc and counted as unexpected, so that a test never
// hangs on a box.
class RealBoxes : public QObject
{
public:
    using Answer = std::function<void(QMessageBox *)>;

    static Answer escape()
    {
        return [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); };
    }
    static Answer closeButton()
    {
        return [](QMessageBox *box) { box->close(); };
    }
    static Answer click(const QString &caption)
    {
        return [caption](QMessageBox *box) {
            for (QAbstractButton *b : box->buttons())
                if (b->text().remove(QLatin1Char('&')) == caption) {
                    b->click();
                    return;
                }
            QTest::keyClick(box, Qt::Key_Escape); // no such button: counted by the caller's checks
        };
    }
    // Leaves the box on screen: the program is expected to close it by itself.
    static Answer leaveOpen()
    {
        return [](QMessageBox *) {};
    }

    explicit RealBoxes(QList<Answer> answers, int watchdogMs = 15000)
        : m_answers(std::move(answers)), m_watchdogMs(watchdogMs)
    {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, this, [this] { poll(); });
        m_poll.start();
    }

    // Boxes that came on screen, and those that found no answer (or outlived the watchdog).
    int shown() const { return m_shown; }
    int unexpected() const { return m_unexpected; }
    // The text of each box, in the order shown.
    const QStringList &texts() const { return m_texts; }
    // The last box that came on screen is gone again.
    bool lastClosed() const { return m_current.isNull() || !m_current->isVisible(); }

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        if (box != m_current) {
            m_current = box;
            m_since.start();
            ++m_shown;
            m_texts << box->text();
            if (m_answers.isEmpty()) {
                ++m_unexpected;
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            const Answer answer = m_answers.takeFirst();
            answer(box);
            return;
        }
        if (m_since.elapsed() > m_watchdogMs) {
            ++m_unexpected;
            m_since.start();
            QTest::keyClick(box, Qt::Key_Escape);
        }
    }

    QList<Answer> m_answers;
    int m_watchdogMs;
    QTimer m_poll;
    QPointer<QMessageBox> m_current;
    QElapsedTimer m_since;
    int m_shown = 0;
    int m_unexpected = 0;
    QStringList m_texts;
};
