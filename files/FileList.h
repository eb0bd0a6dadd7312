#pragma once

#include <QListWidget>

// The file list of the open and save dialogs: the module files of one folder, those whose name
// ends in ".QV1" in any letter case.
class FileList : public QListWidget
{
    Q_OBJECT
public:
    explicit FileList(QWidget *parent = nullptr);

    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    void setPattern(const QString &pattern);
    QString pattern() const { return m_pattern; }
    // The name of the selected file, empty when none is selected.
    QString fileName() const;
    void refresh();

private:
    QString m_folder;
    QString m_pattern = QStringLiteral("*.QV1");
};
