#include "customdist/ui/customdistwin.h"

#include <QPainter>
#include <QPointer>
#include <QUndoStack>
#include <QPainterPath>

#include "app/ui/mainwin.h"
#include "customdist/ui/character.h"
#include "customdist/ui/dcharwin.h"

using namespace orb8;

namespace {

// One step of a custom distortion document's history: the data before and after.
class CustomDistUndoCommand : public QUndoCommand {
public:
    CustomDistUndoCommand(TCustomDistWin& window, CustomDistData before, CustomDistData after, const QString& text)
        : QUndoCommand(text), window_(&window), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override {
        if (window_) window_->Restore(before_);
    }
    void redo() override {
        if (pushed_) {
            pushed_ = false;  // the change is already there
            return;
        }
        if (window_) window_->Restore(after_);
    }

private:
    QPointer<TCustomDistWin> window_;
    CustomDistData before_, after_;
    bool pushed_ = true;
};

bool SameData(const CustomDistData& a, const CustomDistData& b) {
    if (a.clippers != b.clippers || a.images != b.images) return false;
    for (int n = 0; n < kFilterCount; ++n)
        if (ToImage(a.filters[static_cast<std::size_t>(n)]) != ToImage(b.filters[static_cast<std::size_t>(n)])) return false;
    return true;
}

}  // namespace

TCustomDistWin::TCustomDistWin(TMainWin& main, int number)
    : DocumentWindow(main, QStringLiteral("NoNameDst%1").arg(number)) {
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
            tone_[static_cast<std::size_t>(set * 3 + slot - SlotHigh)] = new TCharWin(main, *this, set, slot);
    for (int set = 0; set < kSetCount; ++set) distortion_[static_cast<std::size_t>(set)] = new TDstCharWin(main, *this, set);
    undo_ = new QUndoStack(this);
    connect(undo_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean != !Modified()) SetModified(!clean);
    });
    RefreshCaption();
}

TCustomDistWin::~TCustomDistWin() { disconnect(undo_, nullptr, this, nullptr); }

void TCustomDistWin::Record(const CustomDistData& before, const QString& text) {
    if (SameData(before, document_.data)) return;
    undo_->push(new CustomDistUndoCommand(*this, before, document_.data, text));
}

void TCustomDistWin::Restore(const CustomDistData& data) {
    document_.data = data;
    for (TDstCharWin* d : distortion_)
        if (d->isVisible()) d->Refresh();
    for (TCharWin* t : tone_)
        if (t->isVisible()) t->Refresh();
    main_.MarkModified(this);
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

void TCustomDistWin::SetFileName(const std::string& path) {
    document_.fileName = path;
    RefreshCaption();
}

FileResult TCustomDistWin::LoadDocument() {
    const FileResult r = document_.Load();
    if (r.loaded()) undo_->clear();
    RefreshCaption();
    return r;
}

FileResult TCustomDistWin::SaveDocument() {
    const FileResult r = document_.Save();
    if (r.ok()) undo_->setClean();
    RefreshCaption();
    return r;
}

QString TCustomDistWin::UnsavedQuestion() const {
    return tr("CustomDistFile%1 has not been saved.\nSave this?").arg(QString::fromStdString(document_.fileName));
}

void TCustomDistWin::FormActivate() {
    if (main_.CurrentCustomDist == this && main_.ActiveDocument == this) return;
    main_.DocumentActivated(this);
}

void TCustomDistWin::RecvBtnClick() {
    const CustomDistData before = document_.data;
    main_.Link().ReceiveAllCustomDists(document_);
    Record(before, tr("Recv"));
}

void TCustomDistWin::SendBtnClick() { main_.Link().SendAllCustomDists(document_); }

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
