// A document window (a project window or a custom distortion window): a
// document with a file name and a history, load and save, a caption made
// from them, undo and redo. It tells the frame of its caption, activation
// and closing by signals; before it closes it asks the frame, through its
// context, whether unsaved work may go.
#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "patch/fileio.h"
#include "workspace/documentrules.h"

class WindowContext;

class DocumentWindow : public QWidget {
    Q_OBJECT

public:
    DocumentWindow(WindowContext& context, QString untitledName);

    virtual orb8::DocumentKind Kind() const = 0;
    virtual std::string FileName() const = 0;
    virtual void SetFileName(const std::string& path) = 0;
    // The file at FileName is the one the document last read or wrote.
    virtual bool FileKnown() const = 0;
    // The caption shows FileName (not after a failed open).
    virtual bool Titled() const = 0;
    // Where the document's history stands: away from its saved state.
    virtual bool Modified() const = 0;
    // Reads the file named by FileName; the window shows the result.
    virtual orb8::FileResult LoadDocument() = 0;
    virtual orb8::FileResult SaveDocument() = 0;
    // The close query's question for this kind of document.
    virtual QString UnsavedQuestion() const = 0;

    // The history, for Edit > Undo and Redo.
    virtual bool CanUndo() const = 0;
    virtual bool CanRedo() const = 0;
    virtual QString UndoText() const = 0;
    virtual QString RedoText() const = 0;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
    // Input still being typed goes into the document (before a question about it).
    virtual void Settle() {}

    // The file image a save would write now, for the recovery record (while
    // an operation has the document half changed, as it was before it).
    virtual std::vector<std::uint8_t> RecoveryImage() const = 0;
    // Unsaved work from a recovery record: the document belongs at
    // `fileName` and shows `image`, modified. False when the image does not fit.
    virtual bool Recover(const std::string& fileName, const std::vector<std::uint8_t>& image) = 0;

    // "NoName3" / "NoNameDst1", or the file name; "*" while modified.
    QString Caption() const;
    QString UntitledName() const { return untitled_; }
    // A recovered document takes the name it had.
    void SetUntitledName(const QString& name) {
        untitled_ = name;
        RefreshCaption();
    }
    // Shows the caption anew; tells the frame when it changed.
    void RefreshCaption();

    QMdiSubWindow* SubWindow() const { return subWindow_; }
    void SetSubWindow(QMdiSubWindow* window);

signals:
    void CaptionChanged(DocumentWindow* window);
    // The document changed, was loaded, saved or renamed.
    void DocumentChanged(DocumentWindow* window);
    // The window became the active document window (the sub-window's activation).
    void Activated(DocumentWindow* window);
    void Closed(DocumentWindow* window);

protected:
    void closeEvent(QCloseEvent* event) override;

    WindowContext& context_;

private:
    QString untitled_;
    QString shownCaption_;
    QPointer<QMdiSubWindow> subWindow_;
};
