#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QString>

// The drive list of the folder dialogs: the roots of the file system (drive letters on
// Windows, "/" elsewhere).
class DriveList : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveList(QWidget *parent = nullptr);
    // Selects the drive that holds `folder`.
    void selectDriveOf(const QString &folder);
    QString drive() const { return currentText(); }

Q_SIGNALS:
    void driveChanged(const QString &drive);
};

// The folder list of the folder dialogs: the chain of folders from the drive down to the
// current folder, then the current folder's subfolders, indented like a tree. A double-click
// (or Enter) on an entry makes it the current folder.
class FolderList : public QListWidget
{
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);

    // Makes `folder` current. Returns false, changing nothing, when it cannot be shown (it does
    // not exist or cannot be read).
    bool setPath(const QString &folder);
    QString path() const { return m_path; }
    // Reads the current folder's subfolders again (after a folder was created).
    void refresh();

Q_SIGNALS:
    void pathChanged(const QString &folder);

private:
    void fill();
    QString m_path;
};
