#include "editors/ui/projectwin.h"

#include <QDateTime>
#include <QHeaderView>
#include <QVBoxLayout>

#include "app/ui/mainwin.h"
#include "editors/ui/commenttext.h"
#include "editors/ui/patchgrid.h"
#include "editors/ui/projectundo.h"

#include <QUndoStack>

using namespace orb8;

TProjectWindow::TProjectWindow(TMainWin& main, int number)
    : DocumentWindow(main, QStringLiteral("NoName%1").arg(number)) {
    setObjectName(QStringLiteral("ProjectWindow%1").arg(number));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    grid_ = new PatchGrid(*this);
    layout->addWidget(grid_);
    for (int row = 1; row <= kPatchCount; ++row) grid_->item(row - 1, 0)->setText(QString::fromStdString(PatchLabel(row - 1)));
    stored_ = document_.patches;
    undo_ = new QUndoStack(this);
    // Back at the saved state the "*" goes; away from it, it comes back.
    connect(undo_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean != !Modified()) SetModified(!clean);
    });
    RefreshCaption();
}

// The history goes with the window and says it is clean as it goes: not to this window any more.
TProjectWindow::~TProjectWindow() { disconnect(undo_, nullptr, this, nullptr); }

ProjectState TProjectWindow::Snapshot() const { return Capture(document_, main_.CustomSettings()); }

void TProjectWindow::Record(const ProjectState& before, const QString& text, int gesture) {
    ProjectStep step = ProjectStep::Between(before, document_, main_.CustomSettings());
    if (step.Empty()) return;
    undo_->push(new ProjectUndoCommand(*this, std::move(step), text, gesture));
}

void TProjectWindow::ApplyStep(const ProjectStep& step, bool undo) {
    main_.HandBackComment();
    const auto changed = step.Apply(document_, main_.CustomSettings(), undo);
    for (const auto& [index, bytes] : changed) RefreshRow(index + 1);
    for (int index : step.Comments()) RefreshRow(index + 1);
    main_.StepApplied(this, changed, step.Comments());
}

void TProjectWindow::SetFileName(const std::string& path) {
    document_.fileName = path;
    RefreshCaption();
}

FileResult TProjectWindow::LoadDocument() {
    const FileResult r = document_.Load();
    if (r.ok()) {
        RefreshAllRows();
        TakeStored();
        undo_->clear();
        RefreshCaption();
    }
    return r;
}

FileResult TProjectWindow::SaveDocument() {
    const FileResult r = document_.Save(main_.CustomSettings());
    if (r.ok()) {
        undo_->setClean();
        TakeStored();
    }
    RefreshCaption();
    return r;
}

QString TProjectWindow::UnsavedQuestion() const {
    return tr("This Project %1 has not been saved.\nSave this?").arg(QString::fromStdString(document_.fileName));
}

void TProjectWindow::FormActivate() {
    if (main_.CurrentProject == this && main_.ActiveDocument == this) return;
    main_.DocumentActivated(this);
    SelectRow(CurrentRow());
}

int TProjectWindow::CurrentRow() const {
    const int r = grid_->currentRow();
    return r < 0 ? 1 : r + 1;
}

void TProjectWindow::SetCurrentRow(int row) {
    if (!ProjectDocument::ValidRow(row)) return;
    if (CurrentRow() == row && grid_->currentRow() >= 0) {
        SelectRow(row);
        return;
    }
    grid_->setCurrentCell(row - 1, std::max(grid_->currentColumn(), 0));  // selects through currentCellChanged
}

void TProjectWindow::SelectRow(int row) {
    if (!ProjectDocument::ValidRow(row) || selecting_) return;
    selecting_ = true;
    main_.PatchSelected(this, row);
    selecting_ = false;
}

QStringList TProjectWindow::RowTextsOf(const PatchData& patch, int row) const {
    const auto texts = ProjectRowTextsOf(patch, row, document_.CommentOfRow(row));
    QStringList list;
    for (int c = 1; c < 5; ++c) list << QString::fromStdString(texts[static_cast<std::size_t>(c)]);
    list << CommentText(document_.CommentOfRow(row), main_.JapaneseUi);
    return list;
}

void TProjectWindow::ShowRow(int row, const PatchData& patch) { grid_->SetRowTexts(row, RowTextsOf(patch, row)); }

QStringList TProjectWindow::RowTexts(int row) const {
    const auto texts = ProjectRowTexts(document_, row);
    QStringList list;
    for (int c = 1; c < 5; ++c) list << QString::fromStdString(texts[static_cast<std::size_t>(c)]);
    list << CommentText(document_.CommentOfRow(row), main_.JapaneseUi);
    return list;
}

void TProjectWindow::RefreshRow(int row) {
    if (!ProjectDocument::ValidRow(row)) return;
    grid_->SetRowTexts(row, RowTexts(row));
}

void TProjectWindow::RefreshAllRows(bool keepCurrentRow) {
    const int keep = CurrentRow();
    document_.UnpackAll();
    for (int row = 1; row <= kPatchCount; ++row) RefreshRow(row);
    const int row = keepCurrentRow ? keep : 1;
    if (grid_->currentRow() == row - 1) SelectRow(row);
    else grid_->setCurrentCell(row - 1, std::max(grid_->currentColumn(), 0));
}

// --- Dragging rows -----------------------------------------------------------

void TProjectWindow::TakeSnapshot() {
    for (int row = 1; row <= kPatchCount; ++row) {
        QStringList texts;
        for (int c = 1; c < 6; ++c) texts << grid_->CellText(row, c);
        snapshot_[static_cast<std::size_t>(row)] = texts;
    }
}

void TProjectWindow::ShowPreview() {
    for (int row = 1; row <= kPatchCount; ++row) grid_->SetRowTexts(row, snapshot_[static_cast<std::size_t>(drag_.ShownRow(row))]);
}

void TProjectWindow::PatchGridMouseDown(int row) {
    if (!ProjectDocument::ValidRow(row)) {
        drag_.End();
        return;
    }
    drag_.Start(row, QDateTime::currentMSecsSinceEpoch());
    TakeSnapshot();
}

void TProjectWindow::PatchGridDragOver(int row, bool overHeading) {
    if (!drag_.Active()) return;
    if (overHeading && drag_.HeadingScrollDue(QDateTime::currentMSecsSinceEpoch()) && CurrentRow() > 1)
        SetCurrentRow(CurrentRow() - 1);
    const bool changed = overHeading || row == 0 ? drag_.OverNothing() : drag_.OverRow(row);
    if (changed) ShowPreview();
}

void TProjectWindow::PatchGridDragDrop(TProjectWindow& source, int row) {
    if (&source == this) {
        const auto move = drag_.Drop();
        const ProjectState before = Snapshot();
        if (move && document_.MovePatch(move->first, move->second)) {
            // The rows between show the bank's new order.
            for (int r = std::min(move->first, move->second); r <= std::max(move->first, move->second); ++r)
                RefreshRow(r);
            Record(before, QString::fromStdString(MoveStepText(move->first, move->second)));
            main_.MarkModified(this);
            SetCurrentRow(move->second);
        } else {
            ShowPreview();  // the drag is over: every row shows its snapshot again
        }
        return;
    }
    // A row of another project: a copy of that patch and its comment.
    if (!ProjectDocument::ValidRow(row)) {
        source.drag_.End();
        return;
    }
    main_.HandBackComment();
    const int from = source.Drag().Active() ? source.Drag().Source() : source.CurrentRow();
    const ProjectState before = Snapshot();
    document_.CopyPatchFrom(source.Document(), from, row);
    Record(before, tr("Copy to %1").arg(QString::fromStdString(PatchLabel(row - 1))));
    source.drag_.End();
    RefreshRow(row);
    main_.MarkModified(this);
    SetCurrentRow(row);
}

void TProjectWindow::PatchGridEndDrag() {
    if (drag_.Active()) {
        drag_.OverNothing();
        ShowPreview();
    }
    drag_.End();
}

void TProjectWindow::PointerLeft() {
    if (drag_.Active() && drag_.OverNothing()) ShowPreview();
}
