#include "editors/ui/stepwords.h"
#include "editors/ui/ctpanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include "controls/celltext.h"
#include "controls/colorbutton.h"
#include "controls/compactlist.h"
#include "controls/volume.h"
#include "editors/ui/patchgrid.h"
#include "editors/projectsession.h"
#include "workspace/documentrules.h"
#include "workspace/ui/userdialogs.h"
#include "workspace/ui/windowcontext.h"

using namespace orb8;

namespace {

const QColor kBackground(36, 40, 48);
const QColor kPanel(52, 58, 70);
const QColor kPanelEdge(84, 92, 110);
const QColor kTitle(236, 196, 120);
const QColor kName(204, 210, 224);
const QColor kValue(124, 255, 150);
const QColor kOutOfRange(255, 150, 64);
const QColor kDisabled(110, 116, 128);
const QColor kSwitchOn(60, 210, 90);
const QColor kSwitchOff(80, 84, 94);

QFont PixelFont(const char* family, int pixels, bool bold) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

void Colour(QWidget* w, const QColor& text) {
    QPalette p = w->palette();
    p.setColor(QPalette::Active, QPalette::WindowText, text);
    p.setColor(QPalette::Inactive, QPalette::WindowText, text);
    p.setColor(QPalette::Disabled, QPalette::WindowText, kDisabled);
    w->setPalette(p);
}

}  // namespace

TControlPanel::KnobCell TControlPanel::MakeKnob(const QString& objectName, int x, int y, int width) {
    KnobCell cell;
    cell.name = new TCellText(knobNameFont_, Qt::AlignHCenter | Qt::AlignBottom, this);
    cell.name->setObjectName(objectName + "Label");
    cell.name->setGeometry(x, y, width, 12);
    cell.name->SetColors(kName, kDisabled);
    cell.knob = new TVolume(this);
    cell.knob->setObjectName(objectName);
    cell.knob->setGeometry(x + (width - 25) / 2, y + 13, 25, 25);
    cell.knob->SetColor(kPanel);
    cell.value = new TCellText(knobValueFont_, Qt::AlignHCenter | Qt::AlignTop, this);
    cell.value->setObjectName(objectName + "Value");
    cell.value->setGeometry(x, y + 39, width, 14);
    cell.value->SetColors(kValue, kDisabled);
    return cell;
}

TColorButton* TControlPanel::MakeSwitch(const char* objectName, int x, int y) {
    auto* b = new TColorButton(this);
    b->setObjectName(objectName);
    b->setGeometry(x, y, 36, 18);
    b->setFont(PixelFont("DejaVu Sans", 10, true));
    b->SetCaption(tr("OFF"));
    return b;
}

// The name of the custom type a module plays, beside its type list.
QLabel* TControlPanel::MakeCaption(const char* objectName, QRect at) {
    auto* label = new QLabel(this);
    label->setObjectName(objectName);
    label->setGeometry(at);
    label->setFont(PixelFont("DejaVu Sans", 10, true));
    Colour(label, kTitle);
    return label;
}

QComboBox* TControlPanel::MakeList(const char* objectName, QRect at) {
    // The list takes the panel's font as it is made: setting a font on a
    // made list would build its drop-down window at once (slower start-up).
    auto* list = new QComboBox(this);
    list->setObjectName(objectName);
    list->setGeometry(at);
    return list;
}

TControlPanel::TControlPanel(EditorContext& context)
    : QWidget(nullptr),
      knobNameFont_(PixelFont("DejaVu Sans", 9, true)),
      knobValueFont_(PixelFont("DejaVu Sans Mono", 11, true)),
      context_(context),
      editor_(noBank_) {
    setObjectName("ControlPanel");
    setWindowTitle(tr("Patch Editor"));
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, kBackground);
    dark.setColor(QPalette::WindowText, kName);
    setPalette(dark);
    // The lists' font; the other parts set their own.
    setFont(PixelFont("DejaVu Sans", 10, false));

    // The header: the patch, its name, the RTM window and the processor's buttons.
    PatchNo = new QLabel(this);
    PatchNo->setObjectName("PatchNo");
    PatchNo->setGeometry(6, 4, 46, 24);
    PatchNo->setAlignment(Qt::AlignCenter);
    PatchNo->setFont(PixelFont("DejaVu Sans Mono", 14, true));
    PatchNo->setAutoFillBackground(true);
    QPalette led = PatchNo->palette();
    led.setColor(QPalette::Window, QColor(10, 12, 10));
    led.setColor(QPalette::WindowText, QColor(255, 80, 48));
    PatchNo->setPalette(led);
    PatchNo->setToolTip(tr("The patch shown"));
    PatchName = new QLineEdit(this);
    PatchName->setObjectName("PatchName");
    PatchName->setGeometry(58, 4, 104, 24);
    PatchName->setFont(PixelFont("DejaVu Sans Mono", 14, true));
    PatchName->setMaxLength(16);
    PatchName->setPlaceholderText(tr("NAME"));
    PatchName->setToolTip(tr("The patch name: up to 8 capitals, digits, space and ' ( ) * + - / < = > ? @ \\; Enter stores it"));
    auto button = [this](const char* name, const QString& caption, int x, int w) {
        auto* b = new TColorButton(this);
        b->setObjectName(name);
        b->setFont(QApplication::font());
        b->SetCaption(caption);
        b->setGeometry(x, 4, w, 24);
        return b;
    };
    RtmEditBtn = button("RtmEditBtn", tr("RTM EDIT"), 168, 72);
    CompareBtn = button("CompareBtn", tr("COMPARE"), 243, 74);
    CompareBtn->setToolTip(tr("Compare the patch with the one last loaded, saved or received"));
    DesignBtn = button("DesignBtn", tr("DESIGN"), 320, 58);
    DesignBtn->setToolTip(tr("Sound design: randomise, nudge, morph and merge the patch"));
    OnLineBtn = button("OnLineBtn", tr("OnLine"), 382, 62);
    OffLineBtn = button("OffLineBtn", tr("OffLine"), 446, 62);
    UploadBtn = button("UploadBtn", tr("RecvAll"), 510, 62);
    DownloadBtn = button("DownloadBtn", tr("SendAll"), 574, 64);
    UploadBtn->setEnabled(false);
    DownloadBtn->setEnabled(false);

    // Row A: Drive with its custom selections, VNR, EQ.
    const int rowA = 34, rowB = 122, rowC = 210, strip = 3, cells = 26;
    panels_.push_back({QRect(4, rowA, 362, 84), tr("DRIVE")});
    DriveOnf = MakeSwitch("DriveOnf", 52, rowA + strip);
    DriveType = MakeList("DriveType", QRect(94, rowA + 2, 112, 20));
    DriveType->setMaxVisibleItems(22);
    for (auto name : DriveTypeNames()) DriveType->addItem(Q(std::string(name)));
    static const char* driveNames[] = {"DriveVolume1", "DriveVolume2", "DriveVolume3", "DriveVolume4"};
    static const char* customNames[] = {"DstCharVol", "HiCharVol", "MidCharVol", "LowCharVol"};
    for (int i = 0; i < 4; ++i) {
        DriveVolume[static_cast<std::size_t>(i)] = MakeKnob(driveNames[i], 8 + i * 44, rowA + cells, 44);
        CustomVolume[static_cast<std::size_t>(i)] = MakeKnob(customNames[i], 8 + (4 + i) * 44, rowA + cells, 44);
    }
    panels_.push_back({QRect(370, rowA, 48, 84), tr("VNR")});
    VnrVolume = MakeKnob("VnrVolume", 372, rowA + cells, 44);
    panels_.push_back({QRect(422, rowA, 218, 84), tr("EQ")});
    EqOnf = MakeSwitch("EqOnf", 446, rowA + strip);
    // Narrow lists: a small arrow leaves room for "1.2kHz".
    auto compact = [this](const char* name, int x) {
        auto* list = new CompactList(this);
        list->setObjectName(name);
        list->setGeometry(x, 34 + 2, 52, 20);
        return list;
    };
    TrebleFreqCombo = compact("TrebleFreqCombo", 484);
    MidFreqCombo = compact("MidFreqCombo", 536);
    BassFreqCombo = compact("BassFreqCombo", 588);
    const std::pair<QComboBox*, int> frequencies[] = {
        {TrebleFreqCombo, EqTrebleFreq}, {MidFreqCombo, EqMidFreq}, {BassFreqCombo, EqBassFreq}};
    for (const auto& [list, byte] : frequencies)
        for (int i = 0; i <= ParameterMax(byte, -1); ++i) list->addItem(Q(DisplayText(byte, -1, i)));
    TrebleFreqCombo->setToolTip(tr("Treble frequency"));
    MidFreqCombo->setToolTip(tr("Middle frequency"));
    BassFreqCombo->setToolTip(tr("Bass frequency"));
    for (int i = 0; i < 5; ++i)
        EqVolume[static_cast<std::size_t>(i)] = MakeKnob(QStringLiteral("EqVolume%1").arg(i + 1), 424 + i * 43, rowA + cells, 43);

    // Row B: Mod, Dly/Rev.
    panels_.push_back({QRect(4, rowB, 316, 84), tr("MOD")});
    ModOnf = MakeSwitch("ModOnf", 44, rowB + strip);
    ModType = MakeList("ModType", QRect(86, rowB + 2, 110, 20));
    ModCustom = MakeCaption("ModCustom", QRect(200, rowB + 4, 116, 16));
    for (auto name : ModTypeNames()) ModType->addItem(Q(std::string(name)));
    panels_.push_back({QRect(324, rowB, 316, 84), tr("DLY/REV")});
    DlyOnf = MakeSwitch("DlyOnf", 384, rowB + strip);
    DlyType = MakeList("DlyType", QRect(426, rowB + 2, 110, 20));
    DlyCustom = MakeCaption("DlyCustom", QRect(540, rowB + 4, 100, 16));
    for (auto name : DlyTypeNames()) DlyType->addItem(Q(std::string(name)));
    for (int i = 0; i < 4; ++i) {
        ModVolume[static_cast<std::size_t>(i)] = MakeKnob(QStringLiteral("ModVolume%1").arg(i + 1), 14 + i * 74, rowB + cells, 74);
        DlyVolume[static_cast<std::size_t>(i)] = MakeKnob(QStringLiteral("DlyVolume%1").arg(i + 1), 334 + i * 74, rowB + cells, 74);
    }

    // Row C: the patch level and the controllers.
    panels_.push_back({QRect(4, rowC, 150, 84), tr("LEVEL")});
    LvlVol = MakeKnob("LvlVol", 10, rowC + cells, 60);
    VolRtmCheck = new QCheckBox(tr("VOL RTM"), this);
    VolRtmCheck->setObjectName("VolRtmCheck");
    VolRtmCheck->setGeometry(74, rowC + 40, 78, 20);
    VolRtmCheck->setFont(PixelFont("DejaVu Sans", 10, true));
    QPalette check = VolRtmCheck->palette();
    check.setColor(QPalette::WindowText, kName);
    VolRtmCheck->setPalette(check);
    panels_.push_back({QRect(158, rowC, 482, 84), tr("CONTROLLERS")});
    CtrlCombo = MakeList("CtrlCombo", QRect(262, rowC + 2, 96, 20));
    for (int i = 0; i <= ParameterMax(CtrlTarget, -1); ++i) CtrlCombo->addItem(Q(DisplayText(CtrlTarget, -1, i)));
    CtrlCombo->setToolTip(tr("The module the controllers act on"));
    Ct1NoVol = MakeKnob("Ct1NoVol", 170, rowC + cells, 110);
    Ct1ValueVol = MakeKnob("Ct1ValueVol", 280, rowC + cells, 110);
    Ct2NoVol = MakeKnob("Ct2NoVol", 400, rowC + cells, 110);
    Ct2ValueVol = MakeKnob("Ct2ValueVol", 510, rowC + cells, 110);

    // --- What the controls do ---
    connect(OnLineBtn, &TColorButton::OnClick, this, &TControlPanel::OnLineRequested);
    connect(OffLineBtn, &TColorButton::OnClick, this, &TControlPanel::OffLineRequested);
    connect(UploadBtn, &TColorButton::OnClick, this, &TControlPanel::ReceiveAllRequested);
    connect(DownloadBtn, &TColorButton::OnClick, this, &TControlPanel::SendAllRequested);
    connect(RtmEditBtn, &TColorButton::OnClick, this, &TControlPanel::RtmRequested);
    connect(CompareBtn, &TColorButton::OnClick, this, &TControlPanel::CompareRequested);
    connect(DesignBtn, &TColorButton::OnClick, this, &TControlPanel::SoundDesignRequested);
    connect(PatchName, &QLineEdit::returnPressed, this, &TControlPanel::NameEntered);

    auto live = [this](auto operation) {
        return [this, operation](auto... args) {
            if (HandlersLive && editor_.Current()) Perform([&] { return operation(args...); });
        };
    };
    // A knob: the changes of one drag, from press to release, are one step of the history.
    auto knob = [this](auto operation) {
        return [this, operation](TVolume*, int v) {
            if (HandlersLive && editor_.Current()) Perform([&] { return operation(v); });
        };
    };
    for (int i = 0; i < 4; ++i) {
        connect(DriveVolume[static_cast<std::size_t>(i)].knob, &TVolume::OnChanged, this,
                knob([this, i](int v) { return editor_.DriveKnobChanged(i, v); }));
        connect(CustomVolume[static_cast<std::size_t>(i)].knob, &TVolume::OnChanged, this,
                knob([this, i](int v) { return editor_.CustomKnobChanged(i, v); }));
        connect(ModVolume[static_cast<std::size_t>(i)].knob, &TVolume::OnChanged, this,
                knob([this, i](int v) { return editor_.ModKnobChanged(i, v); }));
        connect(DlyVolume[static_cast<std::size_t>(i)].knob, &TVolume::OnChanged, this,
                knob([this, i](int v) { return editor_.DlyKnobChanged(i, v); }));
    }
    for (int i = 0; i < 5; ++i)
        connect(EqVolume[static_cast<std::size_t>(i)].knob, &TVolume::OnChanged, this,
                knob([this, i](int v) { return editor_.EqKnobChanged(i, v); }));
    const std::pair<KnobCell*, int> singles[] = {{&VnrVolume, VnrLevel},      {&LvlVol, PatchLevel},
                                                 {&Ct1NoVol, Ctrl1Number},    {&Ct1ValueVol, Ctrl1Value},
                                                 {&Ct2NoVol, Ctrl2Number},    {&Ct2ValueVol, Ctrl2Value}};
    for (const auto& [cell, byte] : singles) {
        const int b = byte;
        connect(cell->knob, &TVolume::OnChanged, this, knob([this, b](int v) { return editor_.ByteChanged(b, v); }));
    }
    const std::pair<QComboBox*, int> freqs[] = {{TrebleFreqCombo, 0}, {MidFreqCombo, 1}, {BassFreqCombo, 2}};
    for (const auto& [list, index] : freqs) {
        const int i = index;
        connect(list, &QComboBox::activated, this, live([this, i](int row) { return editor_.EqFrequencyChanged(i, row); }));
    }
    connect(CtrlCombo, &QComboBox::activated, this, live([this](int row) { return editor_.ByteChanged(CtrlTarget, row); }));
    connect(VolRtmCheck, &QCheckBox::clicked, this, live([this](bool on) { return editor_.ByteChanged(VolRtm, on ? 1 : 0); }));
    connect(DriveType, &QComboBox::activated, this, live([this](int row) { return editor_.DriveTypeChanged(row); }));
    connect(ModType, &QComboBox::activated, this, live([this](int row) { return editor_.ModTypeChanged(row); }));
    connect(DlyType, &QComboBox::activated, this, live([this](int row) { return editor_.DlyTypeChanged(row); }));
    // The module switches and the name do not wait for the filling to end.
    const std::pair<TColorButton*, ModuleBit> switches[] = {{DriveOnf, DriveOn}, {ModOnf, ModOn}, {DlyOnf, DlyOn}, {EqOnf, EqOn}};
    for (const auto& [button, bit] : switches) {
        const ModuleBit b = bit;
        connect(button, &TColorButton::OnClick, this, [this, b] {
            if (editor_.Current()) Perform([&] { return editor_.SwitchClicked(b); });
        });
    }
    for (TVolume* k : findChildren<TVolume*>()) {
        connect(k, &TVolume::DragStarted, this, &TControlPanel::BeginGesture);
        connect(k, &TVolume::DragEnded, this, &TControlPanel::EndGesture);
    }
    RefreshAll();
}

void TControlPanel::BeginGesture() {
    if (ProjectSession* project = Project()) project->BeginGesture();
}

void TControlPanel::EndGesture() {
    if (ProjectSession* project = Project()) project->EndGesture();
}

// --- Showing ---------------------------------------------------------------------------

void TControlPanel::Follow(ProjectSession* project, int index) {
    if (Project() != project) {
        if (ProjectSession* before = Project()) {
            before->Unlisten(listener_);
            before->SetPlaying(-1);
        }
        project_ = project ? project->weak_from_this() : std::weak_ptr<Document>();
        if (project)
            listener_ = project->Listen([this, project](const SessionChange& change) {
                // Changes made elsewhere (undo, paste, a drop, a receive) that touch the patch shown.
                if (!performing_ && change.Touches(index_)) ShowPatch(*project, index_);
            });
    }
    index_ = index;
    if (project) project->SetPlaying(index);
}

ProjectSession* TControlPanel::Project() const { return static_cast<ProjectSession*>(project_.lock().get()); }

bool TControlPanel::SetCompare(bool on) {
    ProjectSession* project = Project();
    if (!project || !editor_.Current() || on == compare_.Comparing()) return compare_.Comparing();
    project->Settle();
    const ProjectDocument& document = project->Document();
    if (on) {
        // The stored patch plays through the block as it was stored, so that
        // edits of a CUSTOM type's values are compared too.
        compared_ = project->StoredSettings();
        const auto show = [this](PatchData& patch) { editor_.ShowPatch(&patch, &compared_); };
        context_.SendParameters(compare_.On(working_, project->Stored(index_), show));
        PatchName->setText(Q(DecodeName(compare_.Shown())));
        RefreshAll();
        // Read-only: every control of the patch is held while comparing.
        for (QWidget* w : findChildren<QWidget*>()) {
            const bool keep = w == CompareBtn || w == DesignBtn || w == OnLineBtn || w == OffLineBtn || w == UploadBtn ||
                              w == DownloadBtn || w == RtmEditBtn || w == PatchNo;
            if (!keep) w->setEnabled(false);
        }
        emit ComparedPatchShown(project, index_ + 1, &compare_.Shown());
    } else {
        const auto show = [this](PatchData& patch) { editor_.ShowPatch(&patch, &workingSettings_); };
        working_ = document.patches[static_cast<std::size_t>(index_)];
        workingSettings_ = document.customSettings;
        context_.SendParameters(compare_.Off(working_, show));
        emit ComparedPatchShown(project, index_ + 1, nullptr);
        ShowPatch(*project, index_);
    }
    CompareBtn->SetDown(on);
    return on;
}

void TControlPanel::ShowPatch(ProjectSession& project, int index) {
    if (compare_.Comparing()) SetCompare(false);
    Follow(&project, index);
    CompareBtn->SetDown(false);
    // The editor works on copies: what showing fills in (a CUSTOM type's slot
    // values) reaches the document only with the next edit, inside its step.
    const ProjectDocument& document = project.Document();
    working_ = document.patches[static_cast<std::size_t>(index)];
    workingSettings_ = document.customSettings;
    editor_.ShowPatch(&working_, &workingSettings_);
    PatchName->setText(Q(ProjectRowTexts(document, index + 1)[1]));
    PatchNo->setText(Q(PatchLabel(index)));
    RefreshAll();
    emit PatchShown();
}

void TControlPanel::Detach(const ProjectSession* project) {
    if (Project() != project && Project()) return;
    if (compare_.Comparing()) SetCompare(false);
    Follow(nullptr, 0);
    editor_.ShowPatch(nullptr);
    PatchName->clear();
    RefreshAll();
    emit PatchShown();
}

void TControlPanel::ShowOnLineState(bool onLine, std::optional<bool> transfersEnabled, bool transfersGreen) {
    const QColor green(0x00, 0xFF, 0x00), navy(0x00, 0x00, 0x80), grey(0x80, 0x80, 0x80);
    auto look = [](TColorButton* b, const QColor& face, const QColor& text) {
        b->SetColor(face);
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, text);
        b->setPalette(p);
    };
    look(OnLineBtn, onLine ? green : navy, onLine ? navy : green);
    look(OffLineBtn, onLine ? navy : green, onLine ? green : navy);
    for (TColorButton* b : {UploadBtn, DownloadBtn}) {
        if (transfersEnabled) b->setEnabled(*transfersEnabled);
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, transfersGreen ? green : grey);
        b->setPalette(p);
    }
}

void TControlPanel::EnableOnLineButtons(bool enabled) {
    OnLineBtn->setEnabled(enabled);
    OffLineBtn->setEnabled(enabled);
}

void TControlPanel::ShowKnob(KnobCell& cell, const KnobView& view, const QString& label) {
    const QString name = label.isEmpty() ? Q(view.name) : label;
    cell.knob->setVisible(view.visible);
    cell.name->setVisible(view.visible);
    cell.value->setVisible(view.visible);
    cell.name->setText(name);
    cell.knob->SetMax(std::max(view.max, 1));
    cell.knob->SetMin(view.min);
    cell.knob->SetPosition(view.position);
    cell.knob->setEnabled(view.enabled && isEnabled());
    cell.value->setText(Q(view.text));
    cell.value->SetColor(view.outOfRange ? kOutOfRange : kValue);
    cell.value->setToolTip(view.outOfRange ? tr("A value the ORB-8 does not have; it stays until this knob is moved")
                                           : QString());
    // What a screen reader says of it.
    cell.knob->setAccessibleName(name);
    cell.knob->setAccessibleDescription(Q(view.text));
}

// A type the processor does not have shows as "?25" in its list.
static void ShowType(QComboBox* list, int type) {
    list->setPlaceholderText(QStringLiteral("?%1").arg(type));
    list->setCurrentIndex(type < list->count() ? type : -1);
}

void TControlPanel::RefreshDrive() {
    ShowType(DriveType, editor_.DriveType());
    for (int i = 0; i < 4; ++i) {
        ShowKnob(DriveVolume[static_cast<std::size_t>(i)], editor_.DriveKnob(i));
        ShowKnob(CustomVolume[static_cast<std::size_t>(i)], editor_.CustomKnob(i));
    }
}

void TControlPanel::RefreshMod() {
    ShowType(ModType, editor_.StoredModType());
    ModCustom->setText(Q(editor_.CustomBaseLabel(Module::Mod)));
    for (int i = 0; i < 4; ++i) ShowKnob(ModVolume[static_cast<std::size_t>(i)], editor_.ModKnob(i));
}

void TControlPanel::RefreshDly() {
    ShowType(DlyType, editor_.StoredDlyType());
    DlyCustom->setText(Q(editor_.CustomBaseLabel(Module::DlyRev)));
    for (int i = 0; i < 4; ++i) ShowKnob(DlyVolume[static_cast<std::size_t>(i)], editor_.DlyKnob(i));
}

void TControlPanel::RefreshEq() {
    static const char* labels[] = {QT_TR_NOOP("PRES"), QT_TR_NOOP("TREB"), QT_TR_NOOP("MID"), QT_TR_NOOP("BASS"),
                                   QT_TR_NOOP("LEVEL")};
    for (int i = 0; i < 5; ++i) ShowKnob(EqVolume[static_cast<std::size_t>(i)], editor_.EqKnob(i), tr(labels[i]));
    const PatchData* p = editor_.Current();
    QComboBox* lists[] = {TrebleFreqCombo, MidFreqCombo, BassFreqCombo};
    for (int i = 0; i < 3; ++i) {
        const int row = p ? (*p)[static_cast<std::size_t>(EqTrebleFreq + i)] : 0;
        lists[i]->setCurrentIndex(row < lists[i]->count() ? row : -1);
    }
}

void TControlPanel::RefreshOthers() {
    ShowKnob(VnrVolume, editor_.ByteKnob(VnrLevel), tr("VNR"));
    ShowKnob(LvlVol, editor_.ByteKnob(PatchLevel), tr("PATCH"));
    ShowKnob(Ct1NoVol, editor_.ByteKnob(Ctrl1Number), tr("CTRL1 NO."));
    ShowKnob(Ct1ValueVol, editor_.ByteKnob(Ctrl1Value), tr("CTRL1 VALUE"));
    ShowKnob(Ct2NoVol, editor_.ByteKnob(Ctrl2Number), tr("CTRL2 NO."));
    ShowKnob(Ct2ValueVol, editor_.ByteKnob(Ctrl2Value), tr("CTRL2 VALUE"));
    const PatchData* p = editor_.Current();
    VolRtmCheck->setChecked(p && (*p)[VolRtm] != 0);
    const int target = p ? (*p)[CtrlTarget] : 0;
    CtrlCombo->setCurrentIndex(target < 5 ? target : -1);
}

// Each module's switch, and the controls it enables.
void TControlPanel::RefreshSwitches() {
    const bool any = editor_.Current() != nullptr;
    auto module = [&](TColorButton* button, ModuleBit bit, std::initializer_list<QWidget*> controls,
                      std::initializer_list<KnobCell*> knobs, auto view) {
        const bool on = editor_.ModuleOn(bit);
        button->SetCaption(on ? tr("ON") : tr("OFF"));
        button->SetColor(on ? kSwitchOn : kSwitchOff);
        QPalette p = button->palette();
        p.setColor(QPalette::ButtonText, on ? QColor(10, 20, 10) : kName);
        button->setPalette(p);
        button->setEnabled(any);
        for (QWidget* w : controls) w->setEnabled(on);
        int i = 0;
        for (KnobCell* k : knobs) {
            const KnobView v = view(i++);
            k->knob->setEnabled(on && v.enabled);
            k->name->setEnabled(on);
            k->value->setEnabled(on);
        }
    };
    module(DriveOnf, DriveOn, {DriveType},
           {&DriveVolume[0], &DriveVolume[1], &DriveVolume[2], &DriveVolume[3], &CustomVolume[0], &CustomVolume[1],
            &CustomVolume[2], &CustomVolume[3]},
           [this](int i) { return i < 4 ? editor_.DriveKnob(i) : editor_.CustomKnob(i - 4); });
    module(ModOnf, ModOn, {ModType, ModCustom}, {&ModVolume[0], &ModVolume[1], &ModVolume[2], &ModVolume[3]},
           [this](int i) { return editor_.ModKnob(i); });
    module(DlyOnf, DlyOn, {DlyType, DlyCustom}, {&DlyVolume[0], &DlyVolume[1], &DlyVolume[2], &DlyVolume[3]},
           [this](int i) { return editor_.DlyKnob(i); });
    module(EqOnf, EqOn, {TrebleFreqCombo, MidFreqCombo, BassFreqCombo},
           {&EqVolume[0], &EqVolume[1], &EqVolume[2], &EqVolume[3], &EqVolume[4]},
           [this](int i) { return editor_.EqKnob(i); });
    for (QWidget* w : std::initializer_list<QWidget*>{VnrVolume.knob, LvlVol.knob, Ct1NoVol.knob, Ct1ValueVol.knob,
                                                      Ct2NoVol.knob, Ct2ValueVol.knob, VolRtmCheck, CtrlCombo, PatchName})
        w->setEnabled(any);
    emit RtmChanged();
}

void TControlPanel::RefreshAll() {
    HandlersLive = false;
    RefreshDrive();
    RefreshOthers();
    RefreshEq();
    RefreshMod();
    RefreshDly();
    RefreshSwitches();
    HandlersLive = true;
}

// --- Changing ----------------------------------------------------------------------------

// Shows what an operation changed: the controls of the modules it touched.
void TControlPanel::Apply(const Edit& edit) {
    HandlersLive = false;
    bool drive = edit.refreshDrive, mod = edit.refreshMod, dly = edit.refreshDly, eq = edit.refreshEq;
    bool others = false, switches = edit.refreshSwitches;
    for (const auto& [byte, value] : edit.send) {
        switch (ModuleOfByte(byte)) {
            case Module::Drive: drive = true; break;
            case Module::Mod: mod = true; break;
            case Module::DlyRev: dly = true; break;
            case Module::Eq: eq = true; break;
            default:
                if (byte == ModuleSwitches) switches = true;
                else others = true;
        }
    }
    if (drive) RefreshDrive();
    if (mod) RefreshMod();
    if (dly) RefreshDly();
    if (eq) RefreshEq();
    if (others) RefreshOthers();
    // The switches once, after the modules: they enable the modules' controls.
    if (switches || drive || mod || dly || eq) RefreshSwitches();
    if (!drive && !mod && !dly && !eq && !switches) emit RtmChanged();
    HandlersLive = true;
    if (edit.refreshName) PatchName->setText(Q(edit.nameCell));
    // The editor's messages, named here so that the translation tools find them.
    [[maybe_unused]] static const char* const messages[] = {QT_TR_NOOP("Patch name is too long"),
                                                            QT_TR_NOOP("invalid character")};
    if (!edit.message.empty()) context_.Dialogs().Inform(this, tr("ORB-8ED"), tr(edit.message.c_str()));
}

void TControlPanel::NameEntered() {
    if (!editor_.Current()) return;
    const std::string text = PatchName->text().toStdString();
    Perform([&] { return editor_.NameEntered(text); });
}

// Every change of the editor and the RTM window: one step of the project's
// session, whose bytes go to the processor; the list, the caption and the
// comment window follow the session.
void TControlPanel::Perform(const std::function<Edit()>& operation, const QString& text) {
    if (!editor_.Current() || compare_.Comparing() || !Project()) return;
    ProjectSession& session = *Project();
    Edit edit;
    performing_ = true;
    const SessionChange change = session.Perform([&](ProjectDocument& document) {
        const int switchesBefore = (*editor_.Current())[orb8::ModuleSwitches];
        const PatchData before = working_;
        const CustomSettingsBlock settingsBefore = workingSettings_;
        edit = operation();
        if (working_ != before) document.patches[static_cast<std::size_t>(index_)] = working_;
        if (workingSettings_ != settingsBefore) document.customSettings = workingSettings_;
        StepReport report{text.toStdString(), edit.send};
        if (text.isEmpty() && !edit.send.empty())
            report.text = EditStepText(*editor_.Current(), editor_.Settings(), edit.send.front().first, switchesBefore,
                                       StepWordsInLanguage());
        return report;
    });
    performing_ = false;
    context_.SendParameters(change.send);
    Apply(edit);
}

const PatchData* TControlPanel::EditedPatch() const {
    return Project() && !compare_.Comparing() ? editor_.Current() : nullptr;
}


std::string TControlPanel::EditedPatchTitle() const {
    const ProjectSession* project = Project();
    if (!project || !editor_.Current()) return {};
    return QStringLiteral("%1 %2 (%3)")
        .arg(Q(PatchLabel(index_)), Q(DecodeName(*editor_.Current())).trimmed(), Q(DocumentCaption(*project)))
        .toStdString();
}

void TControlPanel::PerformTool(const std::string& text, const std::function<Edit(PatchEditor&)>& tool) {
    Perform([&] { return tool(editor_); }, Q(text));
}

// --- The window ------------------------------------------------------------------------------

void TControlPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(PixelFont("DejaVu Sans", 10, true));
    for (const Panel& panel : panels_) {
        p.setPen(QPen(kPanelEdge, 1));
        p.setBrush(kPanel);
        p.drawRoundedRect(QRectF(panel.area).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
        p.setPen(kTitle);
        p.drawText(QRect(panel.area.left() + 6, panel.area.top() + 3, 120, 18), Qt::AlignLeft | Qt::AlignVCenter,
                   panel.title);
    }
}

// The editor is always there: closing it does nothing.
void TControlPanel::closeEvent(QCloseEvent* event) { event->ignore(); }
