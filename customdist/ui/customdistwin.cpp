#include "customdist/ui/customdistwin.h"

#include <QPointer>

#include <QPainter>
#include <QPainterPath>

#include "customdist/ui/character.h"
#include "customdist/ui/dcharwin.h"
#include "workspace/ui/windowcontext.h"

using namespace orb8;

TCustomDistWin::TCustomDistWin(DesignerContext& context, int number, std::shared_ptr<CustomDistSession> session)
    : DocumentWindow(context, session), designer_(context), session_(*session) {
    setObjectName(QStringLiteral("CustomDistWin%1").arg(number));
    setFixedSize(kWidth, kHeight);
    RecvBtn = Button("RecvBtn", tr("Recv"), QRect(8, 34, 60, 26));
    SendBtn = Button("SendBtn", tr("Store"), QRect(8, 70, 60, 26));
    const auto blocks = Blocks();
    auto pair = [&](int block, QPushButton*& one, const char* name1, QPushButton*& two, const char* name2) {
        const QRect b = blocks[static_cast<std::size_t>(block)];
        one = Button(name1, tr("Special1"), QRect(b.left(), b.bottom() + 12, b.width(), 24));
        two = Button(name2, tr("Special2"), QRect(b.left(), b.bottom() + 40, b.width(), 24));
    };
    pair(0, DstChar1Btn, "DstChar1Btn", DstChar2Btn, "DstChar2Btn");
    pair(1, HiChar1Btn, "HiChar1Btn", HiChar2Btn, "HiChar2Btn");
    pair(2, MidChar1Btn, "MidChar1Btn", MidChar2Btn, "MidChar2Btn");
    pair(3, LowChar1Btn, "LowChar1Btn", LowChar2Btn, "LowChar2Btn");
    connect(RecvBtn, &QPushButton::clicked, this, &TCustomDistWin::RecvBtnClick);
    connect(SendBtn, &QPushButton::clicked, this, &TCustomDistWin::SendBtnClick);
    connect(DstChar1Btn, &QPushButton::clicked, this, [this] { ShowDistortionDesigner(0); });
    connect(DstChar2Btn, &QPushButton::clicked, this, [this] { ShowDistortionDesigner(1); });
    connect(HiChar1Btn, &QPushButton::clicked, this, [this] { ShowToneDesigner(0, SlotHigh); });
    connect(HiChar2Btn, &QPushButton::clicked, this, [this] { ShowToneDesigner(1, SlotHigh); });
    connect(MidChar1Btn, &QPushButton::clicked, this, [this] { ShowToneDesigner(0, SlotMid); });
    connect(MidChar2Btn, &QPushButton::clicked, this, [this] { ShowToneDesigner(1, SlotMid); });
    connect(LowChar1Btn, &QPushButton::clicked, this, [this] { ShowToneDesigner(0, SlotLow); });
    connect(LowChar2Btn, &QPushButton::clicked, this, [this] { ShowToneDesigner(1, SlotLow); });
    // The eight designers, hidden until their buttons show them, go with the document.
    for (int set = 0; set < kSetCount; ++set)
        for (int slot = SlotHigh; slot <= SlotLow; ++slot)
            tone_[static_cast<std::size_t>(set * 3 + slot - SlotHigh)] = new TCharWin(context, session_, this, set, slot);
    for (int set = 0; set < kSetCount; ++set)
        distortion_[static_cast<std::size_t>(set)] =
            new TDstCharWin(context, session_, this, [this] { return Caption(); }, set);
    listener_ = session_.Listen([this](const SessionChange&) { Changed(); });
}

TCustomDistWin::~TCustomDistWin() { session_.Unlisten(listener_); }

void TCustomDistWin::Changed() {
    for (TDstCharWin* d : distortion_)
        if (d->isVisible()) d->Refresh();
    for (TCharWin* t : tone_)
        if (t->isVisible()) t->Refresh();
}

QPushButton* TCustomDistWin::Button(const char* name, const QString& caption, QRect at) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setGeometry(at);
    b->setAutoDefault(false);
    return b;
}

std::array<QRect, 4> TCustomDistWin::Blocks() const {
    return {QRect(84, 14, 210, 64), QRect(314, 14, 84, 64), QRect(412, 14, 84, 64), QRect(510, 14, 84, 64)};
}

std::vector<QWidget*> TCustomDistWin::Designers() const {
    std::vector<QWidget*> all(tone_.begin(), tone_.end());
    all.insert(all.end(), distortion_.begin(), distortion_.end());
    return all;
}

TDstCharWin* TCustomDistWin::DistortionDesigner(int set) const { return distortion_[static_cast<std::size_t>(set & 1)]; }

TCharWin* TCustomDistWin::ToneDesigner(int set, int slot) const {
    return tone_[static_cast<std::size_t>((set & 1) * 3 + std::clamp(slot, int(SlotHigh), int(SlotLow)) - SlotHigh)];
}

// What arrived becomes one step of the document, once the exchange has ended.
void TCustomDistWin::RecvBtnClick() {
    designer_.ReceiveCustomDists(session_, session_.Document(), [this, alive = QPointer<TCustomDistWin>(this)](
                                                                 const CustomDistDocument& received) {
        if (!alive) return;
        session_.Perform(tr("Recv", "undo step").toStdString(), [&](CustomDistData& data) { data = received.data; });
    });
}

void TCustomDistWin::SendBtnClick() { designer_.StoreCustomDists(session_, session_.Document()); }

void TCustomDistWin::ShowDistortionDesigner(int set) { DistortionDesigner(set)->ShowDesigner(); }

void TCustomDistWin::ShowToneDesigner(int set, int slot) {
    static const char* roles[] = {"/HIGH/", "/MID/", "/LOW/"};
    ToneDesigner(set, slot)->ShowDesigner(Caption() + roles[slot - SlotHigh] + (set == 0 ? "Special1" : "Special2"));
}

// The chain: the distortion character with its four stages, then the three
// tone characters, joined by the signal's arrows.
void TCustomDistWin::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(34, 38, 46));
    const auto blocks = Blocks();
    const QStringList titles = {tr("DISTORTION CHARACTER"), tr("HIGH"), tr("MID"), tr("LOW")};
    QFont small = font();
    small.setPixelSize(10);
    QFont bold = font();
    bold.setPixelSize(11);
    bold.setBold(true);
    for (int i = 0; i < 4; ++i) {
        const QRectF b = blocks[static_cast<std::size_t>(i)];
        QLinearGradient fill(b.topLeft(), b.bottomLeft());
        fill.setColorAt(0, QColor(70, 78, 96));
        fill.setColorAt(1, QColor(48, 54, 68));
        p.setPen(QPen(QColor(150, 164, 190), 1.2));
        p.setBrush(fill);
        p.drawRoundedRect(b.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.setPen(QColor(235, 240, 250));
        p.setFont(bold);
        p.drawText(b.adjusted(4, 4, -4, 0), Qt::AlignHCenter | Qt::AlignTop, titles[i]);
        if (i + 1 < 4) {
            const qreal y = b.center().y() + 8;
            const qreal x0 = b.right() + 2, x1 = blocks[static_cast<std::size_t>(i + 1)].left() - 3;
            p.setPen(QPen(QColor(255, 190, 80), 1.6));
            p.drawLine(QPointF(x0, y), QPointF(x1, y));
            QPainterPath head;
            head.moveTo(x1 + 1, y);
            head.lineTo(x1 - 5, y - 4);
            head.lineTo(x1 - 5, y + 4);
            head.closeSubpath();
            p.fillPath(head, QColor(255, 190, 80));
        }
    }
    // The distortion character's stages.
    const QRectF d = blocks[0];
    const QStringList stages = {tr("Bottom"), tr("Pre"), tr("Edge"), tr("Clip")};
    const qreal w = (d.width() - 12) / 4.0;
    p.setFont(small);
    for (int k = 0; k < 4; ++k) {
        const QRectF s(d.left() + 6 + k * w, d.top() + 26, w - 4, 28);
        p.setPen(QPen(QColor(200, 208, 224), 1));
        p.setBrush(k == 3 ? QColor(120, 60, 56) : QColor(60, 88, 120));
        p.drawRoundedRect(s, 3, 3);
        p.setPen(QColor(240, 244, 250));
        p.drawText(s, Qt::AlignCenter, stages[k]);
    }
    // The input arrow.
    p.setPen(QPen(QColor(255, 190, 80), 1.6));
    p.drawLine(QPointF(74, d.center().y() + 8), QPointF(d.left() - 3, d.center().y() + 8));
}
