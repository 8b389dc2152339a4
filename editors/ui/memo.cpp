#include "editors/ui/memo.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "editors/commentrules.h"
#include "editors/ui/commenttext.h"
#include "editors/projectsession.h"
#include "workspace/ui/windowcontext.h"

using namespace orb8;

namespace {

// The comment's text box takes only plain text from the clipboard or a
// drop, and only as much of it as the comment can hold. Qt 6.4's own
// insertion crashes on clipboard data without formats (an empty clipboard).
class CommentEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override { return source && source->hasText(); }
    void insertFromMimeData(const QMimeData* source) override {
        if (!source || !source->hasText()) return;
        QTextCursor cursor = textCursor();
        QString kept = toPlainText();
        kept.remove(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
        const std::string fits = FittingInsertion(kept.toStdString(), source->text().toStdString());
        cursor.insertText(QString::fromStdString(fits));
        setTextCursor(cursor);
        ensureCursorVisible();
    }
};

}  // namespace

TMemoWin::TMemoWin(EditorContext& context) : QWidget(nullptr), context_(context) {
    setObjectName("MemoWin");
    setWindowTitle(tr("COMMENT"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Memo = new CommentEdit(this);
    Memo->setObjectName("Memo");
    Memo->setTabChangesFocus(true);
    layout->addWidget(Memo);
    Memo->installEventFilter(this);
    connect(Memo, &QPlainTextEdit::textChanged, this, &TMemoWin::Limit);
}

void TMemoWin::ShowComment(ProjectSession* project, int row) {
    HandBack();
    Follow(project);
    row_ = row;
    Show();
}

// The project whose comment is shown hands the typing back before its own
// changes, and tells of changes to the comment (an undo, a paste).
ProjectSession* TMemoWin::Project() const { return static_cast<ProjectSession*>(project_.lock().get()); }

void TMemoWin::Follow(ProjectSession* project) {
    if (Project() == project) return;
    if (ProjectSession* before = Project()) {
        before->ClearPendingInput();
        before->Unlisten(listener_);
    }
    project_ = project ? project->weak_from_this() : std::weak_ptr<Document>();
    if (!project) return;
    project->SetPendingInput([this] { HandBack(); });
    listener_ = project->Listen([this](const SessionChange& change) {
        if (!handingBack_ && change.Touches(row_ - 1)) Show();
    });
}

void TMemoWin::Show() {
    const ProjectSession* project = Project();
    original_ = project && ProjectDocument::ValidRow(row_) ? project->Document().CommentOfRow(row_) : std::string();
    shown_ = CommentText(original_, context_.JapaneseUi());
    accepted_ = shown_;
    filling_ = true;
    Memo->setPlainText(shown_);
    filling_ = false;
}

bool TMemoWin::HandBack() {
    ProjectSession* project = Project();
    if (!project || !ProjectDocument::ValidRow(row_) || handingBack_) return false;
    const std::string edited = Memo->toPlainText().toStdString();
    // Only what the user typed goes back; the patch may have changed meanwhile (a paste).
    if (edited == shown_.toStdString()) return false;
    const std::string bytes = HandBackBytes(original_, shown_.toStdString(), edited);
    if (bytes != original_ && !CommentFits(bytes)) {
        // Only an old comment that is longer in UTF-8 than its bytes were can
        // get here; it is kept as it was rather than cut.
        context_.ShowStatus(tr("The comment was not stored: as UTF-8 it is longer than 255 bytes. Shorten it."));
        return false;
    }
    if (bytes == project->Document().CommentOfRow(row_)) return false;
    handingBack_ = true;
    ProjectSession& session = *project;
    session.Perform([&](ProjectDocument& document) {
        document.SetCommentOfRow(row_, bytes);
        return StepReport{tr("Comment of %1").arg(QString::fromStdString(PatchLabel(row_ - 1))).toStdString(), {}};
    });
    handingBack_ = false;
    original_ = project->Document().CommentOfRow(row_);
    shown_ = Memo->toPlainText();
    return true;
}

void TMemoWin::Clear() {
    Follow(nullptr);
    row_ = 0;
    original_.clear();
    shown_.clear();
    accepted_.clear();
    filling_ = true;
    Memo->clear();
    filling_ = false;
}

bool TMemoWin::HasFocus() const { return Memo->hasFocus() || focusedBeforePopup_; }

void TMemoWin::Copy() { Memo->copy(); }

void TMemoWin::Paste() {
    if (CanPaste()) Memo->paste();
}

bool TMemoWin::CanPaste() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return HasFocus() && !Memo->isReadOnly() && data && data->hasText();
}

// A change that would not fit is taken back, and the status line says why.
void TMemoWin::Limit() {
    if (filling_) return;
    const QString text = Memo->toPlainText();
    // What fits is taken, and so is anything that makes a long old comment shorter.
    if (CommentFits(text.toStdString()) || text.toUtf8().size() < accepted_.toUtf8().size()) {
        accepted_ = text;
        // What is typed is unsaved work from the first key (and in the
        // recovery record), before it becomes one step.
        if (ProjectSession* project = Project(); project && ProjectDocument::ValidRow(row_) && text != shown_)
            project->NoteTyping(row_ - 1, HandBackBytes(original_, shown_.toStdString(), text.toStdString()));
        return;
    }
    const int cursor = Memo->textCursor().position();
    filling_ = true;
    Memo->setPlainText(accepted_);
    QTextCursor c = Memo->textCursor();
    c.setPosition(std::min<int>(cursor, static_cast<int>(accepted_.size())));
    Memo->setTextCursor(c);
    filling_ = false;
    context_.ShowStatus(tr("A comment holds at most %1 characters (255 bytes).").arg(kCommentMaxCharacters));
}

// Leaving the window hands the comment back.
bool TMemoWin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo && event->type() == QEvent::FocusIn) focusedBeforePopup_ = false;
    if (watched == Memo && event->type() == QEvent::FocusOut) {
        // A menu opened over the text box: its Copy and Paste still mean the comment.
        focusedBeforePopup_ = static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason;
        HandBack();
    }
    return QWidget::eventFilter(watched, event);
}

// Closing only puts the window aside; Window > Comment brings it back.
void TMemoWin::closeEvent(QCloseEvent* event) {
    event->ignore();
    HandBack();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->showMinimized();
}
