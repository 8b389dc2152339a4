// The frame's open documents and their windows: it makes them (a new
// project or custom distortion set, which its window keeps), places the windows below the patch editor, knows which one is active
// and which project and custom distortion are current, keeps the Window
// menu's list and closes them all when the frame closes. What the frame does
// about it (title, patch editor, tool windows) it learns by signals.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>

#include "app/ui/documentframe.h"
#include "workspace/ui/documentwindow.h"

class FrameContext;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class RecoveryKeeper;
class TCustomDistWin;
class TProjectWindow;

class OpenDocuments : public QObject, public DocumentFrame {
    Q_OBJECT

public:
    // editorWindow: the patch editor's window, above which nothing is placed.
    OpenDocuments(FrameContext& context, QMdiArea& area, QMdiSubWindow& editorWindow, QObject* parent);

    // The current project and custom distortion set (the last active of
    // their kind), the active document window and every open one, oldest first.
    TProjectWindow* CurrentProject() const;
    TCustomDistWin* CurrentCustomDist() const;
    DocumentWindow* Active() const { return active_; }
    // A copy: closing or changing a window while going through the list changes it.
    QList<QPointer<DocumentWindow>> Windows() const { return windows_; }

    orb8::Document* ActiveDocument() const override { return active_ ? &active_->Doc() : nullptr; }
    orb8::Document* NewDocument(orb8::DocumentKind kind) override { return &NewDocumentWindow(kind)->Doc(); }
    void CloseDocument(const orb8::Document& document) override;
    std::vector<orb8::Document*> Documents() const override;
    void ShowDocument(const orb8::Document& document) override;
    DocumentWindow* NewDocumentWindow(orb8::DocumentKind kind);
    // The open window of `document`, or nullptr.
    DocumentWindow* WindowOf(const orb8::Document* document) const;
    // The current project when it is the active document, else nullptr.
    TProjectWindow* ActiveProject() const;
    QList<TProjectWindow*> Projects() const;

    // Adds a window to the MDI area; `setUp` places it. Its title is given
    // once that is done: QMdiSubWindow elides the title anew for every size
    // and region it works out.
    static QMdiSubWindow* AddWindow(QMdiArea& area, QWidget* widget, Qt::WindowFlags flags,
                                    const std::function<void(QMdiSubWindow&)>& setUp);
    // Below the patch editor: two thirds of its width for the project windows,
    // each 20 pixels right of the one before.
    QRect DocumentArea(int windowsBefore) const;
    // The Window menu lists the windows after `after`.
    void SetWindowMenu(QMenu& menu, QAction* after);
    // New windows are watched for recovery from then on.
    void SetRecovery(RecoveryKeeper* keeper) { recovery_ = keeper; }
    // Closes every window, the last first; false as soon as one stays (its
    // user kept unsaved work).
    bool CloseAll();

signals:
    // The active document or its caption changed.
    void TitleChanged();
    // After the list or the active window changed.
    void ListChanged();
    // A project window goes, before it leaves the list.
    void ProjectClosing(TProjectWindow* project);
    void NoProjectLeft();
    void PatchSelected(TProjectWindow* project, int row);

private:
    QPointer<TProjectWindow> currentProject_;
    QPointer<TCustomDistWin> currentCustomDist_;
    QPointer<DocumentWindow> active_;
    QList<QPointer<DocumentWindow>> windows_;
    void Place(DocumentWindow* window);
    void Activated(DocumentWindow* window);
    void CaptionChanged(DocumentWindow* window);
    void Closed(DocumentWindow* window);
    void Rebuild();

    FrameContext& context_;
    QMdiArea& area_;
    QMdiSubWindow& editorWindow_;
    RecoveryKeeper* recovery_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QAction* listAfter_ = nullptr;
    int newProjectCounter_ = 0;
    int untitledDistCount_ = 0;
};
