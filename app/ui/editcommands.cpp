#include "app/ui/editcommands.h"

#include "editors/ui/memo.h"
#include "editors/projectsession.h"

using namespace orb8;

EditCommands::EditCommands(TMemoWin& memo, QObject* parent) : QObject(parent), memo_(memo) {}

void EditCommands::Copy(ProjectSession* project, const std::vector<int>& rows) {
    if (memo_.HasFocus()) {
        memo_.Copy();
        return;
    }
    if (!project) return;
    project->Settle();
    buffer_.CopyFrom(project->Document(), rows);
}

void EditCommands::Paste(const std::function<void(const CopyBuffer&)>& pasteInto) {
    if (memo_.HasFocus()) {
        memo_.Paste();
        return;
    }
    if (buffer_.Filled()) pasteInto(buffer_);
}
