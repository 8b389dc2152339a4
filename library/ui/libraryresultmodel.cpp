#include "library/ui/libraryresultmodel.h"

#include <algorithm>

#include <QFileInfo>

#include "library/ui/libraryservice.h"
#include "library/ui/patchitemmodel.h"
#include "patch/projectdocument.h"

using orb8::library::Place;

LibraryResultModel::LibraryResultModel(LibraryService& service, QObject* parent)
    : QAbstractTableModel(parent), service_(service) {
    connect(&service_, &LibraryService::PageRead, this, &LibraryResultModel::PageRead);
}

void LibraryResultModel::SetQuery(const QString& query) {
    query_ = query;
    Request(Ask::Start);
}

void LibraryResultModel::Refresh() { Request(Ask::Refresh); }

// The rows shown stay until the answer replaces them: no empty flash.
void LibraryResultModel::Request(Ask ask) {
    using orb8::library::PageRequest;
    PageRequest request{query_.toStdString(), order_, descending_, kPage, std::nullopt};
    if (ask == Ask::More) request.after = next_;
    if (ask == Ask::Refresh) request.limit = std::max<int>(kPage, static_cast<int>(rows_.size()));
    asked_ = ask;
    request_ = service_.ReadPage(request);
}

void LibraryResultModel::PageRead(int request, const orb8::library::ResultPage& page, const QString& error) {
    if (request != request_) return;  // a page of an older query or order
    request_ = 0;
    if (!error.isEmpty()) {
        if (asked_ != Ask::More) {
            beginResetModel();
            rows_.clear();
            next_.reset();
            endResetModel();
            emit Answered(error);
        }
        next_.reset();
        return;
    }
    next_ = page.next;
    if (asked_ == Ask::More) {
        if (page.rows.empty()) return;
        const int first = static_cast<int>(rows_.size());
        beginInsertRows({}, first, first + static_cast<int>(page.rows.size()) - 1);
        for (const auto& result : page.rows) rows_.push_back(RowOf(result));
        endInsertRows();
        return;
    }
    noSources_ = page.noSources;
    beginResetModel();
    rows_.clear();
    rows_.reserve(page.rows.size());
    for (const auto& result : page.rows) rows_.push_back(RowOf(result));
    endResetModel();
    emit Answered({});
}

LibraryResultModel::Row LibraryResultModel::RowOf(orb8::library::ResultRow result) {
    Row row{std::move(result.place), result.patch, {}};
    const auto texts = orb8::ProjectRowTextsOf(row.patch, 1, row.place.comment);  // the row only labels
    row.texts[PatchColumn] = QString::fromStdString(orb8::library::SlotLabel(row.place.slot));
    row.texts[NameColumn] = QString::fromStdString(row.place.name);
    row.texts[DriveColumn] = QString::fromStdString(texts[2]).trimmed();
    row.texts[ModColumn] = QString::fromStdString(texts[3]).trimmed();
    row.texts[DlyColumn] = QString::fromStdString(texts[4]).trimmed();
    row.texts[BankColumn] = QFileInfo(QString::fromStdString(row.place.path)).fileName();
    row.texts[CommentColumn] = QString::fromStdString(row.place.comment);
    if (result.favourite) row.texts[FavouriteColumn] = QStringLiteral("\u2605");
    return row;
}

// A header click: the same query in that column's order (-1: as found).
void LibraryResultModel::sort(int column, Qt::SortOrder order) {
    using orb8::library::ResultOrder;
    static constexpr std::array<ResultOrder, ColumnCount> kOrders = {
        ResultOrder::Slot, ResultOrder::Name, ResultOrder::Drive,     ResultOrder::Mod,
        ResultOrder::Dly,  ResultOrder::Bank, ResultOrder::Favourite, ResultOrder::Comment};
    const ResultOrder wanted = column >= 0 && column < ColumnCount ? kOrders[static_cast<std::size_t>(column)]
                                                                    : ResultOrder::Found;
    const bool descending = order == Qt::DescendingOrder && wanted != ResultOrder::Found;
    if (wanted == order_ && descending == descending_) return;
    order_ = wanted;
    descending_ = descending;
    Request(Ask::Start);
}

void LibraryResultModel::FavouriteChanged(std::int64_t patch, bool favourite) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].place.patch != patch) continue;
        rows_[i].texts[FavouriteColumn] = favourite ? QStringLiteral("\u2605") : QString();
        const QModelIndex cell = index(static_cast<int>(i), FavouriteColumn);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
}

const Place* LibraryResultModel::PlaceAt(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? &rows_[static_cast<std::size_t>(row)].place : nullptr;
}

std::optional<orb8::PatchClip> LibraryResultModel::ClipAt(int row) const {
    if (!PlaceAt(row)) return std::nullopt;
    const Row& r = rows_[static_cast<std::size_t>(row)];
    return orb8::PatchClip{r.patch, r.place.comment};
}

Qt::ItemFlags LibraryResultModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    return index.isValid() ? base | Qt::ItemIsDragEnabled : base;
}

QStringList LibraryResultModel::mimeTypes() const { return {orb8::kPatchClipMimeType}; }

// Every row dragged, once, in the results' order.
QMimeData* LibraryResultModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<int> rows;
    for (const QModelIndex& index : indexes) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<orb8::PatchClip> clips;
    for (const int row : rows)
        if (const auto clip = ClipAt(row)) clips.push_back(*clip);
    return PatchClipsMimeData(clips);
}

int LibraryResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LibraryResultModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant LibraryResultModel::data(const QModelIndex& index, int role) const {
    const Place* place = PlaceAt(index.row());
    if (!place || index.column() < 0 || index.column() >= ColumnCount) return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) return row.texts[static_cast<std::size_t>(index.column())];
    if (role == Qt::ToolTipRole && index.column() == BankColumn) return QString::fromStdString(place->path);
    return {};
}

QVariant LibraryResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case PatchColumn: return tr("No");
        case NameColumn: return tr("NAME");
        case DriveColumn: return tr("DRIVE");
        case ModColumn: return tr("MOD");
        case DlyColumn: return tr("REV/DLY");
        case BankColumn: return tr("BANK");
        case FavouriteColumn: return tr("FAV");
        case CommentColumn: return tr("COMMENT");
        default: return {};
    }
}

bool LibraryResultModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && next_.has_value() && request_ == 0;
}

void LibraryResultModel::fetchMore(const QModelIndex& parent) {
    if (canFetchMore(parent)) Request(Ask::More);
}
