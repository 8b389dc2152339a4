#include "editors/ui/ctpanel.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>

#include "app/ui/mainwin.h"
#include "controls/colorbutton.h"
#include "editors/ui/projectwin.h"

TControlPanel::TControlPanel(TMainWin& main) : QWidget(nullptr), main_(main) {
    setObjectName("ControlPanel");
    setWindowTitle(tr("Patch Editor"));
    setFixedSize(kWidth, kHeight);

    auto label = [this](const QString& text, int x, int y, int w) {
        auto* l = new QLabel(text, this);
        l->setGeometry(x, y, w, 18);
        return l;
    };
    label(tr("PATCH"), 8, 6, 60);
    PatchNo = new QLabel(this);
    PatchNo->setObjectName("PatchNo");
    PatchNo->setGeometry(8, 24, 44, 25);
    PatchNo->setAlignment(Qt::AlignCenter);
    PatchNo->setFrameShape(QFrame::Panel);
    PatchNo->setFrameShadow(QFrame::Sunken);
    QFont big = PatchNo->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.15);
    PatchNo->setFont(big);

    label(tr("NAME"), 58, 6, 80);
    PatchName = new QLineEdit(this);
    PatchName->setObjectName("PatchName");
    PatchName->setGeometry(58, 24, 100, 25);
    QFont mono("DejaVu Sans Mono");
    mono.setStyleHint(QFont::TypeWriter);
    mono.setBold(true);
    PatchName->setFont(mono);
    PatchName->setMaxLength(8);
    PatchName->setReadOnly(true);

    auto button = [this](const char* name, const QString& caption, int x, int y, int w) {
        auto* b = new TColorButton(this);
        b->setObjectName(name);
        b->SetCaption(caption);
        b->setGeometry(x, y, w, 25);
        return b;
    };
    OnLineBtn = button("OnLineBtn", tr("OnLine"), kWidth - 4 * 66 - 6, 24, 62);
    OffLineBtn = button("OffLineBtn", tr("OffLine"), kWidth - 3 * 66 - 6, 24, 62);
    UploadBtn = button("UploadBtn", tr("RecvAll"), kWidth - 2 * 66 - 6, 24, 62);
    DownloadBtn = button("DownloadBtn", tr("SendAll"), kWidth - 66 - 6, 24, 62);
    RtmEditBtn = button("RtmEditBtn", tr("RTM EDIT"), 168, 24, 76);
    UploadBtn->setEnabled(false);
    DownloadBtn->setEnabled(false);

    connect(OnLineBtn, &TColorButton::OnClick, this, [this] {
        if (!main_.Link().isOnLine && !main_.Link().PortsOpen()) main_.OnLineExecute();
    });
    connect(OffLineBtn, &TColorButton::OnClick, this, [this] {
        if (main_.Link().PortsOpen() || main_.Link().isOnLine) main_.OnLineExecute();
    });
    connect(UploadBtn, &TColorButton::OnClick, this, [this] { main_.UploadMenuClick(); });
    connect(DownloadBtn, &TColorButton::OnClick, this, [this] { main_.DownloadMenuClick(); });
    connect(RtmEditBtn, &TColorButton::OnClick, this, [this] { main_.ShowRtmWindow(); });
}

void TControlPanel::ShowPatch(TProjectWindow& project, int index) {
    project_ = &project;
    index_ = index;
    const QStringList texts = project.RowTexts(index + 1);
    SetNameAndNumber(texts.value(0), QString::fromStdString(orb8::PatchLabel(index)));
}

void TControlPanel::SetNameAndNumber(const QString& name, const QString& number) {
    PatchName->setText(name);
    PatchNo->setText(number);
}

// The editor is always there: closing it does nothing.
void TControlPanel::closeEvent(QCloseEvent* event) { event->ignore(); }
