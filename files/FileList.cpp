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
    if (m_folder.isEmpty()) return;
    // The extension in any letter case: "*.QV1" lists "a.QV1" and also "a.qv1", as a module file
    // saved on a system that changed the case of the name.
    QDir dir(m_folder, m_pattern, QDir::Name | QDir::IgnoreCase, QDir::Files);
    addItems(dir.entryList());
}
