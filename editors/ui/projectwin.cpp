#include "editors/ui/stepwords.h"
#include "editors/ui/projectwin.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "patch/differences.h"

#include "editors/ui/patchgrid.h"
#include "editors/ui/patchlistmodel.h"
#include "workspace/ui/windowcontext.h"

using namespace orb8;

TProjectWindow::TProjectWindow(EditorContext& context, int number, std::shared_ptr<ProjectSession> session)
    : DocumentWindow(context, session), editor_(context), session_(*session) {
    setObjectName(QStringLiteral("ProjectWindow%1").arg(number));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    model_ = new PatchListModel(session_.Document(), context.JapaneseUi(), this);
    grid_ = new PatchGrid(*model_, this);
    notice_ = new QWidget(this);
    notice_->setObjectName("SettingsNotice");
    auto* noticeLayout = new QHBoxLayout(notice_);
    noticeLayout->setContentsMargins(6, 3, 6, 3);
    noticeText_ = new QLabel(notice_);
    noticeText_->setWordWrap(true);
    auto* use = new QPushButton(tr("Use the Processor's Custom Settings"), notice_);
    use->setToolTip(tr("The bank's CUSTOM patches then play here as they do on the ORB-8 (Undo takes it back)"));
    use->setObjectName("UseProcessorSettingsBtn");
    use->setAutoDefault(false);
    noticeLayout->addWidget(noticeText_, 1);
    noticeLayout->addWidget(use);
    notice_->setAutoFillBackground(true);
    QPalette warm = notice_->palette();
    warm.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xC8));
    warm.setColor(QPalette::WindowText, Qt::black);
    notice_->setPalette(warm);
    notice_->hide();
    connect(use, &QPushButton::clicked, this, &TProjectWindow::UseProcessorSettings);
    layout->addWidget(notice_);
    layout->addWidget(grid_);
    connect(grid_, &PatchGrid::RowSelected, this, &TProjectWindow::SelectRow);
    connect(grid_, &PatchGrid::Pressed, this, &TProjectWindow::PatchGridMouseDown);
    connect(grid_, &PatchGrid::DraggedOver, this, &TProjectWindow::PatchGridDragOver);
    connect(grid_, &PatchGrid::Dropped, this, &TProjectWindow::Dropped);
    connect(grid_, &PatchGrid::ClipDropped, this, [this](const QByteArray& bytes, int row) {
        TakePatches(DecodePatchClips(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                               static_cast<std::size_t>(bytes.size()))),
                    row);
    });
    connect(grid_, &PatchGrid::DragEnded, this, &TProjectWindow::PatchGridEndDrag);
    connect(grid_, &PatchGrid::PointerLeft, this, &TProjectWindow::PointerLeft);
    listener_ = session_.Listen([this](const SessionChange& change) { Changed(change); });
}

TProjectWindow::~TProjectWindow() { session_.Unlisten(listener_); }

// Every change of the project: its rows, the caption, and after a whole new
// bank the current row's patch shown anew.
void TProjectWindow::Changed(const SessionChange& change) {
    if (change.all) {
        model_->AllChanged();
        if (grid_->CurrentGridRow() == 0) SetCurrentRow(1);
        else SelectRow(CurrentRow());
    } else {
        for (int row : change.Rows()) model_->RowsChanged(row, row);
    }
    RefreshCaption();
}

void TProjectWindow::RefreshSettingsNotice() {
    const auto processor = editor_.ProcessorSettings();
    QString text;
    if (processor && *processor != session_.Settings())
        text = tr("The ORB-8's custom settings differ from this bank's: %1.")
                   .arg(QString::fromStdString(DifferingSlotsText(session_.Settings(), *processor)));
    if (text == shownNotice_) return;
    shownNotice_ = text;
    noticeText_->setText(text);
    notice_->setVisible(!text.isEmpty());
}

void TProjectWindow::UseProcessorSettings() {
    const auto processor = editor_.ProcessorSettings();
    if (!processor) return;
    session_.UseSettings(*processor, tr("Use the Processor's Custom Settings").toStdString());
    RefreshSettingsNotice();
}

void TProjectWindow::Undo() { editor_.SendParameters(session_.Undo().send); }
void TProjectWindow::Redo() { editor_.SendParameters(session_.Redo().send); }

int TProjectWindow::CurrentRow() const {
    const int r = grid_->CurrentGridRow();
    return r == 0 ? 1 : r;
}

void TProjectWindow::SetCurrentRow(int row) {
    if (!ProjectDocument::ValidRow(row)) return;
    if (grid_->CurrentGridRow() == row) {
        SelectRow(row);
        return;
    }
    grid_->SetCurrentGridRow(row);  // selects through RowSelected
}

void TProjectWindow::SelectRow(int row) {
    if (!ProjectDocument::ValidRow(row) || selecting_) return;
    selecting_ = true;
    emit PatchSelected(this, row);
    selecting_ = false;
}

void TProjectWindow::ShowPatchOnRow(int row, const PatchData* patch) { model_->ShowPatchOnRow(row, patch); }

// --- Dragging rows -----------------------------------------------------------

void TProjectWindow::ShowPreview() {
    if (drag_.Target() == 0) model_->SetPreview(nullptr);
    else model_->SetPreview([this](int row) { return drag_.ShownRow(row); });
}

void TProjectWindow::PatchGridMouseDown(int row) {
    if (!ProjectDocument::ValidRow(row)) {
        drag_.End();
        return;
    }
    // A press inside a block of chosen rows drags the block.
    const std::vector<int> chosen = ChosenRows();
    const bool block = chosen.size() > 1 && chosen.back() - chosen.front() + 1 == static_cast<int>(chosen.size());
    drag_.Start(row, QDateTime::currentMSecsSinceEpoch(), block ? chosen.front() : 0, block ? chosen.back() : 0);
}

std::vector<int> TProjectWindow::ChosenRows() const { return grid_->ChosenRows(); }

void TProjectWindow::PatchGridDragOver(int row, bool overHeading) {
    if (!drag_.Active()) return;
    if (overHeading && drag_.HeadingScrollDue(QDateTime::currentMSecsSinceEpoch()) && CurrentRow() > 1)
        SetCurrentRow(CurrentRow() - 1);
    const bool changed = overHeading || row == 0 ? drag_.OverNothing() : drag_.OverRow(row);
    if (changed) ShowPreview();
}

void TProjectWindow::Dropped(PatchGrid* source, int sourceRow, int row) {
    TProjectWindow* from = nullptr;
    for (QObject* o = source; o && !from; o = o->parent()) from = qobject_cast<TProjectWindow*>(o);
    if (!from) return;
    if (from == this) PatchGridDragDrop(*this, row);
    else CopyFrom(*from, sourceRow, row);
}

void TProjectWindow::PatchGridDragDrop(TProjectWindow& source, int row) {
    if (&source == this) {
        const int last = drag_.Last(), grabbed = drag_.Source();
        const auto move = drag_.Drop();
        ShowPreview();  // the drag is over: every row shows the bank again
        if (!move) return;
        const auto [first, to] = *move;
        const SessionChange change = session_.Perform([&](ProjectDocument& document) {
            document.MoveRows(first, last, to);
            const StepWords words = StepWordsInLanguage();
            return StepReport{first == last ? MoveStepText(first, to, words) : MoveRowsStepText(first, last, to, words), {}};
        });
        if (!change.stepped) return;
        if (first == last) SetCurrentRow(to);
        else grid_->ChooseRows(to, to + last - first, to + grabbed - first);
        return;
    }
    if (source.Drag().Active() && source.Drag().Last() > source.Drag().First()) {
        // A block of another project: copies of its patches from the drop row on.
        const std::vector<int> rows = [&] {
            std::vector<int> block;
            for (int r = source.Drag().First(); r <= source.Drag().Last(); ++r) block.push_back(r);
            return block;
        }();
        source.drag_.End();
        if (!ProjectDocument::ValidRow(row)) return;
        source.Session().Settle();
        CopyBuffer buffer;
        buffer.CopyFrom(source.Document(), rows);
        PasteRows(buffer, row, tr("Copy %1 patches to %2").arg(rows.size()).arg(QString::fromStdString(PatchLabel(row - 1))));
        return;
    }
    CopyFrom(source, source.Drag().Active() ? source.Drag().Source() : source.CurrentRow(), row);
}

// A row of another project: a copy of that patch and its comment.
void TProjectWindow::CopyFrom(TProjectWindow& source, int sourceRow, int row) {
    source.drag_.End();
    if (!ProjectDocument::ValidRow(row) || !ProjectDocument::ValidRow(sourceRow)) return;
    source.Session().Settle();
    const SessionChange change = session_.Perform([&](ProjectDocument& document) {
        document.CopyPatchFrom(source.Document(), sourceRow, row);
        return StepReport{tr("Copy to %1").arg(QString::fromStdString(PatchLabel(row - 1))).toStdString(), {}, true};
    });
    Took(change, row, row, row);
}

// After a copy into rows first..last: the processor hears what changed in the
// patch it plays, and `current` becomes the current row (another row is a
// patch change, as any selection is).
void TProjectWindow::Took(const SessionChange& change, int first, int last, int current) {
    editor_.SendParameters(change.send);
    if (last > first) grid_->ChooseRows(first, last, current);
    else grid_->SetCurrentGridRow(current);
}

int TProjectWindow::PasteRows(const CopyBuffer& buffer, int row, const QString& step) {
    if (!buffer.Filled() || !ProjectDocument::ValidRow(row)) return 0;
    int fit = 0;
    const SessionChange change = session_.Perform([&](ProjectDocument& document) {
        fit = buffer.PasteInto(document, row);
        return StepReport{step.toStdString(), {}, true};
    });
    const int count = static_cast<int>(buffer.rows.size());
    Took(change, row, row + std::max(fit, 1) - 1, row);
    if (fit < count)
        editor_.ShowStatus(tr("%1 of the patches did not fit below %2 and were left out.")
                               .arg(count - fit)
                               .arg(QString::fromStdString(PatchLabel(row - 1))));
    return fit;
}

void TProjectWindow::Paste(const CopyBuffer& buffer, int row) {
    const QString at = QString::fromStdString(PatchLabel(row - 1));
    const int count = static_cast<int>(buffer.rows.size());
    const int fit = std::min(count, kPatchCount - row + 1);
    PasteRows(buffer, row, fit > 1 ? tr("Paste %1 patches to %2").arg(fit).arg(at) : tr("Paste to %1").arg(at));
}

void TProjectWindow::TakePatch(const PatchClip& clip, int row) {
    PasteRows(CopyBuffer::Of(clip.patch, clip.comment), row,
              tr("Copy to %1").arg(QString::fromStdString(PatchLabel(row - 1))));
}

// Several patches from the drop row on, one step; those beyond the last row are said.
void TProjectWindow::TakePatches(const std::vector<PatchClip>& clips, int row) {
    if (clips.size() == 1) return TakePatch(clips.front(), row);
    if (clips.empty() || !ProjectDocument::ValidRow(row)) return;
    CopyBuffer buffer;
    for (const PatchClip& clip : clips) buffer.rows.push_back(CopyBuffer::Of(clip.patch, clip.comment).rows.front());
    const int fit = std::min(static_cast<int>(clips.size()), kPatchCount - row + 1);
    PasteRows(buffer, row, tr("Copy %1 patches to %2").arg(fit).arg(QString::fromStdString(PatchLabel(row - 1))));
}

void TProjectWindow::PatchGridEndDrag() {
    drag_.End();
    ShowPreview();  // every row shows the bank again
}

void TProjectWindow::PointerLeft() {
    if (drag_.Active() && drag_.OverNothing()) ShowPreview();
}
