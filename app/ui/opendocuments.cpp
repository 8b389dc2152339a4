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

TProjectWindow* OpenDocuments::CurrentProject() const { return currentProject_; }
TCustomDistWin* OpenDocuments::CurrentCustomDist() const { return currentCustomDist_; }

DocumentWindow* OpenDocuments::NewDocumentWindow(DocumentKind kind) {
    DocumentWindow* window = nullptr;
    if (kind == DocumentKind::Project) {
        auto session = std::make_shared<ProjectSession>(context_.ProcessorSettings().value_or(DefaultCustomSettings()));
        session->SetUntitledName(UntitledName(kind, ++newProjectCounter_));
        auto* project = new TProjectWindow(context_, newProjectCounter_, session);
        connect(project, &TProjectWindow::PatchSelected, this, &OpenDocuments::PatchSelected);
        currentProject_ = project;
        window = project;
    } else {
        auto session = std::make_shared<CustomDistSession>();
        session->SetUntitledName(UntitledName(kind, ++untitledDistCount_));
        auto* dist = new TCustomDistWin(context_, untitledDistCount_, session);
        currentCustomDist_ = dist;
        window = dist;
    }
    window->RefreshCaption();
    active_ = window;
    connect(window, &DocumentWindow::CaptionChanged, this, &OpenDocuments::CaptionChanged);
    connect(window, &DocumentWindow::Activated, this, &OpenDocuments::Activated);
    connect(window, &DocumentWindow::Closed, this, &OpenDocuments::Closed);
    Place(window);
    windows_.append(window);
    if (recovery_) recovery_->Watch(window->Doc());
    area_.setActiveSubWindow(window->SubWindow());
    if (currentProject_ == window) currentProject_->SetCurrentRow(1);
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
    const int before = static_cast<int>(windows_.size());
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
    return currentProject_ && active_ == currentProject_ ? currentProject_.data() : nullptr;
}

QList<TProjectWindow*> OpenDocuments::Projects() const {
    QList<TProjectWindow*> projects;
    for (const auto& window : windows_)
        if (auto* project = qobject_cast<TProjectWindow*>(window.data())) projects << project;
    return projects;
}

// A project window that becomes the active document shows its current patch
// again (which schedules the patch change); nothing when it already was.
void OpenDocuments::Activated(DocumentWindow* window) {
    if (!window || !windows_.contains(window)) return;
    auto* project = qobject_cast<TProjectWindow*>(window);
    auto* dist = qobject_cast<TCustomDistWin*>(window);
    if (active_ == window && (project ? currentProject_ == project : currentCustomDist_ == dist)) return;
    active_ = window;
    if (project) currentProject_ = project;
    if (dist) currentCustomDist_ = dist;
    emit TitleChanged();
    Rebuild();
    if (project) project->SelectRow(project->CurrentRow());
}

void OpenDocuments::CaptionChanged(DocumentWindow* window) {
    if (window == active_) emit TitleChanged();
    Rebuild();
}

void OpenDocuments::Closed(DocumentWindow* window) {
    if (recovery_) recovery_->Forget(&window->Doc());
    if (active_ == window) active_ = nullptr;
    if (auto* project = qobject_cast<TProjectWindow*>(window)) {
        emit ProjectClosing(project);
        if (currentProject_ == project) currentProject_ = nullptr;
    } else if (currentCustomDist_ == window) {
        currentCustomDist_ = nullptr;
    }
    windows_.removeAll(window);
    emit TitleChanged();
    Rebuild();
    if (Projects().isEmpty()) emit NoProjectLeft();
}

void OpenDocuments::Rebuild() {
    windows_.removeAll(nullptr);
    if (!active_ && !windows_.isEmpty()) {
        // The last window takes over as the active document, as if activated:
        // a project shows its patch in the editor again (which rebuilds the list).
        Activated(windows_.last());
        return;
    }
    if (windowMenu_) {
        QStringList captions;
        for (const auto& window : windows_) captions << window->Caption();
        ShowWindowList(*windowMenu_, listAfter_, captions, static_cast<int>(windows_.indexOf(active_)),
                       [this, windows = windows_](int i) {
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
    for (const auto& window : windows_)
        if (window && &window->Doc() == document) return window;
    return nullptr;
}

void OpenDocuments::CloseDocument(const Document& document) {
    DocumentWindow* window = WindowOf(&document);
    if (!window) return;
    if (QMdiSubWindow* sub = window->SubWindow()) sub->close();
    else window->close();
}

std::vector<Document*> OpenDocuments::Documents() const {
    std::vector<Document*> all;
    for (const QPointer<DocumentWindow>& window : windows_)
        if (window) all.push_back(&window->Doc());
    return all;
}

void OpenDocuments::ShowDocument(const Document& document) {
    DocumentWindow* window = WindowOf(&document);
    if (!window || !window->SubWindow()) return;
    if (window->SubWindow()->isMinimized()) window->SubWindow()->showNormal();
    area_.setActiveSubWindow(window->SubWindow());
}

bool OpenDocuments::CloseAll() {
    while (!windows_.isEmpty()) {
        DocumentWindow* window = windows_.last();
        const auto before = windows_.size();
        if (!window || !window->SubWindow()) {
            windows_.removeLast();
            continue;
        }
        window->SubWindow()->close();
        if (windows_.size() == before) return false;
    }
    return true;
}
