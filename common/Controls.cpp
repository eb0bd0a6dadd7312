#include "common/Controls.h"

#include "common/Named.h"

namespace Controls {

QPushButton *button(const char *name, QWidget *parent)
{
    return button(name, QString::fromLatin1(name), parent);
}

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    return named(new QPushButton(text, parent), name);
}

QLabel *label(const char *name, QWidget *parent)
{
    QLabel *l = named(new QLabel(QString::fromLatin1(name), parent), name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QRadioButton *option(const char *name, QWidget *parent)
{
    return option(name, QString::fromLatin1(name), parent);
}

QRadioButton *option(const char *name, const QString &text, QWidget *parent)
{
    return named(new QRadioButton(text, parent), name);
}

QAction *menuEntry(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    return a;
}

QAction *menuSeparator(QMenu *menu, const char *name)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

void setEnabled(std::initializer_list<QWidget *> widgets, bool enabled)
{
    for (QWidget *w : widgets)
        w->setEnabled(enabled);
}

void clearOptions(std::initializer_list<QRadioButton *> options)
{
    // An exclusive option cannot be unchecked on its own while it is the checked one.
    for (QRadioButton *o : options) {
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
}

} // namespace Controls
