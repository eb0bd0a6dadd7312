#pragma once

#include <QObject>
#include <QStringList>

class QAction;
class QMenu;

// The last eight module files opened or saved, newest first, kept in the user's settings and
// shown as numbered entries ("1 klant.QV1", the full path as tip) between two separators of the
// Bestand menu.
class RecentFiles : public QObject
{
    Q_OBJECT
public:
    static constexpr int Maximum = 8;

    // The entries go between `after` and `before` (two entries of `menu`).
    // `list` is the settings file that keeps them; `entryName` names the entries ("recent1"...).
    RecentFiles(QMenu *menu, QAction *after, QAction *before, QObject *parent = nullptr,
                const char *list = "recent.vdm", const QString &entryName = QStringLiteral("recent"));

    QStringList paths() const { return m_paths; }
    // Reads the list again from the user's settings and shows it.
    void load();
    // `path` was opened or saved: it moves to the top (stored at once).
    void add(const QString &path);
    // `path` has gone: it leaves the list (stored at once).
    void remove(const QString &path);

Q_SIGNALS:
    void chosen(const QString &path);

private:
    void show();
    void store();

    const char *m_list;
    QString m_entryName;
    QMenu *m_menu;
    QAction *m_after;
    QAction *m_before;
    QStringList m_paths;
    QList<QAction *> m_entries;
};
