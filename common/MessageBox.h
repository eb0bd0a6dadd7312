#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <utility>

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
    // The icon of a box with an OK button: a warning (the program's "Opgelet !" boxes) or a plain
    // piece of information (a check that found everything in order).
    enum class Icon
    {
        Warning,
        Information
    };

    // A box with an OK button only.
    static void information(QWidget *parent, const QString &title, const QString &text,
                            Icon icon = Icon::Warning);
    // A box with OK and Cancel; returns the installer's answer. Esc and the box's close button
    // are Cancel.
    static Answer okCancel(QWidget *parent, const QString &title, const QString &text);
    // A question with buttons of its own, each giving its answer (in the order shown):
    // `defaultAnswer`'s button takes Enter, `escapeAnswer`'s takes Esc and the box's close button
    // (none: the default's does). Returns the answer of the button chosen.
    template <class Answer>
    static Answer ask(QWidget *parent, const QString &title, const QString &text,
                      const QList<std::pair<Answer, QString>> &options, Answer defaultAnswer,
                      std::optional<Answer> escapeAnswer = std::nullopt)
    {
        QStringList captions;
        int defaultButton = 0;
        int escapeButton = -1;
        for (int i = 0; i < options.size(); ++i) {
            captions << options.at(i).second;
            if (options.at(i).first == defaultAnswer) defaultButton = i;
            if (escapeAnswer && options.at(i).first == *escapeAnswer) escapeButton = i;
        }
        return options.at(choose(parent, title, text, captions, defaultButton, escapeButton)).first;
    }
    // Closes the question ask() is showing, if any, as Esc closes it: used when what the
    // question was about has come to an end by itself (a send that finished while the installer
    // was asked whether to stop it).
    static void dismissQuestion();

    // Test hook: the next box is not shown but answered with `answer`.
    static void setNextAnswer(Answer answer);
    // Test hook: the next question of ask() is answered with the button of that index.
    static void setNextChoice(int index);
    // Test hook: every box is answered without being shown (OK, or a question's default
    // button, unless a next answer is set).
    static void setAutoAnswer(bool enabled);
    // What the last box said: its buttons' captions as the box shows them (standard buttons in
    // the language of the translations loaded), its title, text and icon.
    static QStringList lastButtons();
    static QString lastTitle();
    static QString lastText();
    static Icon lastIcon();
    static int shownCount();
    static void resetRecord();

private:
    // Shows the question; returns the index of the button chosen.
    static int choose(QWidget *parent, const QString &title, const QString &text, const QStringList &buttons,
                      int defaultButton, int escapeButton);
};
