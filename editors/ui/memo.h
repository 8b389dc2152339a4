// TMemoWin: the comment window, shared by all projects. It shows the comment
// of the patch selected in the current project window and hands the text
// back to that same patch: when it loses the focus, when another comment is
// shown, and whenever that project is about to change, be saved or closed. It accepts at most 250
// characters, and never more than the 255 bytes a comment field holds.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

class EditorContext;
class QPlainTextEdit;

namespace orb8 {
class Document;
class ProjectSession;
}  // namespace orb8

class TMemoWin : public QWidget {
    Q_OBJECT

public:
    explicit TMemoWin(EditorContext& context);


    // Shows comment `row` of the project (and remembers where it goes back
    // to); what was typed for the comment shown before goes back first.
    void ShowComment(orb8::ProjectSession* project, int row);
    // Writes the text back into the patch it came from, as a step of its
    // project, if it changed; true when the document changed. The project
    // asks for it before any change of its own.
    bool HandBack();
    // Empties the window and forgets its patch (no project left).
    void Clear();
    // The text box has the focus, or had it when a menu opened over it.
    bool HasFocus() const;
    // Edit > Paste would paste text from the clipboard into the comment.
    bool CanPaste() const;
    void Copy();
    void Paste();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* Memo;
    void Limit();
    void Show();
    void Follow(orb8::ProjectSession* project);
    orb8::ProjectSession* Project() const;

    EditorContext& context_;
    int listener_ = 0;
    bool handingBack_ = false;
    std::weak_ptr<orb8::Document> project_;
    int row_ = 0;
    std::string original_;  // the bytes the comment had when shown
    QString shown_;         // the text they were shown as
    QString accepted_;      // the last text within the limits
    bool filling_ = false;
    bool focusedBeforePopup_ = false;
};
