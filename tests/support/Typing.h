#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

// Typing as the installer types: into the focused field of the active window, key by key. Only
// there do completion, validators and focus behave for real; keys sent to a field of a window
// that is not active never meet the field's completion.
namespace Typing {

// Shows the window and makes it the active one; false when it does not become active.
[[nodiscard]] inline bool activate(QWidget *window)
{
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

// Clicks into the field of an editable list, selects what it shows and types over it one key
// at a time. False when the field cannot be typed into: the list is hidden, disabled or not
// editable, or its window is not the active one.
[[nodiscard]] inline bool typeInto(QComboBox *list, const QString &typed)
{
    QLineEdit *field = list->lineEdit();
    if (!field || !list->isVisible() || !list->isEnabled() || !list->isActiveWindow()) return false;
    field->setFocus(Qt::MouseFocusReason);
    if (!QTest::qWaitFor([field] { return field->hasFocus(); })) return false;
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (field->selectedText() != field->text()) return false;
    QTest::keyClicks(field, typed);
    return true;
}

// Leaves the field the installer typed into with a key (Enter, Tab ...), as a person ends typing.
inline void leave(QComboBox *list, Qt::Key key)
{
    QTest::keyClick(list->lineEdit(), key);
    QCoreApplication::processEvents();
}

} // namespace Typing
