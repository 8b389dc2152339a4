// ProjectUndoCommand: one step of a project's history on Qt's undo stack.
// The change has been made when the step is pushed; undo and redo put the
// project back and show it, and tell the processor the bytes of the patch
// it is playing that changed back.
#pragma once

#include <QPointer>
#include <QUndoCommand>

#include "editors/projecthistory.h"

class TProjectWindow;

class ProjectUndoCommand : public QUndoCommand {
public:
    // gesture: steps of one knob drag share it and become one; 0 never merges.
    ProjectUndoCommand(TProjectWindow& project, orb8::ProjectStep step, const QString& text, int gesture);

    void undo() override;
    void redo() override;
    int id() const override { return gesture_ ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override;
    const orb8::ProjectStep& Step() const { return step_; }

private:
    void Apply(bool undo);

    QPointer<TProjectWindow> project_;
    orb8::ProjectStep step_;
    int gesture_;
    bool done_ = true;  // pushed after the change was made
};
