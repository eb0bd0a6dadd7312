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
