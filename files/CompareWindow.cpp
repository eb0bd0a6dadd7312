#include "files/CompareWindow.h"

#include "common/Named.h"
#include "common/WidgetTexts.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace {
// "Geheugenplaats 45" / "Geheugenplaatsen 45, 46": where a difference sits in the module.
QString slotsText(const QList<int> &numbersOfSlots, int language)
{
    QStringList numbers;
    for (int slot : numbersOfSlots)
        numbers << QString::number(slot);
    const bool one = numbersOfSlots.size() == 1;
    const QString dutch = one ? QStringLiteral("Geheugenplaats ") : QStringLiteral("Geheugenplaatsen ");
    const QString french = one ? QStringLiteral("Emplacement ") : QStringLiteral("Emplacements ");
    return Lang::text(language, dutch, french, dutch) + numbers.join(QStringLiteral(", "));
}
} // namespace

CompareWindow::CompareWindow(int language, const QString &path, const ImageCompare::Result &result,
                             QWidget *parent)
    : QDialog(parent)
{
    const int lang = language;
    const auto text = [lang](const QString &dutch, const QString &french) {
        return Lang::text(lang, dutch, french, dutch);
    };
    setObjectName(QStringLiteral("CompareWindow"));
    // "[*]" in a title marks where a window shows it was modified; a file name keeps it as it is.
    const QString name = QFileInfo(path).fileName().replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(text(QStringLiteral("Vergelijken met %1"), QStringLiteral("Comparer avec %1")).arg(name));

    CountLabel = named(new QLabel(this), "CountLabel");
    DifferenceList = named(new QTreeWidget(this), "DifferenceList");
    CloseButton = named(new QPushButton(text(QStringLiteral("Sluiten"), QStringLiteral("Fermer")), this),
                        "CloseButton");
    CountLabel->setTextFormat(Qt::PlainText);
    CountLabel->setText(ImageCompare::summary(result, lang));
    CountLabel->setBuddy(DifferenceList);

    DifferenceList->setColumnCount(3);
    DifferenceList->setHeaderLabels(
        {text(QStringLiteral("Instelling"), QStringLiteral("Réglage")),
         text(QStringLiteral("In het programma"), QStringLiteral("Dans le programme")),
         text(QStringLiteral("In het bestand"), QStringLiteral("Dans le fichier"))});
    DifferenceList->setRootIsDecorated(false);
    DifferenceList->setUniformRowHeights(true);
    DifferenceList->setAllColumnsShowFocus(true);
    DifferenceList->setMinimumSize(620, 360);
    for (const ImageCompare::Difference &d : result.differences) {
        auto *item = new QTreeWidgetItem(DifferenceList, {d.what, d.before, d.after});
        if (!d.slotNumbers.isEmpty()) item->setToolTip(WhatColumn, slotsText(d.slotNumbers, lang));
        if (d.kind == ImageCompare::Difference::Kind::Version) {
            // A module may keep its own firmware version: shown, not counted.
            for (int column = 0; column < DifferenceList->columnCount(); ++column) {
                QFont font = item->font(column);
                font.setItalic(true);
                item->setFont(column, font);
            }
            item->setToolTip(WhatColumn, text(QStringLiteral("De versie telt niet als verschil."),
                                              QStringLiteral("La version ne compte pas comme différence.")));
        }
    }
    for (int column = 0; column < DifferenceList->columnCount(); ++column)
        DifferenceList->resizeColumnToContents(column);
    DifferenceList->setAccessibleName(windowTitle());
    CountLabel->setAccessibleName(CountLabel->text());
    CloseButton->setAccessibleName(CloseButton->text());

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CountLabel, 1);
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DifferenceList, 1);
    layout->addLayout(buttons);

    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
}
