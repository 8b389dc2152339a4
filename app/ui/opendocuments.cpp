#include "app/ui/opendocuments.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/ui/framecontext.h"
#include "app/ui/windowlist.h"
#include "customdist/ui/customdistwin.h"
#include "editors/ui/projectwin.h"
#include "workspace/documentrules.h"
#include "workspace/ui/recoverykeeper.h"

using namespace orb8;

OpenDocuments::OpenDocuments(FrameContext& context, QMdiArea& area, QMdiSubWindow& editorWindow, QObject* parent)
    : QObject(parent), context_(context), area_(area), editorWindow_(editorWindow) {}

void OpenDocuments::SetWindowMenu(QMenu& menu, QAction* after) {
    windowMenu_ = &menu;
    listAfter_ = after;
}

DocumentWindow* OpenDocuments::NewDocumentWindow(DocumentKind kind) {
    DocumentWindow* window = nullptr;
    if (kind == DocumentKind::Project) {
        auto session = std::make_shared<ProjectSession>(context_.ProcessorSettings().value_or(DefaultCustomSettings()));
        session->SetUntitledName(UntitledName(kind, ++newProjectCounter_));
        auto* project = new TProjectWindow(context_, newProjectCounter_, session);
        connect(project, &TProjectWindow::PatchSelected, this, &OpenDocuments::PatchSelected);
        CurrentProject = project;
        window = project;
    } else {
        auto session = std::make_shared<CustomDistSession>();
        session->SetUntitledName(UntitledName(kind, ++untitledDistCount_));
        auto* dist = new TCustomDistWin(context_, untitledDistCount_, session);
        CurrentCustomDist = dist;
        window = dist;
    }
    window->RefreshCaption();
    Active = window;
    connect(window, &DocumentWindow::CaptionChanged, this, &OpenDocuments::CaptionChanged);
    connect(window, &DocumentWindow::Activated, this, &OpenDocuments::Activated);
    connect(window, &DocumentWindow::Closed, this, &OpenDocuments::Closed);
    Place(window);
    Windows.append(window);
    if (recovery_) recovery_->Watch(window->Doc());
    area_.setActiveSubWindow(window->SubWindow());
    if (CurrentProject == window) CurrentProject->SetCurrentRow(1);
    emit TitleChanged();
    Rebuild();
    return window;
}

QMdiSubWindow* OpenDocuments::AddWindow(QMdiArea& area, QWidget* widget, Qt::WindowFlags flags,
                                        const std::function<void(QMdiSubWindow&)>& setUp) {
    const QString title = widget->windowTitle();
    widget->setWindowTitle(QString());
    QMdiSubWindow* sub = area.addSubWindow(widget, flags);
    setUp(*sub);
    widget->setWindowTitle(title);
    return sub;
}

QRect OpenDocuments::DocumentArea(int windowsBefore) const {
    const QRect editor = editorWindow_.frameGeometry();
    const int top = editor.bottom() + 2;
    const int height = std::max(120, area_.viewport()->height() - editor.height() - 1);
    return QRect(20 * windowsBefore, top, editor.width() * 2 / 3, height);
}

void OpenDocuments::Place(DocumentWindow* window) {
    const int before = static_cast<int>(Windows.size());
    AddWindow(area_, window, {}, [&](QMdiSubWindow& sub) {
        sub.setAttribute(Qt::WA_DeleteOnClose);
        sub.setWindowIcon(area_.window()->windowIcon());
        window->SetSubWindow(&sub);
        if (window->Doc().Kind() == DocumentKind::Project) {
            sub.setGeometry(DocumentArea(before));
        } else {
            sub.adjustSize();
            sub.move(DocumentArea(before).topLeft());
        }
        sub.show();
    });
}

TProjectWindow* OpenDocuments::ActiveProject() const {
    return CurrentProject && Active == CurrentProject ? CurrentProject.data() : nullptr;
}

QList<TProjectWindow*> OpenDocuments::Projects() const {
    QList<TProjectWindow*> projects;
    for (const auto& window : Windows)
        if (auto* project = qobject_cast<TProjectWindow*>(window.data())) projects << project;
    return projects;
}

// A project window that becomes the active document shows its current patch
// again (which schedules the patch change); nothing when it already was.
void OpenDocuments::Activated(DocumentWindow* window) {
    if (!window || !Windows.contains(window)) return;
    auto* project = qobject_cast<TProjectWindow*>(window);
    auto* dist = qobject_cast<TCustomDistWin*>(window);
    if (Active == window && (project ? CurrentProject == project : CurrentCustomDist == dist)) return;
    Active = window;
    if (project) CurrentProject = project;
    if (dist) CurrentCustomDist = dist;
    emit TitleChanged();
    Rebuild();
    if (project) project->SelectRow(project->CurrentRow());
}

void OpenDocuments::CaptionChanged(DocumentWindow* window) {
    if (window == Active) emit TitleChanged();
    Rebuild();
}

void OpenDocuments::Closed(DocumentWindow* window) {
    if (recovery_) recovery_->Forget(&window->Doc());
    if (Active == window) Active = nullptr;
    if (auto* project = qobject_cast<TProjectWindow*>(window)) {
        emit ProjectClosing(project);
        if (CurrentProject == project) CurrentProject = nullptr;
    } else if (CurrentCustomDist == window) {
        CurrentCustomDist = nullptr;
    }
    Windows.removeAll(window);
    emit TitleChanged();
    Rebuild();
    if (Projects().isEmpty()) emit NoProjectLeft();
}

void OpenDocuments::Rebuild() {
    Windows.removeAll(nullptr);
    if (!Active && !Windows.isEmpty()) {
        // The last window takes over as the active document, as if activated:
        // a project shows its patch in the editor again (which rebuilds the list).
        Activated(Windows.last());
        return;
    }
    if (windowMenu_) {
        QStringList captions;
        for (const auto& window : Windows) captions << window->Caption();
        ShowWindowList(*windowMenu_, listAfter_, captions, static_cast<int>(Windows.indexOf(Active)),
                       [this, windows = Windows](int i) {
                           DocumentWindow* target = windows.value(i);
                           if (!target || !target->SubWindow()) return;
                           target->SubWindow()->showNormal();
                           area_.setActiveSubWindow(target->SubWindow());
                           Activated(target);
                       });
    }
    emit ListChanged();
}

DocumentWindow* OpenDocuments::WindowOf(const Document* document) const {
    for (const auto& window : Windows)
        if (window && &window->Doc() == document) return window;
    return nullptr;
}

void OpenDocuments::CloseDocument(const Document& document) {
    DocumentWindow* window = WindowOf(&document);
    if (!window) return;
    if (QMdiSubWindow* sub = window->SubWindow()) sub->close();
    else window->close();
}

bool OpenDocuments::CloseAll() {
    while (!Windows.isEmpty()) {
        DocumentWindow* window = Windows.last();
        const auto before = Windows.size();
        if (!window || !window->SubWindow()) {
            Windows.removeLast();
            continue;
        }
        window->SubWindow()->close();
        if (Windows.size() == before) return false;
    }
    return true;
}
