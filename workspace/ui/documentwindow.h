// The window of a document (a project or a custom distortion set): it shows
// the document, keeps it while it is open, and captions itself from it (the
// file name or the untitled name, "*" while modified). It tells the frame of
// its caption, activation and closing by signals; before it closes it asks
// the frame, through its context, whether unsaved work may go.
#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "patch/document.h"

class WindowContext;

class DocumentWindow : public QWidget {
    Q_OBJECT

public:
    DocumentWindow(WindowContext& context, std::shared_ptr<orb8::Document> document);
    ~DocumentWindow() override;

    orb8::Document& Doc() { return *document_; }
    const orb8::Document& Doc() const { return *document_; }
    const std::shared_ptr<orb8::Document>& SharedDoc() const { return document_; }

    // Edit > Undo and Redo; a project's also go to the processor.
    virtual void Undo() { document_->Undo(); }
    virtual void Redo() { document_->Redo(); }

    // "NoName3" / "NoNameDst1", or the file name; "*" while modified.
    QString Caption() const;
    // Shows the caption anew; tells the frame when it changed.
    void RefreshCaption();

    QMdiSubWindow* SubWindow() const { return subWindow_; }
    void SetSubWindow(QMdiSubWindow* window);

signals:
    void CaptionChanged(DocumentWindow* window);
    // The window became the active document window (the sub-window's activation).
    void Activated(DocumentWindow* window);
    void Closed(DocumentWindow* window);

protected:
    void closeEvent(QCloseEvent* event) override;

    WindowContext& context_;

private:
    std::shared_ptr<orb8::Document> document_;
    int listener_ = 0;
    QString shownCaption_;
    QPointer<QMdiSubWindow> subWindow_;
};
