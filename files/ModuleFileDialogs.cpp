#include "files/ModuleFileDialogs.h"
#include "common/Named.h"

#include "common/InstallFolder.h"
#include "common/UserFolders.h"
#include "common/WidgetTexts.h"
#include "protocol/ModuleState.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>

namespace {
QString installFolderWithoutSeparator()
{
    QString folder = InstallFolder::path();
    if (folder.size() > 1) folder.chop(1);
    return folder;
}

QString withFileName(const QString &folder, const QString &name)
{
    return QDir::toNativeSeparators(QDir(folder).filePath(name));
}
} // namespace

QString moduleFileStartFolder(const ModuleState &state)
{
    const QFileInfo folder(state.DefaultDirectory);
    if (!state.DefaultDirectory.isEmpty() && folder.isDir() && folder.isReadable())
        return folder.absoluteFilePath();
    return UserFolders::documentsFolder();
}

// ---- shared ------------------------------------------------------------------------------------

ModuleFileDialog::ModuleFileDialog(ModuleState &state, const char *formName, const QString &titleNl,
                                   const QString &titleFr, const QString &listsNl, const QString &listsFr,
                                   QWidget *parent)
    : QDialog(parent), m_state(state)
{
    setObjectName(QString::fromLatin1(formName));
    setWindowTitle(titleNl);
    setModal(true);
    const int lang = state.Language;
    Label1 = named(new QLabel(listsNl, this), "Label1");
    Label1->setTextFormat(Qt::PlainText);
    Drive1 = named(new DriveList(this), "Drive1");
    Dir1 = named(new FolderList(this), "Dir1");
    File1 = named(new FileList(this), "File1");
    CancelButton = named(new QPushButton(QStringLiteral("Annuleren"), this), "CancelButton");
    Label1->setBuddy(Dir1);
    Dir1->setMinimumSize(260, 240);
    File1->setMinimumSize(220, 240);
    File1->setAccessibleName(QStringLiteral("*.QV1"));
    Lang::setWindowTitle(this, lang, titleNl, titleFr);
    Lang::setText(Label1, lang, listsNl, listsFr);
    Lang::setText(CancelButton, lang, QStringLiteral("Annuleren"), QStringLiteral("Annuler"));
    // A screen reader names a list by its accessible name only, not by its label: the folder
    // list and the drive list beside the label both go by the label's text.
    Dir1->setAccessibleName(Label1->text());
    Drive1->setAccessibleName(Label1->text());

    m_grid = new QGridLayout(this);
    m_grid->addWidget(Label1, 0, 0);
    m_grid->addWidget(Drive1, 0, 1);
    m_grid->addWidget(Dir1, 1, 0, 1, 2);
    m_grid->addWidget(File1, 0, 2, 2, 1);

    connect(Drive1, &DriveList::driveChanged, this, [this](const QString &drive) {
        if (Dir1->setPath(drive)) showFolder();
        File1->setPattern(QStringLiteral("*.QV1"));
    });
    connect(Dir1, &FolderList::pathChanged, this, [this] { showFolder(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ModuleFileDialog::showFolder()
{
    File1->setFolder(Dir1->path());
}

void ModuleFileDialog::start()
{
    if (!Dir1->setPath(moduleFileStartFolder(m_state))) Dir1->setPath(QDir::rootPath());
    Drive1->selectDriveOf(Dir1->path());
    // Going to the start folder is a folder change like any other (the open dialog shows it).
    showFolder();
}

// ---- Form2 -------------------------------------------------------------------------------------

OpenDialog::OpenDialog(ModuleState &state, Opener opener, QWidget *parent)
    : ModuleFileDialog(state, "Form2", QStringLiteral("Openen"), QStringLiteral("Ouvrir"),
                       QStringLiteral("Zoeken in:"), QStringLiteral("Ouvrir dans:"), parent),
      m_opener(std::move(opener))
{
    const int lang = state.Language;
    Label2 = named(new QLabel(this), "Label2");
    // Folder and file names are shown as they are: a name is never read as markup (which could
    // make the label load a file the name points at).
    Label2->setTextFormat(Qt::PlainText);
    Command1 = named(new QPushButton(QStringLiteral("Openen"), this), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Default directory"), this), "Command2");
    Dir1->setMinimumHeight(260);
    File1->setMinimumHeight(260);
    Lang::setText(Command1, lang, QStringLiteral("Openen"), QStringLiteral("Ouvrir"));

    grid()->addWidget(Label2, 2, 0, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command2);
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(CancelButton);
    grid()->addLayout(buttons, 3, 0, 1, 3);

    connect(File1, &QListWidget::itemClicked, this, [this] { Label2->setText(chosenPath()); });
    connect(File1, &QListWidget::itemDoubleClicked, this, [this] { Command1_Click(); });
    connect(Command1, &QPushButton::clicked, this, &OpenDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &OpenDialog::Command2_Click);
    start();
}

void OpenDialog::showFolder()
{
    ModuleFileDialog::showFolder();
    // The folder followed directly by the selected file name, as the installer knows it.
    Label2->setText(QDir::toNativeSeparators(Dir1->path()) + File1->fileName());
}

QString OpenDialog::chosenPath() const
{
    const QString name = File1->fileName();
    return name.isEmpty() ? QString() : withFileName(Dir1->path(), name);
}

void OpenDialog::Command1_Click()
{
    const QString path = chosenPath();
    if (path.isEmpty()) return; // no file chosen: nothing to open
    if (m_opener(path)) accept();
}

void OpenDialog::Command2_Click()
{
    if (Dir1->setPath(installFolderWithoutSeparator())) {
        Drive1->selectDriveOf(Dir1->path());
        showFolder();
    }
}

// ---- Form3 -------------------------------------------------------------------------------------

SaveDialog::SaveDialog(ModuleState &state, Saver saver, QWidget *parent)
    : ModuleFileDialog(state, "Form3", QStringLiteral("Opslaan"), QStringLiteral("Sauver"),
                       QStringLiteral("Opslaan in:"), QStringLiteral("Sauver ds:"), parent),
      m_saver(std::move(saver))
{
    const int lang = state.Language;
    Label2 = named(new QLabel(QStringLiteral("Bestandsnaam"), this), "Label2");
    Label2->setTextFormat(Qt::PlainText);
    Text1 = named(new QLineEdit(this), "Text1");
    Command1 = named(new QPushButton(QStringLiteral("Bewaren"), this), "Command1");
    Command3 = named(new QPushButton(QStringLiteral("Nieuwe folder"), this), "Command3");
    Text2 = named(new QLineEdit(this), "Text2");
    Command2 = named(new QPushButton(QStringLiteral("OK !"), this), "Command2");
    Label2->setBuddy(Text1);
    Text2->hide();
    Command2->setEnabled(false);
    Lang::setText(Label2, lang, QStringLiteral("Bestandsnaam"), QStringLiteral("Nom fichier"));
    Lang::setText(Command1, lang, QStringLiteral("Bewaren"), QStringLiteral("Sauver"));
    Lang::setText(Command3, lang, QStringLiteral("Nieuwe folder"), QStringLiteral("Nouveau dossier"));
    Text2->setAccessibleName(Command3->text());

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(Command3);
    folderRow->addWidget(Text2, 1);
    folderRow->addWidget(Command2);
    grid()->addLayout(folderRow, 2, 0, 1, 2);
    grid()->addWidget(Label2, 3, 0);
    grid()->addWidget(Text1, 3, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(CancelButton);
    grid()->addLayout(buttons, 4, 0, 1, 3);

    connect(File1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { Text1->setText(item->text()); });
    connect(Command3, &QPushButton::clicked, this, &SaveDialog::Command3_Click);
    connect(Text2, &QLineEdit::textEdited, this, [this] { Command2->setEnabled(true); });
    connect(Command2, &QPushButton::clicked, this, &SaveDialog::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &SaveDialog::Command1_Click);
    start();
}

QString SaveDialog::targetPath(const QString &folder, const QString &name)
{
    const QString file = name.endsWith(QLatin1String(".QV1")) ? name : name + QStringLiteral(".QV1");
    return withFileName(folder, file);
}

bool SaveDialog::createFolder(const QString &parent, const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || !isPlainName(name))
        return false;
    return QDir(parent).mkdir(name);
}

bool SaveDialog::isPlainName(const QString &name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

bool SaveDialog::hasName(const QString &name)
{
    const QString base = name.endsWith(QLatin1String(".QV1")) ? name.chopped(4) : name;
    return !base.trimmed().isEmpty();
}

void SaveDialog::Command1_Click()
{
    // A name that would lead into another folder is refused, as for a new folder, and so is no
    // name at all (nothing, blanks or the extension alone, which would save a hidden ".QV1"):
    // nothing is written and the name stays for the installer to correct.
    if (!isPlainName(Text1->text()) || !hasName(Text1->text())) {
        Text1->setFocus();
        Text1->selectAll();
        return;
    }
    if (m_saver(targetPath(Dir1->path(), Text1->text()))) accept();
}

void SaveDialog::Command2_Click()
{
    // A folder that cannot be created (or a name that would leave this folder) is passed over.
    createFolder(Dir1->path(), Text2->text());
    Dir1->refresh();
    Command2->setEnabled(false);
    Command3->show();
    Text2->clear();
    Text2->hide();
}

void SaveDialog::Command3_Click()
{
    Text2->show();
    Command3->hide();
    Text2->setFocus();
}
