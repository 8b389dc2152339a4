#include "editors/ui/rtmpopwin.h"

#include "app/ui/mainwin.h"

TRtmPopUp::TRtmPopUp(TMainWin& main, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), main_(main) {
    setObjectName("RtmPopUp");
    setWindowTitle(tr("RTM"));
    resize(kWidth, kHeight);
}

void TRtmPopUp::ShowPlaced() {
    resize(kWidth, kHeight);
    move(main_.geometry().topLeft() + QPoint(20, 50));
    show();
    raise();
}
