#include "common/MessageBox.h"

#include <QMessageBox>
#include <QPointer>
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
    MessageBox::Icon icon = MessageBox::Icon::Warning;
    int count = 0;
    // The question choose() is showing.
    QPointer<QMessageBox> openQuestion;
};
Record &record()
{
    static Record r;
    return r;
}

// A box's buttons as the installer reads them (without the shortcut marks).
QStringList captions(const QList<QAbstractButton *> &buttons)
{
    QStringList shown;
    for (const QAbstractButton *b : buttons) {
        QString caption = b->text();
        caption.remove(QLatin1Char('&'));
        shown << caption;
    }
    return shown;
}

void note(const QMessageBox &box, const QStringList &buttons, MessageBox::Icon icon)
{
    auto &r = record();
    r.title = box.windowTitle();
    r.text = box.text();
    r.buttons = buttons;
    r.icon = icon;
    ++r.count;
}

// The answer a test gives instead of the installer, if any: the next answer set, else OK while
// every box is answered.
std::optional<MessageBox::Answer> testAnswer()
{
    auto &r = record();
    if (r.next) {
        const MessageBox::Answer a = *r.next;
        r.next.reset();
        return a;
    }
    if (r.autoAnswer) return MessageBox::Ok;
    return std::nullopt;
}
} // namespace

void MessageBox::information(QWidget *parent, const QString &title, const QString &text, Icon icon)
{
    QMessageBox box(icon == Icon::Information ? QMessageBox::Information : QMessageBox::Warning, title, text,
                    QMessageBox::Ok, parent);
    // Texts may carry what a module or a file said: never read as markup.
    box.setTextFormat(Qt::PlainText);
    note(box, captions(box.buttons()), icon);
    if (!testAnswer()) box.exec();
}

MessageBox::Answer MessageBox::okCancel(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setTextFormat(Qt::PlainText);
    box.setEscapeButton(QMessageBox::Cancel);
    // In the order the box shows them, whatever the platform's order: OK first.
    note(box, captions({box.button(QMessageBox::Ok), box.button(QMessageBox::Cancel)}), Icon::Warning);
    if (const auto answer = testAnswer()) return *answer;
    return box.exec() == QMessageBox::Ok ? Ok : Cancel;
}

int MessageBox::choose(QWidget *parent, const QString &title, const QString &text, const QStringList &buttons,
                       int defaultButton, int escapeButton)
{
    if (escapeButton < 0) escapeButton = defaultButton;
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QList<QPushButton *> pushButtons;
    for (const QString &caption : buttons)
        pushButtons << box.addButton(caption, QMessageBox::ActionRole);
    if (defaultButton >= 0 && defaultButton < pushButtons.size())
        box.setDefaultButton(pushButtons[defaultButton]);
    // Esc and the close button of the box choose the escape button; without one, closing the
    // box would be refused.
    if (escapeButton >= 0 && escapeButton < pushButtons.size())
        box.setEscapeButton(pushButtons[escapeButton]);
    note(box, buttons, Icon::Warning);
    auto &r = record();
    if (r.nextChoice) {
        const int c = *r.nextChoice;
        r.nextChoice.reset();
        return c;
    }
    if (r.autoAnswer) return defaultButton;
    const QPointer<QMessageBox> outer = r.openQuestion;
    r.openQuestion = &box;
    box.exec();
    record().openQuestion = outer;
    const int chosen = pushButtons.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return chosen >= 0 ? chosen : escapeButton;
}

void MessageBox::dismissQuestion()
{
    // Closing a box with an escape button clicks it; done() covers a box closed before it showed.
    if (QMessageBox *box = record().openQuestion) {
        if (QAbstractButton *escape = box->escapeButton())
            escape->click();
        else
            box->done(QDialog::Rejected);
    }
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
MessageBox::Icon MessageBox::lastIcon()
{
    return record().icon;
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
