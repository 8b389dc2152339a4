#include "editors/ui/rtmpopwin.h"

#include <QComboBox>
#include <QLabel>
#include <QSlider>

#include "controls/volume.h"
#include "editors/patchediting.h"

using namespace orb8;

namespace {
constexpr Module kOrder[] = {Module::Drive, Module::Eq, Module::Mod, Module::DlyRev};
QString Q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

TRtmPopUp::TRtmPopUp(PatchEditing& editing, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), editing_(editing) {
    setObjectName("RtmPopUp");
    setWindowTitle(tr("RTM"));
    setFixedSize(kWidth, kHeight);
    const QStringList heads = {tr("MAX"), tr("MIN"), tr("DESTINATION"), tr("CTRL")};
    const int columns[] = {66, 212, 360, 458};
    for (int i = 0; i < 4; ++i) {
        auto* head = new QLabel(heads[i], this);
        head->setGeometry(columns[i], 4, i == 2 ? 98 : 76, 16);
        QFont bold = head->font();
        bold.setBold(true);
        head->setFont(bold);
    }
    Build(0, Module::Drive, "Drive", tr("DRIVE"));
    Build(1, Module::Eq, "Eq", tr("EQ"));
    Build(2, Module::Mod, "Mod", tr("MOD"));
    Build(3, Module::DlyRev, "Dly", tr("DLY/REV"));
    // Every trackbar, list and knob gets its fixed rows and ranges here.
    Sections[1].desCombo->clear();
    for (const auto name : RtmDestinations(Module::Eq, 0)) Sections[1].desCombo->addItem(Q(std::string(name)));
    Refresh();
}

TRtmPopUp::Section& TRtmPopUp::Of(Module module) {
    for (std::size_t i = 0; i < 4; ++i)
        if (kOrder[i] == module) return Sections[i];
    return Sections[0];
}

void TRtmPopUp::Build(int row, Module module, const char* prefix, const QString& title) {
    Section& s = Sections[static_cast<std::size_t>(row)];
    const int y = 22 + row * 48;
    const QString p = QString::fromLatin1(prefix);
    s.title = new QLabel(title, this);
    s.title->setGeometry(8, y + 14, 60, 18);
    QFont bold = s.title->font();
    bold.setBold(true);
    s.title->setFont(bold);
    auto slider = [&](int x, const QString& name, QSlider*& bar, QLabel*& value) {
        bar = new QSlider(Qt::Horizontal, this);
        bar->setObjectName(p + name + "TrackBar");
        bar->setRange(0, ParameterMax(orb8::DriveRtmMax, -1));
        bar->setSingleStep(1);
        bar->setPageStep(10);
        bar->setGeometry(x, y + 12, 100, 22);
        value = new QLabel(this);
        value->setObjectName(p + name + "Value");
        value->setGeometry(x + 104, y + 14, 40, 18);
    };
    slider(66, "Max", s.maxTrackBar, s.maxValue);
    slider(212, "Min", s.minTrackBar, s.minValue);
    s.desCombo = new QComboBox(this);
    s.desCombo->setObjectName(p + "DesCombo");
    s.desCombo->setGeometry(360, y + 12, 94, 22);
    s.ctrVol = new TVolume(this);
    s.ctrVol->setObjectName(p + "CtrVol");
    s.ctrVol->setGeometry(462, y + 10, 25, 25);
    s.ctrVol->SetMax(ParameterMax(orb8::DriveRtmSource, -1));
    s.ctrValue = new QLabel(this);
    s.ctrValue->setObjectName(p + "CtrValue");
    s.ctrValue->setGeometry(492, y + 14, 38, 18);

    auto change = [this, module](RtmField field, int value) {
        if (filling_ || !editing_.EditedPatch()) return;
        editing_.PerformTool({}, [&](PatchEditor& editor) { return editor.RtmChanged(module, field, value); });
    };
    // A track bar or the knob held down: its moves are one step of the history.
    const auto begin = [this] { editing_.BeginGesture(); };
    const auto end = [this] { editing_.EndGesture(); };
    for (QSlider* bar : {s.maxTrackBar, s.minTrackBar}) {
        connect(bar, &QSlider::sliderPressed, this, begin);
        connect(bar, &QSlider::sliderReleased, this, end);
    }
    connect(s.ctrVol, &TVolume::DragStarted, this, begin);
    connect(s.ctrVol, &TVolume::DragEnded, this, end);
    connect(s.maxTrackBar, &QSlider::valueChanged, this, [change](int v) { change(RtmField::Max, v); });
    connect(s.minTrackBar, &QSlider::valueChanged, this, [change](int v) { change(RtmField::Min, v); });
    connect(s.desCombo, &QComboBox::activated, this, [change](int row) { change(RtmField::Destination, row); });
    connect(s.ctrVol, &TVolume::OnChanged, this, [change](TVolume*, int v) { change(RtmField::Source, v); });
}

void TRtmPopUp::Refresh() {
    filling_ = true;
    for (std::size_t i = 0; i < 4; ++i) {
        const Module module = kOrder[i];
        Section& s = Sections[i];
        const RtmView v = editing_.ShownRtm(module);
        for (QSlider* bar : {s.maxTrackBar, s.minTrackBar}) bar->setRange(0, v.valueMax);
        s.ctrVol->SetMax(v.sourceMax);
        s.maxTrackBar->setValue(std::min(v.max, v.valueMax));
        s.maxValue->setText(Q(v.maxText));
        s.minTrackBar->setValue(std::min(v.min, v.valueMax));
        s.minValue->setText(Q(v.minText));
        if (module != Module::Eq) {
            s.desCombo->clear();
            for (const std::string& name : v.destinations) s.desCombo->addItem(Q(name));
        }
        s.desCombo->setCurrentIndex(v.destination < s.desCombo->count() ? v.destination : -1);
        s.ctrVol->SetPosition(std::min(v.source, v.sourceMax));
        s.ctrValue->setText(Q(v.sourceText));
        s.ctrVol->setAccessibleName(s.title->text() + " " + tr("CTRL"));
        s.ctrVol->setAccessibleDescription(Q(v.sourceText));
        for (QWidget* w : std::initializer_list<QWidget*>{s.maxTrackBar, s.maxValue, s.minTrackBar, s.minValue,
                                                          s.desCombo, s.ctrVol, s.ctrValue})
            w->setEnabled(v.enabled && editing_.EditedPatch());
    }
    filling_ = false;
}

void TRtmPopUp::ShowPlaced(QPoint frameTopLeft) {
    move(frameTopLeft + QPoint(20, 50));
    show();
    raise();
}
