// TProjectWindow: the document window of a project. It shows the project's
// session and lists the bank in PatchGrid; choosing a row asks the frame to
// show that patch (signal PatchSelected); dragging a row reorders the bank,
// dropping it on another project window copies it there. The list shows
// every change of the session as it happens.
#pragma once

#include "editors/projectsession.h"
#include "editors/rowdrag.h"
#include "patch/patchclip.h"
#include "workspace/ui/documentwindow.h"

class EditorContext;
class PatchGrid;
class PatchListModel;

class TProjectWindow : public DocumentWindow {
    Q_OBJECT

public:
    TProjectWindow(EditorContext& context, int number, std::shared_ptr<orb8::ProjectSession> session);
    ~TProjectWindow() override;

    orb8::ProjectSession& Session() { return session_; }
    const orb8::ProjectDocument& Document() const { return session_.Document(); }

    void Undo() override;
    void Redo() override;

    PatchGrid* Grid() const { return grid_; }
    // The grid's current row, 1..80.
    int CurrentRow() const;
    // Makes row r current, which selects its patch.
    void SetCurrentRow(int row);
    // Selects row r: the frame shows the patch, its comment, and switches the processor to it.
    void SelectRow(int row);
    // Row r shows `patch` (the stored one, compared) instead of the document's; nullptr: the document's.
    void ShowPatchOnRow(int row, const orb8::PatchData* patch);

    // The drag of a row, as the grid reports it.
    void PatchGridMouseDown(int row);
    // The pointer over patch row `row`, or 0 over the heading or no row.
    void PatchGridDragOver(int row, bool overHeading);
    // A drop on row `row`; from this window (a move) or another (a copy of
    // its dragged row, or else its current row).
    void PatchGridDragDrop(TProjectWindow& source, int row);
    void PatchGridEndDrag();
    // A patch from elsewhere (a library result) onto row `row`: one step,
    // "Copy to Unn", and the row becomes current (on line the processor gets it).
    void TakePatch(const orb8::PatchClip& clip, int row);
    void TakePatches(const std::vector<orb8::PatchClip>& clips, int row);
    // The rows chosen in the list (Shift, Ctrl), in order; the current one when none is.
    std::vector<int> ChosenRows() const;
    // Edit > Paste: the buffer's patches from row `row` on, one step; those
    // beyond the last row are said.
    void Paste(const orb8::CopyBuffer& buffer, int row);
    void PointerLeft();
    const orb8::RowDrag& Drag() const { return drag_; }

    // On line, a bar above the list says when the processor's custom
    // settings differ from the bank's, names the slots, and offers the
    // processor's as one step of the bank.
    void RefreshSettingsNotice();
    void UseProcessorSettings();
    QWidget* SettingsNotice() const { return notice_; }

signals:
    void PatchSelected(TProjectWindow* project, int row);

private:
    void Changed(const orb8::SessionChange& change);
    void Dropped(PatchGrid* source, int sourceRow, int row);
    void CopyFrom(TProjectWindow& source, int sourceRow, int row);
    // The buffer's patches from `row` on as one step named `step`; how many fitted.
    int PasteRows(const orb8::CopyBuffer& buffer, int row, const QString& step);
    void Took(const orb8::SessionChange& change, int first, int last, int current);
    void ShowPreview();

    EditorContext& editor_;
    orb8::ProjectSession& session_;
    PatchListModel* model_;
    PatchGrid* grid_;
    QWidget* notice_;
    class QLabel* noticeText_;
    QString shownNotice_;
    orb8::RowDrag drag_;
    int listener_ = 0;
    bool selecting_ = false;
};
