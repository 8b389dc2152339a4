// The MIDI monitor's rows: every message in and out as it was recorded, with
// its time since the monitor began, its direction, the port, the name the
// protocol gives it and its bytes.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <chrono>
#include <vector>

#include "midi/traffic.h"

class TrafficModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Time, Direction, Port, Name, Bytes, ColumnCount };
    enum Role { KindRole = Qt::UserRole + 1 };  // "sysex" or "channel"
    // Rows beyond this many: the oldest go.
    static constexpr int kMaxRows = 100000;

    explicit TrafficModel(QObject* parent = nullptr);

    void SetPorts(const QString& out, const QString& in);
    void Append(std::vector<orb8::TrafficEntry> entries);
    void Clear();
    const orb8::TrafficEntry& EntryAt(int row) const { return entries_[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<orb8::TrafficEntry> entries_;
    std::chrono::steady_clock::time_point origin_ = std::chrono::steady_clock::now();
    QString out_, in_;
};
