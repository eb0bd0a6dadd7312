#pragma once

#include <QDockWidget>

struct Installation;
class QTreeWidget;
class QTreeWidgetItem;

// The side panel of an open installation (object name "installatiePaneel"): one row per module
// with its name, place, model and what the program knows of it in words. Choosing a row asks for
// that module to be put in hand; the name and place are edited in place (double-click or F2).
class InstallationPanel : public QDockWidget
{
    Q_OBJECT
public:
    explicit InstallationPanel(QWidget *parent = nullptr);

    void setCaptions(int language);
    // Shows every module of `installation` anew, in the language `language`.
    void showModules(const Installation &installation, int language);
    // Shows row `index` again from `installation` (its state after an edit, a send, a read).
    void showModule(const Installation &installation, int index, int language);
    // Marks the row of the module in hand (-1: none) without asking for it again.
    void markInHand(int index);
    int rowCount() const;

Q_SIGNALS:
    // The installer chose the row of module `index`.
    void moduleChosen(int index);
    // The installer typed a new name (column 0) or place (column 1) for module `index`.
    void moduleRenamed(int index, int column, const QString &text);
    // The installer closed the panel with its close button.
    void closedByInstaller();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void fill(QTreeWidgetItem *row, const Installation &installation, int index, int language);

    QTreeWidget *modulesLijst;
    bool m_quiet = false;
};
