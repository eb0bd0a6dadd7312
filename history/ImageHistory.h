#pragma once

#include "editors/EditStep.h"
#include "protocol/ModuleState.h"

#include <QObject>
#include <QUndoStack>

// The undo and redo history of the image in hand: one step per action of the installer, each
// holding the slots it changed before and after. Taking a step writes nothing (the editor has
// written already); undo and redo write the slots (and the master flag) directly, then say so,
// so that the views shown follow without their handlers running.
class ImageHistory : public QObject
{
    Q_OBJECT
public:
    explicit ImageHistory(ModuleState &state, QObject *parent = nullptr);
    ~ImageHistory() override;

    // Takes a step the installer has just made; one that changed nothing is not taken.
    void record(const EditStep &step);
    // Starts afresh: another image is shown in full (a read, an opened file, a new module).
    void clear();

    bool canUndo() const { return m_stack.canUndo(); }
    bool canRedo() const { return m_stack.canRedo(); }
    void undo() { m_stack.undo(); }
    void redo() { m_stack.redo(); }
    // The step undo or redo would take back or make again (nullptr when none).
    const EditStep *nextUndo() const;
    const EditStep *nextRedo() const;
    int count() const { return m_stack.count(); }
    // The stack itself, for a group of histories of which one is active (one per module).
    QUndoStack *stack() { return &m_stack; }

Q_SIGNALS:
    // Undo (undone) or redo wrote the slots of `step`.
    void stepApplied(const EditStep &step, bool undone);
    // What can be undone or redone changed.
    void changed();

private:
    friend class EditCommand;
    void apply(const EditStep &step, bool undone);

    ModuleState &m_state;
    QUndoStack m_stack;
};
