#include "app/MainWindow.h"

#include "app/AdapterOfferQuestion.h"
#include "app/FileTools.h"
#include "app/Installations.h"
#include "app/Launcher.h"
#include "app/MainMenus.h"
#include "app/Messages.h"
#include "app/PortChooserDialog.h"
#include "app/PreferencesDialog.h"
#include "app/QtTranslations.h"
#include "app/Settings.h"
#include "app/StatusLine.h"
#include "common/Lang.h"
#include "common/MessageBox.h"
#include "files/ImageCompare.h"
#include "history/ImageHistory.h"
#include "serial/AdapterOffer.h"
#include "serial/PortBinding.h"
#include "serial/QtSerialLink.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

MainWindow::MainWindow(QWidget *parent, SerialLink *link) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("QV Velano"));
    m_ownLink = !link;
    m_link = link ? link : new QtSerialLink(this);
    m_conversation = new Conversation(m_state, *m_link, this);
    m_view = new ModuleView(
        m_state, *m_conversation, [this] { beforeConversation(); }, this);
    setCentralWidget(m_view);
    connect(m_view, &ModuleView::factsChanged, this, &MainWindow::updateActionState);
    connect(m_view->column(), &ModuleColumn::readRequested, this, &MainWindow::Command1_Click);
    connect(m_view->column(), &ModuleColumn::sendRequested, this, &MainWindow::Command2_Click);
    m_status = new StatusLine(this);
    m_menus = new MainMenus(menuBar());
    m_files = new ModuleFiles(m_state, *m_menus, this);
    connect(m_files, &ModuleFiles::opened, this, &MainWindow::onModuleOpened);
    connect(m_files, &ModuleFiles::saved, this, &MainWindow::updateActionState);
    m_history = new ImageHistory(m_state, this);
    m_installations = new Installations(m_state, *m_menus, this, *m_history, *m_files);
    followHistory(m_history);
    connect(m_installations, &Installations::historyAdded, this, &MainWindow::followHistory);
    connect(m_installations, &Installations::moduleShown, this, &MainWindow::onInstallationModuleShown);
    // The module in hand left with its installation (closed, or the module removed): the window
    // holds no module, as after "Nieuw".
    connect(m_installations, &Installations::moduleLeft, this, &MainWindow::nieuw_Click);
    connect(m_installations, &Installations::changed, this, [this] {
        m_view->installationChanged(m_installations->installation());
        updateActionState();
    });
    connect(m_view, &ModuleView::placeChosen, this, &MainWindow::goToPlace);
    connect(m_installations, &Installations::inHandNamesImported, this,
            [this](const EditStep &step) { m_view->follow(step, false); });
    // An edit is a step of the history in use; the module in hand of an installation follows it.
    connect(m_view, &ModuleView::edited, this, [this](const EditStep &step) {
        history()->record(step);
        m_installations->applyNames(step, false);
        m_installations->imageChanged();
    });
    m_view->setNamesSource([this] {
        const ModuleNames *names = m_installations->namesInHand();
        const Installation *inst = m_installations->installation();
        return ModuleView::NamesInHand{
            names, names ? inst->modules[static_cast<size_t>(m_installations->inHand())].type : 0};
    });
    // The diagnostics talk to the module on the line: they show names only while the module in
    // hand is known to be that module.
    m_view->setDiagnosticsNamesSource([this] { return m_installations->namesOfAttached(); });
    // The editors' lists would take Ctrl+Z for the text in their field: the keys reach the
    // history instead.
    qApp->installEventFilter(this);
    connectMenus();
    resize(900, 620);
    load();

    Conversation *c = m_conversation;
    connect(c, &Conversation::progressChanged, m_status, &StatusLine::setProgress);
    connect(c, &Conversation::statusChanged, this, [this](Conversation::Status status) {
        m_status->setStatus(Messages::status(status, m_state.Language));
    });
    connect(c, &Conversation::pageRequested, this, &MainWindow::onPageRequested);
    connect(c, &Conversation::readFinished, this, &MainWindow::onReadFinished);
    connect(c, &Conversation::sendFinished, this, &MainWindow::onSendFinished);
    connect(c, &Conversation::checkFinished, this, &MainWindow::onCheckFinished);
    connect(c, &Conversation::wrongModule, this, &MainWindow::onWrongModule);
    connect(c, &Conversation::endFrameSent, this, &MainWindow::onNormalEnd);
    connect(c, &Conversation::stopFramesSent, this, &MainWindow::onNormalEnd);
    connect(c, &Conversation::problem, this, &MainWindow::onProblem);
    connect(c, &Conversation::abandoned, this, &MainWindow::onAbandoned);
    connect(c, &Conversation::runningChanged, this, &MainWindow::onRunningChanged);
    connect(m_status, &StatusLine::abortRequested, this, &MainWindow::abortRequested);
    // Esc gets out of a conversation; while none runs it stays with the field that has the focus
    // (a name being typed is put back).
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_escape->setContext(Qt::WindowShortcut);
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &MainWindow::abortRequested);
    updateActionState();
    // Installations never saved that a program that stopped left copies of are offered once the
    // window is on the screen.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) m_installations->offerUnsavedCopies();
    });
}

MainWindow::~MainWindow() = default;

ImageHistory *MainWindow::history() const
{
    return m_installations->history();
}

void MainWindow::followHistory(ImageHistory *history)
{
    connect(history, &ImageHistory::stepApplied, this, [this](const EditStep &step, bool undone) {
        m_installations->applyNames(step, undone);
        m_view->follow(step, undone);
        m_installations->imageChanged();
    });
    connect(history, &ImageHistory::changed, this, &MainWindow::updateActionState);
}

// A module of the installation is in hand: shown as an opened module file, with no file open.
void MainWindow::onInstallationModuleShown(int type)
{
    m_view->showOpenedModule(type, false);
    updateActionState();
    m_status->setStatus(QStringLiteral("Edit mode"));
}

bool MainWindow::mayLeave()
{
    const bool fileOpen = m_view->facts().fileOpen;
    if (!m_installations->isUnsaved()) return m_files->mayLeave(fileOpen);
    const bool looseChanges =
        !m_installations->moduleInHand() && m_state.currentImage() && m_state.hasChanges();
    using Messages::LeaveAnswer;
    const auto q = Messages::leaveInstallation(
        looseChanges ? Messages::Unsaved::Both : Messages::Unsaved::Installation, m_state.Language);
    // Esc and the box's close button stay.
    switch (MessageBox::ask(this, Lang::warningTitle(m_state.Language), q.text, q.options, LeaveAnswer::Save,
                            std::optional(LeaveAnswer::Stay))) {
    case LeaveAnswer::Save:
        // A save that failed or was cancelled keeps the program open.
        if (!m_installations->save()) return false;
        return !looseChanges || m_files->saveImageInHand();
    case LeaveAnswer::Discard:
        m_installations->discardRecovery();
        return true;
    case LeaveAnswer::Stay:
        break;
    }
    return false;
}

void MainWindow::connectMenus()
{
    MainMenus *m = m_menus;
    connect(m, &MainMenus::newRequested, this, &MainWindow::nieuw_Click);
    connect(m, &MainMenus::languageChosen, this, &MainWindow::switchLanguage);
    connect(m, &MainMenus::webRequested, this, &MainWindow::Web_Click);
    connect(m, &MainMenus::preferencesRequested, this, &MainWindow::instellingen_Click);
    connect(m, &MainMenus::quitRequested, this, &MainWindow::Einde_Click);
    connect(m, &MainMenus::portChosen, this, &MainWindow::p_Click);
    connect(m, &MainMenus::checkAfterSendChosen, this, &MainWindow::Controleren_Click);
    connect(m, &MainMenus::portChooserRequested, this, &MainWindow::poortKiezen_Click);
    connect(m, &MainMenus::portsAboutToShow, this, &MainWindow::describePorts);
    connect(m, &MainMenus::undoRequested, this, &MainWindow::undo);
    connect(m, &MainMenus::redoRequested, this, &MainWindow::redo);
    const MainMenus::InstallationEntries &i = m->installationEntries();
    connect(i.overzicht, &QAction::triggered, this, &MainWindow::overzicht_Click);
    connect(i.installatieControleren, &QAction::triggered, this, &MainWindow::installatieControleren_Click);
}

void MainWindow::overzicht_Click()
{
    if (const Installation *inst = m_installations->installation()) m_view->showOverview(*inst);
    updateActionState();
}

void MainWindow::installatieControleren_Click()
{
    if (const Installation *inst = m_installations->installation()) m_view->showCheck(*inst);
    updateActionState();
}

void MainWindow::goToPlace(const Overview::Place &place)
{
    if (!m_installations->selectModule(place.module)) return;
    m_view->showPlace(place);
    updateActionState();
}

// Start-up: the settings, the captions of the language and the port.
void MainWindow::load()
{
    const Settings s = loadSettings(this);
    m_state.Language = s.language;
    m_state.ComPort = s.comPort;
    m_state.PcDelay = s.pcDelay;
    m_state.DefaultDirectory = s.defaultDirectory;
    // Standard buttons and Qt's dialogs speak the window's language.
    QtTranslations::load(s.language);
    m_view->column()->setCaptions(s.language);
    m_status->setCaptions(s.language);
    m_menus->setCaptions(s.language);
    m_conversation->closePort();
    m_menus->checkPort(s.comPort);
    m_menus->checkLanguage(s.language);
    m_menus->setCheckAfterSend(s.checkAfterSend);
    m_files->loadRecentFiles();
    m_installations->setCaptions(s.language);
    m_installations->loadSettings();
}

// ---- the window's state -----------------------------------------------------------------------

void MainWindow::updateActionState()
{
    const bool idle = !m_conversation->isRunning();
    const ModuleView::Facts &f = m_view->facts();
    m_menus->setEnabled(idle);
    m_menus->offerModule(f.fileOpen, f.moduleInHand);
    m_menus->offerInstallation(m_installations->isOpen(), m_installations->moduleInHand(), f.moduleInHand);
    m_installations->setIdle(idle);
    m_view->setInstallationPagesEnabled(idle);
    m_view->column()->offerNames(f.editorsShown && !f.documentation && m_installations->moduleInHand(), idle);
    m_view->column()->offer(idle, idle && f.moduleInHand, f.editorsShown, f.documentation);
    const auto name = [](const EditStep *step) { return step ? std::optional(step->name) : std::nullopt; };
    const ImageHistory *steps = history();
    m_menus->offerSteps(idle ? name(steps->nextUndo()) : std::nullopt,
                        idle ? name(steps->nextRedo()) : std::nullopt);
    m_status->setChanged(m_state.hasChanges(), m_state.Language);
}

void MainWindow::undo()
{
    if (!m_conversation->isRunning()) history()->undo();
}

void MainWindow::redo()
{
    if (!m_conversation->isRunning()) history()->redo();
}

// Undo and redo keys pressed in an editable list of this window go to the history, not to the
// list's text (other fields keep their own undo).
bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (!key->matches(QKeySequence::Undo) && !key->matches(QKeySequence::Redo) &&
        key->keyCombination() != QKeyCombination(Qt::ControlModifier, Qt::Key_Y))
        return false;
    QObject *field = watched;
    if (qobject_cast<QLineEdit *>(field) && qobject_cast<QComboBox *>(field->parent()))
        field = field->parent();
    const auto *list = qobject_cast<QComboBox *>(field);
    // Left unaccepted, the override lets the window's shortcut act.
    return list && list->isEditable() && list->window() == this;
}

void MainWindow::warn(const QString &text)
{
    MessageBox::information(this, Lang::warningTitle(m_state.Language), text);
}

void MainWindow::p_Click(int port)
{
    m_menus->checkPort(port);
    m_state.ComPort = port;
    storePort(port, this, m_state.Language);
    // Closes the port if it is open; the next conversation opens the new one.
    m_conversation->closePort();
}

void MainWindow::switchLanguage(int language)
{
    // The new language is the next instance's; this one keeps its own until it ends. Triggering
    // a checkable entry toggles its check mark, so the marks are put back on the language in use.
    const int lang = m_state.Language;
    m_menus->checkLanguage(lang);
    if (!mayLeave()) return;
    // Restarting after a failed write would only bring the old language back and lose the image.
    if (!storeLanguage(language, this, lang)) return;
    // The new instance is started by the closing window, once this one has agreed to end.
    leaveDecided(Leaving::Restart);
}

void MainWindow::Web_Click()
{
    if (Lang::pick(m_state.Language, {}, {})) Launcher::openMakerWebSite();
}

void MainWindow::instellingen_Click()
{
    PreferencesDialog dialog(m_state, this);
    dialog.exec();
}

void MainWindow::Einde_Click()
{
    if (mayLeave()) leaveDecided(Leaving::Quit);
}

// The installer has answered the question about unsaved changes (or had none): the window closes
// without asking again, then the program ends. A window that does not close (a restart that
// could not be started) keeps the program running.
void MainWindow::leaveDecided(Leaving how)
{
    m_leaving = how;
    const bool closed = close();
    m_leaving = Leaving::Ask;
    if (closed) Launcher::quitProgram();
}

void MainWindow::Controleren_Click(bool on)
{
    if (!storeCheckAfterSend(on, this, m_state.Language)) m_menus->setCheckAfterSend(!on);
}

void MainWindow::poortKiezen_Click()
{
    PortChooserDialog dialog(PortBinding(), m_state.ComPort, m_state.Language, this);
    connect(&dialog, &PortChooserDialog::portNumberChosen, this, &MainWindow::p_Click);
    dialog.exec();
}

// The status tip of each port entry names the device it opens now.
void MainWindow::describePorts()
{
    for (int n = 1; n <= 8; ++n)
        m_menus->describePort(n, PortBinding::describe(PortBinding::deviceFor(n), m_state.Language));
}

void MainWindow::beforeConversation()
{
    // A window given its own line (tests, tools) has no serial port to bind.
    if (m_ownLink) askToBindAdapter(this, AdapterOffer(), m_state.ComPort, m_state.Language);
}

void MainWindow::nieuw_Click()
{
    m_installations->looseImageTaken();
    m_state.ImageFromFile = false;
    m_view->clear();
    m_history->clear();
    setWindowTitle(QStringLiteral("QV Velano"));
    m_conversation->clearReceived();
    updateActionState();
}

// A module file or a backup was opened into the image.
void MainWindow::onModuleOpened(int type, bool fileOpen)
{
    m_installations->looseImageTaken();
    m_view->showOpenedModule(type, fileOpen);
    m_history->clear();
    updateActionState();
    m_status->setStatus(QStringLiteral("Edit mode"));
}

// ---- conversations ------------------------------------------------------------------------------

void MainWindow::onConversationStarting()
{
    m_viewBeforeConversation = Snapshot{m_view->snapshot(), windowTitle()};
}

void MainWindow::Command1_Click()
{
    beforeConversation();
    onConversationStarting();
    m_view->prepareRead();
    m_conversation->connectModule();
    updateActionState();
}

void MainWindow::Command2_Click()
{
    // A module of the installation is sent only once the installer has seen which one it is.
    if (!m_installations->confirmSend()) return;
    beforeConversation();
    onConversationStarting();
    m_conversation->sendConfiguration();
    updateActionState();
}

void MainWindow::onPageRequested(int type)
{
    m_view->showIdentifiedModule(type);
    updateActionState();
}

void MainWindow::onReadFinished()
{
    m_viewBeforeConversation.reset();
    m_state.markUnchanged();
    // The image in hand is the module's now, whatever file was open: the title and the report
    // no longer name that file ("Module Opslaan" stays as it was).
    m_state.ImageFromFile = false;
    setWindowTitle(QStringLiteral("QV Velano"));
    const QString backupProblem = m_files->tools()->backUpReadModule();
    m_installations->looseImageTaken();
    m_view->showReadModule();
    m_history->clear();
    updateActionState();
    // Told once the read has wound up and the window reads "Edit mode"; then, with an installation
    // open, the installer says which of its modules was read.
    QTimer::singleShot(0, this, [this, backupProblem] {
        if (!backupProblem.isEmpty()) warn(backupProblem);
        if (m_installations->isOpen() && !m_closing && !m_closeWhenDone) m_installations->readCompleted();
    });
}

void MainWindow::onSendFinished()
{
    m_state.markUnchanged();
    m_installations->sendEnded(true);
    onNormalEnd();
    // The check reads the module again once the send has wound up; the window stays as the send
    // left it. A window that is closing starts nothing.
    if (m_menus->checkAfterSend() && !m_closeWhenDone)
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !m_closeWhenDone) m_conversation->checkConfiguration();
        });
}

void MainWindow::onCheckFinished(const ModuleImage &moduleHolds)
{
    m_viewBeforeConversation.reset();
    updateActionState();
    const ModuleImage &inHand = *m_state.currentImage();
    const ImageCompare::Result result = ImageCompare::compare(m_state.ModuleType, inHand, m_state.ModuleType,
                                                              moduleHolds, m_state.Language, &m_state.Names);
    const QString text = Messages::checkResult(result, inHand.size(), m_state.Language);
    m_installations->checkEnded(!Messages::checkFoundDifferences(result));
    m_status->setStatus(text.section(QLatin1Char('\n'), 0, 0));
    if (Messages::checkFoundDifferences(result))
        warn(text);
    else
        MessageBox::information(this, Messages::checkTitle(m_state.Language), text,
                                MessageBox::Icon::Information);
}

// A send, a line-status scan or a test's Stop came to its end.
void MainWindow::onNormalEnd()
{
    m_viewBeforeConversation.reset();
    updateActionState();
}

void MainWindow::onWrongModule()
{
    m_viewBeforeConversation.reset();
    const int lang = m_state.Language;
    warn(Messages::wrongModule(lang));
    updateActionState();
    m_status->setStatus(QStringLiteral("Edit mode"));
}

void MainWindow::onProblem(Conversation::Problem problem, const QString &port, const QString &detail)
{
    const int lang = m_state.Language;
    // A port that cannot be opened is named with the device its binding leads to.
    const bool opening =
        problem != Conversation::Problem::LineLost && problem != Conversation::Problem::UnsupportedModule;
    QString text = Messages::problem(
        problem, lang, opening ? PortBinding::deviceFor(m_state.ComPort).shown() : port, detail);
    returnToSnapshot();
    m_status->setStatus(text);
    // A send that lost its line left the module with only part of the image.
    if (const auto cut = m_conversation->cutSend()) {
        text += QLatin1Char('\n') + Messages::halfWritten(cut->framesWritten, cut->slotCount, lang);
        m_installations->sendEnded(false);
    }
    warn(text);
}

void MainWindow::onAbandoned()
{
    returnToSnapshot();
    const int lang = m_state.Language;
    if (m_conversation->isChecking())
        m_status->setStatus(Messages::checkAbandoned(lang));
    else
        m_status->setStatus(Lang::pick(lang, QStringLiteral("Afgebroken"), QStringLiteral("Interrompu")));
    // The installer stopped a send: the module holds only part of the image. A window that is
    // closing said so in its own question already.
    if (const auto cut = m_conversation->cutSend()) {
        m_installations->sendEnded(false);
        if (!m_closing) warn(Messages::halfWritten(cut->framesWritten, cut->slotCount, lang));
    }
}

void MainWindow::onRunningChanged(bool running)
{
    // A question about the conversation (stop the send? close during the send?) is moot once it
    // has ended: it closes as Esc closes it, which stays and goes on.
    if (!running) MessageBox::dismissQuestion();
    m_status->setRunning(running);
    m_escape->setEnabled(running);
    if (running && !m_viewBeforeConversation)
        onConversationStarting(); // a diagnostic test started from its own panel
    updateActionState();
    if (!running && m_closeWhenDone) QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::abortRequested()
{
    if (!m_conversation->isRunning()) return;
    if (m_conversation->isWriting()) {
        const auto q = Messages::stopTheSend(m_state.Language);
        if (MessageBox::ask(this, Lang::warningTitle(m_state.Language), q.text, q.options,
                            Messages::SendAnswer::GoOn) != Messages::SendAnswer::StopNow)
            return;
    }
    m_conversation->abandon();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_conversation->isRunning()) {
        // After a conversation the window waited for, unsaved changes are still asked about.
        m_closeWhenDone = false;
        event->setAccepted(acceptLeaving());
        return;
    }
    if (m_closeWhenDone) { // asked already: the window closes when the conversation ends
        event->ignore();
        return;
    }
    if (m_conversation->isWriting()) {
        // Esc and closing the question stay; a send that ends meanwhile closes it the same way.
        using Messages::CloseAnswer;
        const auto q = Messages::closeDuringSend(m_state.Language);
        const CloseAnswer answer =
            MessageBox::ask(this, Lang::warningTitle(m_state.Language), q.text, q.options,
                            CloseAnswer::WhenDone, std::optional(CloseAnswer::Stay));
        if (answer == CloseAnswer::Stay) {
            event->ignore();
            return;
        }
        if (answer == CloseAnswer::WhenDone && m_conversation->isRunning()) {
            m_closeWhenDone = true;
            event->ignore();
            return;
        }
    }
    m_closing = true;
    m_conversation->abandon();
    m_closing = false;
    if (m_conversation->isRunning()) {
        // Frames the module is owed are still going out: the window closes after them.
        m_closeWhenDone = true;
        event->ignore();
        return;
    }
    // The conversation is over: unsaved changes are asked about as at any other time.
    event->setAccepted(acceptLeaving());
}

bool MainWindow::acceptLeaving()
{
    if (m_leaving == Leaving::Ask && !mayLeave()) return false;
    if (m_leaving == Leaving::Restart && !Launcher::restartProgram()) {
        warn(Messages::restartFailed(m_state.Language));
        return false;
    }
    return true;
}

void MainWindow::returnToSnapshot()
{
    m_status->setProgress(false, 0, 0);
    if (m_viewBeforeConversation) {
        const Snapshot s = *m_viewBeforeConversation;
        m_viewBeforeConversation.reset();
        m_view->restore(s.view);
        setWindowTitle(s.title);
    }
    updateActionState();
}
