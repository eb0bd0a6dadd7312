#include "app/MessageBox.h"

#include <QMessageBox>

namespace {
struct Record
{
    std::optional<MessageBox::Answer> next;
    bool autoAnswer = false;
    QString title;
    QString text;
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

MessageBox::Answer MessageBox::show(QWidget *parent, const QString &title, const QString &text, bool withCancel)
{
    auto &r = record();
    r.title = title;
    r.text = text;
    ++r.count;
    if (r.next) {
        const Answer a = *r.next;
        r.next.reset();
        return a;
    }
    if (r.autoAnswer)
        return Ok;
    QMessageBox box(withCancel ? QMessageBox::Question : QMessageBox::Warning, title, text,
                    withCancel ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok, parent);
    return box.exec() == QMessageBox::Ok ? Ok : Cancel;
}

void MessageBox::setNextAnswer(Answer answer) { record().next = answer; }
void MessageBox::setAutoAnswer(bool enabled) { record().autoAnswer = enabled; }
QString MessageBox::lastTitle() { return record().title; }
QString MessageBox::lastText() { return record().text; }
int MessageBox::shownCount() { return record().count; }
void MessageBox::resetRecord()
{
    auto &r = record();
    r = Record{};
}
