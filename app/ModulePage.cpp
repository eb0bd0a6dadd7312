#include "app/ModulePage.h"

#include "common/Controls.h"
#include "common/InstallFolder.h"
#include "common/WidgetTexts.h"
#include "protocol/ModuleState.h"
#include "protocol/ModuleTypes.h"

#include <QFile>
#include <QHBoxLayout>
#include <QImageReader>
#include <QPixmap>
#include <QVBoxLayout>

namespace {
// A module picture is a bitmap and is read as one: whatever else a file of that name holds is
// not handed to another image reader. A file that is not a readable bitmap gives no picture.
QPixmap loadBitmap(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QPixmap();
    QImageReader reader(&file, "bmp");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    const QImage image = reader.read();
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}
} // namespace

ModulePage::ModulePage(ModuleState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Frame11"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame11"));
    Picture2 = new QLabel(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setAlignment(Qt::AlignCenter);
    Picture2->setMinimumSize(320, 200);
    Label2 = new QLabel(QStringLiteral("Label2"), this);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->hide();
    Command11 = Controls::button("Command11", this);
    Command11->hide();
    Command13 = Controls::button("Command13", this);
    Command13->hide();
    Command14 = Controls::button("Command14", this);
    Command14->hide();
    Command33 = Controls::button("Command33", this);
    Command33->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (auto *b : {Command11, Command13, Command14, Command33})
        buttons->addWidget(b);
    buttons->addStretch();
    connect(Command11, &QPushButton::clicked, this,
            [this] { Q_EMIT documentationRequested(DocumentationPages::Button::Command11); });
    connect(Command13, &QPushButton::clicked, this,
            [this] { Q_EMIT documentationRequested(DocumentationPages::Button::Command13); });
    connect(Command14, &QPushButton::clicked, this,
            [this] { Q_EMIT documentationRequested(DocumentationPages::Button::Command14); });
    connect(Command33, &QPushButton::clicked, this,
            [this] { Q_EMIT documentationRequested(DocumentationPages::Button::Command33); });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Picture2, 1);
    layout->addWidget(Label2);
    layout->addLayout(buttons);
    hide();
}

void ModulePage::setTypeLabel(int type)
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    if (!info) return;
    if (const auto label = info->typeLabel.in(m_state.Language)) Label2->setText(*label);
    Label2->show();
    m_shown.labelType = type;
}

void ModulePage::hideTypeLabel()
{
    Label2->hide();
    m_shown.labelType = -1;
}

ModulePage::Shown ModulePage::shown() const
{
    return m_shown;
}

void ModulePage::showPage(int type, Origin origin)
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    if (!info) return;
    const int lang = m_state.Language;
    const bool fromFile = origin == Origin::ModuleFile;
    m_shown.type = type;
    m_shown.origin = origin;

    setTypeLabel(type);
    Picture2->setPixmap(loadBitmap(InstallFolder::file(QString::fromLatin1(info->picture))));
    if (const auto caption = (fromFile ? info->pageCaptionOfFile : info->pageCaption).in(lang))
        setTitle(*caption);

    // One "more information" button, or one button per model of the type.
    const bool perModel = !info->moreInfoButton;
    if (perModel) {
        Command13->setText(QStringLiteral("Info ZK2425"));
        Command14->setText(QStringLiteral("Info ZK2436"));
        Command33->setText(fromFile ? QStringLiteral("Info ZK2447") : QStringLiteral("ZK3447 ZK2447"));
    } else {
        Lang::setText(Command11, lang, QStringLiteral("Meer info..."), QStringLiteral("Plus de données..."));
    }
    Command11->setVisible(!perModel);
    Command13->setVisible(perModel);
    Command14->setVisible(perModel);
    Command33->setVisible(perModel);
}

void ModulePage::restore(Shown page)
{
    if (page.type >= 0) {
        showPage(page.type, page.origin);
    } else {
        m_shown = page;
        setTitle(QStringLiteral("Frame11"));
        Picture2->clear();
        Label2->setText(QStringLiteral("Label2"));
        Label2->hide();
        for (QPushButton *b : {Command11, Command13, Command14, Command33}) {
            b->setText(b->objectName());
            b->hide();
        }
    }
    if (page.labelType >= 0)
        setTypeLabel(page.labelType);
    else
        hideTypeLabel();
}
