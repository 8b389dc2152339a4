#include "sounddesign/ui/patchpicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>

#include "editors/projectsession.h"
#include "workspace/documentrules.h"

using namespace orb8;

namespace {
constexpr int kPickerCharacters = 24;  // of a bank's caption shown in the list box
}  // namespace

PatchPicker::PatchPicker(bool optional, QWidget* parent) : QWidget(parent), optional_(optional) {
    Project = new QComboBox(this);
    Project->setObjectName("Project");
    Patch = new QComboBox(this);
    Patch->setObjectName("Patch");
    Stored = new QCheckBox(tr("as saved"), this);
    Stored->setObjectName("Stored");
    Stored->setToolTip(tr("The patch as last loaded, saved or received"));
    // A long bank path is cut in the box (whole in its tooltip): the window does not grow with it.
    Project->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Project->setMinimumContentsLength(kPickerCharacters);
    Patch->setMinimumContentsLength(14);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Project, 1);
    layout->addWidget(Patch, 1);
    layout->addWidget(Stored);
    connect(Project, &QComboBox::currentIndexChanged, this, [this] {
        FillPatches();
        emit Changed();
    });
    connect(Patch, &QComboBox::currentIndexChanged, this, &PatchPicker::Changed);
    connect(Stored, &QCheckBox::toggled, this, &PatchPicker::Changed);
    SetProjects({});
}

namespace {
QVariant Key(const ProjectSession* project) { return QVariant::fromValue(quintptr{ProjectKey(project)}); }
}  // namespace

void PatchPicker::SetProjects(const std::vector<OpenProject>& projects) {
    const auto keep = ProjectOf();
    const int keepRow = Patch->currentIndex();
    projects_ = projects;
    const QSignalBlocker quiet(Project);
    Project->clear();
    if (optional_) Project->addItem(tr("(none)"));
    for (const OpenProject& p : projects_)
        if (const auto session = p.session.lock()) {
            const QString caption = QString::fromStdString(p.caption);
            Project->addItem(caption, Key(session.get()));
            Project->setItemData(Project->count() - 1, caption, Qt::ToolTipRole);
        }
    if (outside_) {
        Project->addItem(outsideLabel_, QStringLiteral("outside"));
        Project->setItemData(Project->count() - 1, outsideLabel_, Qt::ToolTipRole);
    }
    const int at = keep ? Project->findData(Key(keep.get())) : -1;
    Project->setCurrentIndex(at >= 0 ? at : 0);
    FillPatches();
    if (at >= 0 && keepRow >= 0) Patch->setCurrentIndex(keepRow);
}

void PatchPicker::Select(const ProjectSession* project, int index, bool stored) {
    const int at = Project->findData(Key(project));
    if (at < 0) return;
    Project->setCurrentIndex(at);
    Patch->setCurrentIndex(index);
    Stored->setChecked(stored);
}

void PatchPicker::SetOutside(const PatchData& patch, const QString& label, const CustomSettingsBlock& settings) {
    const bool wasChosen = OutsideChosen();
    outside_ = patch;
    outsideSettings_ = settings;
    outsideLabel_ = label;
    SetProjects(std::vector<OpenProject>(projects_));
    if (wasChosen) Project->setCurrentIndex(Project->count() - 1);
    emit Changed();
}

bool PatchPicker::OutsideChosen() const { return Project->currentData().typeId() == QMetaType::QString; }

std::shared_ptr<const ProjectSession> PatchPicker::ProjectOf() const {
    const QVariant chosen = Project->currentData();
    return chosen.typeId() == QMetaType::ULongLong ? ProjectOfKey(projects_, chosen.value<quintptr>()) : nullptr;
}

void PatchPicker::FillPatches() {
    const int keep = Patch->currentIndex();
    const QSignalBlocker quiet(Patch);
    Patch->clear();
    const auto project = ProjectOf();
    Patch->setEnabled(project != nullptr);
    Stored->setEnabled(project != nullptr);
    if (!project) return;
    for (int i = 0; i < kPatchCount; ++i)
        Patch->addItem(QString::fromStdString(PatchLabel(i) + " " + DecodeName(project->Document().patches[static_cast<std::size_t>(i)])));
    Patch->setCurrentIndex(std::max(keep, 0));
}

std::optional<PatchData> PatchPicker::Chosen() const {
    if (OutsideChosen()) return outside_;
    const auto project = ProjectOf();
    const int index = Patch->currentIndex();
    if (!project || index < 0 || index >= kPatchCount) return std::nullopt;
    return Stored->isChecked() ? project->Stored(index) : project->Document().patches[static_cast<std::size_t>(index)];
}

CustomSettingsBlock PatchPicker::ChosenSettings() const {
    if (OutsideChosen()) return outsideSettings_;
    const auto project = ProjectOf();
    if (!project) return DefaultCustomSettings();
    return Stored->isChecked() ? project->StoredSettings() : project->Settings();
}

bool PatchPicker::Chosen(const ProjectSession* project, int index) const {
    return project && !OutsideChosen() && ProjectOf().get() == project && Patch->currentIndex() == index && !Stored->isChecked();
}

QString PatchPicker::Title() const {
    if (OutsideChosen()) return outsideLabel_;
    const auto project = ProjectOf();
    if (!project || Patch->currentIndex() < 0) return {};
    return QStringLiteral("%1 (%2)").arg(Patch->currentText().trimmed(), QString::fromStdString(DocumentCaption(*project)));
}
