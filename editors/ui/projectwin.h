// TProjectWindow: the document window of a project. It lists the bank in
// PatchGrid; choosing a row shows that patch in the editor and its comment
// in the comment window and schedules the patch change; dragging a row
// reorders the bank, dropping it on another project window copies it there.
#pragma once

#include <QStringList>
#include <array>

#include "app/ui/documentwindow.h"
#include "editors/projecthistory.h"
#include "editors/rowdrag.h"
#include "patch/projectdocument.h"

class PatchGrid;
class QUndoStack;

class TProjectWindow : public DocumentWindow {
    Q_OBJECT

public:
    TProjectWindow(TMainWin& main, int number);
    ~TProjectWindow() override;

    orb8::ProjectDocument& Document() { return document_; }
    const orb8::ProjectDocument& Document() const { return document_; }

    orb8::DocumentKind Kind() const override { return orb8::DocumentKind::Project; }
    std::string FileName() const override { return document_.fileName; }
    void SetFileName(const std::string& path) override;
    bool Modified() const override { return document_.modified; }
    orb8::FileResult LoadDocument() override;
    orb8::FileResult SaveDocument() override;
    void FormActivate() override;
    QString UnsavedQuestion() const override;

    PatchGrid* Grid() const { return grid_; }
    // The grid's current row, 1..80.
    int CurrentRow() const;
    // Makes row r current, which selects its patch.
    void SetCurrentRow(int row);
    // Selects row r: the editor shows the patch, the comment window its
    // comment, and the processor is switched to it.
    void SelectRow(int row);
    // Unpacks the bank, rewrites every row and selects a row (keep: the
    // current one, else row 1).
    void RefreshAllRows(bool keepCurrentRow = false);
    // Columns 1..5 of a row from the document.
    void RefreshRow(int row);
    // The texts a row shows: name, drive, Mod, Dly/Rev and comment.
    QStringList RowTexts(int row) const;

    // The drag of a row, as the grid reports it.
    void PatchGridMouseDown(int row);
    // The pointer over patch row `row`, or 0 over the heading or no row.
    void PatchGridDragOver(int row, bool overHeading);
    // A drop on row `row`; from this window (a move) or another (a copy).
    void PatchGridDragDrop(TProjectWindow& source, int row);
    void PatchGridEndDrag();
    void PointerLeft();
    const orb8::RowDrag& Drag() const { return drag_; }

    // The bank as it was when last loaded, saved or received: what Compare shows.
    const orb8::PatchData& Stored(int index) const { return stored_[static_cast<std::size_t>(index)]; }
    void TakeStored() { stored_ = document_.patches; }
    QStringList RowTextsOf(const orb8::PatchData& patch, int row) const;
    void ShowRow(int row, const orb8::PatchData& patch);

    // The history: one step per change, the saved state its clean state.
    QUndoStack* Undo() const { return undo_; }
    orb8::ProjectState Snapshot() const;
    // Pushes what changed since `before` as one step (nothing when nothing did).
    void Record(const orb8::ProjectState& before, const QString& text, int gesture = 0);
    // Undo or redo of a step: the document, what shows it, and the processor.
    void ApplyStep(const orb8::ProjectStep& step, bool undo);

protected:
    void SetModifiedFlag(bool modified) override { document_.modified = modified; }

private:
    void ShowPreview();
    void TakeSnapshot();

    orb8::ProjectDocument document_;
    PatchGrid* grid_;
    orb8::RowDrag drag_;
    std::array<QStringList, orb8::kPatchCount + 1> snapshot_;  // rows 1..80
    bool selecting_ = false;
    QUndoStack* undo_;
    std::array<orb8::PatchData, orb8::kPatchCount> stored_;
};
