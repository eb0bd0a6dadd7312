#include "app/ModuleView.h"

#include "app/CheckFrame.h"
#include "app/NamesFrame.h"
#include "app/OverviewFrame.h"
#include "common/Named.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "docpages/DocumentationView.h"
#include "editors/DimStartFrame.h"
#include "editors/OutputFunctionsFrame.h"
#include "editors/PushButtonFrame.h"
#include "editors/SecondTimeFrame.h"
#include "protocol/Conversation.h"
#include "protocol/ModuleState.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneFrame.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>

ModuleView::ModuleView(ModuleState &state, Conversation &conversation,
                       std::function<void()> beforeDiagnostics, QWidget *parent)
    : QWidget(parent), m_state(state), m_conversation(conversation),
      m_beforeDiagnostics(std::move(beforeDiagnostics))
{
    setObjectName(QStringLiteral("ModuleView"));
    m_column = new ModuleColumn(this);
    m_work = named(new QStackedWidget(this), "WorkArea");
    m_noPanel = named(new QWidget(m_work), "NoPanel");
    m_work->addWidget(m_noPanel);
    // The module page is small and shown by most things the installer does: built at once.
    Frame11 = new ModulePage(m_state, m_work);
    m_work->addWidget(Frame11);
    connect(Frame11, &ModulePage::documentationRequested, this, &ModuleView::openDocumentation);
    m_documentation = new DocumentationView(
        m_work, [this] { return m_state.Language; }, this);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_column, 0);
    layout->addWidget(m_work, 1);

    ModuleColumn *c = m_column;
    connect(c, &ModuleColumn::pushButtonsRequested, this, &ModuleView::Command7_Click);
    connect(c, &ModuleColumn::secondTimeRequested, this, &ModuleView::Command8_Click);
    connect(c, &ModuleColumn::outputsRequested, this, &ModuleView::Command9_Click);
    connect(c, &ModuleColumn::scenesRequested, this, &ModuleView::Command10_Click);
    connect(c, &ModuleColumn::diagnosticsRequested, this, &ModuleView::Command12_Click);
    connect(c, &ModuleColumn::documentationClosed, this, &ModuleView::Command15_Click);
    connect(c, &ModuleColumn::namesRequested, this, &ModuleView::namenKnop_Click);
    connect(c, &ModuleColumn::masterChosen, this, [this](bool master) {
        if (master)
            Option1_Click();
        else
            Option2_Click();
    });
    connect(c, &ModuleColumn::typeActivated, this, [this] { Combo1_Click(); });
    connect(c, &ModuleColumn::typeEdited, this, &ModuleView::Combo1_Change);
}

void ModuleView::showPanel(QWidget *panel)
{
    m_work->setCurrentWidget(panel ? panel : m_noPanel);
}

// Shows a panel, building it the first time, and rebuilds it from the image.
template <class Frame, class... Args> void ModuleView::openPanel(Frame *&frame, Args &&...args)
{
    if (!frame) {
        frame = new Frame(std::forward<Args>(args)...);
        m_work->addWidget(frame);
        if constexpr (requires { &Frame::edited; }) connect(frame, &Frame::edited, this, &ModuleView::edited);
    }
    showPanel(frame);
    frame->open();
}

void ModuleView::showModulePage(int type, ModulePage::Origin origin)
{
    m_column->captionEditorButtons(type, origin, m_state.Language);
    m_editorsCaptioned = {type, origin, -1};
    m_facts.editorsShown = true;
    showPanel(Frame11);
    Frame11->showPage(type, origin);
}

// The version label: "Versie: " / "Version: " and the version slot of the image.
void ModuleView::showVersion()
{
    if (const ModuleImage *image = m_state.currentImage())
        m_column->showVersion(image->value(ModuleTypes::info(m_state.ModuleType)->versionSlot),
                              m_state.Language);
}

// Master or slave as slot 40 of the image says (any other value selects neither).
void ModuleView::selectOptionFromImage()
{
    const int master = m_state.currentImage()->value(ModuleTypes::MasterSlot);
    // The program's choice runs its operation as the installer's does, so that the image and
    // MasterFlag agree.
    if (master == 1 || master == 0)
        m_column->chooseMaster(master == 1);
    else
        m_column->clearOptions();
}

// ---- what the window does with the module in hand ---------------------------------------------

void ModuleView::showOpenedModule(int type, bool fileOpen)
{
    m_facts.moduleInHand = true;
    m_facts.fileOpen = fileOpen;
    showVersion();
    selectOptionFromImage();
    m_column->setTypeEntryQuietly(QString::fromLatin1(ModuleTypes::info(type)->comboEntry));
    showModulePage(type, ModulePage::Origin::ModuleFile);
}

void ModuleView::prepareRead()
{
    m_facts.moduleInHand = false;
    m_facts.editorsShown = false;
    m_facts.fileOpen = false;
    m_column->clearOptions();
    m_column->hideVersion();
}

void ModuleView::showIdentifiedModule(int type)
{
    m_column->showTypeEntry(QString::fromLatin1(ModuleTypes::info(type)->comboEntry));
    showModulePage(type, ModulePage::Origin::Module);
}

void ModuleView::showReadModule()
{
    m_facts.moduleInHand = true;
    selectOptionFromImage();
    showVersion();
}

void ModuleView::clear()
{
    m_column->setTypeEntryQuietly(QString(), true);
    Frame11->hideTypeLabel();
    m_column->hideVersion();
    if (!m_facts.documentation) showPanel(nullptr);
    m_column->clearOptions();
    m_facts = Facts{false, false, false, m_facts.documentation};
}

ModuleView::Snapshot ModuleView::snapshot() const
{
    Snapshot s;
    s.facts = m_facts;
    s.moduleType = m_state.ModuleType;
    s.masterFlag = m_state.MasterFlag;
    s.typeEntry = m_column->typeEntry();
    s.page = Frame11->shown();
    s.editorsCaptioned = m_editorsCaptioned;
    s.panel = m_work->currentWidget();
    return s;
}

void ModuleView::restore(const Snapshot &s)
{
    m_facts = s.facts;
    m_state.ModuleType = s.moduleType;
    m_state.MasterFlag = s.masterFlag;
    m_column->setTypeEntryQuietly(s.typeEntry, s.typeEntry.isEmpty());
    m_editorsCaptioned = s.editorsCaptioned;
    if (s.editorsCaptioned.type >= 0)
        m_column->captionEditorButtons(s.editorsCaptioned.type, s.editorsCaptioned.origin, m_state.Language);
    // A module in hand shows its version and master or slave as its image says; none else does.
    if (m_facts.moduleInHand && m_state.currentImage()) {
        showVersion();
        m_column->showMaster(m_state.currentImage()->value(ModuleTypes::MasterSlot));
    } else {
        m_column->hideVersion();
        m_column->showMaster(-1);
    }
    Frame11->restore(s.page);
    showPanel(s.panel == m_noPanel ? nullptr : s.panel);
}

// ---- handlers ---------------------------------------------------------------------------------

void ModuleView::Command7_Click()
{
    openPanel(Frame3, m_state, m_work);
}

void ModuleView::Command8_Click()
{
    openPanel(Frame6, m_state, m_work);
}

// Output functions on the relay modules, dim start values on the dim and Velano modules.
void ModuleView::Command9_Click()
{
    if (ModuleTypes::hasDimChannels(m_state.ModuleType))
        openPanel(Frame12, m_state, m_work);
    else
        openPanel(Frame7, m_state, m_work);
}

void ModuleView::Command10_Click()
{
    openPanel(Frame9, m_state, m_work);
}

// The names panel, shown from the names of the module in hand.
void ModuleView::namenKnop_Click()
{
    const NamesInHand inHand = m_namesSource ? m_namesSource() : NamesInHand{};
    if (!inHand.names) return;
    if (!m_names) {
        m_names = new NamesFrame(m_work);
        m_work->addWidget(m_names);
        connect(m_names, &NamesFrame::edited, this, &ModuleView::edited);
    }
    m_names->showNames(*inHand.names, inHand.type, m_state.Language);
    showPanel(m_names);
}

void ModuleView::Command12_Click()
{
    if (!Frame10) {
        Frame10 = new DiagnosticsFrame(m_state, m_conversation, m_work);
        m_work->addWidget(Frame10);
        Frame10->setBeforeStart(m_beforeDiagnostics);
        Frame10->setNamesSource(m_diagnosticsNames);
    }
    openPanel(Frame10, m_state, m_conversation, m_work);
}

// The installer picks a module type in the list: only the page of that type is shown; the
// module type and the images stay as they are.
void ModuleView::Combo1_Click()
{
    ModulePageShown = 1;
    const int type = ModuleTypes::typeForComboEntry(m_column->typeEntry());
    if (type >= 0) {
        showPanel(Frame11);
        Frame11->showPage(type, ModulePage::Origin::TypeList);
    } else
        showPanel(m_work->currentWidget() == Frame11 ? Frame11 : nullptr);
}

// A text outside the list never stays in the module type field.
void ModuleView::Combo1_Change(const QString &text)
{
    const int type = ModuleTypes::typeForComboEntry(text);
    if (type >= 0) {
        Frame11->setTypeLabel(type);
        return;
    }
    if (!text.isEmpty()) m_column->setTypeEntryQuietly(QString());
}

void ModuleView::Option1_Click()
{
    chooseMaster(1);
}

void ModuleView::Option2_Click()
{
    chooseMaster(0);
}

void ModuleView::chooseMaster(int flag)
{
    {
        const EditScope step(m_state, [this](const EditStep &s) { Q_EMIT edited(s); },
                             {QStringLiteral("Master/Slave"), QStringLiteral("Master/Slave")});
        if (ModuleImage *image = m_state.currentImage()) image->set(ModuleTypes::MasterSlot, flag);
        m_state.MasterFlag = flag;
    }
    showMasterInEditor();
}

void ModuleView::showMasterInEditor()
{
    if (!Frame9 || m_work->currentWidget() != Frame9) return;
    if (m_state.MasterFlag == 1)
        Frame9->masterSelected();
    else
        Frame9->slaveSelected();
}

void ModuleView::follow(const EditStep &step, bool undone)
{
    if (step.masterBefore != step.masterAfter) {
        m_column->showMaster(m_state.MasterFlag);
        showMasterInEditor();
    }
    QWidget *shown = m_work->currentWidget();
    if (Frame3 && shown == Frame3) Frame3->follow(step, undone);
    if (Frame6 && shown == Frame6) Frame6->follow(step, undone);
    if (Frame7 && shown == Frame7) Frame7->follow(step, undone);
    if (Frame9 && shown == Frame9) Frame9->follow(step, undone);
    if (Frame12 && shown == Frame12) Frame12->follow(step, undone);
    // A name undone or made again is shown where it is typed.
    if (!step.names.empty() || (m_names && shown == m_names)) namenKnop_Click();
}

// ---- documentation pages ------------------------------------------------------------------------

// Shows the documentation of the model on the module page in place of the window's panels.
void ModuleView::openDocumentation(DocumentationPages::Button button)
{
    m_facts.documentation = true;
    Q_EMIT factsChanged();
    showPanel(m_documentation->show(button, m_column->typeEntry()));
}

void ModuleView::Command15_Click()
{
    m_facts.documentation = false;
    Q_EMIT factsChanged();
    showPanel(ModulePageShown == 1 ? Frame11 : nullptr);
}

// ---- the installation's pages ------------------------------------------------------------------

void ModuleView::showOverview(const Installation &installation)
{
    if (!m_overview) {
        m_overview = new OverviewFrame(m_work);
        m_work->addWidget(m_overview);
        connect(m_overview, &OverviewFrame::placeChosen, this, &ModuleView::placeChosen);
    }
    m_overview->showInstallation(installation, m_state.Language);
    showPanel(m_overview);
}

void ModuleView::showCheck(const Installation &installation)
{
    if (!m_check) {
        m_check = new CheckFrame(m_work);
        m_work->addWidget(m_check);
        connect(m_check, &CheckFrame::placeChosen, this, &ModuleView::placeChosen);
    }
    m_check->showInstallation(installation, m_state.Language);
    showPanel(m_check);
}

void ModuleView::installationChanged(const Installation *installation)
{
    QWidget *shown = m_work->currentWidget();
    if (!shown || (shown != m_overview && shown != m_check)) return;
    if (!installation) {
        showPanel(nullptr);
        return;
    }
    if (shown == m_overview)
        m_overview->showInstallation(*installation, m_state.Language);
    else
        m_check->showInstallation(*installation, m_state.Language);
}

void ModuleView::setInstallationPagesEnabled(bool enabled)
{
    for (QWidget *page : std::initializer_list<QWidget *>{m_overview, m_check})
        if (page) page->setEnabled(enabled);
}

void ModuleView::showPlace(const Overview::Place &place)
{
    using Kind = Overview::Place::Kind;
    if (!m_facts.moduleInHand) return;
    switch (place.kind) {
    case Kind::Module:
        break;
    case Kind::PushButton:
        Command7_Click();
        Frame3->choosePushButton(place.number);
        break;
    case Kind::Output:
        Command9_Click();
        if (ModuleTypes::hasDimChannels(m_state.ModuleType))
            Frame12->chooseChannel(place.number);
        else
            Frame7->chooseOutput(place.number);
        break;
    case Kind::Scene:
        Command10_Click();
        if (place.number > 0) Frame9->selectScene(place.number - 1);
        break;
    }
}
