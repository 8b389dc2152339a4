#include "editors/ui/patchlistmodel.h"

#include <QApplication>
#include <QPalette>

#include "editors/ui/commenttext.h"

using namespace orb8;

PatchListModel::PatchListModel(const ProjectDocument& document, bool japanese, QObject* parent)
    : QAbstractTableModel(parent), document_(document), japanese_(japanese) {
    fixed_ = QApplication::font();
    fixed_.setStyleHint(QFont::TypeWriter);
    fixed_.setFamily("DejaVu Sans Mono");
    labelBackground_ = QApplication::palette().brush(QPalette::Button);
}

int PatchListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kPatchCount; }
int PatchListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kProjectColumns; }

QString PatchListModel::Text(int row, int column) const {
    if (!ProjectDocument::ValidRow(row) || column < 0 || column >= kProjectColumns) return {};
    if (column == 0) return QString::fromStdString(PatchLabel(row - 1));
    const int from = preview_ ? preview_(row) : row;
    if (!ProjectDocument::ValidRow(from)) return {};
    const std::string& comment = document_.CommentOfRow(from);
    if (column == kProjectColumns - 1) return CommentText(comment, japanese_);
    const auto shown = shown_.find(from);
    const auto texts = shown != shown_.end() ? ProjectRowTextsOf(shown->second, from, comment)
                                             : ProjectRowTexts(document_, from);
    return QString::fromStdString(texts[static_cast<std::size_t>(column)]);
}

QVariant PatchListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole: return Text(index.row() + 1, index.column());
        case Qt::FontRole:
            if (index.column() >= 1 && index.column() <= 4) return fixed_;
            return {};
        case Qt::BackgroundRole:
            if (index.column() == 0) return labelBackground_;
            return {};
        default: return {};
    }
}

QVariant PatchListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kProjectColumns) return {};
    return QCoreApplication::translate("PatchGrid", kProjectHeadings[static_cast<std::size_t>(section)]);
}

void PatchListModel::RowsChanged(int first, int last) {
    emit dataChanged(index(first - 1, 0), index(last - 1, kProjectColumns - 1));
}

void PatchListModel::AllChanged() { RowsChanged(1, kPatchCount); }

void PatchListModel::SetPreview(std::function<int(int)> shownRow) {
    preview_ = std::move(shownRow);
    AllChanged();
}

void PatchListModel::ShowPatchOnRow(int row, const PatchData* patch) {
    if (patch) shown_[row] = *patch;
    else shown_.erase(row);
    RowsChanged(row, row);
}
