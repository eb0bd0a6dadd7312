#include "common/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
struct Record
{
    std::optional<MessageBox::Answer> next;
    std::optional<int> nextChoice;
    bool autoAnswer = false;
    QString title;
    QString text;
    QStringList buttons;
    int count = 0;
};
Record &record()
{
    static Record r;
    return r;
}
} // namespace

void MessageBox::information(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, title, text, false);
}

MessageBox::Answer MessageBox::okCancel(QWidget *parent, const QString &title, const QString &text)
{
    return show(parent, title, text, true);
}

void MessageBox::note(const QString &title, const QString &text, const QStringList &buttons)
{
    auto &r = record();
    r.title = title;
    r.text = text;
    r.buttons = buttons;
    ++r.count;
}

int MessageBox::choose(QWidget *parent, const QString &title, const QString &text, const QStringList &buttons,
                       int defaultButton)
{
    note(title, text, buttons);
    auto &r = record();
    if (r.nextChoice) {
        const int c = *r.nextChoice;
        r.nextChoice.reset();
        return c;
    }
    if (r.autoAnswer) return defaultButton;
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QList<QPushButton *> pushButtons;
    for (const QString &caption : buttons)
        pushButtons << box.addButton(caption, QMessageBox::ActionRole);
    if (defaultButton >= 0 && defaultButton < pushButtons.size()) {
        box.setDefaultButton(pushButtons[defaultButton]);
        box.setEscapeButton(pushButtons[defaultButton]);
    }
    box.exec();
    const int chosen = pushButtons.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return chosen >= 0 ? chosen : defaultButton;
}

MessageBox::Answer MessageBox::show(QWidget *parent, const QString &title, const QString &text,
                                    bool withCancel)
{
    auto &r = record();
    note(title, text,
         withCancel ? QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}
                    : QStringList{QStringLiteral("OK")});
    if (r.next) {
        const Answer a = *r.next;
        r.next.reset();
        return a;
    }
    if (r.autoAnswer) return Ok;
    QMessageBox box(withCancel ? QMessageBox::Question : QMessageBox::Warning, title, text,
                    withCancel ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok, parent);
    // Texts may carry what a module or a file said: never read as markup.
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Ok ? Ok : Cancel;
}

void MessageBox::setNextAnswer(Answer answer)
{
    record().next = answer;
}
void MessageBox::setNextChoice(int index)
{
    record().nextChoice = index;
}
void MessageBox::setAutoAnswer(bool enabled)
{
    record().autoAnswer = enabled;
}
QStringList MessageBox::lastButtons()
{
    return record().buttons;
}
QString MessageBox::lastTitle()
{
    return record().title;
}
QString MessageBox::lastText()
{
    return record().text;
}
int MessageBox::shownCount()
{
    return record().count;
}
void MessageBox::resetRecord()
{
    auto &r = record();
    r = Record{};
}
