#include "app/ModuleFiles.h"

#include "app/FileTools.h"
#include "app/MainMenus.h"
#include "app/Messages.h"
#include "app/RecentFiles.h"
#include "common/Lang.h"
#include "common/MessageBox.h"
#include "files/Backups.h"
#include "files/ModuleFile.h"
#include "files/ModuleFileDialogs.h"
#include "protocol/ModuleState.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>

namespace {
const QString Title = QStringLiteral("QV Velano");
QString titleWith(const QString &path)
{
    return Title + QStringLiteral("  -  ") + path;
}
} // namespace

ModuleFiles::ModuleFiles(ModuleState &state, MainMenus &menus, QWidget *window)
    : QObject(window), m_state(state), m_window(window)
{
    setObjectName(QStringLiteral("ModuleFiles"));
    const MainMenus::RecentPlace place = menus.recentPlace();
    m_recent = new RecentFiles(place.menu, place.start, place.end, this);
    m_tools = new FileTools(m_state, window);
    connect(m_recent, &RecentFiles::chosen, this, &ModuleFiles::openRecentFile);
    connect(&menus, &MainMenus::openRequested, this, &ModuleFiles::openen_Click);
    connect(&menus, &MainMenus::saveRequested, this, &ModuleFiles::Bewaren_Click);
    connect(&menus, &MainMenus::saveAsRequested, this, &ModuleFiles::Bewaren_als_Click);
    connect(&menus, &MainMenus::backupsRequested, this, &ModuleFiles::Reservekopieen_Click);
    connect(&menus, &MainMenus::compareRequested, m_tools, &FileTools::compareWithFile);
    connect(&menus, &MainMenus::printRequested, m_tools, &FileTools::printReport);
    connect(&menus, &MainMenus::pdfRequested, m_tools, &FileTools::exportReportAsPdf);
}

void ModuleFiles::loadRecentFiles()
{
    m_recent->load();
}

void ModuleFiles::warn(const QString &text)
{
    MessageBox::information(m_window, Lang::warningTitle(m_state.Language), text);
}

void ModuleFiles::openen_Click()
{
    OpenDialog dialog(
        m_state, [this](const QString &path) { return openModuleFile(path); }, m_window);
    dialog.exec();
}

void ModuleFiles::Bewaren_Click()
{
    if (!m_state.ModuleFilePath.isEmpty()) saveModuleFile(m_state.ModuleFilePath);
}

void ModuleFiles::Bewaren_als_Click()
{
    SaveDialog dialog(
        m_state,
        [this](const QString &path) {
            if (!saveModuleFile(path)) return false;
            m_state.ModuleFilePath = path;
            m_state.ImageFromFile = true;
            m_window->setWindowTitle(titleWith(path));
            return true;
        },
        m_window);
    dialog.exec();
}

void ModuleFiles::Reservekopieen_Click()
{
    const QString path = m_tools->chooseBackup();
    if (!path.isEmpty()) openBackup(path);
}

bool ModuleFiles::openModuleFile(const QString &path)
{
    return open(path, false);
}

bool ModuleFiles::openBackup(const QString &path)
{
    return open(path, true);
}

// A backup is opened like any module file but leaves no file open and no recent entry.
bool ModuleFiles::open(const QString &path, bool backup)
{
    const auto data = readModuleFile(path);
    if (!data) {
        warn(Messages::fileNotOpened(path, data.failure(), m_state.Language));
        return false;
    }
    m_state.ModuleFilePath = backup ? QString() : path;
    m_state.ImageFromFile = !backup;
    m_state.takeModule(data->type, data->values);
    Q_EMIT opened(data->type, !backup);
    m_window->setWindowTitle(backup ? Title : titleWith(path));
    m_state.markUnchanged();
    if (!backup) m_recent->add(path);
    return true;
}

void ModuleFiles::openRecentFile(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        warn(Messages::recentFileGone(path, m_state.Language));
        m_recent->remove(path);
        return;
    }
    openModuleFile(path);
}

// What the file held is kept among the backups before it is replaced. A file whose content
// cannot be kept is replaced all the same, and the installer is told that no copy was kept.
bool ModuleFiles::saveModuleFile(const QString &path)
{
    const ModuleImage *image = m_state.currentImage();
    if (!image) {
        warn(Messages::fileNotSaved(
            path, Failure{Failure::Kind::NotAModuleImage, path, QStringLiteral("no module")},
            m_state.Language));
        return false;
    }
    if (!writeModule(path, m_state.ModuleType, *image)) return false;
    m_state.markUnchanged();
    m_recent->add(path);
    Q_EMIT saved();
    return true;
}

bool ModuleFiles::writeModule(const QString &path, int type, const ModuleImage &image)
{
    const Checked<QByteArray> content = moduleFileContent(type, image);
    if (!content) {
        warn(Messages::fileNotSaved(path, content.failure(), m_state.Language));
        return false;
    }
    const Backups::Replaced kept = Backups::keepReplaced(path, *content, QDateTime::currentDateTime());
    if (const Failure failure = writeModuleFile(path, type, image); !failure.ok()) {
        // Nothing was replaced: the copy would only stand beside a file that still holds it.
        if (kept.status == Backups::Replaced::Made) Backups::discardReplaced(kept.path);
        warn(Messages::fileNotSaved(path, failure, m_state.Language));
        return false;
    }
    if (kept.status == Backups::Replaced::Made) Backups::pruneReplaced(path, kept.path);
    if (kept.status == Backups::Replaced::Failed)
        warn(Messages::fileNotKept(path, kept.failure, m_state.Language));
    return true;
}

bool ModuleFiles::saveImageInHand()
{
    if (m_state.ImageFromFile && !m_state.ModuleFilePath.isEmpty())
        saveModuleFile(m_state.ModuleFilePath);
    else
        Bewaren_als_Click();
    // A save that failed or was cancelled leaves the changes unsaved.
    return !m_state.hasChanges();
}

bool ModuleFiles::mayLeave(bool fileOpen)
{
    if (!m_state.hasChanges()) return true;
    using Messages::LeaveAnswer;
    const auto q = Messages::leaveWithChanges(m_state.Language);
    // Esc and the box's close button stay: leaving is never decided by a key that means "back".
    switch (MessageBox::ask(m_window, Lang::warningTitle(m_state.Language), q.text, q.options,
                            LeaveAnswer::Save, std::optional(LeaveAnswer::Stay))) {
    case LeaveAnswer::Save:
        if (fileOpen)
            saveModuleFile(m_state.ModuleFilePath);
        else
            Bewaren_als_Click();
        // A save that failed or was cancelled keeps the program open.
        return !m_state.hasChanges();
    case LeaveAnswer::Discard:
        return true;
    case LeaveAnswer::Stay:
        break;
    }
    return false;
}
