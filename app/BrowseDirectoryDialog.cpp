#include "app/BrowseDirectoryDialog.h"

#include "app/Settings.h"
#include "common/UserFolders.h"
#include "protocol/ModuleState.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>

BrowseDirectoryDialog::BrowseDirectoryDialog(ModuleState &state, QWidget *parent)
    : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Browse directory"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Look in drive:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Drive1 = new DriveList(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Label1->setBuddy(Drive1);
    Dir1 = new FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setMinimumSize(360, 240);
    Label2 = new QLabel(QStringLiteral("Current Directory:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    // A folder's name is shown as it is, never read as markup.
    Label3->setTextFormat(Qt::PlainText);
    Label2->setBuddy(Label3);
    // A screen reader names a list by its accessible name only: the folder list goes by the
    // caption of the directory it shows.
    Dir1->setAccessibleName(Label2->text());
    Command1 = new QPushButton(QStringLiteral("Select directory"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3 = new QPushButton(QStringLiteral("Default"), this);
    Command3->setObjectName(QStringLiteral("Command3"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Drive1, 0, 1);
    grid->addWidget(Dir1, 1, 0, 1, 2);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(Label3, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command3);
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    grid->addLayout(buttons, 3, 0, 1, 2);

    connect(Drive1, &DriveList::driveChanged, this, [this](const QString &drive) {
        if (Dir1->setPath(drive)) Label3->setText(QDir::toNativeSeparators(Dir1->path()));
    });
    connect(Dir1, &FolderList::pathChanged, this,
            [this](const QString &folder) { Label3->setText(QDir::toNativeSeparators(folder)); });
    connect(Command1, &QPushButton::clicked, this, &BrowseDirectoryDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command3, &QPushButton::clicked, this, &BrowseDirectoryDialog::Command3_Click);

    // No stored folder: the list starts in the user's documents folder and nothing is stored
    // until the installer selects a folder. A stored folder that can no longer be shown is
    // replaced by the documents folder, and that is stored at once.
    if (Dir1->setPath(m_state.DefaultDirectory)) {
        showFolder(Dir1->path());
    } else if (m_state.DefaultDirectory.trimmed().isEmpty()) {
        if (Dir1->setPath(UserFolders::documentsFolder())) showFolder(Dir1->path());
    } else {
        m_state.DefaultDirectory = UserFolders::documentsFolder();
        storeDirectory(QDir::toNativeSeparators(m_state.DefaultDirectory), this, m_state.Language);
        Dir1->setPath(m_state.DefaultDirectory);
        showFolder(m_state.DefaultDirectory);
    }
}

void BrowseDirectoryDialog::showFolder(const QString &folder)
{
    Drive1->selectDriveOf(folder);
    Label3->setText(QDir::toNativeSeparators(folder));
}

void BrowseDirectoryDialog::Command1_Click()
{
    const QString folder = QDir::toNativeSeparators(Dir1->path());
    m_state.DefaultDirectory = folder;
    storeDirectory(folder, this, m_state.Language);
    accept();
}

void BrowseDirectoryDialog::Command3_Click()
{
    if (Dir1->setPath(UserFolders::documentsFolder())) showFolder(Dir1->path());
}
