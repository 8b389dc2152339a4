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
#include "patch/document.h"

namespace orb8 {

// The same on the processor: equal device images of every filter and clipper.
bool SameDeviceData(const CustomDistData& a, const CustomDistData& b);

namespace detail {
struct CustomDistStep {
    CustomDistData before, after;
    bool Merge(const CustomDistStep&) { return false; }
};
}  // namespace detail

class CustomDistSession : public HistorySession<detail::CustomDistStep> {
public:
    DocumentKind Kind() const override { return DocumentKind::CustomDist; }
    const std::string& FileName() const override { return document_.fileName; }

    const CustomDistDocument& Document() const { return document_; }
    const CustomDistData& Data() const { return document_.data; }

    // `operation` changes the data; the change is one step named `text`. A
    // change of nothing is no step, unless `always` (CALC is a step whatever
    // it computes). True when a step was recorded.
    bool Perform(const std::string& text, const std::function<void(CustomDistData&)>& operation, bool always = false);
    // Undo and redo tell the listeners of the whole set (`all`).
    SessionChange Undo() override;
    SessionChange Redo() override;
    bool Modified() const override { return !history_.AtSavedState(); }

    FileResult Load() override;
    FileResult Save() override;
    void SetFileName(const std::string& path) override;
    bool Recover(const std::string& fileName, const std::string& text, std::span<const std::uint8_t> image) override;

    // The file image a save would write now, for the recovery record; while
    // an operation is under way (Recv waits for the processor), the image of
    // the data as it was before it.
    std::vector<std::uint8_t> FileImage() const override;

private:
    using Step = detail::CustomDistStep;
    SessionChange Walk(bool undo);
    void TellAll(bool stepped);

    CustomDistDocument document_;
    const CustomDistData* before_ = nullptr;  // while an operation is under way
};

}  // namespace orb8
