// Edit > Copy and Paste: in the comment window, its text through the
// clipboard; otherwise the chosen patches of the active project (the current
// one when no others are chosen) into the copy buffer, pasted from the
// current patch on as one step.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "patch/projectdocument.h"

class TMemoWin;

namespace orb8 {
class ProjectSession;
}

class EditCommands : public QObject {
    Q_OBJECT

public:
    EditCommands(TMemoWin& memo, QObject* parent);

    // `project`: the active project, or none; `rows`: its chosen rows.
    void Copy(orb8::ProjectSession* project, const std::vector<int>& rows);
    // The comment window's paste, else `pasteInto` with the filled buffer.
    void Paste(const std::function<void(const orb8::CopyBuffer&)>& pasteInto);
    bool Filled() const { return buffer_.Filled(); }

private:
    TMemoWin& memo_;
    orb8::CopyBuffer buffer_;
};
