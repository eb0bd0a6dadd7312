#include "app/OverviewFrame.h"

#include "common/Lang.h"
#include "common/Named.h"
#include "common/WidgetTexts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
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
        page.table = named(new QTableWidget(tab), Names[i].table);
        page.table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        page.table->setSelectionBehavior(QAbstractItemView::SelectRows);
        page.table->setSelectionMode(QAbstractItemView::SingleSelection);
        page.table->verticalHeader()->hide();
        page.table->horizontalHeader()->setStretchLastSection(true);
        page.table->setWordWrap(false);
        auto *filterRow = new QHBoxLayout;
        filterRow->addWidget(label);
        filterRow->addWidget(page.filter, 1);
        auto *column = new QVBoxLayout(tab);
        column->addLayout(filterRow);
        column->addWidget(page.table, 1);
        m_tabs->addTab(tab, QString());
        connect(page.filter, &QLineEdit::textChanged, this, [this, i] { applyFilter(m_pages[i]); });
        connect(page.table, &QTableWidget::cellDoubleClicked, this, [this, i](int row, int) {
            const Page &p = m_pages[i];
            if (row >= 0 && row < static_cast<int>(p.rows.rows.size()))
                Q_EMIT placeChosen(p.rows.rows[static_cast<size_t>(row)].place);
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
    m_pages[PushButtons].rows = Overview::pushButtons(installation, lang);
    m_pages[Outputs].rows = Overview::outputs(installation, lang);
    m_pages[Scenes].rows = Overview::scenes(installation, lang);
    for (size_t i = 0; i < m_pages.size(); ++i) {
        Page &page = m_pages[i];
        findChild<QLabel *>(QString::fromLatin1(Names[i].label))->setText(say(u"Zoeken:"_s, u"Filtrer :"_s));
        page.table->setAccessibleName(m_tabs->tabText(static_cast<int>(i)));
        fill(page);
    }
}

// Every row of the page's table, in the overview's words; the filter then hides what it leaves out.
void OverviewFrame::fill(Page &page)
{
    QTableWidget *table = page.table;
    table->setUpdatesEnabled(false);
    table->clearContents();
    table->setColumnCount(static_cast<int>(page.rows.columns.size()));
    table->setHorizontalHeaderLabels(page.rows.columns);
    table->setRowCount(static_cast<int>(page.rows.rows.size()));
    const QBrush greyed = palette().brush(QPalette::Disabled, QPalette::Text);
    for (int r = 0; r < table->rowCount(); ++r) {
        const Overview::Row &row = page.rows.rows[static_cast<size_t>(r)];
        const QString tip = row.tip.isEmpty() ? QString() : Lang::plainToolTip(row.tip);
        for (int c = 0; c < row.cells.size(); ++c) {
            auto *cell = new QTableWidgetItem(row.cells[c]);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (row.unused) cell->setForeground(greyed);
            if (!tip.isEmpty()) cell->setToolTip(tip);
            table->setItem(r, c, cell);
        }
    }
    applyFilter(page);
    table->resizeColumnsToContents();
    table->setUpdatesEnabled(true);
}

void OverviewFrame::applyFilter(Page &page)
{
    const std::vector<int> shown = Overview::matching(page.rows, page.filter->text());
    std::vector<bool> keep(page.rows.rows.size(), false);
    for (int r : shown)
        keep[static_cast<size_t>(r)] = true;
    for (int r = 0; r < page.table->rowCount(); ++r)
        page.table->setRowHidden(r, !keep[static_cast<size_t>(r)]);
}
