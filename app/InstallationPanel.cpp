#include "app/InstallationPanel.h"

#include "common/Lang.h"
#include "common/Named.h"
#include "common/WidgetTexts.h"
#include "installation/Installation.h"
#include "protocol/ModuleTypes.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {
enum Column
{
    Name,
    Place,
    Model,
    State
};
} // namespace

InstallationPanel::InstallationPanel(QWidget *parent) : QDockWidget(parent)
{
    setObjectName(u"installatiePaneel"_s);
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                QDockWidget::DockWidgetClosable);
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    modulesLijst = named(new QTreeWidget(this), "modulesLijst");
    modulesLijst->setColumnCount(4);
    modulesLijst->setRootIsDecorated(false);
    modulesLijst->setUniformRowHeights(true);
    modulesLijst->setSelectionMode(QAbstractItemView::SingleSelection);
    modulesLijst->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    modulesLijst->header()->setStretchLastSection(true);
    setWidget(modulesLijst);
    setCaptions(1);
    connect(modulesLijst, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (m_quiet || !current) return;
        // Asked once the click that chose the row is over, so that a row the installer then
        // declines to show is unmarked for good.
        const int index = modulesLijst->indexOfTopLevelItem(current);
        QMetaObject::invokeMethod(
            this, [this, index] { Q_EMIT moduleChosen(index); }, Qt::QueuedConnection);
    });
    connect(modulesLijst, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *row, int column) {
        if (m_quiet || (column != Name && column != Place)) return;
        Q_EMIT moduleRenamed(modulesLijst->indexOfTopLevelItem(row), column, row->text(column));
    });
}

void InstallationPanel::setCaptions(int language)
{
    const auto say = [language](const QString &dutch, const QString &french) {
        return Lang::text(language, dutch, french, dutch);
    };
    setWindowTitle(say(u"Installatie"_s, u"Installation"_s));
    modulesLijst->setHeaderLabels({say(u"Naam"_s, u"Nom"_s), say(u"Plaats"_s, u"Emplacement"_s),
                                   say(u"Model"_s, u"Modèle"_s), say(u"Toestand"_s, u"État"_s)});
    modulesLijst->setAccessibleName(say(u"Modules van de installatie"_s, u"Modules de l'installation"_s));
}

void InstallationPanel::fill(QTreeWidgetItem *row, const Installation &installation, int index, int language)
{
    const InstallationModule &m = installation.modules[static_cast<size_t>(index)];
    const ModuleTypeInfo *info = ModuleTypes::info(m.type);
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    row->setText(Name, m.name);
    row->setText(Place, m.place);
    row->setText(Model, info ? QString::fromLatin1(info->comboEntry) : QString());
    row->setText(State, moduleState(m, language));
    // Names are the installer's plain text: a tip never reads them as markup.
    const QString tip = Lang::plainToolTip(m.notes.isEmpty() ? m.name : m.name + u"\n\n"_s + m.notes);
    for (int column = Name; column <= State; ++column)
        row->setToolTip(column, tip);
}

void InstallationPanel::showModules(const Installation &installation, int language)
{
    m_quiet = true;
    const QSignalBlocker block(modulesLijst);
    modulesLijst->clear();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(static_cast<qsizetype>(installation.modules.size()));
    for (size_t i = 0; i < installation.modules.size(); ++i) {
        auto *row = new QTreeWidgetItem;
        fill(row, installation, static_cast<int>(i), language);
        rows << row;
    }
    modulesLijst->addTopLevelItems(rows);
    // Columns as wide as what they show, measured once per list (the panel scrolls sideways).
    for (int column = Name; column < State; ++column)
        modulesLijst->resizeColumnToContents(column);
    modulesLijst->setCurrentItem(nullptr);
    modulesLijst->clearSelection();
    m_quiet = false;
}

void InstallationPanel::showModule(const Installation &installation, int index, int language)
{
    QTreeWidgetItem *row = modulesLijst->topLevelItem(index);
    if (!row) return;
    m_quiet = true;
    fill(row, installation, index, language);
    m_quiet = false;
}

void InstallationPanel::markInHand(int index)
{
    m_quiet = true;
    QTreeWidgetItem *row = index >= 0 ? modulesLijst->topLevelItem(index) : nullptr;
    modulesLijst->setCurrentItem(row);
    if (!row) modulesLijst->clearSelection();
    m_quiet = false;
}

void InstallationPanel::closeEvent(QCloseEvent *event)
{
    QDockWidget::closeEvent(event);
    Q_EMIT closedByInstaller();
}

int InstallationPanel::rowCount() const
{
    return modulesLijst->topLevelItemCount();
}
