#pragma once
#include <QObject>
#include <QString>
#include <QtGlobal>
// A control of `root` found by its object name, as a person finds it by its caption; a
// missing control stops the test with its name.
template <class T> T *byName(const QObject *root, const char *name)
{
    T *c = root->findChild<T *>(QString::fromLatin1(name));
    if (!c) qFatal("no control %s", name);
    return c;
}

// The installer picks entry `index` of a list, or the entry reading `entry` (false when the list
// has no such entry).
template <class List> void pick(List *list, int index)
{
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}
template <class List> bool pick(List *list, const QString &entry)
{
    const int index = list->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) return false;
    pick(list, index);
    return true;
}
