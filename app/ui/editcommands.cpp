#include "app/ui/editcommands.h"

#include "editors/ui/memo.h"
#include "editors/ui/projectwin.h"

using namespace orb8;

EditCommands::EditCommands(TMemoWin& memo, QObject* parent) : QObject(parent), memo_(memo) {}

void EditCommands::Copy(TProjectWindow* project) {
    if (memo_.HasFocus()) {
        memo_.Copy();
        return;
    }
    if (!project) return;
    project->Settle();
    buffer_.CopyFrom(project->Document(), project->ChosenRows());
}

void EditCommands::Paste(TProjectWindow* project) {
    if (memo_.HasFocus()) {
        memo_.Paste();
        return;
    }
    if (!project || !buffer_.Filled()) return;
    project->Paste(buffer_, project->CurrentRow());
}
