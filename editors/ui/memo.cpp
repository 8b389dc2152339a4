#include "editors/ui/memo.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/ui/mainwin.h"
#include "editors/commentrules.h"
#include "editors/ui/commenttext.h"
#include "editors/ui/projectwin.h"

using namespace orb8;

TMemoWin::TMemoWin(TMainWin& main) : QWidget(nullptr), main_(main) {
    setObjectName("MemoWin");
    setWindowTitle(tr("COMMENT"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Memo = new QPlainTextEdit(this);
    Memo->setObjectName("Memo");
    Memo->setTabChangesFocus(true);
    layout->addWidget(Memo);
    Memo->installEventFilter(this);
    connect(Memo, &QPlainTextEdit::textChanged, this, &TMemoWin::Limit);
}

void TMemoWin::ShowComment(TProjectWindow* project, int row) {
    project_ = project;
    row_ = row;
    original_ = project && ProjectDocument::ValidRow(row) ? project->Document().CommentOfRow(row) : std::string();
    shown_ = CommentText(original_, main_.JapaneseUi);
    accepted_ = shown_;
    filling_ = true;
    Memo->setPlainText(shown_);
    filling_ = false;
}

bool TMemoWin::HandBack() {
    if (!project_ || !ProjectDocument::ValidRow(row_)) return false;
    const std::string edited = Memo->toPlainText().toStdString();
    // Only what the user typed goes back; the patch may have changed meanwhile (a paste).
    if (edited == shown_.toStdString()) return false;
    const std::string bytes = HandBackBytes(original_, shown_.toStdString(), edited);
    ProjectDocument& document = project_->Document();
    if (bytes != original_ && !CommentFits(bytes)) {
        // Only an old comment that is longer in UTF-8 than its bytes were can
        // get here; it is kept as it was rather than cut.
        main_.ShowStatus(tr("The comment was not stored: as UTF-8 it is longer than 255 bytes. Shorten it."));
        return false;
    }
    if (bytes == document.CommentOfRow(row_)) return false;
    const ProjectState before = project_->Snapshot();
    document.SetCommentOfRow(row_, bytes);
    project_->Record(before, tr("Comment of %1").arg(QString::fromStdString(PatchLabel(row_ - 1))));
    original_ = document.CommentOfRow(row_);
    shown_ = Memo->toPlainText();
    project_->RefreshRow(row_);
    main_.MarkModified(project_);
    return true;
}

void TMemoWin::Clear() {
    project_ = nullptr;
    row_ = 0;
    original_.clear();
    shown_.clear();
    accepted_.clear();
    filling_ = true;
    Memo->clear();
    filling_ = false;
}

bool TMemoWin::HasFocus() const { return Memo->hasFocus(); }

// A change that would not fit is taken back, and the status line says why.
void TMemoWin::Limit() {
    if (filling_) return;
    const QString text = Memo->toPlainText();
    // What fits is taken, and so is anything that makes a long old comment shorter.
    if (CommentFits(text.toStdString()) || text.toUtf8().size() < accepted_.toUtf8().size()) {
        accepted_ = text;
        return;
    }
    const int cursor = Memo->textCursor().position();
    filling_ = true;
    Memo->setPlainText(accepted_);
    QTextCursor c = Memo->textCursor();
    c.setPosition(std::min<int>(cursor, static_cast<int>(accepted_.size())));
    Memo->setTextCursor(c);
    filling_ = false;
    main_.ShowStatus(tr("A comment holds at most %1 characters (255 bytes).").arg(kCommentMaxCharacters));
}

// Leaving the window hands the comment back.
bool TMemoWin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo && event->type() == QEvent::FocusOut) HandBack();
    return QWidget::eventFilter(watched, event);
}

// Closing only puts the window aside; Window > Comment brings it back.
void TMemoWin::closeEvent(QCloseEvent* event) {
    event->ignore();
    HandBack();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->showMinimized();
}
