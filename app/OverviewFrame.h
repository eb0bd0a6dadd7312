#pragma once

#include "installation/Overview.h"

#include <QGroupBox>
#include <array>

class QLineEdit;
class QTabWidget;
class QTableWidget;

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
    QTableWidget *table(Tab tab) const { return m_pages[tab].table; }

Q_SIGNALS:
    // The installer double-clicked a row: show `place`.
    void placeChosen(const Overview::Place &place);

private:
    struct Page
    {
        QLineEdit *filter = nullptr;
        QTableWidget *table = nullptr;
        Overview::Table rows;
    };
    void fill(Page &page);
    void applyFilter(Page &page);

    QTabWidget *m_tabs;
    std::array<Page, 3> m_pages;
};
