#include "history/ImageHistory.h"

#include <QUndoCommand>

// One step on the stack. It is pushed after the editor wrote, so its first redo (which
// QUndoStack::push runs) writes nothing.
class EditCommand : public QUndoCommand
{
public:
    EditCommand(ImageHistory &history, EditStep step)
        : QUndoCommand(step.name.dutch), m_history(history), m_step(std::move(step))
    {
    }
    void undo() override { m_history.apply(m_step, true); }
    void redo() override
    {
        if (m_pushed) m_history.apply(m_step, false);
        m_pushed = true;
    }
    const EditStep &step() const { return m_step; }

private:
    ImageHistory &m_history;
    EditStep m_step;
    bool m_pushed = false;
};

ImageHistory::ImageHistory(ModuleState &state, QObject *parent) : QObject(parent), m_state(state)
{
    connect(&m_stack, &QUndoStack::indexChanged, this, &ImageHistory::changed);
    connect(&m_stack, &QUndoStack::cleanChanged, this, &ImageHistory::changed);
}

// The stack clears itself when it goes and says so; nobody is told any more by then.
ImageHistory::~ImageHistory()
{
    disconnect(&m_stack, nullptr, this, nullptr);
}

void ImageHistory::record(const EditStep &step)
{
    if (step.isEmpty() || !m_state.imageFor(step.type)) return;
    m_stack.push(new EditCommand(*this, step));
}

void ImageHistory::clear()
{
    m_stack.clear();
    Q_EMIT changed();
}

const EditStep *ImageHistory::nextUndo() const
{
    const int index = m_stack.index();
    if (index <= 0) return nullptr;
    return &static_cast<const EditCommand *>(m_stack.command(index - 1))->step();
}

const EditStep *ImageHistory::nextRedo() const
{
    const int index = m_stack.index();
    if (index >= m_stack.count()) return nullptr;
    return &static_cast<const EditCommand *>(m_stack.command(index))->step();
}

void ImageHistory::apply(const EditStep &step, bool undone)
{
    if (ModuleImage *image = m_state.imageFor(step.type))
        for (const SlotChange &c : step.changes)
            image->set(c.slot, undone ? c.before : c.after);
    // The master flag is the module in hand's: a step of another type's image leaves it alone.
    const int master = undone ? step.masterBefore : step.masterAfter;
    if (step.masterBefore != step.masterAfter && master >= 0 && step.type == m_state.ModuleType)
        m_state.MasterFlag = master;
    Q_EMIT stepApplied(step, undone);
}
