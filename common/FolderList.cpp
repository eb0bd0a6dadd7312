#include "common/FolderList.h"

#include <QDir>
#include <QFileInfo>

DriveList::DriveList(QWidget *parent) : QComboBox(parent)
{
    for (const QFileInfo &drive : QDir::drives())
        addItem(QDir::toNativeSeparators(drive.absolutePath()));
    connect(this, &QComboBox::textActivated, this, &DriveList::driveChanged);
}

void DriveList::selectDriveOf(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(QDir::cleanPath(folder));
    for (int i = 0; i < count(); ++i) {
        if (native.startsWith(itemText(i), Qt::CaseInsensitive)) {
            setCurrentIndex(i);
            return;
        }
    }
}

FolderList::FolderList(QWidget *parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const QString target = item->data(Qt::UserRole).toString();
        if (target != m_path && setPath(target)) Q_EMIT pathChanged(m_path);
    });
}

bool FolderList::setPath(const QString &folder)
{
    if (folder.isEmpty()) return false;
    const QFileInfo info(folder);
    if (!info.exists() || !info.isDir() || !info.isReadable()) return false;
    m_path = QDir::cleanPath(info.absoluteFilePath());
    fill();
    return true;
}

void FolderList::refresh()
{
    fill();
}

void FolderList::fill()
{
    clear();
    // The chain from the root down to the current folder.
    QStringList chain;
    QDir dir(m_path);
    chain.prepend(dir.absolutePath());
    while (dir.cdUp())
        chain.prepend(dir.absolutePath());
    int depth = 0;
    for (const QString &folder : chain) {
        const QString name = depth == 0 ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
        auto *item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, folder);
        if (folder == m_path) setCurrentItem(item);
        ++depth;
    }
    const QStringList subfolders =
        QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &sub : subfolders) {
        auto *item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + sub, this);
        item->setData(Qt::UserRole, QDir(m_path).absoluteFilePath(sub));
    }
}
