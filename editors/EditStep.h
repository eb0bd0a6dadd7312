#pragma once

#include "common/Lang.h"
#include "protocol/ModuleImage.h"
#include "protocol/ModuleTypes.h"

#include "protocol/ModuleState.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

// One slot an action of the installer wrote: its value before and after. Slots are 0..339 and
// values 0..999, so three small numbers hold it.
struct SlotChange
{
    qint16 slot = 0;
    qint16 before = 0;
    qint16 after = 0;

    bool operator==(const SlotChange &) const = default;
};

// A name the installer gave (or took from) an output, push button or scene of a module of an
// installation: which list (0 outputs, 1 push buttons, 2 scenes), which number (1-based), and
// the name before and after. Names are kept beside the image, never in it.
struct NameChange
{
    int list = 0;
    int number = 0;
    QString before;
    QString after;

    bool operator==(const NameChange &) const = default;
};

// What one action of the installer did to the image in hand: a stored push-button function, a
// clear-all, base functions, an output's function, a scene value, master/slave, what an editor
// wrote when it opened ... Only the slots that changed are kept, never a copy of the image.
struct EditStep
{
    // The step in the editors' words ("Drukknop 5", "Sfeer 4, Uitgang 3", "Master/Slave").
    Lang::Text name;
    // The module type whose image was written.
    int type = ModuleTypes::None;
    std::vector<SlotChange> changes;
    // Master/slave: the master flag before and after the choice; -1 when not touched.
    int masterBefore = -1;
    int masterAfter = -1;
    // A clear-all: the box that did it (0 the first functions', 1 the second functions'); -1 none.
    int clearAllBox = -1;
    // Names given in the names panel (no slot changes then).
    std::vector<NameChange> names;

    // The step that leads from `before` to `after`, both images of `type`.
    static EditStep between(const Lang::Text &name, int type, const ModuleImage &before,
                            const ModuleImage &after);
    // Nothing changed: such a step is not taken into the history.
    bool isEmpty() const { return changes.empty() && masterBefore == masterAfter && names.empty(); }
};

// One action of the installer in an editor: the image in hand as it was when the scope began,
// and on leaving the step that leads to what it is then, handed to `take` (named in the
// editors' words after the slots it changed unless a name was given). A step that changed
// nothing is handed on too; the history does not take it.
class EditScope
{
public:
    using Take = std::function<void(const EditStep &)>;
    EditScope(const ModuleState &state, Take take, const Lang::Text &name = {});
    ~EditScope();
    EditScope(const EditScope &) = delete;
    EditScope &operator=(const EditScope &) = delete;

    // A clear-all: the box (0 first, 1 second functions) it checked.
    void setClearAllBox(int box) { m_clearAllBox = box; }

private:
    const ModuleState &m_state;
    Take m_take;
    Lang::Text m_name;
    int m_type;
    std::optional<ModuleImage> m_before;
    int m_masterBefore;
    int m_clearAllBox = -1;
};
