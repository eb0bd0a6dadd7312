#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

// All message boxes of the program go through here, so that a test can answer the next box
// instead of a person and read what it said.
class MessageBox
{
public:
    enum Answer
    {
        Ok,
        Cancel
    };

    // A box with an OK button only.
    static void information(QWidget *parent, const QString &title, const QString &text);
    // A box with OK and Cancel; returns the installer's answer.
    static Answer okCancel(QWidget *parent, const QString &title, const QString &text);
    // A question with buttons of its own, `defaultButton` taking Enter and Esc; returns the
    // index of the button chosen.
    static int choose(QWidget *parent, const QString &title, const QString &text, const QStringList &buttons,
                      int defaultButton);

    // Test hook: the next box is not shown but answered with `answer`.
    static void setNextAnswer(Answer answer);
    // Test hook: the next question of choose() is answered with the button of that index.
    static void setNextChoice(int index);
    // Test hook: every box is answered without being shown (OK, or a question's default
    // button, unless a next answer is set).
    static void setAutoAnswer(bool enabled);
    static QStringList lastButtons();
    static QString lastTitle();
    static QString lastText();
    static int shownCount();
    static void resetRecord();

private:
    static Answer show(QWidget *parent, const QString &title, const QString &text, bool withCancel);
    static void note(const QString &title, const QString &text, const QStringList &buttons);
};
