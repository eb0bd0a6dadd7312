#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace Qt::StringLiterals;

// Dialogs of the program answered as a person answers them, while the step that opens them runs.
// Answers the modal dialog of class T named `name` as soon as it is on screen while `act` runs (a
// dialog still open afterwards is closed as Esc closes it). True when the dialog came.
template <class T>
bool answering(const QString &name, const std::function<void(T *)> &answer, const std::function<void()> &act)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog->objectName() != name) return;
        poll.stop();
        seen = true;
        answer(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    poll.start();
    act();
    return QTest::qWaitFor([&] { return seen; }, 5000);
}

// A file dialog of Qt's own answered as a person answers it: the name typed, then Enter.
inline bool answerFileDialog(const QString &name, const QString &typed, const std::function<void()> &act)
{
    return answering<QFileDialog>(
        name,
        [typed](QFileDialog *dialog) {
            auto *field = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
            field->setText(typed);
            QTest::keyClick(field, Qt::Key_Return);
        },
        act);
}
