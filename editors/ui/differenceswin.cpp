#include "editors/ui/differenceswin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editors/ui/commenttext.h"
#include "editors/projectsession.h"
#include "patch/differences.h"
#include "workspace/ui/windowcontext.h"

using namespace orb8;

namespace {
constexpr int kPickerCharacters = 24;  // a bank list shows this much of a path; the rest in its tooltip
}  // namespace

TDifferencesWin::TDifferencesWin(WindowContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setObjectName("DifferencesWin");
    setWindowTitle(tr("Differences"));
    auto* grid = new QGridLayout;
    auto side = [&](Side& s, int row, const QString& label) {
        grid->addWidget(new QLabel(label, this), row, 0);
        s.project = new QComboBox(this);
        // A long bank path is cut in the box (whole in its tooltip), so the window does not grow with it.
        s.project->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        s.project->setMinimumContentsLength(kPickerCharacters);
        s.patch = new QComboBox(this);
        for (int i = 0; i < kPatchCount; ++i) s.patch->addItem(QString::fromStdString(PatchLabel(i)));
        s.stored = new QCheckBox(tr("as last loaded, saved or received"), this);
        grid->addWidget(s.project, row, 1);
        grid->addWidget(s.patch, row, 2);
        grid->addWidget(s.stored, row, 3);
        for (QComboBox* c : {s.project, s.patch}) connect(c, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
        connect(s.stored, &QCheckBox::toggled, this, [this] { Refresh(); });
    };
    side(A, 0, tr("A:"));
    side(B, 1, tr("B:"));
    grid->setColumnStretch(1, 1);
    List = new QTreeWidget(this);
    List->setObjectName("DifferencesList");
    List->setColumnCount(3);
    List->setHeaderLabels({tr("Parameter"), tr("A"), tr("B")});
    List->header()->setSectionResizeMode(QHeaderView::Stretch);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(List, 1);
    resize(560, 480);
}

void TDifferencesWin::FillProjects() {
    filling_ = true;
    for (QComboBox* c : {A.project, B.project}) {
        const int keep = c->currentIndex();
        c->clear();
        for (const OpenProject& p : projects_) {
            const auto session = p.session.lock();
            if (!session) continue;
            const QString caption = QString::fromStdString(p.caption);
            c->addItem(caption, QVariant::fromValue(quintptr{ProjectKey(session.get())}));
            c->setItemData(c->count() - 1, caption, Qt::ToolTipRole);
        }
        if (outside_) {
            c->addItem(outsideLabel_, QStringLiteral("outside"));
            c->setItemData(c->count() - 1, outsideLabel_, Qt::ToolTipRole);
        }
        c->setCurrentIndex(std::min(keep, c->count() - 1));
    }
    filling_ = false;
}

void TDifferencesWin::SetProjects(const std::vector<OpenProject>& projects) {
    projects_ = projects;
    FillProjects();
    Refresh();
}

std::shared_ptr<const ProjectSession> TDifferencesWin::ProjectOf(const Side& side) const {
    const QVariant chosen = side.project->currentData();
    return chosen.typeId() == QMetaType::ULongLong ? ProjectOfKey(projects_, chosen.value<quintptr>()) : nullptr;
}

bool TDifferencesWin::IsOutside(const Side& side) { return side.project->currentData().typeId() == QMetaType::QString; }

void TDifferencesWin::SelectProject(Side& side, const ProjectSession* project, int index) {
    const int at = side.project->findData(QVariant::fromValue(quintptr{ProjectKey(project)}));
    if (at >= 0) side.project->setCurrentIndex(at);
    side.patch->setCurrentIndex(index);
}

void TDifferencesWin::ShowFor(const ProjectSession* project, int index) {
    FillProjects();
    filling_ = true;
    for (Side* s : {&A, &B}) SelectProject(*s, project, index);
    A.stored->setChecked(false);
    B.stored->setChecked(true);
    filling_ = false;
    Refresh();
    show();
    raise();
}

void TDifferencesWin::ShowAgainst(const ProjectSession* project, int index, const PatchClip& other, const QString& label) {
    outside_ = other;
    outsideLabel_ = label;
    FillProjects();
    filling_ = true;
    SelectProject(A, project, index);
    A.stored->setChecked(false);
    B.project->setCurrentIndex(B.project->count() - 1);
    filling_ = false;
    Refresh();
    show();
    raise();
}

void TDifferencesWin::Refresh() {
    if (filling_) return;
    List->clear();
    struct Shown {
        const PatchData* patch = nullptr;
        const std::string* comment = nullptr;
        const CustomSettingsBlock* settings = &DefaultCustomSettings();
    };
    auto shown = [this](Side& side) {
        const bool outside = IsOutside(side);
        side.patch->setEnabled(!outside);
        side.stored->setEnabled(!outside);
        if (outside) return Shown{&outside_->patch, &outside_->comment};
        const auto project = ProjectOf(side);
        if (!project) return Shown{};
        const int i = side.patch->currentIndex();
        const auto at = static_cast<std::size_t>(i);
        // Each bank's CUSTOM patches as its own block plays them.
        const bool stored = side.stored->isChecked();
        return Shown{stored ? &project->Stored(i) : &project->Document().patches[at], &project->Document().comments[at],
                     stored ? &project->StoredSettings() : &project->Settings()};
    };
    const Shown sa = shown(A), sb = shown(B);
    if (!sa.patch || !sb.patch) return;
    const PatchData& a = *sa.patch;
    const PatchData& b = *sb.patch;
    QTreeWidgetItem* group = nullptr;
    Module current = Module::Patch;
    for (const ParameterDifference& d : PatchDifferences(a, *sa.settings, b, *sb.settings)) {
        if (!group || d.module != current) {
            group = new QTreeWidgetItem(List, {QString::fromUtf8(ModuleName(d.module).data())});
            group->setExpanded(true);
            current = d.module;
        }
        new QTreeWidgetItem(group, {QString::fromStdString(d.name), QString::fromStdString(d.textA), QString::fromStdString(d.textB)});
    }
    const std::string& ca = *sa.comment;
    const std::string& cb = *sb.comment;
    if (ca != cb) new QTreeWidgetItem(List, {tr("COMMENT"), CommentText(ca, context_.JapaneseUi()), CommentText(cb, context_.JapaneseUi())});
    if (List->topLevelItemCount() == 0) {
        // The sentence across the columns, not cut to the first one's width.
        auto* same = new QTreeWidgetItem(List, {tr("The two patches are the same.")});
        same->setFirstColumnSpanned(true);
    }
}
