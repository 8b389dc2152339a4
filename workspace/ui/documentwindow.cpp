#include "workspace/ui/documentwindow.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

#include "workspace/documentrules.h"
#include "workspace/ui/windowcontext.h"

DocumentWindow::DocumentWindow(WindowContext& context, std::shared_ptr<orb8::Document> document)
    : QWidget(nullptr), context_(context), document_(std::move(document)) {
    setAttribute(Qt::WA_DeleteOnClose, false);  // the sub-window owns it and goes with it
    listener_ = document_->Listen([this](const orb8::SessionChange&) { RefreshCaption(); });
}

DocumentWindow::~DocumentWindow() { document_->Unlisten(listener_); }

QString DocumentWindow::Caption() const {
    return QString::fromStdString(orb8::DocumentCaption(*document_));
}

void DocumentWindow::RefreshCaption() {
    const QString caption = Caption();
    if (caption == shownCaption_) return;
    shownCaption_ = caption;
    setWindowTitle(caption);
    if (subWindow_) subWindow_->setWindowTitle(caption);
    emit CaptionChanged(this);
}

void DocumentWindow::SetSubWindow(QMdiSubWindow* window) {
    subWindow_ = window;
    if (!subWindow_) return;
    subWindow_->setWindowTitle(Caption());
    connect(subWindow_, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates before, Qt::WindowStates now) {
        if (!(before & Qt::WindowActive) && (now & Qt::WindowActive)) emit Activated(this);
    });
}

void DocumentWindow::closeEvent(QCloseEvent* event) {
    if (!context_.MayCloseDocument(*document_)) {
        event->ignore();
        return;
    }
    emit Closed(this);
    event->accept();
}
