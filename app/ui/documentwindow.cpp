#include "app/ui/documentwindow.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

#include "app/ui/mainwin.h"

DocumentWindow::DocumentWindow(TMainWin& main, QString untitledName)
    : QWidget(nullptr), main_(main), untitled_(std::move(untitledName)) {
    setAttribute(Qt::WA_DeleteOnClose, false);  // the sub-window owns it and goes with it
}

void DocumentWindow::SetModified(bool modified) {
    SetModifiedFlag(modified);
    RefreshCaption();
}

QString DocumentWindow::Caption() const {
    return QString::fromStdString(orb8::DocumentCaption(FileName(), untitled_.toStdString(), Modified()));
}

void DocumentWindow::RefreshCaption() {
    const QString caption = Caption();
    setWindowTitle(caption);
    if (subWindow_) subWindow_->setWindowTitle(caption);
    main_.DocumentCaptionChanged(this);
}

void DocumentWindow::closeEvent(QCloseEvent* event) {
    if (!main_.MayCloseDocument(this)) {
        event->ignore();
        return;
    }
    main_.DocumentClosed(this);
    event->accept();
}
