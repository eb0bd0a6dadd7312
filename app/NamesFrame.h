#pragma once

#include "editors/EditStep.h"
#include "installation/Installation.h"

#include <QWidget>
#include <array>

class QLabel;
class QTableWidget;
class QTableWidgetItem;

// The names panel of the work area (object name "Namen"): what the installer calls the outputs
// (or channels), push buttons and scenes of the installation module in hand, in three tables
// typed in place. Enter or leaving a cell stores its name, Esc in the cell puts back what it
// held; each name stored is one step of the module's history (edited()).
class NamesFrame : public QWidget
{
    Q_OBJECT
public:
    explicit NamesFrame(QWidget *parent = nullptr);

    // Shows `names` of a module of `type`, in the window's language.
    void showNames(const ModuleNames &names, int type, int language);

Q_SIGNALS:
    void edited(const EditStep &step);

private:
    void typed(int list, QTableWidgetItem *cell);

    std::array<QTableWidget *, 3> m_tables{};
    std::array<QLabel *, 3> m_titles{};
    ModuleNames m_names;
    int m_type = 0;
    int m_language = 1;
    bool m_quiet = false;
};
