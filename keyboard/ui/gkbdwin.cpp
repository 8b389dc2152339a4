#include "keyboard/ui/gkbdwin.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>


using namespace orb8;

namespace {

// The keyboard's picture: it draws what the window says and reports the pointer.
class KeyboardPicture : public QWidget {
public:
    explicit KeyboardPicture(TGkbdWin& owner) : QWidget(nullptr), owner_(owner) {
        setObjectName("KBDimage");
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        owner_.Paint(p);
    }
    void mouseMoveEvent(QMouseEvent* e) override { owner_.PointerMoved(e->position().toPoint()); }
    void mousePressEvent(QMouseEvent* e) override {
        owner_.PointerMoved(e->position().toPoint());
        if (e->button() == Qt::LeftButton) owner_.PointerPressed();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) owner_.PointerReleased();
    }

private:
    TGkbdWin& owner_;
};

QSpinBox* Spin(QWidget* parent, const char* name, int min, int max, int value, bool readOnly) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(min, max);
    s->setValue(value);
    s->setKeyboardTracking(false);  // a typed number counts once Enter is pressed
    if (readOnly) s->findChild<QLineEdit*>()->setReadOnly(true);  // the arrows only
    return s;
}

}  // namespace

TGkbdWin::TGkbdWin(KeyboardPort& port, QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), port_(port) {
    setObjectName("GkbdWin");
    setWindowTitle(tr("Graphic KBD"));
    BankEdit = Spin(this, "BankEdit", 0, orb8::kMidiDataMax, 0, true);
    PrgEdit = Spin(this, "PrgEdit", 0, orb8::kMidiDataMax, 0, false);
    VeloEdit = Spin(this, "VeloEdit", 0, orb8::kMidiDataMax, orb8::kStartVelocity, false);
    ChEdit = Spin(this, "ChEdit", 1, orb8::kMidiChannels, 1, true);
    MessCombo = new QComboBox(this);
    MessCombo->setObjectName("MessCombo");
    for (const std::string& item : ControllerItems()) MessCombo->addItem(QString::fromStdString(item));
    MessCombo->setCurrentIndex(-1);
    MessCombo->setPlaceholderText(tr("Message"));
    ValEdit = Spin(this, "ValEdit", 0, orb8::kMidiDataMax, orb8::kStartVelocity, false);
    SmallBtn = new QPushButton(tr("Small"), this);
    SmallBtn->setObjectName("SmallBtn");
    BigBtn = new QPushButton(tr("Big"), this);
    BigBtn->setObjectName("BigBtn");
    PlayBtn = new QPushButton(tr("Play"), this);
    PlayBtn->setObjectName("PlayBtn");
    PlayBtn->setCheckable(true);
    PlayBtn->setChecked(true);
    PlayBtn->setEnabled(false);  // always in play mode
    PlayBtn->setToolTip(tr("Play"));
    PlayBtn->setStatusTip(tr("Toggle Play Mode"));

    auto* controls = new QHBoxLayout;
    auto labelled = [&](const QString& label, QWidget* w) {
        controls->addWidget(new QLabel(label, this));
        controls->addWidget(w);
    };
    labelled(tr("Bank "), BankEdit);
    labelled(tr("Prog "), PrgEdit);
    labelled(tr("Velocity "), VeloEdit);
    labelled(tr("Ch "), ChEdit);
    controls->addWidget(MessCombo);
    controls->addWidget(ValEdit);
    controls->addWidget(SmallBtn);
    controls->addWidget(BigBtn);
    controls->addWidget(PlayBtn);
    controls->addStretch(1);

    KBDimage = new KeyboardPicture(*this);
    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName("ScrollBox");
    ScrollBox->setWidget(KBDimage);
    ScrollBox->setWidgetResizable(false);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(controls);
    layout->addWidget(ScrollBox, 1);
    layout->addWidget(StatusBar);
    Resize();
    resize(760, geometry_.KeyHeight() + 110);

    connect(PrgEdit, &QSpinBox::valueChanged, this, [this] { SendProgram(); });
    connect(BankEdit, &QSpinBox::valueChanged, this, [this] { SendBank(); });
    connect(ValEdit, &QSpinBox::valueChanged, this, [this] { SendValue(); });
    connect(SmallBtn, &QPushButton::clicked, this, [this] {
        if (geometry_.Smaller()) Resize();
    });
    connect(BigBtn, &QPushButton::clicked, this, [this] {
        if (geometry_.Bigger()) Resize();
    });
}

void TGkbdWin::Resize() {
    KBDimage->setFixedSize(geometry_.PictureWidth(), geometry_.KeyHeight());
    KBDimage->update();
}

template <std::size_t N>
void TGkbdWin::Out(const std::array<std::uint8_t, N>& m) {
    // Through the program's own output; with it closed nothing goes out, and the user is told.
    if (!port_.OutputOpen()) {
        StatusBar->showMessage(tr("MIDI OUT is closed: nothing was sent. Go on line or open the output first."), 4000);
        return;
    }
    port_.OutMess(m[0], N > 1 ? m[1] : 0, N > 2 ? m[2] : 0);
}

void TGkbdWin::PointerMoved(QPoint at) {
    const auto note = geometry_.NoteAt(at.x(), at.y());
    if (!note) return;
    hovered_ = *note;
    StatusBar->showMessage(QString::fromStdString(NoteText(hovered_)));
    // Dragging with the button held plays the notes passed over.
    if (sounding_ >= 0 && hovered_ != sounding_) {
        Out(NoteOff(ChEdit->value(), sounding_));
        sounding_ = hovered_;
        Out(NoteOn(ChEdit->value(), sounding_, VeloEdit->value()));
        KBDimage->update();
    }
}

void TGkbdWin::PointerPressed() {
    if (hovered_ < 0) return;
    sounding_ = hovered_;
    Out(NoteOn(ChEdit->value(), sounding_, VeloEdit->value()));
    KBDimage->update();
}

void TGkbdWin::PointerReleased() {
    if (sounding_ < 0) return;
    Out(NoteOff(ChEdit->value(), sounding_));
    sounding_ = -1;
    KBDimage->update();
}

void TGkbdWin::SendProgram() { Out(ProgramChange(ChEdit->value(), PrgEdit->value())); }

void TGkbdWin::SendBank() {
    Out(BankSelect(ChEdit->value(), BankEdit->value()));
    Out(ProgramChange(ChEdit->value(), PrgEdit->value()));
}

void TGkbdWin::SendValue() {
    const auto message = ValueMessage(ChEdit->value(), MessCombo->currentIndex(), ValEdit->value());
    if (!message) {
        StatusBar->showMessage(tr("Choose a message in the list first."), 4000);
        return;
    }
    Out(*message);
}

void TGkbdWin::Paint(QPainter& p) {
    p.fillRect(KBDimage->rect(), palette().color(QPalette::Window));
    p.setPen(Qt::black);
    for (int pass = 0; pass < 2; ++pass) {
        for (int note = 0; note < kKeyboardNotes; ++note) {
            if (KeyboardGeometry::IsBlack(note) != (pass == 1)) continue;
            const KeyRect r = geometry_.Key(note);
            p.setBrush(pass == 0 ? Qt::white : Qt::black);
            p.drawRect(QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1));
        }
    }
    if (sounding_ >= 0) {
        // A grey oval near the end of the key held down.
        const KeyRect r = geometry_.Key(sounding_);
        const bool black = KeyboardGeometry::IsBlack(sounding_);
        const int d = std::max(4, (r.right - r.left) * 2 / 3);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(black ? Qt::black : Qt::white);
        p.setBrush(QColor(128, 128, 128));
        p.drawEllipse(QRect((r.left + r.right) / 2 - d / 2, r.bottom - d - 4, d, d));
    }
}

// Closing only hides it.
void TGkbdWin::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}
