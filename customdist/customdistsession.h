// A custom distortion document as the window program edits it: the document
// and its history. Every change (CALC, a clipper preset, a receive) goes
// through Perform and is one step; undo and redo put the data back and tell
// the listeners (the designers that show it). "Modified" is where the
// history stands.
#pragma once

#include <functional>
#include <map>
#include <span>
#include <string>

#include "customdist/customdistdata.h"
#include "patch/documentfile.h"
#include "patch/history.h"

namespace orb8 {

// The same on the processor: equal device images of every filter and clipper.
bool SameDeviceData(const CustomDistData& a, const CustomDistData& b);

class CustomDistSession {
public:
    using Listener = std::function<void()>;

    CustomDistSession() = default;
    CustomDistSession(const CustomDistSession&) = delete;
    CustomDistSession& operator=(const CustomDistSession&) = delete;

    const CustomDistDocument& Document() const { return document_; }
    // For the transfers, which fill the document in place (inside Perform).
    CustomDistDocument& Document() { return document_; }
    const CustomDistData& Data() const { return document_.data; }

    // `operation` changes the data; the change is one step named `text`. A
    // change of nothing is no step, unless `always` (CALC is a step whatever
    // it computes). True when a step was recorded.
    bool Perform(const std::string& text, const std::function<void(CustomDistData&)>& operation, bool always = false);
    bool Undo();
    bool Redo();
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::string UndoText() const { return history_.UndoText(); }
    std::string RedoText() const { return history_.RedoText(); }
    int StepCount() const { return history_.Count(); }
    bool Modified() const { return !history_.AtSavedState(); }

    FileResult Load();
    FileResult Save();
    void SetFileName(const std::string& path) { document_.fileName = path; }
    // Whether the file at the file name is the one this document last read or
    // wrote (a Save over anything else asks first), and whether the caption
    // shows the file name (after a failed open it shows the untitled name).
    bool FileKnown() const { return file_.Known(document_.fileName); }
    bool Titled() const { return file_.Titled(document_.fileName); }
    // Unsaved work kept for recovery, as ProjectSession::Recover: the file
    // at `fileName` as it is now is the saved state, `image` one step over it.
    bool Recover(const std::string& fileName, const std::string& text, std::span<const std::uint8_t> image);

    // The file image a save would write now, for the recovery record; while
    // an operation is under way (Recv waits for the processor), the image of
    // the data as it was before it.
    std::vector<std::uint8_t> FileImage() const;

    int Listen(Listener listener);
    void Unlisten(int id);

private:
    struct Step {
        CustomDistData before, after;
        bool Merge(const Step&) { return false; }
    };
    bool Walk(bool undo);
    void Tell();

    CustomDistDocument document_;
    DocumentFile file_;
    History<Step> history_;
    std::map<int, Listener> listeners_;
    int nextListener_ = 0;
    const CustomDistData* before_ = nullptr;  // while an operation is under way
};

}  // namespace orb8
