#include "sounddesign/ui/sounddesignwin.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QScrollBar>
#include <QRegularExpressionValidator>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "controls/screenfit.h"
#include "editors/projectsession.h"
#include "patch/customplay.h"
#include "patch/differences.h"
#include "sounddesign/ui/patchpicker.h"

using namespace orb8;
using design::Part;

namespace {

constexpr const char* kLocksKey = "design/locks";
constexpr const char* kControllerKey = "design/morphController";
constexpr int kByteRole = Qt::UserRole + 1;
constexpr int kDefaultVariations = 16;
constexpr std::array<Part, 8> kMergeParts = {Part::Drive, Part::Vnr,   Part::Eq,          Part::Mod,
                                             Part::Dly,   Part::Level, Part::Controllers, Part::Rtm};

QString PartCaption(Part part) {
    switch (part) {
        case Part::Switches: return TSoundDesignWin::tr("Switches");
        case Part::DriveType: return TSoundDesignWin::tr("Drive type");
        case Part::Drive: return TSoundDesignWin::tr("Drive");
        case Part::Vnr: return TSoundDesignWin::tr("VNR");
        case Part::Eq: return TSoundDesignWin::tr("EQ");
        case Part::ModType: return TSoundDesignWin::tr("Mod type");
        case Part::Mod: return TSoundDesignWin::tr("Mod");
        case Part::DlyType: return TSoundDesignWin::tr("Dly/Rev type");
        case Part::Dly: return TSoundDesignWin::tr("Dly/Rev");
        case Part::Level: return TSoundDesignWin::tr("Level");
        case Part::Controllers: return TSoundDesignWin::tr("Controllers");
        case Part::Rtm: return TSoundDesignWin::tr("RTM");
        case Part::Custom: return TSoundDesignWin::tr("Custom settings");
    }
    return {};
}

// What each lock keeps, as its tooltip says.
QString PartCovers(Part part) {
    switch (part) {
        case Part::Switches: return TSoundDesignWin::tr("Which modules are on");
        case Part::DriveType: return TSoundDesignWin::tr("The drive type");
        case Part::Drive: return TSoundDesignWin::tr("The drive's values, custom drive selections and RTM settings, and its switch");
        case Part::Vnr: return TSoundDesignWin::tr("The noise reduction level");
        case Part::Eq: return TSoundDesignWin::tr("The EQ's levels, frequencies and RTM settings, and its switch");
        case Part::ModType: return TSoundDesignWin::tr("The Mod type");
        case Part::Mod: return TSoundDesignWin::tr("The Mod values and RTM settings, and its switch");
        case Part::DlyType: return TSoundDesignWin::tr("The Dly/Rev type");
        case Part::Dly: return TSoundDesignWin::tr("The Dly/Rev values and RTM settings, and its switch");
        case Part::Level: return TSoundDesignWin::tr("The patch level and VOL RTM");
        case Part::Controllers: return TSoundDesignWin::tr("The controller assignments and values");
        case Part::Rtm: return TSoundDesignWin::tr("Every RTM setting of every module");
        case Part::Custom:
            return TSoundDesignWin::tr("The bank's custom settings: a CUSTOM patch's values are shared by every patch "
                                       "of that type in the bank");
    }
    return {};
}

// "; custom settings changed: MOD CUSTOM1" when a tool changed the bank's block.
QString BlockReport(const CustomSettingsBlock& before, const CustomSettingsBlock& after) {
    if (before == after) return {};
    return TSoundDesignWin::tr("; the bank's custom settings changed: %1")
        .arg(QString::fromStdString(DifferingSlotsText(before, after)));
}

// What made a result, as the recent list names it.
QString ResultText(const design::Result& r) {
    const QString other = QString::fromStdString(r.other);
    QString made;
    switch (r.tool) {
        case design::Tool::Randomise: made = TSoundDesignWin::tr("Randomise %1 %, seed %2").arg(r.amount).arg(r.seed); break;
        case design::Tool::NudgeTowards:
            made = TSoundDesignWin::tr("Nudge towards %1 %, seed %2").arg(r.amount).arg(r.seed);
            break;
        case design::Tool::NudgeAway: made = TSoundDesignWin::tr("Nudge away %1 %, seed %2").arg(r.amount).arg(r.seed); break;
        case design::Tool::Morph: made = TSoundDesignWin::tr("Morph %1 % towards %2").arg(r.amount).arg(other); break;
        case design::Tool::Take: made = TSoundDesignWin::tr("Take modules from %1").arg(other); break;
    }
    return TSoundDesignWin::tr("%1 (%2)").arg(made, QString::fromStdString(DecodeName(r.patch)).trimmed());
}

QString NewSeed() { return QString::number(QRandomGenerator::global()->bounded(1u, 1000000000u)); }

}  // namespace

TSoundDesignWin::TSoundDesignWin(orb8::PatchEditing& editing, QSettings* settings, QWidget* parent)
    : QWidget(parent, Qt::Window), editing_(editing), settings_(settings) {
    setObjectName("SoundDesignWin");
    setWindowTitle(tr("Sound Design"));
    PatchTitle = new QLabel(this);
    PatchTitle->setObjectName("PatchTitle");

    // What stays.
    auto* keep = new QGroupBox(tr("Keep (locked parts never change)"), this);
    auto* keepGrid = new QGridLayout(keep);
    design::Locks remembered;
    if (settings_) {
        std::string ignored;
        if (auto parsed = design::Locks::Parse(settings_->value(kLocksKey).toString().toStdString(), ignored))
            remembered = *parsed;
    }
    for (int i = 0; i < design::kPartCount; ++i) {
        const auto part = static_cast<Part>(i);
        auto* box = new QCheckBox(PartCaption(part), keep);
        box->setObjectName(QStringLiteral("Lock_%1").arg(QString::fromUtf8(design::PartName(part).data())));
        box->setChecked(remembered.Has(part));
        box->setToolTip(PartCovers(part));
        connect(box, &QCheckBox::toggled, this, &TSoundDesignWin::SaveLocks);
        keepGrid->addWidget(box, i / 5, i % 5);
        Lock[static_cast<std::size_t>(i)] = box;
    }
    for (int b = 0; b < kPatchBytes; ++b) byteLocks_.SetByte(b, remembered.ByteSet(b));
    // Single parameters, in a list of the patch's own that opens on demand.
    parametersBtn_ = new QPushButton(tr("Single Parameters..."), keep);
    parametersBtn_->setObjectName("ParametersBtn");
    parametersBtn_->setCheckable(true);
    parametersBtn_->setToolTip(tr("Lock single parameters of this patch (a part's lock keeps all of its own)"));
    keepGrid->addWidget(parametersBtn_, 2, 3, 1, 2);
    parameterModel_ = new QStandardItemModel(this);
    parameterList_ = new QListView(keep);
    parameterList_->setObjectName("ParameterLocks");
    parameterList_->setModel(parameterModel_);
    parameterList_->setUniformItemSizes(true);
    parameterList_->setFlow(QListView::TopToBottom);
    parameterList_->setWrapping(true);
    parameterList_->setResizeMode(QListView::Adjust);
    parameterList_->setMinimumHeight(parameterList_->fontMetrics().height() * 9);
    parameterList_->setVisible(false);
    keepGrid->addWidget(parameterList_, 3, 0, 1, 5);
    connect(parametersBtn_, &QPushButton::toggled, parameterList_, &QWidget::setVisible);
    connect(parameterModel_, &QStandardItemModel::itemChanged, this, &TSoundDesignWin::ParameterLockChanged);

    // Randomise.
    auto* random = new QGroupBox(tr("Randomise"), this);
    Amount = new QSpinBox(random);
    Amount->setObjectName("Amount");
    Amount->setRange(design::kMinAmount, design::kMaxAmount);
    Amount->setValue(design::kDefaultAmount);
    Amount->setSuffix(" %");
    Seed = new QLineEdit(NewSeed(), random);
    Seed->setObjectName("Seed");
    Seed->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{1,18}"), Seed));
    Seed->setToolTip(tr("The same seed on the same patch gives the same result"));
    NewSeedBtn = new QPushButton(tr("New Seed"), random);
    NewSeedBtn->setObjectName("NewSeedBtn");
    Guided = new QCheckBox(tr("In the style of the open banks"), random);
    Guided->setObjectName("Guided");
    Guided->setToolTip(tr("New values are drawn from what the patches of the open banks use with the same effect type"));
    LibraryGuided = new QCheckBox(tr("and of the library"), random);
    LibraryGuided->setObjectName("LibraryGuided");
    LibraryGuided->setToolTip(tr("The library's patches of the same types guide the new values too"));
    LibraryGuided->setVisible(false);
    RandomiseBtn = new QPushButton(tr("Randomise"), random);
    RandomiseBtn->setObjectName("RandomiseBtn");
    VariationCount = new QSpinBox(random);
    VariationCount->setObjectName("VariationCount");
    VariationCount->setRange(1, design::kMaxVariations);
    VariationCount->setValue(kDefaultVariations);
    VariationsBtn = new QPushButton(tr("Make Variations"), random);
    VariationsBtn->setObjectName("VariationsBtn");
    VariationsBtn->setToolTip(tr("A new bank of randomisations of this patch at this amount and these locks, "
                                 "one seed after another"));
    auto* randomRows = new QVBoxLayout(random);
    auto* randomRow = new QHBoxLayout;
    randomRow->addWidget(new QLabel(tr("Amount:"), random));
    randomRow->addWidget(Amount);
    randomRow->addWidget(new QLabel(tr("Seed:"), random));
    randomRow->addWidget(Seed);
    randomRow->addWidget(NewSeedBtn);
    randomRow->addStretch(1);
    randomRow->addWidget(RandomiseBtn);
    auto* guideRow = new QHBoxLayout;
    guideRow->addWidget(Guided);
    guideRow->addWidget(LibraryGuided, 1);
    guideRow->addWidget(VariationCount);
    guideRow->addWidget(VariationsBtn);
    randomRows->addLayout(randomRow);
    randomRows->addLayout(guideRow);

    // Nudge.
    auto* nudge = new QGroupBox(tr("Nudge towards or away from patches"), this);
    auto* nudgeGrid = new QGridLayout(nudge);
    for (int i = 0; i < 4; ++i) {
        Targets[static_cast<std::size_t>(i)] = new PatchPicker(true, nudge);
        Targets[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Target%1").arg(i + 1));
        nudgeGrid->addWidget(new QLabel(tr("Patch %1:").arg(i + 1), nudge), i, 0);
        nudgeGrid->addWidget(Targets[static_cast<std::size_t>(i)], i, 1);
    }
    NudgeAmount = new QSpinBox(nudge);
    NudgeAmount->setObjectName("NudgeAmount");
    NudgeAmount->setRange(design::kMinAmount, design::kMaxAmount);
    NudgeAmount->setValue(design::kDefaultAmount);
    NudgeAmount->setSuffix(" %");
    TowardsBtn = new QPushButton(tr("Towards"), nudge);
    TowardsBtn->setObjectName("TowardsBtn");
    AwayBtn = new QPushButton(tr("Away"), nudge);
    AwayBtn->setObjectName("AwayBtn");
    auto* nudgeRow = new QHBoxLayout;
    nudgeRow->addStretch(1);
    nudgeRow->addWidget(new QLabel(tr("Amount:"), nudge));
    nudgeRow->addWidget(NudgeAmount);
    nudgeRow->addWidget(TowardsBtn);
    nudgeRow->addWidget(AwayBtn);
    nudgeGrid->addLayout(nudgeRow, 4, 0, 1, 2);

    // Morph.
    auto* morph = new QGroupBox(tr("Morph towards a patch (plays while it moves; Esc goes back)"), this);
    MorphTarget = new PatchPicker(false, morph);
    MorphTarget->setObjectName("MorphTarget");
    MorphSlider = new QSlider(Qt::Horizontal, morph);
    MorphSlider->setObjectName("MorphSlider");
    MorphSlider->setRange(0, design::kMorphPercentEnd);
    MorphSlider->setPageStep(design::kMorphStep);
    MorphSlider->setTickPosition(QSlider::TicksBelow);
    MorphSlider->setTickInterval(design::kMorphStep);
    MorphSlider->installEventFilter(this);
    auto* morphGrid = new QGridLayout(morph);
    morphGrid->addWidget(new QLabel(tr("Towards:"), morph), 0, 0);
    morphGrid->addWidget(MorphTarget, 0, 1, 1, 3);
    morphGrid->addWidget(new QLabel(tr("this patch"), morph), 1, 0);
    morphGrid->addWidget(MorphSlider, 1, 1, 1, 2);
    morphGrid->addWidget(new QLabel(tr("the other"), morph), 1, 3);
    MorphStepsBtn = new QPushButton(tr("Steps into a New Bank"), morph);
    MorphStepsBtn->setObjectName("MorphStepsBtn");
    MorphStepsBtn->setToolTip(tr("A new bank of the way from this patch to the other, in as many steps as variations"));
    morphGrid->addWidget(MorphStepsBtn, 2, 3);
    // A pedal moves the slider: learnt from the first controller that moves.
    controllerLabel_ = new QLabel(morph);
    controllerLabel_->setObjectName("MorphController");
    learnBtn_ = new QPushButton(tr("Learn Pedal"), morph);
    learnBtn_->setObjectName("LearnPedalBtn");
    learnBtn_->setCheckable(true);
    learnBtn_->setToolTip(tr("Press, then move the processor's pedal or a MIDI controller: it moves the morph"));
    forgetBtn_ = new QPushButton(tr("Forget"), morph);
    forgetBtn_->setObjectName("ForgetPedalBtn");
    auto* pedalRow = new QHBoxLayout;
    pedalRow->addWidget(controllerLabel_, 1);
    pedalRow->addWidget(learnBtn_);
    pedalRow->addWidget(forgetBtn_);
    morphGrid->addLayout(pedalRow, 3, 0, 1, 4);
    if (settings_) controller_ = design::ParseController(settings_->value(kControllerKey).toString().toStdString());

    // Merge.
    auto* merge = new QGroupBox(tr("Take modules from a patch"), this);
    MergeSource = new PatchPicker(false, merge);
    MergeSource->setObjectName("MergeSource");
    auto* mergeGrid = new QGridLayout(merge);
    mergeGrid->addWidget(new QLabel(tr("From:"), merge), 0, 0);
    mergeGrid->addWidget(MergeSource, 0, 1, 1, 4);
    for (std::size_t i = 0; i < kMergeParts.size(); ++i) {
        MergePart[i] = new QCheckBox(PartCaption(kMergeParts[i]), merge);
        MergePart[i]->setObjectName(QStringLiteral("Merge_%1").arg(QString::fromUtf8(design::PartName(kMergeParts[i]).data())));
        mergeGrid->addWidget(MergePart[i], 1 + static_cast<int>(i) / 4, static_cast<int>(i) % 4 + 1);
    }
    MergeBtn = new QPushButton(tr("Take"), merge);
    MergeBtn->setObjectName("MergeBtn");
    mergeGrid->addWidget(MergeBtn, 2, 5);

    // The last results, to go back and forth between.
    auto* recent = new QGroupBox(tr("Recent results (choose one to hear it again)"), this);
    recentModel_ = new QStandardItemModel(this);
    recentList_ = new QListView(recent);
    recentList_->setObjectName("RecentResults");
    recentList_->setModel(recentModel_);
    recentList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    recentList_->setUniformItemSizes(true);
    // Eight results in sight; the rest scroll.
    recentList_->setFixedHeight(recentList_->fontMetrics().height() * 8 + 2 * recentList_->frameWidth() + 4);
    auto* recentLayout = new QVBoxLayout(recent);
    recentLayout->addWidget(recentList_);
    connect(recentList_, &QListView::clicked, this, &TSoundDesignWin::RecallResult);
    connect(recentList_, &QListView::activated, this, &TSoundDesignWin::RecallResult);

    Status = new QLabel(this);
    Status->setObjectName("Status");
    Status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Status->setWordWrap(true);
    // The tools scroll in a small screen (or a large scale) instead of
    // making the window taller or wider than the screen.
    auto* content = new QWidget;
    auto* area = new QScrollArea(this);
    area->setObjectName("SoundDesignArea");
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(PatchTitle);
    layout->addWidget(keep);
    layout->addWidget(random);
    layout->addWidget(nudge);
    layout->addWidget(morph);
    layout->addWidget(merge);
    layout->addWidget(recent);
    layout->addWidget(Status);
    layout->addStretch(1);
    area->setWidget(content);
    resize(FitToScreen(content->sizeHint() + QSize(area->verticalScrollBar()->sizeHint().width(), 0),
                       parent ? parent->screen() : nullptr));

    connect(NewSeedBtn, &QPushButton::clicked, this, [this] { Seed->setText(NewSeed()); });
    connect(RandomiseBtn, &QPushButton::clicked, this, &TSoundDesignWin::Randomise);
    connect(TowardsBtn, &QPushButton::clicked, this, [this] { Nudge(false); });
    connect(AwayBtn, &QPushButton::clicked, this, [this] { Nudge(true); });
    connect(MorphSlider, &QSlider::sliderPressed, this, &TSoundDesignWin::MorphPressed);
    connect(MorphSlider, &QSlider::sliderReleased, this, &TSoundDesignWin::MorphReleased);
    connect(MorphSlider, &QSlider::valueChanged, this, &TSoundDesignWin::MorphMoved);
    connect(MorphTarget, &PatchPicker::Changed, this, [this] {
        // Another patch to morph towards: the slider starts from this patch again.
        morphFrom_.reset();
        const QSignalBlocker quiet(MorphSlider);
        MorphSlider->setValue(0);
    });
    connect(MergeBtn, &QPushButton::clicked, this, &TSoundDesignWin::Merge);
    connect(VariationsBtn, &QPushButton::clicked, this, &TSoundDesignWin::MakeVariations);
    connect(MorphStepsBtn, &QPushButton::clicked, this, &TSoundDesignWin::MakeMorphSteps);
    connect(learnBtn_, &QPushButton::toggled, this, [this] { ShowController(); });
    connect(forgetBtn_, &QPushButton::clicked, this, [this] {
        EndKeySteps();
        controller_.reset();
        if (settings_) settings_->remove(kControllerKey);
        ShowController();
    });
    ShowController();
    PatchChanged();
}

design::Locks TSoundDesignWin::Locks() const {
    design::Locks locks;
    for (int i = 0; i < design::kPartCount; ++i) locks.Set(static_cast<Part>(i), Lock[static_cast<std::size_t>(i)]->isChecked());
    for (int b = 0; b < kPatchBytes; ++b) locks.SetByte(b, byteLocks_.ByteSet(b));
    return locks;
}

void TSoundDesignWin::SaveLocks() {
    if (settings_) settings_->setValue(kLocksKey, QString::fromStdString(Locks().Text()));
    ShowParameterLocks();
}

// The patch's parameters, each ticked when locked on its own or by its part
// (which it can't be unlocked from here).
void TSoundDesignWin::ShowParameterLocks() {
    const PatchData* patch = editing_.EditedPatch();
    const auto lockable = patch ? design::LockableBytes(*patch, editing_.EditedSettings()) : std::vector<design::LockableByte>{};
    design::Locks parts = Locks();
    for (int b = 0; b < kPatchBytes; ++b) parts.SetByte(b, false);
    const QSignalBlocker quiet(parameterModel_);
    const bool same = lockable.size() == parametersShown_.size() &&
                      std::equal(lockable.begin(), lockable.end(), parametersShown_.begin(),
                                 [](const auto& a, const auto& b) { return a.byte == b.byte && a.name == b.name; });
    if (!same) {
        parameterModel_->clear();
        for (const auto& [byte, name] : lockable) {
            auto* item = new QStandardItem(QString::fromStdString(name));
            item->setData(byte, kByteRole);
            item->setCheckable(true);
            item->setEditable(false);
            parameterModel_->appendRow(item);
        }
        parametersShown_ = lockable;
    }
    int locked = 0;
    for (int row = 0; row < parameterModel_->rowCount(); ++row) {
        QStandardItem* item = parameterModel_->item(row);
        const int byte = item->data(kByteRole).toInt();
        const bool byPart = parts.Locked(byte);
        item->setEnabled(!byPart);
        item->setToolTip(byPart ? tr("Kept by a part's lock") : QString());
        item->setCheckState(byPart || byteLocks_.ByteSet(byte) ? Qt::Checked : Qt::Unchecked);
        if (byteLocks_.ByteSet(byte)) ++locked;
    }
    parametersBtn_->setText(locked ? tr("Single Parameters (%1 locked)...").arg(locked) : tr("Single Parameters..."));
}

void TSoundDesignWin::ParameterLockChanged(QStandardItem* item) {
    if (!item->isEnabled()) return;
    byteLocks_.SetByte(item->data(kByteRole).toInt(), item->checkState() == Qt::Checked);
    SaveLocks();
}

void TSoundDesignWin::SetProjects(const std::vector<orb8::OpenProject>& projects) {
    projects_ = projects;
    for (PatchPicker* picker : Targets) picker->SetProjects(projects);
    MorphTarget->SetProjects(projects);
    MergeSource->SetProjects(projects);
}

void TSoundDesignWin::SetLibrary(PatchSource source) {
    library_ = std::move(source);
    LibraryGuided->setVisible(library_ != nullptr);
}

void TSoundDesignWin::OfferPatch(const PatchData& patch, const QString& label) {
    const QString entry = tr("Library: %1").arg(label);
    for (PatchPicker* picker : Targets) picker->SetOutside(patch, entry);
    MorphTarget->SetOutside(patch, entry);
    MergeSource->SetOutside(patch, entry);
    ShowStatus(tr("%1 is offered in every patch list.").arg(entry));
}

void TSoundDesignWin::PatchChanged() {
    EndKeySteps();
    // Morph and Take start from another patch than the one edited: the next row.
    const orb8::ProjectSession* project = editing_.EditedProject();
    const int index = editing_.EditedIndex();
    if (project && !morphing_)
        for (PatchPicker* picker : {MorphTarget, MergeSource})
            if (picker->Chosen(project, index)) {
                const QSignalBlocker quiet(picker);
                picker->Select(project, (index + 1) % orb8::kPatchCount, false);
            }
    const QString title = QString::fromStdString(editing_.EditedPatchTitle());
    PatchTitle->setText(title.isEmpty() ? tr("No patch in the editor") : tr("Patch: %1").arg(title));
    const bool editable = editing_.EditedPatch() != nullptr;
    for (QPushButton* b : {RandomiseBtn, TowardsBtn, AwayBtn, MergeBtn, VariationsBtn, MorphStepsBtn}) b->setEnabled(editable);
    MorphSlider->setEnabled(editable);
    if (morphing_) return;  // the morph's own step
    ShowParameterLocks();
    morphFrom_.reset();
    // The patch changed elsewhere (an undo, another patch): the slider and
    // the status show where it is.
    if (MorphSlider->value() != 0) ShowStatus(tr("The patch changed; a morph starts from it again."));
    const QSignalBlocker quiet(MorphSlider);
    MorphSlider->setValue(0);
}

std::uint64_t TSoundDesignWin::SeedValue() const { return Seed->text().toULongLong(); }

void TSoundDesignWin::ShowStatus(const QString& text) { Status->setText(text); }

void TSoundDesignWin::Randomise() {
    EndKeySteps();
    if (!editing_.EditedPatch()) return;
    const design::DesignOptions options{Amount->value(), Locks(), SeedValue()};
    std::vector<PatchData> guide;
    if (Guided->isChecked())
        for (const orb8::OpenProject& p : projects_)
            if (const auto session = p.session.lock())
                guide.insert(guide.end(), session->Document().patches.begin(), session->Document().patches.end());
    if (library_ && !LibraryGuided->isHidden() && LibraryGuided->isChecked()) {
        const auto more = library_(*editing_.EditedPatch(), options.seed);
        guide.insert(guide.end(), more.begin(), more.end());
    }
    const QString text = tr("Randomise %1 %").arg(options.amount);
    QString block;
    editing_.PerformTool(text.toStdString(), [&](PatchEditor& editor) {
        const CustomSettingsBlock before = editor.Settings();
        Edit edit = design::Randomise(editor, options, guide);
        block = BlockReport(before, editor.Settings());
        return edit;
    });
    ShowStatus(tr("%1, seed %2").arg(text).arg(options.seed) + block);
    AddResult(design::Tool::Randomise, options.amount, options.seed, {});
    Seed->setText(NewSeed());  // the next press gives another patch; the seed shown above repeats this one
    PatchChanged();
}

void TSoundDesignWin::MakeVariations() {
    EndKeySteps();
    const PatchData* patch = editing_.EditedPatch();
    if (!patch) return;
    const design::DesignOptions options{Amount->value(), Locks(), SeedValue()};
    const auto made = design::Variations(*patch, editing_.EditedSettings(), options, VariationCount->value());
    emit NewBankRequested(tr("%1 variations at %2 %").arg(made.size()).arg(options.amount), made, editing_.EditedSettings());
    ShowStatus(tr("%1 variations, seeds %2 on, in a new bank").arg(made.size()).arg(options.seed));
    Seed->setText(NewSeed());
}

void TSoundDesignWin::MakeMorphSteps() {
    EndKeySteps();
    const PatchData* patch = editing_.EditedPatch();
    const auto target = MorphTarget->Chosen();
    if (!patch || !target) {
        ShowStatus(tr("Choose the patch to morph towards."));
        return;
    }
    const PatchData towards = CarriedPatch(*target, MorphTarget->ChosenSettings(), editing_.EditedSettings());
    const auto made = design::MorphSteps(*patch, towards, editing_.EditedSettings(), VariationCount->value());
    emit NewBankRequested(tr("%1 morph steps").arg(made.size()), made, editing_.EditedSettings());
    ShowStatus(tr("%1 steps towards %2, in a new bank").arg(made.size()).arg(MorphTarget->Title()));
}

void TSoundDesignWin::Nudge(bool away) {
    EndKeySteps();
    if (!editing_.EditedPatch()) return;
    std::vector<std::pair<PatchData, CustomSettingsBlock>> chosen;
    for (PatchPicker* picker : Targets)
        if (const auto patch = picker->Chosen()) chosen.emplace_back(*patch, picker->ChosenSettings());
    if (chosen.empty()) {
        ShowStatus(tr("Choose up to four patches to nudge towards or away from."));
        return;
    }
    const design::DesignOptions options{NudgeAmount->value(), Locks(), SeedValue()};
    const QString text = away ? tr("Nudge away %1 %").arg(options.amount) : tr("Nudge towards %1 %").arg(options.amount);
    QString block;
    editing_.PerformTool(text.toStdString(), [&](PatchEditor& editor) {
        // Patches of other banks, as they play in this one.
        std::vector<PatchData> targets;
        for (const auto& [patch, settings] : chosen) targets.push_back(CarriedPatch(patch, settings, editor.Settings()));
        const CustomSettingsBlock before = editor.Settings();
        Edit edit = design::Nudge(editor, targets, away, options);
        block = BlockReport(before, editor.Settings());
        return edit;
    });
    ShowStatus(text + block);
    QStringList titles;
    for (PatchPicker* picker : Targets)
        if (picker->Chosen()) titles << picker->Title();
    AddResult(away ? design::Tool::NudgeAway : design::Tool::NudgeTowards, options.amount, options.seed,
              titles.join(QStringLiteral(", ")));
    PatchChanged();
}

void TSoundDesignWin::MorphPressed() {
    EndKeySteps();
    if (!editing_.EditedPatch() || !MorphTarget->Chosen()) return;
    if (!morphFrom_) morphFrom_ = *editing_.EditedPatch();
    dragFrom_ = *editing_.EditedPatch();
    dragValue_ = MorphSlider->value();
    editing_.BeginGesture();
    dragging_ = true;
    cancelled_ = false;
    morphMoved_ = false;
}

void TSoundDesignWin::MorphMoved(int value) {
    if (cancelled_) {
        // Esc went back: the handle stays where the patch is until the button is let go.
        const QSignalBlocker quiet(MorphSlider);
        MorphSlider->setValue(dragValue_);
        return;
    }
    if (!editing_.EditedPatch()) return;
    const auto target = MorphTarget->Chosen();
    if (!target) {
        ShowStatus(tr("Choose the patch to morph towards."));
        return;
    }
    if (MorphTarget->Chosen(editing_.EditedProject(), editing_.EditedIndex())) {
        ShowStatus(tr("That is the patch in the editor itself: choose another to morph towards."));
        return;
    }
    if (!morphFrom_) morphFrom_ = *editing_.EditedPatch();
    const PatchData from = *morphFrom_;
    const design::Locks locks = Locks();
    const CustomSettingsBlock targetSettings = MorphTarget->ChosenSettings();
    morphing_ = true;
    editing_.PerformTool(tr("Morph %1 %").arg(value).toStdString(), [&](PatchEditor& editor) {
        const PatchData to = CarriedPatch(*target, targetSettings, editor.Settings());
        return design::TakeSound(editor, design::Morph(from, to, design::MorphPosition(value), editor.Settings()), locks);
    });
    morphing_ = false;
    morphMoved_ = true;
    ShowStatus(tr("Morph %1 % towards %2").arg(value).arg(MorphTarget->Title()));
}

void TSoundDesignWin::MorphReleased() {
    if (dragging_) {
        editing_.EndGesture();
        if (morphMoved_ && !cancelled_) AddResult(design::Tool::Morph, MorphSlider->value(), 0, MorphTarget->Title());
    }
    dragging_ = false;
    cancelled_ = false;
    morphMoved_ = false;
}

// Escape during a drag: the patch goes back to where the drag began, and no step is left.
void TSoundDesignWin::CancelMorph() {
    if (!dragging_) return;
    const PatchData from = dragFrom_;
    const design::Locks locks = Locks();
    morphing_ = true;
    editing_.PerformTool(tr("Morph").toStdString(), [&](PatchEditor& editor) { return design::TakeSound(editor, from, locks); });
    morphing_ = false;
    editing_.EndGesture();
    dragging_ = false;
    cancelled_ = true;  // until the button is let go
    const QSignalBlocker quiet(MorphSlider);
    MorphSlider->setValue(dragValue_);
    ShowStatus(tr("Morph cancelled."));
}

void TSoundDesignWin::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && dragging_) {
        CancelMorph();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TSoundDesignWin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MorphSlider && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape && dragging_) {
            CancelMorph();
            return true;
        }
        // Steps by key are one step of the project, as a drag is, until the
        // slider loses focus or another command runs.
        const bool step = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down ||
                          key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End;
        if (step && !dragging_ && !keySteps_ && editing_.EditedPatch()) {
            keySteps_ = true;
            morphMoved_ = false;
            editing_.BeginGesture();
        }
    }
    if (watched == MorphSlider && event->type() == QEvent::FocusOut) EndKeySteps();
    return QWidget::eventFilter(watched, event);
}

void TSoundDesignWin::EndKeySteps() {
    if (!keySteps_ || morphing_) return;
    keySteps_ = false;
    editing_.EndGesture();
    if (morphMoved_) AddResult(design::Tool::Morph, MorphSlider->value(), 0, MorphTarget->Title());
    morphMoved_ = false;
}

void TSoundDesignWin::hideEvent(QHideEvent* event) {
    EndKeySteps();  // a pedal's moves end with the window
    if (learnBtn_->isChecked()) learnBtn_->setChecked(false);
    QWidget::hideEvent(event);
}

void TSoundDesignWin::ControllerMessage(std::uint32_t message) {
    const auto move = design::ControllerMoveOf(message);
    if (!move || !isVisible()) return;
    if (learnBtn_->isChecked()) {
        controller_ = move->controller;
        if (settings_) settings_->setValue(kControllerKey, QString::fromStdString(design::ControllerText(*controller_)));
        learnBtn_->setChecked(false);  // shows it
        return;
    }
    if (!controller_ || move->controller != *controller_ || dragging_ || !MorphSlider->isEnabled()) return;
    const int percent = design::MorphPercentOf(move->value);
    if (percent == MorphSlider->value()) return;
    // The moves of a pedal are one step of the project, as key steps are.
    if (!keySteps_) {
        keySteps_ = true;
        morphMoved_ = false;
        editing_.BeginGesture();
    }
    MorphSlider->setValue(percent);
}

void TSoundDesignWin::ShowController() {
    if (learnBtn_->isChecked())
        controllerLabel_->setText(tr("Move the pedal or controller that should drive the morph..."));
    else if (controller_)
        controllerLabel_->setText(tr("Pedal: controller %1 on channel %2 moves the morph")
                                      .arg(controller_->number)
                                      .arg(controller_->channel + 1));
    else
        controllerLabel_->setText(tr("No pedal moves the morph."));
    forgetBtn_->setEnabled(controller_.has_value() && !learnBtn_->isChecked());
}

void TSoundDesignWin::AddResult(design::Tool tool, int amount, std::uint64_t seed, const QString& other) {
    const PatchData* patch = editing_.EditedPatch();
    if (!patch) return;
    recent_.Add({tool, amount, seed, other.toStdString(), *patch, editing_.EditedSettings()});
    ShowResults();
}

void TSoundDesignWin::ShowResults() {
    recentModel_->clear();
    for (const design::Result& result : recent_.Items()) {
        auto* item = new QStandardItem(ResultText(result));
        item->setEditable(false);
        recentModel_->appendRow(item);
    }
}

// A listed result back in the editor: one step, heard at once on line.
void TSoundDesignWin::RecallResult(const QModelIndex& index) {
    EndKeySteps();
    if (!editing_.EditedPatch() || !index.isValid() || index.row() >= static_cast<int>(recent_.Items().size())) return;
    const design::Result result = recent_.Items()[static_cast<std::size_t>(index.row())];
    const QString text = ResultText(result);
    const design::Locks locks = Locks();
    editing_.PerformTool(tr("Back to %1").arg(text).toStdString(), [&](PatchEditor& editor) { return design::Recall(editor, result, locks); });
    PatchChanged();
    ShowStatus(tr("Back to %1").arg(text));
}

void TSoundDesignWin::Merge() {
    EndKeySteps();
    if (!editing_.EditedPatch()) return;
    const auto source = MergeSource->Chosen();
    std::vector<Part> parts;
    for (std::size_t i = 0; i < kMergeParts.size(); ++i)
        if (MergePart[i]->isChecked()) parts.push_back(kMergeParts[i]);
    if (!source || parts.empty()) {
        ShowStatus(tr("Choose a patch and the modules to take from it."));
        return;
    }
    if (MergeSource->Chosen(editing_.EditedProject(), editing_.EditedIndex())) {
        ShowStatus(tr("That is the patch in the editor itself: choose another to take modules from."));
        return;
    }
    const design::Locks locks = Locks();
    const QString text = tr("Take modules from %1").arg(MergeSource->Title());
    const CustomSettingsBlock sourceSettings = MergeSource->ChosenSettings();
    QString block;
    editing_.PerformTool(text.toStdString(), [&](PatchEditor& editor) {
        const CustomSettingsBlock before = editor.Settings();
        Edit edit = design::Merge(editor, CarriedPatch(*source, sourceSettings, editor.Settings()), parts, locks);
        block = BlockReport(before, editor.Settings());
        return edit;
    });
    ShowStatus(text + block);
    AddResult(design::Tool::Take, 0, 0, MergeSource->Title());
    PatchChanged();
}
