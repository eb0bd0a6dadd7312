#pragma once

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <initializer_list>

// Small factories and helpers for the controls of every window: each control is created with
// the name it is known by (in the code, the tests and screen readers' tooling) as its object
// name and, until a language sets it, as its design-time text.
namespace Controls {

QPushButton *button(const char *name, QWidget *parent);
QPushButton *button(const char *name, const QString &text, QWidget *parent);
// A label that shows its text as it is, never as markup.
QLabel *label(const char *name, QWidget *parent);
QRadioButton *option(const char *name, QWidget *parent);
QRadioButton *option(const char *name, const QString &text, QWidget *parent);
QAction *menuEntry(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {});
QAction *menuSeparator(QMenu *menu, const char *name);

void setEnabled(std::initializer_list<QWidget *> widgets, bool enabled);
// Clears every option of a group, so that none is selected. Signals are not blocked.
void clearOptions(std::initializer_list<QRadioButton *> options);

} // namespace Controls
