#pragma once

#include "docpages/DocumentationPages.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

struct ModuleState;

// The module page (Frame11): the picture of a module type, its type label and the buttons
// that open the documentation of its models.
class ModulePage : public QGroupBox
{
    Q_OBJECT
public:
    // Where a page request comes from; a page shown after opening a module file words a few
    // captions differently.
    enum class Origin
    {
        TypeList,
        Module,
        ModuleFile
    };

    ModulePage(ModuleState &state, QWidget *parent = nullptr);

    // Sets the page up for a module type (0..3): caption, picture, type label and documentation
    // buttons in the current language. Other types change nothing. The window shows the page.
    void showPage(int type, Origin origin);
    // Shows the type label of a module type (0..3) in the current language.
    void setTypeLabel(int type);
    void hideTypeLabel();

    // The page shown last (type -1 while none has been shown) and the type its label names (-1
    // while the label is hidden): the list's entry may name another type than the page.
    struct Shown
    {
        int type = -1;
        Origin origin = Origin::TypeList;
        int labelType = -1;
    };
    Shown shown() const;
    // Puts back the captions, picture and buttons of a page shown earlier (type -1: the empty
    // page of start-up).
    void restore(Shown page);

Q_SIGNALS:
    // A documentation button was pressed: the window shows that button's document.
    void documentationRequested(DocumentationPages::Button button);

private:
    QLabel *Picture2;
    QLabel *Label2;
    QPushButton *Command11;
    QPushButton *Command13;
    QPushButton *Command14;
    QPushButton *Command33;

    ModuleState &m_state;
    Shown m_shown;
};
