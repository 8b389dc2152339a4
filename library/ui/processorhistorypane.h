// The library window's Processor History: the banks the program received
// from each processor (or sent to it whole), newest first, each opened as a
// bank or compared with the current bank, and what one slot of the processor
// held in each of them.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "library/processorhistory.h"
#include "patch/projectdocument.h"

class QComboBox;
class QLabel;
class QListView;
class QPushButton;
class QStandardItemModel;

class ProcessorHistoryPane : public QWidget {
    Q_OBJECT

public:
    explicit ProcessorHistoryPane(QWidget* parent);

    // The history's folder (empty: none is kept); reads it.
    void SetFolder(const QString& folder);
    // The bank a snapshot is compared with: the active one, if any.
    using BankSource = std::function<std::optional<orb8::ProjectDocument>()>;
    void SetCurrentBank(BankSource source) { currentBank_ = std::move(source); }
    // Reads the folder again (a snapshot was kept).
    void Refresh();

signals:
    // Open the bank at `path` at patch `slot`.
    void OpenRequested(const QByteArray& path, int slot);

private:
    void ShowSlotHistory();
    void CompareWithCurrent();
    void OpenChosen();
    std::optional<orb8::library::Snapshot> Chosen() const;

    std::optional<orb8::library::ProcessorHistory> history_;
    std::vector<orb8::library::Snapshot> shown_;  // newest first, as listed
    BankSource currentBank_;
    QListView *snapshots_, *slotHistory_;
    QStandardItemModel *snapshotModel_, *slotModel_;
    QComboBox* slot_;
    QPushButton *openBtn_, *compareBtn_;
    QLabel* report_;
};
