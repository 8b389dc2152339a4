#include "editors/ui/projectundo.h"

#include "editors/ui/projectwin.h"

ProjectUndoCommand::ProjectUndoCommand(TProjectWindow& project, orb8::ProjectStep step, const QString& text, int gesture)
    : QUndoCommand(text), project_(&project), step_(std::move(step)), gesture_(gesture) {}

void ProjectUndoCommand::undo() { Apply(true); }

void ProjectUndoCommand::redo() {
    // The first redo is the push: the change is already there.
    if (done_) {
        done_ = false;
        return;
    }
    Apply(false);
}

void ProjectUndoCommand::Apply(bool undo) {
    if (project_) project_->ApplyStep(step_, undo);
}

bool ProjectUndoCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const ProjectUndoCommand*>(other);
    if (!next || next->gesture_ != gesture_ || gesture_ == 0) return false;
    return step_.Merge(next->step_);
}
