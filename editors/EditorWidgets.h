#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QTableWidget>
#include <functional>
#include <initializer_list>
#include <vector>

// Building blocks shared by the editor frames.
namespace EditorWidgets {

// An editable drop-down list that never adds what the installer types to its entries and never
// completes it into one: a field the change handler has just emptied stays empty instead of
// showing the first entry, which the handler would then take as the installer's choice.
QComboBox *combo(const char *name, QWidget *parent);

// Sets the caption of a frame or group in the window's language (a language other than Dutch or
// French keeps the design-time caption), and reads the group out under that caption: without a
// name of its own, a group inside another group is read out under the outer group's caption.
void setCaption(QGroupBox *group, int language, const QString &dutch, const QString &french);

// Counts the changes the program makes itself, so that a change handler can tell them from the
// installer's typing.
class ProgramChange
{
public:
    bool active() const { return m_depth > 0; }
    class Scope
    {
    public:
        explicit Scope(ProgramChange &owner) : m_owner(owner) { ++m_owner.m_depth; }
        ~Scope() { --m_owner.m_depth; }
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        ProgramChange &m_owner;
    };

private:
    int m_depth = 0;
};

// Replaces the entries of a list and leaves its text empty.
void fill(QComboBox *combo, const QStringList &entries);
// Sets the text of a list; the entry with exactly that text becomes the current one (none when
// the text is not an entry), so the list does not pick it again when the installer leaves it.
void setText(QComboBox *combo, const QString &text);
// The text is the current entry: the list shows what the installer picked or the program set.
bool showsCurrentEntry(const QComboBox *combo, const QString &text);

// A label beside a list whose entries stand for numbered things (push buttons, outputs, scenes:
// entry 0 is number 1): it shows the name of the entry the list shows, as plain text (hidden
// while that entry has no name), and makes that name the list's accessible description, so a
// screen reader hears it with the list. The entries themselves stay as they are, since the
// editors read them as numbers.
class EntryName : public QLabel
{
    Q_OBJECT
public:
    // `nameOf` gives the name of number n, empty for none.
    EntryName(const char *name, QComboBox *list, std::function<QString(int)> nameOf, QWidget *parent);

    // The list's own description, which the name follows.
    void setListDescription(const QString &description);
    // Shows the name of what the list shows now (after the names changed).
    void refresh();

private:
    QComboBox *m_list;
    std::function<QString(int)> m_nameOf;
    QString m_description;
};

// A read-only table whose row 0 holds the column titles and whose column widths keep a fixed
// ratio to each other whatever the width of the table. The titles are also the horizontal
// header labels (the header itself is not shown), so a screen reader names the columns.
class EditorTable : public QTableWidget
{
    Q_OBJECT
public:
    EditorTable(const char *name, int rows, std::initializer_list<int> widthRatios, QWidget *parent);

    void setTitles(const QStringList &titles);
    // Sets the text of a cell (creating it if needed).
    void setCell(int row, int column, const QString &text);
    QString cell(int row, int column) const;
    // Shows or hides a column; the shown ones share the width by their ratios.
    void showColumn(int column, bool shown);

protected:
    bool viewportEvent(QEvent *event) override;

private:
    void fitColumns();
    std::vector<int> m_ratios;
};

} // namespace EditorWidgets
