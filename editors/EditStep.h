#pragma once

#include "common/Lang.h"
#include "protocol/ModuleImage.h"
#include "protocol/ModuleTypes.h"

#include <QtGlobal>
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

    // The step that leads from `before` to `after`, both images of `type`.
    static EditStep between(const Lang::Text &name, int type, const ModuleImage &before,
                            const ModuleImage &after);
    // Nothing changed: such a step is not taken into the history.
    bool isEmpty() const { return changes.empty() && masterBefore == masterAfter; }
};
