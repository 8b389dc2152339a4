// A document as the program edits it (a project, a custom distortion set),
// without a window: its file, its history and what each change did. Every
// change goes through its session, which records the step and tells the
// listeners (the views that show it, the recovery keeper) what changed.
// "Modified" is where the history stands.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "patch/documentfile.h"
#include "patch/fileio.h"
#include "patch/history.h"

namespace orb8 {

enum class DocumentKind { None, Project, CustomDist };

// What a change did.
struct SessionChange {
    // ParameterChange (byte, value) for the processor, in order: what the
    // operation itself sends, or after an undo or redo the bytes of the
    // playing patch that changed.
    std::vector<std::pair<int, int>> send;
    // Per patch index, the bytes that changed, in byte order.
    std::vector<std::pair<int, std::vector<int>>> patches;
    std::vector<int> comments;  // patch indexes whose comment changed
    std::vector<int> settings;  // offsets of the bank's custom settings block that changed
    bool all = false;           // the whole document (a load, a receive, a custom distortion step)
    bool typing = false;        // input is being typed (no step, nothing else changed)
    bool stepped = false;       // a step was recorded, undone or redone

    bool Touches(int index) const;
    // The list rows (1..80) that show something new, in order.
    std::vector<int> Rows() const;
};

// Owned by a shared_ptr where it is open (the frame and its window keep it),
// so that work that outlives a window (an exchange) can tell it has gone.
class Document : public std::enable_shared_from_this<Document> {
public:
    using Listener = std::function<void(const SessionChange&)>;

    Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    virtual ~Document() = default;

    virtual DocumentKind Kind() const = 0;
    virtual const std::string& FileName() const = 0;
    virtual void SetFileName(const std::string& path) = 0;
    // Whether the file at the file name is the one this document last read or
    // wrote (a Save over anything else asks first), and whether the caption
    // shows the file name (after a failed open it shows the untitled name).
    virtual bool FileKnown() const = 0;
    virtual bool Titled() const = 0;
    virtual bool Modified() const = 0;
    // A load starts a new history; a save makes this the saved state.
    virtual FileResult Load() = 0;
    virtual FileResult Save() = 0;

    virtual bool CanUndo() const = 0;
    virtual bool CanRedo() const = 0;
    virtual std::string UndoText() const = 0;
    virtual std::string RedoText() const = 0;
    virtual SessionChange Undo() = 0;
    virtual SessionChange Redo() = 0;
    // Input still being typed somewhere goes into the document (before a
    // step, a save or a question about it).
    virtual void Settle() {}

    // The file image a save would write now, for the recovery record (while
    // an operation has the document half changed, as it was before it).
    virtual std::vector<std::uint8_t> FileImage() const = 0;
    // Unsaved work kept for recovery: the document belongs at `fileName`
    // (empty: it was never saved); the file there now, if it loads, is the
    // saved state, and `image` one step named `text` over it. False (nothing
    // changed) when `image` is no file image of this kind.
    virtual bool Recover(const std::string& fileName, const std::string& text, std::span<const std::uint8_t> image) = 0;

    // The name while it has no file ("NoName3", "NoNameDst1").
    const std::string& UntitledName() const { return untitled_; }
    void SetUntitledName(std::string name);

    int Listen(Listener listener);
    void Unlisten(int id);

protected:
    void Tell(const SessionChange& change);

private:
    std::string untitled_;
    std::map<int, Listener> listeners_;
    int nextListener_ = 0;
};

// What the sessions share: the history of steps of type `Step` and the file
// the document last read or wrote.
template <class Step>
class HistorySession : public Document {
public:
    bool FileKnown() const override { return file_.Known(FileName()); }
    bool Titled() const override { return file_.Titled(FileName()); }
    bool CanUndo() const override { return history_.CanUndo(); }
    bool CanRedo() const override { return history_.CanRedo(); }
    std::string UndoText() const override { return history_.UndoText(); }
    std::string RedoText() const override { return history_.RedoText(); }
    int StepCount() const { return history_.Count(); }

protected:
    History<Step> history_;
    DocumentFile file_;
};

}  // namespace orb8
