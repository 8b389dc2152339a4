#include "library/ui/libraryresultmodel.h"

#include <algorithm>

#include <QFileInfo>

#include "library/ui/patchitemmodel.h"
#include "patch/projectdocument.h"

using orb8::library::Place;

bool LibraryResultModel::SetQuery(const QString& query, QString& error) {
    beginResetModel();
    query_ = query;
    rows_.clear();
    more_ = false;
    const bool ok = Fetch(rows_, error);
    endResetModel();
    return ok;
}

void LibraryResultModel::Refresh() {
    QString ignored;
    SetQuery(query_, ignored);
}

// The next page after the rows there are, into `page`.
bool LibraryResultModel::Fetch(std::vector<Row>& page, QString& error) {
    if (!library_) return true;
    std::vector<Place> places;
    try {
        places = library_->Search(query_.toStdString(), kPage, static_cast<int>(rows_.size()));
    } catch (const std::exception& e) {  // a refused query, or the database failing
        error = QString::fromStdString(e.what());
        more_ = false;
        return false;
    }
    more_ = static_cast<int>(places.size()) == kPage;
    for (Place& place : places) {
        Row row{std::move(place), {}, {}};
        orb8::PatchData& patch = row.patch;
        try {
            patch = library_->PatchAt(row.place);
        } catch (const std::exception&) {
            continue;  // gone since the query (a scan on the other thread)
        }
        const auto texts = orb8::ProjectRowTextsOf(patch, 1, row.place.comment);  // the row only labels
        row.texts[PatchColumn] = QString::fromStdString(orb8::library::SlotLabel(row.place.slot));
        row.texts[NameColumn] = QString::fromStdString(row.place.name);
        row.texts[DriveColumn] = QString::fromStdString(texts[2]).trimmed();
        row.texts[ModColumn] = QString::fromStdString(texts[3]).trimmed();
        row.texts[DlyColumn] = QString::fromStdString(texts[4]).trimmed();
        row.texts[BankColumn] = QFileInfo(QString::fromStdString(row.place.path)).fileName();
        row.texts[CommentColumn] = QString::fromStdString(row.place.comment);
        try {
            if (library_->NotesOf(row.place.patch).favourite) row.texts[FavouriteColumn] = QStringLiteral("\u2605");
        } catch (const std::exception&) {
        }
        page.push_back(std::move(row));
    }
    return true;
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

bool LibraryResultModel::canFetchMore(const QModelIndex& parent) const { return !parent.isValid() && more_; }

void LibraryResultModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || !more_) return;
    std::vector<Row> page;
    QString ignored;
    if (!Fetch(page, ignored) || page.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    for (Row& row : page) rows_.push_back(std::move(row));
    endInsertRows();
}
