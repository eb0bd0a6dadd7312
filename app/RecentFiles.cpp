#include "app/RecentFiles.h"

#include "app/Settings.h"
#include "common/WidgetTexts.h"

#include <QFileInfo>
#include <QMenu>

RecentFiles::RecentFiles(QMenu *menu, QAction *after, QAction *before, QObject *parent, const char *list,
                         const QString &entryName)
    : QObject(parent), m_list(list), m_entryName(entryName), m_menu(menu), m_after(after), m_before(before)
{
    m_menu->setToolTipsVisible(true); // the full path of each entry
}

void RecentFiles::load()
{
    m_paths = loadRecentFiles(m_list).mid(0, Maximum);
    show();
}

void RecentFiles::add(const QString &path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    m_paths.removeAll(full);
    m_paths.prepend(full);
    m_paths = m_paths.mid(0, Maximum);
    store();
    show();
}

void RecentFiles::remove(const QString &path)
{
    m_paths.removeAll(path);
    store();
    show();
}

void RecentFiles::store()
{
    storeRecentFiles(m_paths, m_list);
}

void RecentFiles::show()
{
    qDeleteAll(m_entries);
    m_entries.clear();
    int n = 0;
    for (const QString &path : std::as_const(m_paths)) {
        ++n;
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QLatin1String("&&")); // a file name is not a mnemonic
        auto *entry = new QAction(QStringLiteral("&%1 %2").arg(n).arg(name), m_menu);
        entry->setObjectName(m_entryName + QString::number(n));
        entry->setToolTip(Lang::plainToolTip(path));
        entry->setStatusTip(path); // the status bar shows plain text
        connect(entry, &QAction::triggered, this, [this, path] { Q_EMIT chosen(path); });
        m_menu->insertAction(m_before, entry);
        m_entries << entry;
    }
    // With no entries one separator is enough.
    m_after->setVisible(!m_entries.isEmpty());
}
