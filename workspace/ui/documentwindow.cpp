#include "workspace/ui/documentwindow.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

#include "workspace/ui/windowcontext.h"

DocumentWindow::DocumentWindow(WindowContext& context, QString untitledName)
    : QWidget(nullptr), context_(context), untitled_(std::move(untitledName)) {
    setAttribute(Qt::WA_DeleteOnClose, false);  // the sub-window owns it and goes with it
}

QString DocumentWindow::Caption() const {
    return QString::fromStdString(orb8::DocumentCaption(Titled() ? FileName() : std::string(), untitled_.toStdString(), Modified()));
}

void DocumentWindow::RefreshCaption() {
    emit DocumentChanged(this);
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
    if (!context_.MayCloseDocument(*this)) {
        event->ignore();
        return;
    }
    emit Closed(this);
    event->accept();
}
