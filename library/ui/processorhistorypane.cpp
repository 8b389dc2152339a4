#include "library/ui/processorhistorypane.h"

#include <algorithm>

#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "patch/differences.h"

using namespace orb8;
using library::Snapshot;
using library::SnapshotKind;

namespace {

QString When(std::int64_t time) {
    return QDateTime::fromSecsSinceEpoch(time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// "ORB-8-ch01-v1.0.0.0" as "ORB-8 on channel 1, version 1.0.0.0".
QString ProcessorText(const std::string& name) {
    static const QRegularExpression pattern(QStringLiteral("^ORB-8-ch0?(\\d+)-v([\\d.]+)$"));
    const QString text = QString::fromStdString(name);
    const QRegularExpressionMatch m = pattern.match(text);
    return m.hasMatch() ? ProcessorHistoryPane::tr("ORB-8 on channel %1, version %2").arg(m.captured(1), m.captured(2)) : text;
}

QString Describe(const Snapshot& s) {
    const int whole = s.customDists ? kFilterCount + kSetCount : kPatchCount;
    const QString what = s.customDists ? (s.Partial() ? ProcessorHistoryPane::tr("custom distortions, %1 of %2 received (partial)")
                                                            .arg(s.received)
                                                            .arg(whole)
                                                      : ProcessorHistoryPane::tr("custom distortions received"))
                         : s.kind == SnapshotKind::Sent ? ProcessorHistoryPane::tr("sent whole")
                         : s.Partial() ? ProcessorHistoryPane::tr("received %1 of %2 (partial)").arg(s.received).arg(whole)
                                       : ProcessorHistoryPane::tr("received");
    return ProcessorHistoryPane::tr("%1   %2   %3").arg(When(s.time), ProcessorText(s.processor), what);
}

QListView* List(QStandardItemModel* model, const char* name, QWidget* parent) {
    auto* view = new QListView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setUniformItemSizes(true);
    return view;
}

}  // namespace

ProcessorHistoryPane::ProcessorHistoryPane(QWidget* parent) : QWidget(parent) {
    setObjectName("ProcessorHistory");
    snapshotModel_ = new QStandardItemModel(this);
    slotModel_ = new QStandardItemModel(this);
    snapshots_ = List(snapshotModel_, "Snapshots", this);
    slotHistory_ = List(slotModel_, "SlotHistory", this);
    slot_ = new QComboBox(this);
    slot_->setObjectName("HistorySlot");
    for (int i = 0; i < kPatchCount; ++i) slot_->addItem(QString::fromStdString(PatchLabel(i)));
    openBtn_ = new QPushButton(tr("Open as Bank"), this);
    openBtn_->setObjectName("OpenSnapshotBtn");
    compareBtn_ = new QPushButton(tr("Compare with Current Bank"), this);
    compareBtn_->setObjectName("CompareSnapshotBtn");
    report_ = new QLabel(this);
    report_->setObjectName("SnapshotReport");
    report_->setWordWrap(true);
    report_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(tr("What the processor held, as received or sent:"), this));
    left->addWidget(snapshots_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(openBtn_);
    buttons->addWidget(compareBtn_);
    buttons->addStretch(1);
    left->addLayout(buttons);
    left->addWidget(report_);
    auto* right = new QVBoxLayout;
    auto* slotRow = new QHBoxLayout;
    slotRow->addWidget(new QLabel(tr("What this processor's slot held:"), this));
    slotRow->addWidget(slot_);
    slotRow->addStretch(1);
    right->addLayout(slotRow);
    right->addWidget(slotHistory_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);

    connect(snapshots_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { ShowSlotHistory(); });
    connect(slot_, &QComboBox::currentIndexChanged, this, [this] { ShowSlotHistory(); });
    connect(snapshots_, &QListView::activated, this, [this] { OpenChosen(); });
    connect(openBtn_, &QPushButton::clicked, this, &ProcessorHistoryPane::OpenChosen);
    connect(compareBtn_, &QPushButton::clicked, this, &ProcessorHistoryPane::CompareWithCurrent);
    Refresh();
}

void ProcessorHistoryPane::SetFolder(const QString& folder) {
    if (folder.isEmpty()) history_.reset();
    else history_.emplace(QFile::encodeName(folder).toStdString());
    Refresh();
}

void ProcessorHistoryPane::Refresh() {
    const int row = snapshots_->currentIndex().row();
    const std::string chosen = row >= 0 && row < static_cast<int>(shown_.size()) ? shown_[static_cast<std::size_t>(row)].path : "";
    shown_ = history_ ? history_->List() : std::vector<Snapshot>{};
    std::reverse(shown_.begin(), shown_.end());
    snapshotModel_->clear();
    int again = shown_.empty() ? -1 : 0;
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        snapshotModel_->appendRow(new QStandardItem(Describe(shown_[i])));
        if (shown_[i].path == chosen) again = static_cast<int>(i);
    }
    if (again >= 0) snapshots_->setCurrentIndex(snapshotModel_->index(again, 0));
    const bool any = !shown_.empty();
    openBtn_->setEnabled(any);
    compareBtn_->setEnabled(any);
    report_->setText(any ? QString()
                         : history_ ? tr("Nothing received from a processor yet: each Receive All is kept here.")
                                    : tr("No history is kept without a library."));
    ShowSlotHistory();
}

std::optional<Snapshot> ProcessorHistoryPane::Chosen() const {
    const int row = snapshots_->currentIndex().row();
    if (row < 0 || row >= static_cast<int>(shown_.size())) return std::nullopt;
    return shown_[static_cast<std::size_t>(row)];
}

void ProcessorHistoryPane::ShowSlotHistory() {
    slotModel_->clear();
    const auto chosen = Chosen();
    if (!chosen || !history_) return;
    const int slot = slot_->currentIndex();
    const auto entries = history_->SlotHistory(chosen->processor, slot);
    // Newest first, as the snapshots.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        QString text = tr("%1   %2").arg(When(it->snapshot.time), QString::fromStdString(DecodeName(it->patch)));
        if (!it->known) text += tr("   (not received)");
        else if (it->changed) text += tr("   (changed)");
        slotModel_->appendRow(new QStandardItem(text));
    }
}

void ProcessorHistoryPane::OpenChosen() {
    if (const auto chosen = Chosen()) emit OpenRequested(QByteArray::fromStdString(chosen->path), slot_->currentIndex());
}

// The differ where the snapshot and the active bank differ.
void ProcessorHistoryPane::CompareWithCurrent() {
    const auto chosen = Chosen();
    const auto bank = currentBank_ ? currentBank_() : std::nullopt;
    if (!chosen) return;
    if (chosen->customDists) {
        report_->setText(tr("These are custom distortions, not a bank: open them to see them."));
        return;
    }
    if (!bank) {
        report_->setText(tr("Open a bank first: the snapshot is compared with the active bank."));
        return;
    }
    ProjectDocument snapshot;
    snapshot.fileName = chosen->path;
    if (!snapshot.Load().ok()) {
        report_->setText(tr("The snapshot can't be read any more."));
        return;
    }
    const auto differing = BankDifferences(snapshot, snapshot.customSettings, *bank, bank->customSettings);
    QStringList differ;
    for (const PatchDifference& d : differing)
        if (!d.parameters.empty()) differ << QString::fromStdString(PatchLabel(d.index));
    const bool settings = snapshot.customSettings != bank->customSettings;
    if (differ.isEmpty() && !settings) {
        report_->setText(tr("The active bank holds the same patches as this snapshot."));
        return;
    }
    QString text = differ.isEmpty() ? tr("The patches are the same.")
                     : differ.size() == 1 ? tr("1 patch differs: %1.").arg(differ.join(", "))
                                          : tr("%1 patches differ: %2.").arg(differ.size()).arg(differ.join(", "));
    if (settings) text += ' ' + tr("The custom settings differ: %1.")
                                    .arg(QString::fromStdString(DifferingSlotsText(snapshot.customSettings, bank->customSettings)));
    report_->setText(text);
}
