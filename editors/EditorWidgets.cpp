#include "editors/EditorWidgets.h"

#include "common/WidgetTexts.h"

#include <QEvent>
#include <QHeaderView>
#include <numeric>
#include <utility>

namespace EditorWidgets {

QComboBox *combo(const char *name, QWidget *parent)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    return c;
}

void setCaption(QGroupBox *group, int language, const QString &dutch, const QString &french)
{
    Lang::setText(group, language, dutch, french);
    group->setAccessibleName(group->title());
}

void fill(QComboBox *combo, const QStringList &entries)
{
    combo->clear();
    combo->addItems(entries);
    setText(combo, QString());
}

void setText(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    if (combo->currentText() != text) combo->setEditText(text);
}

bool showsCurrentEntry(const QComboBox *combo, const QString &text)
{
    return combo->currentIndex() >= 0 && combo->itemText(combo->currentIndex()) == text;
}

EntryName::EntryName(const char *name, QComboBox *list, std::function<QString(int)> nameOf, QWidget *parent)
    : QLabel(parent), m_list(list), m_nameOf(std::move(nameOf))
{
    setObjectName(QString::fromLatin1(name));
    // A name is the installer's own text: never markup.
    setTextFormat(Qt::PlainText);
    m_description = list->accessibleDescription();
    connect(list, &QComboBox::editTextChanged, this, &EntryName::refresh);
    connect(list, &QComboBox::currentIndexChanged, this, &EntryName::refresh);
    refresh();
}

void EntryName::setListDescription(const QString &description)
{
    m_description = description;
    refresh();
}

void EntryName::refresh()
{
    const int entry = m_list->findText(m_list->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    const QString name = entry >= 0 && m_nameOf ? m_nameOf(entry + 1) : QString();
    setText(name);
    // Without a name, or beside a list that is not there, the label is not there at all, not even
    // for a screen reader.
    setVisible(!name.isEmpty() && !m_list->isHidden());
    // The name is what the label beside shows; the list's own description while there is none.
    const QString description = name.isEmpty() ? m_description : name;
    if (m_list->accessibleDescription() != description) m_list->setAccessibleDescription(description);
}

EditorTable::EditorTable(const char *name, int rows, std::initializer_list<int> widthRatios, QWidget *parent)
    : QTableWidget(rows, static_cast<int>(widthRatios.size()), parent), m_ratios(widthRatios)
{
    setObjectName(QString::fromLatin1(name));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columnCount(); ++c)
            setCell(r, c, QString());
    QFont bold = font();
    bold.setBold(true);
    for (int c = 0; c < columnCount(); ++c) {
        item(0, c)->setFont(bold);
        item(0, c)->setFlags(Qt::ItemIsEnabled);
        item(0, c)->setBackground(palette().button());
    }
}

void EditorTable::setTitles(const QStringList &titles)
{
    for (int c = 0; c < columnCount() && c < titles.size(); ++c)
        setCell(0, c, titles.at(c));
    setHorizontalHeaderLabels(titles);
}

void EditorTable::setCell(int row, int column, const QString &text)
{
    if (QTableWidgetItem *existing = item(row, column)) {
        existing->setText(text);
        return;
    }
    auto *created = new QTableWidgetItem(text);
    created->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setItem(row, column, created);
}

QString EditorTable::cell(int row, int column) const
{
    const QTableWidgetItem *i = item(row, column);
    return i ? i->text() : QString();
}

void EditorTable::showColumn(int column, bool shown)
{
    if (isColumnHidden(column) == !shown) return;
    setColumnHidden(column, !shown);
    fitColumns();
}

bool EditorTable::viewportEvent(QEvent *event)
{
    // The viewport narrows when the vertical scroll bar appears, not only when the table resizes.
    if (event->type() == QEvent::Resize) fitColumns();
    return QTableWidget::viewportEvent(event);
}

void EditorTable::fitColumns()
{
    // Hidden columns take no share of the width.
    int total = 0;
    int lastShown = -1;
    for (int c = 0; c < columnCount(); ++c)
        if (!isColumnHidden(c)) {
            total += m_ratios[static_cast<size_t>(c)];
            lastShown = c;
        }
    if (total <= 0) return;
    const int width = viewport()->width();
    int used = 0;
    for (int c = 0; c < columnCount(); ++c) {
        if (isColumnHidden(c)) continue;
        const int w = c == lastShown ? width - used : width * m_ratios[static_cast<size_t>(c)] / total;
        setColumnWidth(c, w);
        used += w;
    }
}

} // namespace EditorWidgets
