#include "app/PreferencesDialog.h"

#include "app/BrowseDirectoryDialog.h"
#include "app/Settings.h"
#include "protocol/ModuleState.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>

PreferencesDialog::PreferencesDialog(ModuleState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);

    Label2 = new QLabel(QStringLiteral("QV1 Directory:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    // A folder's name is shown as it is, never read as markup.
    Label1->setTextFormat(Qt::PlainText);
    Label1->setFrameShape(QFrame::StyledPanel);
    Label1->setMinimumWidth(320);
    Label2->setBuddy(Label1);
    Command1 = new QPushButton(QStringLiteral("Browse..."), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("OK"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3 = new QPushButton(QStringLiteral("Cancel"), this);
    Command3->setObjectName(QStringLiteral("Command3"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(Command1, 0, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    grid->addLayout(buttons, 1, 0, 1, 3);

    // The folder is stored by "Browse directory" the moment it is chosen, so OK and Cancel
    // both just close.
    connect(Command1, &QPushButton::clicked, this, &PreferencesDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);

    // Read again as at start-up: no file with a folder means no folder stored.
    m_state.DefaultDirectory = loadDefaultDirectory();
    Label1->setText(QDir::toNativeSeparators(m_state.DefaultDirectory));
}

void PreferencesDialog::Command1_Click()
{
    BrowseDirectoryDialog browse(m_state, this);
    browse.exec();
    Label1->setText(QDir::toNativeSeparators(m_state.DefaultDirectory));
}
