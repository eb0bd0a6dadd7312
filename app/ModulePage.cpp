#include "app/ModulePage.h"

#include "common/InstallFolder.h"
#include "common/Controls.h"
#include "common/WidgetTexts.h"
#include "protocol/ModuleState.h"

#include <QFile>
#include <QHBoxLayout>
#include <QImageReader>
#include <QPixmap>
#include <QVBoxLayout>

namespace {
const char *pictureFile(int type)
{
    switch (type) {
    case 0:
        return "relais.bmp";
    case 1:
        return "dimmer.bmp";
    case 2:
        return "velano.bmp";
    case 3:
        return "modulair.bmp";
    default:
        return nullptr;
    }
}

// A module picture is a bitmap and is read as one: whatever else a file of that name holds is
// not handed to another image reader. A file that is not a readable bitmap gives no picture.
QPixmap loadBitmap(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QPixmap();
    QImageReader reader(&file, "bmp");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    const QImage image = reader.read();
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}
} // namespace

ModulePage::ModulePage(ModuleState &state, QWidget *parent) : QGroupBox(QStringLiteral("Frame11"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame11"));
    Picture2 = new QLabel(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setAlignment(Qt::AlignCenter);
    Picture2->setMinimumSize(320, 200);
    Label2 = new QLabel(QStringLiteral("Label2"), this);
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
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Picture2, 1);
    layout->addWidget(Label2);
    layout->addLayout(buttons);
    hide();
}

void ModulePage::setTypeLabel(int type)
{
    const int lang = m_state.Language;
    switch (type) {
    case 0:
    case 3:
        Lang::setText(Label2, lang, QStringLiteral("Relaismodule"), QStringLiteral("Module relais"));
        break;
    case 1:
        Lang::setText(Label2, lang, QStringLiteral("Dimmodule"), QStringLiteral("Module dim"));
        break;
    case 2:
        Lang::setText(Label2, lang, QStringLiteral("Velano module"), QStringLiteral("Module Velano"));
        break;
    default:
        return;
    }
    Label2->show();
}

void ModulePage::showPage(int type, Origin origin)
{
    const char *picture = pictureFile(type);
    if (!picture)
        return;
    const int lang = m_state.Language;
    const bool fromFile = origin == Origin::ModuleFile;
    m_shown = {type, origin};

    setTypeLabel(type);
    Picture2->setPixmap(loadBitmap(InstallFolder::file(QString::fromLatin1(picture))));
    show();

    switch (type) {
    case 0:
    case 3:
        Lang::setText(this, lang, QStringLiteral("Relaismodule:"), QStringLiteral("Module relais:"));
        break;
    case 1:
        Lang::setText(this, lang, QStringLiteral("Dimmodule:"),
                      fromFile ? QStringLiteral("Module dimmer:") : QStringLiteral("Module dim:"));
        break;
    case 2:
        Lang::setText(this, lang, QStringLiteral("Velano module:"), QStringLiteral("Module Velano:"));
        break;
    }

    const bool dim = type == 1;
    if (dim) {
        Command13->setText(QStringLiteral("Info ZK2425"));
        Command14->setText(QStringLiteral("Info ZK2436"));
        Command33->setText(fromFile ? QStringLiteral("Info ZK2447") : QStringLiteral("ZK3447 ZK2447"));
    } else {
        Lang::setText(Command11, lang, QStringLiteral("Meer info..."), QStringLiteral("Plus de données..."));
    }
    Command11->setVisible(!dim);
    Command13->setVisible(dim);
    Command14->setVisible(dim);
    Command33->setVisible(dim);
}

void ModulePage::restore(Shown page)
{
    const bool visible = !isHidden();
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
    setVisible(visible);
}
