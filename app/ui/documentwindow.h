// What the main window expects of a document window (a project window or a
// custom distortion window): a document with a file name and a modified
// flag, load and save, a caption made from them, activation, and a close
// that asks about unsaved work first.
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "app/framerules.h"
#include "patch/fileio.h"

#include <QMdiSubWindow>
class TMainWin;

class DocumentWindow : public QWidget {
    Q_OBJECT

public:
    DocumentWindow(TMainWin& main, QString untitledName);

    virtual orb8::DocumentKind Kind() const = 0;
    virtual std::string FileName() const = 0;
    virtual void SetFileName(const std::string& path) = 0;
    virtual bool Modified() const = 0;
    // Reads the file named by FileName; the window shows the result.
    virtual orb8::FileResult LoadDocument() = 0;
    virtual orb8::FileResult SaveDocument() = 0;
    // The window became the active document window.
    virtual void FormActivate() = 0;

    // Sets the modified flag and the caption's "*" together.
    void SetModified(bool modified);
    // "NoName3" / "NoNameDst1", or the file name; "*" while modified.
    QString Caption() const;
    QString UntitledName() const { return untitled_; }
    void RefreshCaption();

    // The close query's question for this kind of document.
    virtual QString UnsavedQuestion() const = 0;

    QMdiSubWindow* SubWindow() const { return subWindow_; }
    void SetSubWindow(QMdiSubWindow* window) { subWindow_ = window; }

protected:
    virtual void SetModifiedFlag(bool modified) = 0;
    // The close query and the close: asks about unsaved work (Save As on
    // Yes; the window stays when that is cancelled or fails), then leaves the
    // main window's lists.
    void closeEvent(QCloseEvent* event) override;

    TMainWin& main_;

private:
    QString untitled_;
    QPointer<QMdiSubWindow> subWindow_;
};
