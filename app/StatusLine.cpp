#include "app/StatusLine.h"

#include "common/Controls.h"
#include "common/Lang.h"
#include "common/Named.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

StatusLine::StatusLine(QMainWindow *window)
    : QObject(window), StatusBar1(named(new QStatusBar(window), "StatusBar1"))
{
    QStatusBar *bar = StatusBar1;
    window->setStatusBar(bar);
    auto *caption = named(new QLabel(QStringLiteral("Status:"), bar), "StatusPanel1");
    Text1 = named(new QLineEdit(bar), "Text1");
    Text1->setReadOnly(true);
    Text1->setFrame(false);
    caption->setBuddy(Text1);
    ProgressBar1 = named(new QProgressBar(bar), "ProgressBar1");
    ProgressBar1->hide();
    AbortButton = Controls::button("AbortButton", QString(), bar);
    AbortButton->setToolTip(QStringLiteral("Esc"));
    AbortButton->hide();
    connect(AbortButton, &QPushButton::clicked, this, &StatusLine::abortRequested);
    bar->addWidget(caption);
    bar->addWidget(Text1, 1);
    bar->addWidget(ProgressBar1, 1);
    bar->addWidget(AbortButton);
    // Plain text: it is the program's own word, never markup.
    ChangedPanel = named(new QLabel(bar), "ChangedPanel");
    ChangedPanel->setTextFormat(Qt::PlainText);
    ChangedPanel->hide();
    bar->addPermanentWidget(ChangedPanel);
    bar->addPermanentWidget(named(new QLabel(QStringLiteral("Ver: 05.00"), bar), "VersionPanel1"));
}

void StatusLine::setCaptions(int language)
{
    AbortButton->setText(Lang::text(language, QStringLiteral("Afbreken"), QStringLiteral("Interrompre"),
                                    QStringLiteral("Afbreken / Interrompre")));
}

void StatusLine::setStatus(const std::optional<QString> &text)
{
    if (text) Text1->setText(*text);
}

void StatusLine::setProgress(bool visible, int value, int maximum)
{
    ProgressBar1->setMaximum(maximum);
    ProgressBar1->setValue(qMin(value, maximum));
    ProgressBar1->setVisible(visible);
}

void StatusLine::setRunning(bool running)
{
    AbortButton->setVisible(running);
}

void StatusLine::setChanged(bool changed, int language)
{
    const QString text = Lang::text(language, QStringLiteral("Gewijzigd"), QStringLiteral("Modifié"),
                                    QStringLiteral("Gewijzigd / Modifié"));
    ChangedPanel->setText(changed ? text : QString());
    ChangedPanel->setAccessibleName(changed ? text : QString());
    ChangedPanel->setVisible(changed);
}
