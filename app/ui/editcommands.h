// Edit > Copy and Paste: in the comment window, its text through the
// clipboard; otherwise the one patch of the copy buffer, pasted over the
// current patch of the active project as one step.
#pragma once

#include <QObject>

#include "patch/projectdocument.h"

class TMemoWin;
class TProjectWindow;

class EditCommands : public QObject {
    Q_OBJECT

public:
    EditCommands(TMemoWin& memo, QObject* parent);

    // `project`: the active project window, or none.
    void Copy(TProjectWindow* project);
    void Paste(TProjectWindow* project);
    bool Filled() const { return buffer_.filled; }

private:
    TMemoWin& memo_;
    orb8::CopyBuffer buffer_;
};
