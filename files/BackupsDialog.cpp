#include "files/BackupsDialog.h"

#include "common/Named.h"
#include "common/WidgetTexts.h"
#include "editors/SlotWords.h"
#include "files/Backups.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace {
QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Day, month and year as the installer writes them: 08-12-2026 in Dutch, 08/12/2026 in French.
QString dateText(const QDate &date, int language)
{
    const QString separator = Lang::Language(language).isFrench() ? QStringLiteral("/") : QStringLiteral("-");
    return twoDigits(date.day()) + separator + twoDigits(date.month()) + separator +
           QString::number(date.year());
}

QString timeText(const QTime &time)
{
    return twoDigits(time.hour()) + QLatin1Char(':') + twoDigits(time.minute()) + QLatin1Char(':') +
           twoDigits(time.second());
}

QString masterText(const Backups::Entry &entry, int language)
{
    if (!entry.readable)
        return Lang::text(language, QStringLiteral("onleesbaar"), QStringLiteral("illisible"),
                          QStringLiteral("onleesbaar"));
    if (entry.master == 0 || entry.master == 1) return SlotWords::masterSlave(entry.master);
    return QStringLiteral("?");
}
} // namespace

BackupsDialog::BackupsDialog(int language, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BackupsDialog"));
    setWindowTitle(QStringLiteral("Reservekopieën"));
    setModal(true);
    const int lang = language;
    const auto text = [lang](const char16_t *dutch, const char16_t *french) {
        return Lang::text(lang, QString::fromUtf16(dutch), QString::fromUtf16(french),
                          QString::fromUtf16(dutch));
    };
    Lang::setWindowTitle(this, lang, QStringLiteral("Reservekopieën"), QStringLiteral("Copies de sécurité"));

    ListLabel = named(new QLabel(this), "ListLabel");
    BackupList = named(new QTreeWidget(this), "BackupList");
    FolderLabel = named(new QLabel(this), "FolderLabel");
    OpenButton = named(new QPushButton(text(u"Openen", u"Ouvrir"), this), "OpenButton");
    CancelButton = named(new QPushButton(text(u"Annuleren", u"Annuler"), this), "CancelButton");
    ListLabel->setTextFormat(Qt::PlainText);
    FolderLabel->setTextFormat(Qt::PlainText);
    FolderLabel->setText(text(u"Map: %1", u"Dossier: %1").arg(QDir::toNativeSeparators(Backups::folder())));
    ListLabel->setBuddy(BackupList);

    BackupList->setColumnCount(5);
    BackupList->setHeaderLabels({text(u"Datum", u"Date"), text(u"Tijd", u"Heure"), text(u"Model", u"Modèle"),
                                 text(u"Versie", u"Version"), QStringLiteral("Master/Slave")});
    BackupList->setRootIsDecorated(false);
    BackupList->setUniformRowHeights(true);
    BackupList->setSelectionMode(QAbstractItemView::SingleSelection);
    BackupList->setAllColumnsShowFocus(true);
    BackupList->setMinimumSize(560, 320);

    // A replaced module file is named by its file name where a read backup names its model; its
    // tooltip gives the whole path it had, then where the backup is.
    const QList<Backups::Entry> entries = Backups::listAll();
    for (const Backups::Entry &e : entries) {
        const QString model = e.isReplacedFile() ? Backups::replacedLabel(e.original, lang) : e.model;
        const QString version = e.version >= 0 ? QString::number(e.version) : QString();
        auto *item =
            new QTreeWidgetItem(BackupList, {dateText(e.dateTime.date(), lang), timeText(e.dateTime.time()),
                                             model, version, masterText(e, lang)});
        item->setData(0, Qt::UserRole, e.path);
        QString shown = QDir::toNativeSeparators(e.path);
        if (e.isReplacedFile()) shown = QDir::toNativeSeparators(e.original) + QLatin1Char('\n') + shown;
        for (int column = 0; column < BackupList->columnCount(); ++column)
            item->setToolTip(column, Lang::plainToolTip(shown));
    }
    for (int column = 0; column < BackupList->columnCount(); ++column)
        BackupList->resizeColumnToContents(column);
    ListLabel->setText(
        entries.isEmpty()
            ? text(u"Er zijn nog geen reservekopieën.", u"Il n'y a pas encore de copies de sécurité.")
            : text(u"Reservekopieën, de nieuwste eerst:", u"Copies de sécurité, les plus récentes d'abord:"));
    BackupList->setAccessibleName(ListLabel->text());
    FolderLabel->setAccessibleName(FolderLabel->text());
    ListLabel->setAccessibleName(ListLabel->text());
    OpenButton->setAccessibleName(OpenButton->text());
    CancelButton->setAccessibleName(CancelButton->text());
    OpenButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OpenButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ListLabel);
    layout->addWidget(BackupList, 1);
    layout->addWidget(FolderLabel);
    layout->addLayout(buttons);

    connect(BackupList, &QTreeWidget::itemSelectionChanged, this,
            [this] { OpenButton->setEnabled(!BackupList->selectedItems().isEmpty()); });
    connect(BackupList, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        BackupList->setCurrentItem(item);
        OpenButton_Click();
    });
    connect(OpenButton, &QPushButton::clicked, this, &BackupsDialog::OpenButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // The newest backup is the one an installer most often wants.
    OpenButton->setEnabled(false);
    if (QTreeWidgetItem *first = BackupList->topLevelItem(0)) BackupList->setCurrentItem(first);
}

void BackupsDialog::OpenButton_Click()
{
    const QList<QTreeWidgetItem *> selected = BackupList->selectedItems();
    if (selected.isEmpty()) return;
    m_chosen = selected.first()->data(0, Qt::UserRole).toString();
    accept();
}
