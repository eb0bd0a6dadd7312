#pragma once

#include "diagnostics/DiagnosticsRules.h"
#include "protocol/Vocabulary.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTime>
#include <array>
#include <functional>

struct ModuleNames;
struct ModuleState;
class Conversation;

// The diagnostics frame (Frame10 of the main window): three tests on the module in hand, each
// on a tab of its own. The line-status scan reads the input line ten times, the push-button
// monitor lists the buttons pressed on the bus, the output test switches single outputs.
class DiagnosticsFrame : public QGroupBox
{
    Q_OBJECT
public:
    DiagnosticsFrame(ModuleState &state, Conversation &conversation, QWidget *parent = nullptr);

    // Rebuilds the frame for the current module type and shows it, every test ready to start.
    void open();

    // The clock the push-button monitor stamps presses with (tests replace it).
    static std::function<QTime()> clock;

    // Runs before a test opens the line (the window may offer to bind a serial adapter then).
    void setBeforeStart(std::function<void()> hook) { m_beforeStart = std::move(hook); }

    // The names to show with push buttons and outputs: those of the module in hand when it is
    // known to be the module on the line (none otherwise, nor without a source).
    void setNamesSource(std::function<const ModuleNames *()> source) { m_namesSource = std::move(source); }

private:
    std::function<const ModuleNames *()> m_namesSource;
    const ModuleNames *names() const { return m_namesSource ? m_namesSource() : nullptr; }
    std::function<void()> m_beforeStart;
    void setCaptions();
    void applyOutputLayout();
    void resetHistory(QComboBox *history);
    void keepHeading(QComboBox *history, const QString &text);
    void showMonitorIdle();
    void holdConversation(DiagnosticTest test);
    void backToStart();
    void updateControls();

    void startTest(DiagnosticTest test);
    void Command18_Click();
    void Command20_Click();
    void outputClicked(int button);

    void onLineStatus(const QString &value, bool last);
    void onMonitorStarted();
    void onPushButtonReport(const QString &line);
    void onOutputTestReady();
    void onStopFramesSent(const QString &command);

    ModuleState &m_state;
    Conversation &m_conversation;

    // What the enabled states follow (updateControls() derives them), besides whether another
    // conversation holds the line.
    // The test of this frame that holds the conversation, None while none does.
    DiagnosticTest m_test = DiagnosticTest::None;
    // The module answered: the test runs on it, its Stop (and the output buttons) are offered.
    bool m_testRunning = false;
    // The test is being left: its stop frames are going out, and go out once.
    bool m_leaving = false;
    // The output each output button switches for the current layout (0: hidden).
    std::array<int, Diagnostics::OutputButtonCount> m_outputs{};

    QTabWidget *SSTab1;
    // Tab 0: line status.
    QLabel *Label25;
    QPushButton *Command6;
    QLabel *Label30;
    QLabel *Label24;
    QComboBox *Combo30;
    // Tab 1: push-button monitor.
    QPushButton *Command17;
    QPushButton *Command18;
    QLabel *Label32;
    QLabel *Label33;
    QLabel *Label31;
    QComboBox *Combo29;
    // Tab 2: output test.
    QPushButton *Command19;
    QPushButton *Command20;
    QLabel *Label34;
    // Command21..Command32, two rows of six.
    std::array<QPushButton *, Diagnostics::OutputButtonCount> m_outputButtons{};
};
