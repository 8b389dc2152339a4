#include "device/ui/trafficmodel.h"

#include "device/messages.h"

TrafficModel::TrafficModel(QObject* parent) : QAbstractTableModel(parent) {}

void TrafficModel::SetPorts(const QString& out, const QString& in) {
    out_ = out;
    in_ = in;
}

void TrafficModel::Append(std::vector<orb8::TrafficEntry> entries) {
    if (entries.empty()) return;
    const int over = static_cast<int>(entries_.size() + entries.size()) - kMaxRows;
    if (over > 0) {
        const int drop = std::min(over, static_cast<int>(entries_.size()));
        if (drop > 0) {
            beginRemoveRows({}, 0, drop - 1);
            entries_.erase(entries_.begin(), entries_.begin() + drop);
            endRemoveRows();
        }
        if (static_cast<int>(entries.size()) > kMaxRows)
            entries.erase(entries.begin(), entries.end() - kMaxRows);
    }
    const int first = static_cast<int>(entries_.size());
    beginInsertRows({}, first, first + static_cast<int>(entries.size()) - 1);
    for (auto& e : entries) entries_.push_back(std::move(e));
    endInsertRows();
}

void TrafficModel::Clear() {
    beginResetModel();
    entries_.clear();
    origin_ = std::chrono::steady_clock::now();
    endResetModel();
}

int TrafficModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int TrafficModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TrafficModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(entries_.size())) return {};
    const orb8::TrafficEntry& e = entries_[static_cast<std::size_t>(index.row())];
    const bool sysex = !e.bytes.empty() && e.bytes[0] == 0xF0;
    if (role == KindRole) return sysex ? QStringLiteral("sysex") : QStringLiteral("channel");
    if (role == Qt::TextAlignmentRole && index.column() == Time) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
        case Time: {
            const double seconds = std::chrono::duration<double>(e.at - origin_).count();
            return QString::number(std::max(seconds, 0.0), 'f', 3);
        }
        case Direction: return e.out ? tr("Out") : tr("In");
        case Port: return e.out ? out_ : in_;
        case Name: {
            const std::string_view name = orb8::MessageName(e.bytes);
            return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        }
        case Bytes: {
            const QByteArray bytes(reinterpret_cast<const char*>(e.bytes.data()), static_cast<qsizetype>(e.bytes.size()));
            return QString::fromLatin1(bytes.toHex(' ').toUpper());
        }
        default: return {};
    }
}

QVariant TrafficModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case Time: return tr("Time (s)");
        case Direction: return tr("Way");
        case Port: return tr("Port");
        case Name: return tr("Message");
        case Bytes: return tr("Bytes");
        default: return {};
    }
}
