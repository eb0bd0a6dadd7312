#include "files/FileList.h"

#include <QDir>

FileList::FileList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileList::setFolder(const QString &folder)
{
    m_folder = folder;
    refresh();
}

void FileList::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    refresh();
}

QString FileList::fileName() const
{
    const QListWidgetItem *item = currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void FileList::refresh()
{
    clear();
    if (m_folder.isEmpty())
        return;
    // The extension is matched as written: "*.QV1" lists "a.QV1" but not "a.qv1".
    QDir dir(m_folder, m_pattern, QDir::Name | QDir::IgnoreCase, QDir::Files | QDir::CaseSensitive);
    addItems(dir.entryList());
}
