// The history of a document: its steps in order, where it stands among them,
// and where it stood when it was last loaded or saved. A document is modified
// exactly when it stands anywhere else. A step knows how to merge with the
// next step of the same gesture (the changes of one knob drag are one step).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace orb8 {

template <class Step>
class History {
public:
    struct Entry {
        Step step;
        std::string text;
        int gesture = 0;  // 0: never merges
    };

    // Records a step after the current one; what could be redone is dropped.
    // A step of the gesture of the last one merges into it, unless the saved
    // state lies between them.
    void Push(Step step, std::string text, int gesture) {
        if (static_cast<std::size_t>(index_) < entries_.size()) {
            entries_.resize(static_cast<std::size_t>(index_));
            if (clean_ > index_) clean_ = -1;  // the saved state can no longer be reached
        }
        if (gesture != 0 && index_ > 0 && clean_ != index_) {
            Entry& last = entries_[static_cast<std::size_t>(index_ - 1)];
            if (last.gesture == gesture && last.step.Merge(step)) {
                last.text = std::move(text);  // the gesture's step is named by where it ended
                return;
            }
        }
        entries_.push_back(Entry{std::move(step), std::move(text), gesture});
        ++index_;
    }

    // The step to undo (the current position moves back), or nullptr.
    const Entry* Undo() {
        if (index_ == 0) return nullptr;
        return &entries_[static_cast<std::size_t>(--index_)];
    }
    const Entry* Redo() {
        if (static_cast<std::size_t>(index_) >= entries_.size()) return nullptr;
        return &entries_[static_cast<std::size_t>(index_++)];
    }

    bool CanUndo() const { return index_ > 0; }
    bool CanRedo() const { return static_cast<std::size_t>(index_) < entries_.size(); }
    std::string UndoText() const { return CanUndo() ? entries_[static_cast<std::size_t>(index_ - 1)].text : std::string(); }
    std::string RedoText() const { return CanRedo() ? entries_[static_cast<std::size_t>(index_)].text : std::string(); }

    bool AtSavedState() const { return index_ == clean_; }
    void MarkSaved() { clean_ = index_; }
    // A document read anew: no steps, and saved as it is.
    void Clear() {
        entries_.clear();
        index_ = clean_ = 0;
    }
    int Count() const { return static_cast<int>(entries_.size()); }

    // The newest step when it is the current one and belongs to `gesture`; else nullptr.
    const Entry* CurrentOfGesture(int gesture) const {
        if (gesture == 0 || index_ == 0 || static_cast<std::size_t>(index_) != entries_.size()) return nullptr;
        const Entry& last = entries_.back();
        return last.gesture == gesture ? &last : nullptr;
    }
    // Forgets the newest step (a gesture that came back to where it began).
    void DropCurrent() {
        if (index_ == 0 || static_cast<std::size_t>(index_) != entries_.size()) return;
        entries_.pop_back();
        --index_;
    }

private:
    std::vector<Entry> entries_;
    int index_ = 0;
    int clean_ = 0;  // -1: the saved state was dropped with the steps after it
};

}  // namespace orb8
