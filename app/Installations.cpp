#include "app/Installations.h"

#include "app/InstallationDialogs.h"
#include "app/InstallationPanel.h"
#include "app/MainMenus.h"
#include "app/Messages.h"
#include "app/ModuleFiles.h"
#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "app/SettingsFiles.h"
#include "common/Lang.h"
#include "common/MessageBox.h"
#include "files/ModuleFile.h"
#include "files/ModuleFileDialogs.h"
#include "history/ImageHistory.h"
#include "protocol/ModuleState.h"
#include "protocol/ModuleTypes.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>
#include <QUndoGroup>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace {
constexpr int RecoveryInterval = 60 * 1000; // a recovery copy every minute while unsaved

QString newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// "3 verschillen", "1 verschil", "geen verschillen".
QString differencesText(int count, int language)
{
    if (count == 0) return Lang::text(language, u"geen verschillen"_s, u"aucune différence"_s, u"0"_s);
    if (count == 1) return Lang::text(language, u"1 verschil"_s, u"1 différence"_s, u"1"_s);
    return Lang::text(language, u"%1 verschillen"_s, u"%1 différences"_s, u"%1"_s).arg(count);
}

QString nameAndPlace(const InstallationModule &m)
{
    return m.place.isEmpty() ? m.name : u"%1 (%2)"_s.arg(m.name, m.place);
}
} // namespace

Installations::Installations(ModuleState &state, MainMenus &menus, QMainWindow *window, ImageHistory &loose,
                             ModuleFiles &files)
    : QObject(window), m_state(state), m_menus(menus), m_window(window), m_loose(loose), m_files(files)
{
    setObjectName(u"Installations"_s);
    m_group = new QUndoGroup(this);
    m_group->addStack(m_loose.stack());
    m_group->setActiveStack(m_loose.stack());

    m_panel = new InstallationPanel(window);
    window->addDockWidget(Qt::LeftDockWidgetArea, m_panel);
    m_panel->hide();
    connect(m_panel, &InstallationPanel::moduleChosen, this, &Installations::selectModule);
    connect(m_panel, &InstallationPanel::moduleRenamed, this, &Installations::rename);

    const MainMenus::InstallationEntries &e = menus.installationEntries();
    m_recent = new RecentFiles(e.recent.menu, e.recent.start, e.recent.end, this,
                               SettingsFiles::RecentInstallations, u"recenteInstallatie"_s);
    connect(m_recent, &RecentFiles::chosen, this, [this](const QString &path) {
        if (!QFileInfo::exists(path)) {
            warn(Messages::recentFileGone(path, language()));
            m_recent->remove(path);
            return;
        }
        openInstallation(path);
    });
    m_panelEntry = m_panel->toggleViewAction();
    m_panelEntry->setObjectName(u"paneelTonen"_s);
    e.menu->addSeparator();
    e.menu->addAction(m_panelEntry);
    // Only the installer's own choice is remembered (closing the installation hides it too).
    connect(m_panelEntry, &QAction::triggered, this, [this](bool shown) {
        m_panelShown = shown;
        storePanel();
    });
    connect(m_panel, &InstallationPanel::closedByInstaller, this, [this] {
        m_panelShown = false;
        storePanel();
    });
    const auto answer = [this](QAction *entry, void (Installations::*handler)()) {
        connect(entry, &QAction::triggered, this, handler);
    };
    answer(e.nieuweInstallatie, &Installations::nieuweInstallatie_Click);
    answer(e.installatieOpenen, &Installations::installatieOpenen_Click);
    answer(e.installatieOpslaan, &Installations::installatieOpslaan_Click);
    answer(e.installatieOpslaanAls, &Installations::installatieOpslaanAls_Click);
    answer(e.installatieSluiten, &Installations::installatieSluiten_Click);
    answer(e.eigenschappen, &Installations::eigenschappen_Click);
    answer(e.moduleToevoegen, &Installations::moduleToevoegen_Click);
    answer(e.modulesImporteren, &Installations::modulesImporteren_Click);
    answer(e.moduleExporteren, &Installations::moduleExporteren_Click);
    answer(e.moduleVerwijderen, &Installations::moduleVerwijderen_Click);
    answer(e.moduleDupliceren, &Installations::moduleDupliceren_Click);
    answer(e.installatieRapport, &Installations::installatieRapport_Click);
    answer(e.overzichtExporteren, &Installations::overzichtExporteren_Click);
    answer(e.namenImporteren, &Installations::namenImporteren_Click);

    m_recoveryTimer = new QTimer(this);
    m_recoveryTimer->setObjectName(u"herstelTimer"_s);
    m_recoveryTimer->setInterval(RecoveryInterval);
    connect(m_recoveryTimer, &QTimer::timeout, this, &Installations::writeRecoveryCopy);
}

Installations::~Installations()
{
    if (isOpen()) storePanel();
}

int Installations::language() const
{
    return m_state.Language;
}

void Installations::warn(const QString &text)
{
    MessageBox::information(m_window, Lang::warningTitle(language()), text);
}

ImageHistory *Installations::history() const
{
    if (m_inHand < 0) return &m_loose;
    const auto found = m_histories.find(m_installation->modules[static_cast<size_t>(m_inHand)].id);
    return found != m_histories.end() ? found->second.get() : &m_loose;
}

ImageHistory *Installations::historyOf(const QString &id)
{
    auto &slot = m_histories[id];
    if (!slot) {
        slot = std::make_unique<ImageHistory>(m_state);
        m_group->addStack(slot->stack());
        Q_EMIT historyAdded(slot.get());
    }
    return slot.get();
}

void Installations::forgetHistory(const QString &id)
{
    m_histories.erase(id);
}

void Installations::setCaptions(int language)
{
    m_panel->setCaptions(language);
    m_panelEntry->setText(Lang::text(language, u"Modulepaneel tonen"_s, u"Afficher le panneau des modules"_s,
                                     u"Modulepaneel tonen"_s));
    if (isOpen()) m_panel->showModules(*m_installation, language);
    m_panel->markInHand(m_inHand);
}

void Installations::loadSettings()
{
    m_recent->load();
    const PanelSettings panel = loadPanelSettings();
    m_panelShown = panel.shown;
    m_panelWidth = panel.width;
}

void Installations::storePanel()
{
    if (m_panel->isVisible()) m_panelWidth = m_panel->width();
    storePanelSettings({m_panelWidth, m_panelShown});
}

void Installations::setIdle(bool idle)
{
    m_panel->setEnabled(idle);
    m_panelEntry->setEnabled(isOpen());
}

// ---- the installation open ----------------------------------------------------------------------

void Installations::take(Installation installation, const QString &path, bool unsaved,
                         const QString &recoveryKey)
{
    close();
    m_installation = std::move(installation);
    m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_unsaved = unsaved;
    m_ownRecoveryKey = !m_path.isEmpty()       ? QString()
                       : recoveryKey.isEmpty() ? u"new-"_s + newId()
                                               : recoveryKey;
    m_panel->showModules(*m_installation, language());
    if (m_panelShown) {
        m_panel->show();
        m_window->resizeDocks({m_panel}, {m_panelWidth}, Qt::Horizontal);
    }
    m_recoveryTimer->start();
    Q_EMIT changed();
}

void Installations::close()
{
    if (!isOpen()) return;
    storePanel();
    const bool hadModule = m_inHand >= 0;
    m_inHand = -1;
    m_attached.clear();
    syncNames();
    m_group->setActiveStack(m_loose.stack());
    m_histories.clear();
    m_installation.reset();
    m_path.clear();
    m_unsaved = false;
    m_ownRecoveryKey.clear();
    m_recoveryTimer->stop();
    m_panel->hide();
    if (hadModule) Q_EMIT moduleLeft();
    Q_EMIT changed();
}

void Installations::touched(int row)
{
    m_unsaved = true;
    if (row >= 0) m_panel->showModule(*m_installation, row, language());
    Q_EMIT changed();
}

void Installations::showAllModules()
{
    m_panel->showModules(*m_installation, language());
    m_panel->markInHand(m_inHand);
}

QString Installations::recoveryKey() const
{
    return m_path.isEmpty() ? m_ownRecoveryKey : InstallationRecovery::keyOf(m_path);
}

void Installations::writeRecoveryCopy()
{
    if (!isUnsaved()) return;
    const Failure failure =
        InstallationRecovery::write(*m_installation, recoveryKey(), m_path, QDateTime::currentDateTime());
    // Told once per installation, not every minute.
    if (!failure.ok() && !m_recoveryWarned) {
        m_recoveryWarned = true;
        warn(Messages::recoveryNotWritten(failure, language()));
    }
}

void Installations::discardRecovery()
{
    if (isOpen()) InstallationRecovery::discard(recoveryKey());
}

bool Installations::save()
{
    if (!isOpen()) return false;
    return m_path.isEmpty() ? saveAs() : saveTo(m_path);
}

bool Installations::saveAs()
{
    const QStringList chosen =
        chooseFiles(Lang::text(language(), u"Installatie opslaan als"_s, u"Sauver l'installation dans"_s,
                               u"Installatie opslaan als"_s),
                    true, FileKind::Installation, u"InstallatieOpslaanDialog"_s);
    return !chosen.isEmpty() && saveTo(chosen.constFirst());
}

bool Installations::saveTo(const QString &path)
{
    const InstallationSaved saved =
        writeInstallationFile(path, *m_installation, QDateTime::currentDateTime());
    if (!saved.failure.ok()) {
        warn(Messages::fileNotSaved(path, saved.failure, language()));
        return false;
    }
    const QString previousKey = recoveryKey();
    m_path = QFileInfo(path).absoluteFilePath();
    m_ownRecoveryKey.clear();
    m_unsaved = false;
    m_recoveryWarned = false;
    InstallationRecovery::discard(previousKey);
    InstallationRecovery::discard(recoveryKey());
    m_recent->add(m_path);
    // With a module in hand, saving the installation saves what the window shows.
    if (m_inHand >= 0) m_state.markUnchanged();
    setTitle();
    Q_EMIT changed();
    if (saved.kept.status == Backups::Replaced::Failed)
        warn(Messages::fileNotKept(path, saved.kept.failure, language()));
    return true;
}

bool Installations::mayClose()
{
    if (!isUnsaved()) return true;
    using Messages::LeaveAnswer;
    const auto q = Messages::closeInstallation(language());
    switch (MessageBox::ask(m_window, Lang::warningTitle(language()), q.text, q.options, LeaveAnswer::Save,
                            std::optional(LeaveAnswer::Stay))) {
    case LeaveAnswer::Save:
        return save();
    case LeaveAnswer::Discard:
        discardRecovery();
        return true;
    case LeaveAnswer::Stay:
        break;
    }
    return false;
}

QStringList Installations::chooseFiles(const QString &title, bool save, FileKind kind,
                                       const QString &objectName)
{
    const int lang = language();
    QString filter;
    QString suffix;
    switch (kind) {
    case FileKind::Modules:
        filter = Lang::text(lang, u"Module (*.QV1)"_s, u"Module (*.QV1)"_s);
        suffix = u"QV1"_s;
        break;
    case FileKind::Installation:
        filter = Lang::text(lang, u"Installatie (*.qvi)"_s, u"Installation (*.qvi)"_s,
                            u"Installatie / Installation (*.qvi)"_s);
        suffix = u"qvi"_s;
        break;
    case FileKind::Csv:
        filter = u"CSV (*.csv)"_s;
        suffix = u"csv"_s;
        break;
    case FileKind::Pdf:
        filter = u"PDF (*.pdf)"_s;
        suffix = u"pdf"_s;
        break;
    }
    QFileDialog dialog(m_window, title,
                       m_path.isEmpty() ? moduleFileStartFolder(m_state) : QFileInfo(m_path).path(), filter);
    dialog.setObjectName(objectName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(suffix);
        // A report or table is offered under the installation's name.
        if (kind == FileKind::Csv || kind == FileKind::Pdf) {
            QString name = m_installation->name;
            name.replace(u'/', u'-').replace(u'\\', u'-');
            if (name.trimmed().isEmpty()) name = u"installatie"_s;
            dialog.selectFile(name + u'.' + suffix);
        }
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(kind == FileKind::Modules ? QFileDialog::ExistingFiles
                                                     : QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

bool Installations::openInstallation(const QString &path)
{
    if (!mayClose()) return false;
    const Checked<Installation> read = readInstallationFile(path);
    if (!read) {
        warn(Messages::fileNotOpened(path, read.failure(), language()));
        return false;
    }
    Installation installation = *read;
    bool unsaved = false;
    if (const QString copy = InstallationRecovery::newerCopy(path); !copy.isEmpty()) {
        const auto q = Messages::offerNewerCopy(path, QFileInfo(copy).lastModified(), language());
        // Esc and the close button open the file; the copy stays among the backups either way.
        const bool takeCopy = MessageBox::ask(m_window, Lang::warningTitle(language()), q.text, q.options,
                                              true, std::optional(false));
        const Checked<Installation> recovered =
            takeCopy ? readInstallationFile(copy) : Checked<Installation>(Failure());
        if (takeCopy && recovered) {
            installation = *recovered;
            unsaved = true;
        } else {
            if (takeCopy) warn(Messages::fileNotOpened(copy, recovered.failure(), language()));
            InstallationRecovery::keepDeclined(copy, QDateTime::currentDateTime());
        }
    }
    take(std::move(installation), path, unsaved);
    m_recent->add(m_path);
    return true;
}

void Installations::offerUnsavedCopies()
{
    if (isOpen()) return;
    for (const QString &copy : InstallationRecovery::unsavedCopies()) {
        const Checked<Installation> read = readInstallationFile(copy);
        if (!read) continue;
        const auto q = Messages::offerUnsavedCopy(read->name, QFileInfo(copy).lastModified(), language());
        if (MessageBox::ask(m_window, Lang::warningTitle(language()), q.text, q.options, true,
                            std::optional(false))) {
            // The copy goes on under its own key until the installation is saved.
            take(*read, QString(), true, InstallationRecovery::keyOfCopy(copy));
            return;
        }
        InstallationRecovery::keepDeclined(copy, QDateTime::currentDateTime());
    }
}

// ---- the module in hand -------------------------------------------------------------------------

bool Installations::selectModule(int index)
{
    if (!isOpen() || index < 0 || index >= static_cast<int>(m_installation->modules.size())) return false;
    if (index == m_inHand) return true;
    if (m_inHand < 0 && m_state.currentImage() && m_state.hasChanges()) {
        using Messages::LeaveAnswer;
        const auto q = Messages::replaceLooseImage(language());
        const LeaveAnswer answer =
            MessageBox::ask(m_window, Lang::warningTitle(language()), q.text, q.options, LeaveAnswer::Save,
                            std::optional(LeaveAnswer::Stay));
        if (answer == LeaveAnswer::Stay || (answer == LeaveAnswer::Save && !m_files.saveImageInHand())) {
            m_panel->markInHand(m_inHand);
            return false;
        }
    }
    if (m_inHand < 0) m_loose.clear();
    m_inHand = index;
    showInHand();
    return true;
}

// The module in hand's image is put in the window as an opened module file's, with no file open.
void Installations::showInHand()
{
    const InstallationModule &m = m_installation->modules[static_cast<size_t>(m_inHand)];
    m_state.ModuleFilePath.clear();
    m_state.ImageFromFile = false;
    m_state.ModuleType = m.type;
    if (ModuleImage *image = m_state.imageFor(m.type)) *image = m.image;
    // The master/slave choice shown follows the image without counting as an edit.
    if (const int master = m.image.value(ModuleTypes::MasterSlot); master == 0 || master == 1)
        m_state.MasterFlag = master;
    m_state.markUnchanged();
    syncNames();
    m_group->setActiveStack(historyOf(m.id)->stack());
    m_panel->markInHand(m_inHand);
    Q_EMIT moduleShown(m.type);
    setTitle();
    Q_EMIT changed();
}

void Installations::setTitle()
{
    if (m_inHand < 0) return;
    const InstallationModule &m = m_installation->modules[static_cast<size_t>(m_inHand)];
    const QString file = m_path.isEmpty() ? m_installation->name : QDir::toNativeSeparators(m_path);
    m_window->setWindowTitle(u"QV Velano  -  "_s + file + u"  -  "_s + m.name);
}

void Installations::imageChanged()
{
    if (m_inHand < 0) return;
    InstallationModule &m = m_installation->modules[static_cast<size_t>(m_inHand)];
    const ModuleImage *image = m_state.imageFor(m.type);
    if (!image || *image == m.image) return;
    m.image = *image;
    touched(m_inHand);
}

const ModuleNames *Installations::namesInHand() const
{
    return m_inHand >= 0 ? &m_installation->modules[static_cast<size_t>(m_inHand)].names : nullptr;
}

const ModuleNames *Installations::namesOfAttached() const
{
    if (m_inHand < 0 || m_attached.isEmpty()) return nullptr;
    const InstallationModule &m = m_installation->modules[static_cast<size_t>(m_inHand)];
    return m.id == m_attached ? &m.names : nullptr;
}

void Installations::applyNames(const EditStep &step, bool undone)
{
    if (m_inHand < 0 || step.names.empty()) return;
    applyNamesTo(m_inHand, step, undone);
}

void Installations::applyNamesTo(int index, const EditStep &step, bool undone)
{
    ModuleNames &names = m_installation->modules[static_cast<size_t>(index)].names;
    for (const NameChange &c : step.names) {
        std::vector<QString> &list = c.list == 0   ? names.outputs
                                     : c.list == 1 ? names.pushButtons
                                                   : names.scenes;
        if (c.number >= 1 && c.number <= static_cast<int>(list.size()))
            list[static_cast<size_t>(c.number - 1)] = undone ? c.before : c.after;
    }
    if (index == m_inHand) syncNames();
}

void Installations::syncNames()
{
    m_state.Names =
        m_inHand >= 0 ? m_installation->modules[static_cast<size_t>(m_inHand)].names : ModuleNames();
}

void Installations::looseImageTaken()
{
    if (m_inHand >= 0) {
        m_inHand = -1;
        m_panel->markInHand(-1);
    }
    syncNames();
    m_group->setActiveStack(m_loose.stack());
}

void Installations::rename(int index, int column, const QString &typed)
{
    if (!isOpen() || index < 0 || index >= static_cast<int>(m_installation->modules.size())) return;
    InstallationModule &m = m_installation->modules[static_cast<size_t>(index)];
    const QString text = installationText(typed, InstallationFormat::MaxNameLength);
    QString &field = column == 0 ? m.name : m.place;
    // A module keeps a name: an emptied name stays as it was.
    if (text == field || (column == 0 && text.trimmed().isEmpty())) {
        m_panel->showModule(*m_installation, index, language());
        return;
    }
    field = text;
    touched(index);
    if (index == m_inHand) setTitle();
}

// ---- what the real modules hold -------------------------------------------------------------------

void Installations::readCompleted()
{
    const ModuleImage *inHand = m_state.currentImage();
    if (!isOpen() || !inHand) return;
    const int type = m_state.ModuleType;
    const ModuleImage read = *inHand;
    const int lang = language();
    const ReadCandidates found = readCandidates(*m_installation, type, read);
    std::vector<AssignDialog::Candidate> candidates;
    for (const ReadCandidate &c : found.candidates) {
        const InstallationModule &m = m_installation->modules[static_cast<size_t>(c.module)];
        candidates.push_back({u"%1 – %2 – %3"_s.arg(nameAndPlace(m), differencesText(c.differences, lang),
                                                    moduleState(m, lang)),
                              c.module});
    }
    const QString model = QString::fromLatin1(ModuleTypes::info(type)->comboEntry);
    const QString question = Lang::message(
        lang, u"De module is gelezen (%1). Welke module van de installatie is het?"_s.arg(model),
        u"Le module est lu (%1). Quel module de l'installation est-ce ?"_s.arg(model));
    AssignDialog dialog(question, candidates, found.preselected, lang, m_window);
    dialog.exec();
    const QDateTime now = QDateTime::currentDateTime();
    // Whatever is answered, the module on the line is no longer the one assigned before.
    m_attached.clear();
    switch (dialog.choice()) {
    case AssignDialog::Choice::NotInInstallation:
        return;
    case AssignDialog::Choice::NewModule: {
        InstallationModule m;
        m.id = newId();
        m.name = u"Module %1"_s.arg(m_installation->modules.size() + 1);
        m.type = type;
        m.names = ModuleNames::forType(type);
        recordRead(m, read, now);
        const QString id = m.id;
        if (!addModule(std::move(m))) return;
        m_attached = id;
        m_inHand = static_cast<int>(m_installation->modules.size()) - 1;
        break;
    }
    case AssignDialog::Choice::Module: {
        InstallationModule &m = m_installation->modules[static_cast<size_t>(dialog.module())];
        // Changes in the installation that the module was never sent are never overwritten
        // silently: the installer keeps them or takes what the module holds.
        const bool unsent = !(m.image == read) && (!m.knownImage || !(m.image == *m.knownImage));
        bool keepInstallation = false;
        if (unsent) {
            using Messages::VersionAnswer;
            const auto q = Messages::keepWhichVersion(m.name, lang);
            keepInstallation =
                MessageBox::ask(m_window, Lang::warningTitle(lang), q.text, q.options,
                                VersionAnswer::Installation,
                                std::optional(VersionAnswer::Installation)) == VersionAnswer::Installation;
        }
        if (keepInstallation) {
            m.knownImage = read;
            m.knownAt = now.toUTC();
            m.knownFrom = u"read"_s;
        } else {
            // The installation's image the read replaces stays among the module backups.
            if (!(m.image == read)) {
                if (const auto kept = Backups::write(m.type, m.image, now); !kept)
                    warn(Messages::backupNotWritten(kept.failure(), lang));
            }
            recordRead(m, read, now);
        }
        forgetHistory(m.id); // the module's history starts afresh
        m_attached = m.id;
        m_inHand = dialog.module();
        touched(m_inHand);
        if (keepInstallation) {
            showInHand();
            return;
        }
        break;
    }
    }
    // The image in hand is the module's as read.
    m_state.markUnchanged();
    syncNames();
    m_group->setActiveStack(historyOf(m_installation->modules[static_cast<size_t>(m_inHand)].id)->stack());
    showAllModules();
    setTitle();
    touched();
}

bool Installations::confirmSend()
{
    m_sending.clear();
    if (m_inHand < 0) return true;
    const InstallationModule &m = m_installation->modules[static_cast<size_t>(m_inHand)];
    // The installer picked another type in the module type list: what goes out is that type's
    // image, which is not the module's, and nothing of the module is recorded.
    if (m_state.currentImage() != m_state.imageFor(m.type)) return true;
    const auto q = Messages::sendModule(m.name, m.place, language());
    // Esc and the close button send nothing.
    if (!MessageBox::ask(m_window, Lang::warningTitle(language()), q.text, q.options, true,
                         std::optional(false)))
        return false;
    m_sending = m.id;
    return true;
}

int Installations::indexOf(const QString &id) const
{
    if (!isOpen() || id.isEmpty()) return -1;
    for (size_t i = 0; i < m_installation->modules.size(); ++i)
        if (m_installation->modules[i].id == id) return static_cast<int>(i);
    return -1;
}

void Installations::sendEnded(bool complete)
{
    const int index = indexOf(m_sending);
    // A send of no module of the installation may have gone to another module.
    m_attached.clear();
    if (index < 0) return;
    recordSend(m_installation->modules[static_cast<size_t>(index)], complete, QDateTime::currentDateTime());
    m_attached = m_sending;
    if (!complete) m_sending.clear();
    touched(index);
}

void Installations::checkEnded(bool equal)
{
    const int index = indexOf(m_sending);
    m_sending.clear();
    if (index < 0) return;
    recordCheck(m_installation->modules[static_cast<size_t>(index)], equal, QDateTime::currentDateTime());
    touched(index);
}

// ---- the Installatie menu ---------------------------------------------------------------------------

void Installations::nieuweInstallatie_Click()
{
    if (!mayClose()) return;
    PropertiesDialog dialog(
        {Lang::text(language(), u"Nieuwe installatie"_s, u"Nouvelle installation"_s, u"Nieuwe installatie"_s),
         {},
         {}},
        language(), m_window);
    if (dialog.exec() != QDialog::Accepted) return;
    const PropertiesDialog::Values v = dialog.values();
    Installation installation;
    installation.name = v.name;
    installation.address = v.address;
    installation.notes = v.notes;
    take(std::move(installation), QString(), true);
}

void Installations::installatieOpenen_Click()
{
    if (!mayClose()) return;
    const QStringList chosen = chooseFiles(Lang::text(language(), u"Installatie openen"_s,
                                                      u"Ouvrir une installation"_s, u"Installatie openen"_s),
                                           false, FileKind::Installation, u"InstallatieOpenenDialog"_s);
    if (!chosen.isEmpty()) openInstallation(chosen.constFirst());
}

void Installations::installatieOpslaan_Click()
{
    save();
}

void Installations::installatieOpslaanAls_Click()
{
    if (isOpen()) saveAs();
}

void Installations::installatieSluiten_Click()
{
    if (isOpen() && mayClose()) close();
}

void Installations::eigenschappen_Click()
{
    if (!isOpen()) return;
    PropertiesDialog dialog({m_installation->name, m_installation->address, m_installation->notes},
                            language(), m_window);
    if (dialog.exec() != QDialog::Accepted) return;
    const PropertiesDialog::Values v = dialog.values();
    if (v.name == m_installation->name && v.address == m_installation->address &&
        v.notes == m_installation->notes)
        return;
    m_installation->name = v.name;
    m_installation->address = v.address;
    m_installation->notes = v.notes;
    setTitle();
    touched();
}

bool Installations::addModule(InstallationModule module)
{
    if (static_cast<int>(m_installation->modules.size()) >= InstallationFormat::MaxModules) {
        warn(Messages::installationFull(InstallationFormat::MaxModules, language()));
        return false;
    }
    m_installation->modules.push_back(std::move(module));
    return true;
}

void Installations::moduleToevoegen_Click()
{
    const ModuleImage *image = m_state.currentImage();
    if (!isOpen() || !image) return;
    InstallationModule m;
    m.id = newId();
    m.name = m_state.ImageFromFile ? installationText(QFileInfo(m_state.ModuleFilePath).completeBaseName(),
                                                      InstallationFormat::MaxNameLength)
                                   : QString();
    if (m.name.trimmed().isEmpty()) m.name = u"Module %1"_s.arg(m_installation->modules.size() + 1);
    m.type = m_state.ModuleType;
    m.names = ModuleNames::forType(m.type);
    m.image = *image;
    if (!addModule(std::move(m))) return;
    showAllModules();
    touched();
    m_loose.clear();
    m_inHand = static_cast<int>(m_installation->modules.size()) - 1;
    showInHand();
}

void Installations::modulesImporteren_Click()
{
    if (!isOpen()) return;
    const QStringList chosen = chooseFiles(
        Lang::text(language(), u"Modules importeren"_s, u"Importer des modules"_s, u"Modules importeren"_s),
        false, FileKind::Modules, u"ModulesImporterenDialog"_s);
    QStringList notImported;
    int added = 0;
    for (const QString &path : chosen) {
        const Checked<ModuleFileData> data = readModuleFile(path);
        if (!data) {
            notImported << QDir::toNativeSeparators(path) + u": "_s +
                               Messages::failureText(data.failure(), language());
            continue;
        }
        InstallationModule m;
        m.id = newId();
        m.name = installationText(QFileInfo(path).completeBaseName(), InstallationFormat::MaxNameLength);
        if (m.name.trimmed().isEmpty()) m.name = u"Module %1"_s.arg(m_installation->modules.size() + 1);
        m.type = data->type;
        m.names = ModuleNames::forType(m.type);
        m.image = data->image();
        if (!addModule(std::move(m))) break;
        ++added;
    }
    if (added > 0) {
        showAllModules();
        touched();
    }
    if (!notImported.isEmpty()) warn(Messages::notImported(notImported, language()));
}

void Installations::moduleExporteren_Click()
{
    if (m_inHand < 0) return;
    const InstallationModule m = m_installation->modules[static_cast<size_t>(m_inHand)];
    SaveDialog dialog(
        m_state, [this, m](const QString &path) { return m_files.writeModule(path, m.type, m.image); },
        m_window);
    dialog.exec();
}

void Installations::moduleVerwijderen_Click()
{
    if (m_inHand < 0) return;
    const int index = m_inHand;
    const InstallationModule &m = m_installation->modules[static_cast<size_t>(index)];
    const auto q = Messages::removeModule(m.name, language());
    // Enter, Esc and the close button keep the module.
    if (!MessageBox::ask(m_window, Lang::warningTitle(language()), q.text, q.options, false,
                         std::optional(false)))
        return;
    m_inHand = -1;
    m_group->setActiveStack(m_loose.stack());
    forgetHistory(m.id);
    m_installation->modules.erase(m_installation->modules.begin() + index);
    syncNames();
    showAllModules();
    touched();
    Q_EMIT moduleLeft();
}

void Installations::moduleDupliceren_Click()
{
    if (m_inHand < 0) return;
    if (static_cast<int>(m_installation->modules.size()) >= InstallationFormat::MaxModules) {
        warn(Messages::installationFull(InstallationFormat::MaxModules, language()));
        return;
    }
    const InstallationModule &original = m_installation->modules[static_cast<size_t>(m_inHand)];
    // The copy is another module on the bus: nothing is known of it yet.
    InstallationModule copy;
    copy.id = newId();
    copy.name =
        installationText(original.name + Lang::text(language(), u" (kopie)"_s, u" (copie)"_s, u" (kopie)"_s),
                         InstallationFormat::MaxNameLength);
    copy.place = original.place;
    copy.notes = original.notes;
    copy.type = original.type;
    copy.image = original.image;
    copy.names = original.names;
    m_installation->modules.insert(m_installation->modules.begin() + m_inHand + 1, std::move(copy));
    showAllModules();
    touched();
}
