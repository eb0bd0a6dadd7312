#include "diagnostics/DiagnosticsFrame.h"
#include "common/Named.h"

#include "common/Controls.h"
#include "common/WidgetTexts.h"
#include "editors/SlotWords.h"
#include "protocol/Conversation.h"
#include "protocol/ModuleNames.h"
#include "protocol/ModuleState.h"

#include <QGridLayout>
#include <QVBoxLayout>
#include <initializer_list>
#include <utility>

using namespace Qt::StringLiterals;

namespace {
const QColor MonitorIdle(192, 192, 192);
const QColor MonitorRunning(192, 255, 255);

QLabel *helpLabel(const char *name, QWidget *parent)
{
    QLabel *l = Controls::label(name, parent);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

// A history list: entries are added by the program only; the field always shows its heading.
QComboBox *historyList(const char *name, QWidget *parent)
{
    QComboBox *c = named(new QComboBox(parent), name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    c->setEditText(QString::fromLatin1(name));
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

void setBackground(QLabel *l, const QColor &color)
{
    QPalette p = l->palette();
    p.setColor(QPalette::Window, color);
    l->setPalette(p);
    l->setAutoFillBackground(true);
}
} // namespace

std::function<QTime()> DiagnosticsFrame::clock = [] { return QTime::currentTime(); };

DiagnosticsFrame::DiagnosticsFrame(ModuleState &state, Conversation &conversation, QWidget *parent)
    : QGroupBox(QStringLiteral("Frame10"), parent), m_state(state), m_conversation(conversation)
{
    setObjectName(QStringLiteral("Frame10"));
    SSTab1 = named(new QTabWidget(this), "SSTab1");

    // Tab 0: line status.
    auto *lineTab = named(new QWidget(SSTab1), "SSTab1Tab0");
    Label25 = Controls::label("Label25", lineTab);
    Label24 = named(new QLabel(lineTab), "Label24");
    Label24->setTextFormat(Qt::PlainText);
    Label24->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label24->setMinimumWidth(80);
    Label24->setAlignment(Qt::AlignCenter);
    Command6 = Controls::button("Command6", QStringLiteral("Start"), lineTab);
    Label30 = helpLabel("Label30", lineTab);
    Combo30 = historyList("Combo30", lineTab);
    auto *lineGrid = new QGridLayout(lineTab);
    lineGrid->addWidget(Label25, 0, 0);
    lineGrid->addWidget(Label24, 0, 1);
    lineGrid->addWidget(Command6, 0, 2);
    lineGrid->addWidget(Label30, 1, 0, 1, 3);
    lineGrid->addWidget(Combo30, 2, 0, 1, 3);
    lineGrid->setRowStretch(3, 1);
    lineGrid->setColumnStretch(1, 1);

    // Tab 1: push-button monitor.
    auto *buttonTab = named(new QWidget(SSTab1), "SSTab1Tab1");
    Command17 = Controls::button("Command17", QStringLiteral("Start"), buttonTab);
    Command18 = Controls::button("Command18", QStringLiteral("Stop"), buttonTab);
    Label32 = Controls::label("Label32", buttonTab);
    Label33 = named(new QLabel(buttonTab), "Label33");
    Label33->setTextFormat(Qt::PlainText);
    QFont big = Label33->font();
    big.setPointSize(28);
    big.setBold(true);
    Label33->setFont(big);
    Label33->setAlignment(Qt::AlignCenter);
    Label33->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label33->setMinimumSize(90, 60);
    Label31 = helpLabel("Label31", buttonTab);
    Combo29 = historyList("Combo29", buttonTab);
    auto *buttonGrid = new QGridLayout(buttonTab);
    buttonGrid->addWidget(Command17, 0, 0);
    buttonGrid->addWidget(Command18, 0, 1);
    buttonGrid->addWidget(Label32, 1, 0);
    buttonGrid->addWidget(Label33, 1, 1);
    buttonGrid->addWidget(Label31, 2, 0, 1, 3);
    buttonGrid->addWidget(Combo29, 3, 0, 1, 3);
    buttonGrid->setRowStretch(4, 1);
    buttonGrid->setColumnStretch(2, 1);

    // Tab 2: output test; the output buttons in two rows of six.
    auto *outputTab = named(new QWidget(SSTab1), "SSTab1Tab2");
    Command19 = Controls::button("Command19", QStringLiteral("Start"), outputTab);
    Command20 = Controls::button("Command20", QStringLiteral("Stop"), outputTab);
    Label34 = helpLabel("Label34", outputTab);
    auto *outputGrid = new QGridLayout(outputTab);
    outputGrid->addWidget(Command19, 0, 0, 1, 2);
    outputGrid->addWidget(Command20, 0, 2, 1, 2);
    outputGrid->addWidget(Label34, 1, 0, 1, 6);
    for (int i = 0; i < Diagnostics::OutputButtonCount; ++i) {
        const QByteArray name = QByteArray("Command") + QByteArray::number(21 + i);
        QPushButton *b = Controls::button(name.constData(), QString::number(i + 1), outputTab);
        m_outputButtons[static_cast<size_t>(i)] = b;
        // A hidden button keeps its place, so the rows do not shift between module types.
        QSizePolicy keep = b->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        b->setSizePolicy(keep);
        outputGrid->addWidget(b, 2 + i / 6, i % 6);
        connect(b, &QPushButton::clicked, this, [this, i] { outputClicked(i); });
    }
    outputGrid->setRowStretch(4, 1);

    SSTab1->addTab(lineTab, QStringLiteral("Lijnstatus"));
    SSTab1->addTab(buttonTab, QStringLiteral("Drukknoppen"));
    SSTab1->addTab(outputTab, QStringLiteral("Uitgangen"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);

    connect(Command6, &QPushButton::clicked, this, [this] { startTest(DiagnosticTest::LineStatus); });
    connect(Command17, &QPushButton::clicked, this, [this] { startTest(DiagnosticTest::PushButtons); });
    connect(Command19, &QPushButton::clicked, this, [this] { startTest(DiagnosticTest::Outputs); });
    connect(Command18, &QPushButton::clicked, this, &DiagnosticsFrame::Command18_Click);
    connect(Command20, &QPushButton::clicked, this, &DiagnosticsFrame::Command20_Click);
    for (QComboBox *history : {Combo29, Combo30})
        connect(history, &QComboBox::editTextChanged, this,
                [this, history](const QString &text) { keepHeading(history, text); });

    connect(&m_conversation, &Conversation::lineStatus, this, &DiagnosticsFrame::onLineStatus);
    connect(&m_conversation, &Conversation::monitorStarted, this, &DiagnosticsFrame::onMonitorStarted);
    connect(&m_conversation, &Conversation::pushButtonReport, this, &DiagnosticsFrame::onPushButtonReport);
    connect(&m_conversation, &Conversation::outputTestReady, this, &DiagnosticsFrame::onOutputTestReady);
    connect(&m_conversation, &Conversation::stopFramesSent, this, &DiagnosticsFrame::onStopFramesSent);
    // While a conversation that is none of these tests runs (a read or a send), no test can start.
    connect(&m_conversation, &Conversation::runningChanged, this, &DiagnosticsFrame::updateControls);
    // A way out sends the stop frames itself: the test's Stop and output buttons are not offered.
    connect(&m_conversation, &Conversation::leaving, this, [this] {
        if (m_test == DiagnosticTest::None) return; // another part's conversation
        m_leaving = true;
        updateControls();
    });
    // Ends of conversations that concern the tests' own controls: a module of another type or a
    // way out puts every test back to its start; a scan's end frame ends the scan.
    connect(&m_conversation, &Conversation::wrongModule, this, &DiagnosticsFrame::backToStart);
    connect(&m_conversation, &Conversation::abandoned, this, &DiagnosticsFrame::backToStart);
    connect(&m_conversation, &Conversation::problem, this, &DiagnosticsFrame::backToStart);
    connect(&m_conversation, &Conversation::endFrameSent, this,
            [this] { holdConversation(DiagnosticTest::None); });

    backToStart();
    hide();
}

void DiagnosticsFrame::open()
{
    setCaptions();
    show();
    SSTab1->setCurrentIndex(0);
    resetHistory(Combo29);
    resetHistory(Combo30);
    applyOutputLayout();
    backToStart();
}

void DiagnosticsFrame::setCaptions()
{
    const int lang = m_state.Language;
    Lang::setText(this, lang, QStringLiteral("Diagnose:"), QStringLiteral("Diagnostics:"));
    const auto tab = [&](int index, const QString &dutch, const QString &french) {
        SSTab1->setTabText(index, Lang::text(lang, dutch, french, SSTab1->tabText(index)));
    };
    tab(0, QStringLiteral("Lijnstatus"), QStringLiteral("Status de la ligne"));
    tab(1, QStringLiteral("Drukknoppen"), QStringLiteral("Boutons poussoirs"));
    tab(2, QStringLiteral("Uitgangen"), QStringLiteral("Sorties"));

    Lang::setText(Label25, lang, QStringLiteral("Lijnstatus:"), QStringLiteral("Status de la ligne:"));
    Lang::setText(Label32, lang, QStringLiteral("Drukknop nr.:"), QStringLiteral("Nr. bouton poussoir:"));
    Lang::setText(
        Label30, lang,
        QStringLiteral(
            "Met deze test wordt de status van de ingangslijn ingelezen. Het resultaat is afhankelijk van "
            "de gebruikte kabel en de lengte ervan. Klik op 'Start' om de scanning te starten. De "
            "scanning wordt 10 keer uitgevoerd. Deze test kan noodzakelijk zijn voor een diepgaande "
            "analyse van de ingangslijn."),
        QStringLiteral(
            "Ce test permet de lire le status de la ligne d'entrée. Le rèsultat dépend du câble utilisé "
            "et de sa longeur. Clicker sur 'Start' pour démarrer le scanning. Le scanning est exécuter 10 "
            "fois. Ce test peut être necessaire pour une analyse aprofondie de la ligne d'entrée."));
    Lang::setText(
        Label31, lang,
        QStringLiteral(
            "Klik op 'Start'. Alle detectiemodules (drukknoppen) op de lijn die worden aangeboden, worden "
            "nu ingelezen. Onderstaande lijst houdt een historiek bij van ingedrukte knoppen, plus het "
            "tijdstip van indrukken. Om deze test af te sluiten klik op 'Stop'."),
        QStringLiteral(
            "Clicker sur 'Start'. Tous les modules de détection (boutons poussoirs) sur la ligne qui sont "
            "activer, seront identifiés. La liste ci-dessous reprend l'hystorique des boutons poussoirs "
            "activés, plus le moment de l'impulsion. Afin de terminer ce test clicker sur 'Stop'."));
    Lang::setText(
        Label34, lang,
        QStringLiteral("Klik op 'Start' om in verbinding te komen met de module. Nadien kunnen de "
                       "individuele uitgangen geschakeld worden. 'Stop' beëindigd deze test."),
        QStringLiteral("Clicker sur 'Start' pour rentrer en communication avec le module. Ensuite les "
                       "sorties individuelles peuvent être activer. 'Stop' termine ce test."));

    // The line status and the push-button number are read out as the value they show (a label
    // without a name of its own is named by its text, and tells a screen reader when it
    // changes); the caption beside each tells what the value is, also while none is shown.
    Label24->setAccessibleDescription(Label25->text());
    Label33->setAccessibleDescription(Label32->text());
    // A history list goes by the heading its field shows; its tab tells which history it is.
    for (const auto &[history, tabIndex] : {std::pair{Combo30, 0}, std::pair{Combo29, 1}}) {
        history->setAccessibleName(Diagnostics::historyHeading(lang, history->objectName()));
        history->setAccessibleDescription(SSTab1->tabText(tabIndex));
    }
}

// The buttons of the outputs the module type has, each captioned with the output it switches; an
// output that has a name tells it in the button's tip and to a screen reader.
void DiagnosticsFrame::applyOutputLayout()
{
    m_outputs = Diagnostics::outputLayout(m_state.ModuleType);
    const ModuleNames *named = names();
    const SlotWords words(m_state.ModuleType, Lang::Language(m_state.Language).readable(), named);
    for (size_t i = 0; i < m_outputButtons.size(); ++i) {
        QPushButton *b = m_outputButtons[i];
        const int output = m_outputs[i];
        if (output == 0) {
            b->hide();
            continue;
        }
        b->setText(QString::number(output));
        // The caption names the button; the tab tells that it switches an output, or the output's
        // name as the tip shows it when it has one.
        const QString name = named ? ModuleNames::of(named->outputs, output) : QString();
        b->setToolTip(name.isEmpty() ? QString() : Lang::plainToolTip(words.output(output)));
        b->setAccessibleDescription(name.isEmpty() ? SSTab1->tabText(2) : words.output(output));
        b->show();
    }
}

void DiagnosticsFrame::resetHistory(QComboBox *history)
{
    history->clear();
    history->setEditText(Diagnostics::historyHeading(m_state.Language, history->objectName()));
}

// The field of a history list shows nothing but its heading: typed text and a picked entry
// give way to it at once; the entries stay.
void DiagnosticsFrame::keepHeading(QComboBox *history, const QString &text)
{
    const QString heading = Diagnostics::historyHeading(m_state.Language, history->objectName());
    if (text != heading) history->setEditText(heading);
}

void DiagnosticsFrame::showMonitorIdle()
{
    setBackground(Label33, MonitorIdle);
    Label33->clear();
}

// `test` holds the conversation from now on (None: no test does); the module has not answered it.
void DiagnosticsFrame::holdConversation(DiagnosticTest test)
{
    m_test = test;
    m_testRunning = false;
    m_leaving = false;
    updateControls();
}

// Every test ready to start, nothing running; the histories stay.
void DiagnosticsFrame::backToStart()
{
    holdConversation(DiagnosticTest::None);
    Label24->clear();
    showMonitorIdle();
}

// The enabled state of every control, from what holds the line. A test can start while nothing
// does. A running test keeps its own history in reach and locks the other tests; its Stop and
// the output buttons of the output test are offered from the module's answer until the test
// is being left.
void DiagnosticsFrame::updateControls()
{
    const bool noTest = m_test == DiagnosticTest::None;
    Controls::setEnabled({Command6, Command17, Command19}, noTest && !m_conversation.isRunning());
    Combo30->setEnabled(noTest || m_test == DiagnosticTest::LineStatus);
    Combo29->setEnabled(noTest || m_test == DiagnosticTest::PushButtons);
    const bool stoppable = m_testRunning && !m_leaving;
    Command18->setEnabled(stoppable && m_test == DiagnosticTest::PushButtons);
    const bool switching = stoppable && m_test == DiagnosticTest::Outputs;
    Command20->setEnabled(switching);
    for (size_t i = 0; i < m_outputButtons.size(); ++i)
        m_outputButtons[i]->setEnabled(switching && m_outputs[i] != 0);
}

// ---- starting and stopping ------------------------------------------------------------------

void DiagnosticsFrame::startTest(DiagnosticTest test)
{
    // Only one conversation at a time: a test cannot start while another holds the line.
    if (m_test != DiagnosticTest::None || m_conversation.isRunning()) return;
    if (m_beforeStart) m_beforeStart();
    if (test == DiagnosticTest::LineStatus) {
        Label24->clear();
        resetHistory(Combo30);
    } else if (test == DiagnosticTest::PushButtons) {
        resetHistory(Combo29);
    }
    holdConversation(test);
    // When the port cannot be opened the problem has already put the tests back to their start;
    // anything else that refuses the start must not leave them locked.
    if (!m_conversation.startDiagnostic(test) && m_test != DiagnosticTest::None) backToStart();
}

void DiagnosticsFrame::Command18_Click()
{
    showMonitorIdle();
    m_leaving = true; // the stop frames go out once
    updateControls();
    m_conversation.stopMonitor();
}

void DiagnosticsFrame::Command20_Click()
{
    m_leaving = true; // the stop frames go out once
    updateControls();
    m_conversation.stopOutputTest();
}

void DiagnosticsFrame::outputClicked(int button)
{
    const int output = m_outputs[static_cast<size_t>(button)];
    if (m_test == DiagnosticTest::Outputs && output != 0) m_conversation.switchOutput(output);
}

// ---- what the conversation reports -------------------------------------------------------------

void DiagnosticsFrame::onLineStatus(const QString &value, bool last)
{
    Label24->setText(value);
    Combo30->addItem(value);
    if (last) Label24->clear();
}

void DiagnosticsFrame::onMonitorStarted()
{
    setBackground(Label33, MonitorRunning);
    m_testRunning = true;
    updateControls();
}

void DiagnosticsFrame::onPushButtonReport(const QString &line)
{
    const QString time = Diagnostics::timeOfDay(clock ? clock() : QTime::currentTime());
    const std::optional<int> number = Diagnostics::takePushButtonReport(line, time, m_state.LastPressTime);
    if (!number) return;
    const ModuleNames *named = names();
    Combo29->addItem(Diagnostics::pushButtonEntry(
        m_state.Language, time, *number, named ? ModuleNames::of(named->pushButtons, *number) : QString()));
    Label33->setText(QString::number(*number));
}

void DiagnosticsFrame::onOutputTestReady()
{
    // The module of an image without a type has just been identified: its outputs now.
    applyOutputLayout();
    m_testRunning = true;
    updateControls();
}

// The stop frames of the monitor or the output test have gone out: the test is over.
void DiagnosticsFrame::onStopFramesSent(const QString &command)
{
    if (command == Command::MonitorStop || command == Command::OutputStop)
        holdConversation(DiagnosticTest::None);
}
