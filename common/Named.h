#pragma once

#include <QString>

// Gives a control the name it is known by (in the code, in the tests and to screen readers'
// tooling) and hands it back, so it can be named where it is created.
template <typename W> W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

template <typename W> W *named(W *w, const char *name)
{
    return named(w, QString::fromLatin1(name));
}
