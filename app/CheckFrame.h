#pragma once

#include "installation/Overview.h"

#include <QGroupBox>
#include <vector>

class QLabel;
class QTreeWidget;

// The whole-installation check, a page of the work area: a line that counts the findings, then
// the findings with their severity, the module(s) and what was found. A double-click on a finding
// asks for the place it is about. It only reads the installation.
class CheckFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit CheckFrame(QWidget *parent = nullptr);

    // The findings anew from `installation`, in `language`.
    void showInstallation(const Installation &installation, int language);

Q_SIGNALS:
    void placeChosen(const Overview::Place &place);

private:
    QLabel *m_count;
    QTreeWidget *m_list;
    std::vector<Overview::Place> m_places;
};
