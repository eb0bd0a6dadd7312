#include "app/NamesFrame.h"

#include "app/InstallationDialogs.h"
#include "common/Lang.h"
#include "common/Named.h"
#include "editors/SlotWords.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
enum List
{
    Outputs,
    PushButtons,
    Scenes
};

std::vector<QString> &listOf(ModuleNames &names, int list)
{
    return list == Outputs ? names.outputs : list == PushButtons ? names.pushButtons : names.scenes;
}

// What the numbered thing is called in the editors' words, in both languages.
Lang::Text thingOf(int type, int list, int number)
{
    const SlotWords dutch(type, 1);
    const SlotWords french(type, 2);
    switch (list) {
    case Outputs:
        return {dutch.channel(number), french.channel(number)};
    case PushButtons:
        return {u"Drukknop %1"_s.arg(number), u"Bouton poussoir %1"_s.arg(number)};
    default:
        return {dutch.scene(number - 1), french.scene(number - 1)};
    }
}
} // namespace

NamesFrame::NamesFrame(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"Namen"_s);
    const char *names[] = {"uitgangNamen", "drukknopNamen", "sfeerNamen"};
    auto *row = new QHBoxLayout(this);
    for (int list = Outputs; list <= Scenes; ++list) {
        auto *table = named(new QTableWidget(0, 2, this), names[list]);
        table->verticalHeader()->hide();
        table->horizontalHeader()->setStretchLastSection(true);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        // No editing on a click of the chosen cell: its delay would swallow the first key typed.
        table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
        auto *title = new QLabel(this);
        title->setTextFormat(Qt::PlainText);
        title->setBuddy(table);
        auto *column = new QVBoxLayout;
        column->addWidget(title);
        column->addWidget(table, 1);
        row->addLayout(column, list == PushButtons ? 1 : 1);
        m_tables[static_cast<size_t>(list)] = table;
        m_titles[static_cast<size_t>(list)] = title;
        connect(table, &QTableWidget::itemChanged, this,
                [this, list](QTableWidgetItem *cell) { typed(list, cell); });
    }
}

void NamesFrame::showNames(const ModuleNames &names, int type, int language)
{
    m_names = names;
    m_type = type;
    m_language = language;
    const auto say = [language](const QString &dutch, const QString &french) {
        return Lang::text(language, dutch, french, dutch + u" / "_s + french);
    };
    const std::array<QString, 3> titles{ModuleTypes::hasDimChannels(type) ? say(u"Kanalen"_s, u"Canaux"_s)
                                                                          : say(u"Uitgangen"_s, u"Sorties"_s),
                                        say(u"Drukknoppen"_s, u"Boutons poussoirs"_s),
                                        say(u"Sferen"_s, u"Contextes"_s)};
    m_quiet = true;
    for (int list = Outputs; list <= Scenes; ++list) {
        QTableWidget *table = m_tables[static_cast<size_t>(list)];
        const QSignalBlocker block(table);
        const std::vector<QString> &entries = listOf(m_names, list);
        table->setRowCount(static_cast<int>(entries.size()));
        table->setHorizontalHeaderLabels({titles[static_cast<size_t>(list)], say(u"Naam"_s, u"Nom"_s)});
        table->setAccessibleName(titles[static_cast<size_t>(list)]);
        m_titles[static_cast<size_t>(list)]->setText(titles[static_cast<size_t>(list)]);
        // Cells are written in place: the panel is shown again from the step a stored name just
        // made, while that cell's field is still being closed, and must stay the view's own.
        const auto put = [table](int row, int column, const QString &text, Qt::ItemFlags flags) {
            QTableWidgetItem *cell = table->item(row, column);
            if (!cell) {
                cell = new QTableWidgetItem;
                table->setItem(row, column, cell);
            }
            cell->setFlags(flags);
            if (cell->text() != text) cell->setText(text);
        };
        for (int n = 1; n <= static_cast<int>(entries.size()); ++n) {
            put(n - 1, 0, thingOf(type, list, n).in(language, thingOf(type, list, n).dutch),
                Qt::ItemIsEnabled);
            put(n - 1, 1, entries[static_cast<size_t>(n - 1)],
                Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        }
        table->resizeColumnToContents(0);
    }
    m_quiet = false;
}

// A name stored from its cell: made plain text of at most 80 characters, and one step of the
// module's history when it changed.
void NamesFrame::typed(int list, QTableWidgetItem *cell)
{
    if (m_quiet || cell->column() != 1) return;
    const int number = cell->row() + 1;
    std::vector<QString> &entries = listOf(m_names, list);
    if (number < 1 || number > static_cast<int>(entries.size())) return;
    const QString name = installationText(cell->text(), InstallationFormat::MaxNameLength).trimmed();
    const QString before = entries[static_cast<size_t>(number - 1)];
    if (name != cell->text()) {
        m_quiet = true;
        cell->setText(name);
        m_quiet = false;
    }
    if (name == before) return;
    entries[static_cast<size_t>(number - 1)] = name;
    const Lang::Text thing = thingOf(m_type, list, number);
    EditStep step;
    step.name = {u"Naam "_s + thing.dutch, u"Nom "_s + thing.french};
    step.type = m_type;
    step.names.push_back({list, number, before, name});
    Q_EMIT edited(step);
}
