#pragma once

#include "installation/Overview.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QGroupBox>
#include <array>

class QLineEdit;
class QTabWidget;
class QTableView;

// One table of the overview for a view: the rows the filter keeps, greyed where a push button is
// not used, with a scene function's settings as the tip. Its rows are made when shown, so a table
// of thousands of rows is at hand at once.
class OverviewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTable(Overview::Table table, const QBrush &greyed);
    // Keeps the rows whose text holds `filter` (every row for an empty one).
    void setFilter(const QString &filter);
    // The row of the overview's table shown at view row `row`.
    const Overview::Row &rowAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    Overview::Table m_table;
    std::vector<int> m_shown; // rows of m_table, in order
    QString m_filter;
    QBrush m_greyed;
};

// The installation at a glance, a page of the work area: three tabs (push buttons, outputs,
// scenes), each a table with real column headers and a filter field that keeps the rows whose
// text holds what is typed. A double-click on a row asks for that module's editor on that push
// button, output or scene. It only reads the installation.
class OverviewFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit OverviewFrame(QWidget *parent = nullptr);

    // The tables anew from `installation`, in `language`; the tab and the filters stay.
    void showInstallation(const Installation &installation, int language);

    enum Tab
    {
        PushButtons,
        Outputs,
        Scenes,
    };
    QTableView *table(Tab tab) const { return m_pages[tab].table; }

Q_SIGNALS:
    // The installer double-clicked a row: show `place`.
    void placeChosen(const Overview::Place &place);

private:
    struct Page
    {
        QLineEdit *filter = nullptr;
        QTableView *table = nullptr;
        OverviewModel *model = nullptr;
        bool sized = false; // the columns fitted to the first rows once
    };

    QTabWidget *m_tabs;
    std::array<Page, 3> m_pages;
};
