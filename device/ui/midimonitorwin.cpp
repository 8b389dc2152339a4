#include "device/ui/midimonitorwin.h"

#include <QComboBox>
#include <QSaveFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "device/ui/trafficmodel.h"
#include "device/ui/midi.h"
#include "workspace/ui/userdialogs.h"

namespace {
constexpr int kPollMs = 100;  // how often the rows follow what was recorded
}  // namespace

TMidiMonitorWin::TMidiMonitorWin(TMidi& midi, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), midi_(midi), dialogs_(dialogs) {
    setObjectName("MidiMonitorWin");
    setWindowTitle(tr("MIDI Monitor"));
    model_ = new TrafficModel(this);
    shown_ = new QSortFilterProxyModel(this);
    shown_->setSourceModel(model_);
    shown_->setFilterRole(TrafficModel::KindRole);
    table_ = new QTableView(this);
    table_->setObjectName("Traffic");
    table_->setModel(shown_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(false);
    // Widths for what the columns hold (sizing to the contents of many rows is slow).
    const QFontMetrics metrics = table_->fontMetrics();
    const int pad = 3 * metrics.averageCharWidth();
    table_->setColumnWidth(TrafficModel::Time, metrics.horizontalAdvance(QStringLiteral("00000.000")) + pad);
    table_->setColumnWidth(TrafficModel::Direction, metrics.horizontalAdvance(tr("Out")) + 2 * pad);
    table_->setColumnWidth(TrafficModel::Port, metrics.horizontalAdvance(QStringLiteral("ORB-8 Simulator")) + pad);
    table_->setColumnWidth(TrafficModel::Name, metrics.horizontalAdvance(QStringLiteral("CustomSettingsRequest")) + pad);
    kind_ = new QComboBox(this);
    kind_->setObjectName("TrafficKind");
    kind_->addItem(tr("All messages"), QString());
    kind_->addItem(tr("SysEx only"), QStringLiteral("sysex"));
    kind_->addItem(tr("Channel messages only"), QStringLiteral("channel"));
    pause_ = new QPushButton(tr("Pause"), this);
    pause_->setObjectName("PauseBtn");
    pause_->setCheckable(true);
    clear_ = new QPushButton(tr("Clear"), this);
    clear_->setObjectName("ClearBtn");
    save_ = new QPushButton(tr("Save as SysEx..."), this);
    save_->setObjectName("SaveSyxBtn");
    save_->setToolTip(tr("The SysEx messages shown, in order, as a .syx file"));
    count_ = new QLabel(this);
    count_->setObjectName("TrafficCount");
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(tr("Show:"), this));
    bar->addWidget(kind_);
    bar->addWidget(pause_);
    bar->addWidget(clear_);
    bar->addStretch(1);
    bar->addWidget(count_);
    bar->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(table_, 1);
    resize(760, 420);

    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, &TMidiMonitorWin::TakeRecorded);
    connect(kind_, &QComboBox::currentIndexChanged, this, [this] {
        shown_->setFilterFixedString(kind_->currentData().toString());
        ShowCount();
    });
    // Paused, nothing is recorded.
    connect(pause_, &QPushButton::toggled, this, [this](bool paused) {
        TakeRecorded();
        midi_.Traffic().SetEnabled(!paused && isVisible());
        ShowCount();
    });
    connect(clear_, &QPushButton::clicked, this, [this] {
        midi_.Traffic().Take();
        model_->Clear();
        ShowCount();
    });
    connect(save_, &QPushButton::clicked, this, &TMidiMonitorWin::Save);
    ShowCount();
}

TMidiMonitorWin::~TMidiMonitorWin() { midi_.Traffic().SetEnabled(false); }

void TMidiMonitorWin::showEvent(QShowEvent* event) {
    model_->SetPorts(midi_.MidiOutName, midi_.MidiInName);
    midi_.Traffic().SetEnabled(!pause_->isChecked());
    poll_->start();
    QWidget::showEvent(event);
}

// Closed, it costs nothing: nothing is recorded.
void TMidiMonitorWin::hideEvent(QHideEvent* event) {
    midi_.Traffic().SetEnabled(false);
    poll_->stop();
    TakeRecorded();
    QWidget::hideEvent(event);
}

void TMidiMonitorWin::TakeRecorded() {
    auto taken = midi_.Traffic().Take();
    if (taken.empty()) return;
    // The newest stay in sight unless the user has scrolled up.
    QScrollBar* bar = table_->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    model_->Append(std::move(taken));
    if (atEnd) table_->scrollToBottom();
    ShowCount();
}

void TMidiMonitorWin::ShowCount() {
    const QString count = tr("%1 of %2 messages shown").arg(shown_->rowCount()).arg(model_->rowCount());
    count_->setText(pause_->isChecked() ? tr("%1 (paused)").arg(count) : count);
}

void TMidiMonitorWin::Save() {
    TakeRecorded();
    QByteArray bytes;
    int messages = 0;
    for (int row = 0; row < shown_->rowCount(); ++row) {
        const auto& e = model_->EntryAt(shown_->mapToSource(shown_->index(row, 0)).row());
        if (e.bytes.empty() || e.bytes[0] != 0xF0) continue;
        bytes.append(reinterpret_cast<const char*>(e.bytes.data()), static_cast<qsizetype>(e.bytes.size()));
        ++messages;
    }
    if (messages == 0) {
        dialogs_.Inform(this, tr("MIDI Monitor"), tr("No SysEx message is shown: there is nothing to save."));
        return;
    }
    QString name = dialogs_.SaveFileName(this, tr("SysEx files (*.syx)"), QStringLiteral("monitor.syx"));
    if (name.isEmpty()) return;
    if (!name.endsWith(QStringLiteral(".syx"), Qt::CaseInsensitive)) name += QStringLiteral(".syx");
    // A file that exists is replaced only once the new one is whole.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        dialogs_.ShowError(this, tr("MIDI Monitor"), tr("%1 can't be written: %2").arg(name, file.errorString()));
        return;
    }
    count_->setText(tr("%1 SysEx messages saved in %2").arg(messages).arg(name));
}
