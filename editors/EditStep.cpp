#include "editors/EditStep.h"

EditStep EditStep::between(const Lang::Text &name, int type, const ModuleImage &before,
                           const ModuleImage &after)
{
    EditStep step;
    step.name = name;
    step.type = type;
    for (int slot = 0; slot < after.size(); ++slot) {
        const int old = before.value(slot);
        const int now = after.value(slot);
        if (old != now)
            step.changes.push_back(
                {static_cast<qint16>(slot), static_cast<qint16>(old), static_cast<qint16>(now)});
    }
    return step;
}
