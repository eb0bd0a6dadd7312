#include "editors/EditStep.h"

#include "editors/SlotWords.h"

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

EditScope::EditScope(const ModuleState &state, Take take, const Lang::Text &name)
    : m_state(state), m_take(std::move(take)), m_name(name), m_type(state.ModuleType),
      m_masterBefore(state.MasterFlag)
{
    if (const ModuleImage *image = state.imageFor(m_type)) m_before = *image;
}

EditScope::~EditScope()
{
    const ModuleImage *now = m_state.imageFor(m_type);
    if (!m_before || !now || !m_take) return;
    EditStep step = EditStep::between(m_name, m_type, *m_before, *now);
    if (m_state.MasterFlag != m_masterBefore) {
        step.masterBefore = m_masterBefore;
        step.masterAfter = m_state.MasterFlag;
    }
    step.clearAllBox = m_clearAllBox;
    if (step.name.dutch.isEmpty() && step.name.french.isEmpty()) {
        std::vector<int> written;
        for (const SlotChange &c : step.changes)
            written.push_back(c.slot);
        step.name = SlotWords::stepText(m_type, written, &m_state.Names);
    }
    m_take(step);
}
