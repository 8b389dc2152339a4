// Edit > Copy and Paste: in the comment window, its text through the
// clipboard; otherwise the chosen patches of the active project (the current
// one when no others are chosen) into the copy buffer, pasted from the
// current patch on as one step.
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
    bool Filled() const { return buffer_.Filled(); }

private:
    TMemoWin& memo_;
    orb8::CopyBuffer buffer_;
};
