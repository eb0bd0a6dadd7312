#include "app/OverviewFrame.h"

#include "common/Lang.h"
#include "common/Named.h"
#include "common/WidgetTexts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
struct PageNames
{
    const char *page;
    const char *table;
    const char *filter;
    const char *label;
};
constexpr PageNames Names[] = {
    {"drukknoppenTab", "drukknoppenOverzicht", "drukknoppenFilter", "drukknoppenZoeken"},
    {"uitgangenTab", "uitgangenOverzicht", "uitgangenFilter", "uitgangenZoeken"},
    {"sferenTab", "sferenOverzicht", "sferenFilter", "sferenZoeken"},
};
} // namespace

OverviewFrame::OverviewFrame(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(u"Overzicht"_s);
    m_tabs = named(new QTabWidget(this), "overzichtTabs");
    for (size_t i = 0; i < m_pages.size(); ++i) {
        Page &page = m_pages[i];
        auto *tab = named(new QWidget(m_tabs), Names[i].page);
        auto *label = named(new QLabel(tab), Names[i].label);
        label->setTextFormat(Qt::PlainText);
        page.filter = named(new QLineEdit(tab), Names[i].filter);
        page.filter->setClearButtonEnabled(true);
        label->setBuddy(page.filter);
        page.table = named(new QTableView(tab), Names[i].table);
        page.model = new OverviewModel(page.table);
        page.table->setModel(page.model);
        page.table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        page.table->setSelectionBehavior(QAbstractItemView::SelectRows);
        page.table->setSelectionMode(QAbstractItemView::SingleSelection);
        page.table->verticalHeader()->hide();
        page.table->horizontalHeader()->setStretchLastSection(true);
        page.table->setWordWrap(false);
        page.table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        page.table->verticalHeader()->setDefaultSectionSize(page.table->fontMetrics().height() + 6);
        auto *filterRow = new QHBoxLayout;
        filterRow->addWidget(label);
        filterRow->addWidget(page.filter, 1);
        auto *column = new QVBoxLayout(tab);
        column->addLayout(filterRow);
        column->addWidget(page.table, 1);
        m_tabs->addTab(tab, QString());
        connect(page.filter, &QLineEdit::textChanged, page.model, &OverviewModel::setFilter);
        connect(page.table, &QTableView::doubleClicked, this, [this, i](const QModelIndex &index) {
            const Page &p = m_pages[i];
            if (index.isValid() && index.row() < p.model->rowCount())
                Q_EMIT placeChosen(p.model->rowAt(index.row()).place);
        });
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    hide();
}

void OverviewFrame::showInstallation(const Installation &installation, int language)
{
    const Lang::Language lang = Lang::Language(language).readable();
    const auto say = [lang](const QString &dutch, const QString &french) {
        return Lang::text(lang, dutch, french);
    };
    setTitle(say(u"Overzicht:"_s, u"Vue d'ensemble:"_s));
    setAccessibleName(title());
    m_tabs->setTabText(PushButtons, say(u"Drukknoppen"_s, u"Boutons poussoirs"_s));
    m_tabs->setTabText(Outputs, say(u"Uitgangen"_s, u"Sorties"_s));
    m_tabs->setTabText(Scenes, say(u"Sferen"_s, u"Contextes"_s));
    const QBrush greyed = palette().brush(QPalette::Disabled, QPalette::Text);
    m_pages[PushButtons].model->setTable(Overview::pushButtons(installation, lang), greyed);
    m_pages[Outputs].model->setTable(Overview::outputs(installation, lang), greyed);
    m_pages[Scenes].model->setTable(Overview::scenes(installation, lang), greyed);
    for (size_t i = 0; i < m_pages.size(); ++i) {
        Page &page = m_pages[i];
        findChild<QLabel *>(QString::fromLatin1(Names[i].label))->setText(say(u"Zoeken:"_s, u"Filtrer :"_s));
        page.table->setAccessibleName(m_tabs->tabText(static_cast<int>(i)));
        page.model->setFilter(page.filter->text());
        if (!page.sized && page.model->rowCount() > 0) {
            // Fitted once to the first rows; the installer may widen them afterwards.
            page.table->horizontalHeader()->setResizeContentsPrecision(50);
            page.table->resizeColumnsToContents();
            page.sized = true;
        }
    }
}

// ---- the model ------------------------------------------------------------------------------------

void OverviewModel::setTable(Overview::Table table, const QBrush &greyed)
{
    beginResetModel();
    m_table = std::move(table);
    m_greyed = greyed;
    m_shown = Overview::matching(m_table, m_filter);
    endResetModel();
}

void OverviewModel::setFilter(const QString &filter)
{
    beginResetModel();
    m_filter = filter;
    m_shown = Overview::matching(m_table, m_filter);
    endResetModel();
}

const Overview::Row &OverviewModel::rowAt(int row) const
{
    return m_table.rows[static_cast<size_t>(m_shown[static_cast<size_t>(row)])];
}

int OverviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int OverviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_table.columns.size());
}

QVariant OverviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const Overview::Row &row = rowAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return index.column() < row.cells.size() ? row.cells[index.column()] : QString();
    case Qt::ForegroundRole:
        return row.unused ? QVariant(m_greyed) : QVariant();
    case Qt::ToolTipRole:
        // Names are the installer's plain text: a tip never reads them as markup.
        return row.tip.isEmpty() ? QVariant() : QVariant(Lang::plainToolTip(row.tip));
    default:
        return {};
    }
}

QVariant OverviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return m_table.columns[section];
}
