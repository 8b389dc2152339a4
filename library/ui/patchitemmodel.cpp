#include "library/ui/patchitemmodel.h"

#include <QMimeData>

using orb8::PatchClip;
using orb8::library::Place;

QMimeData* PatchClipMimeData(const PatchClip& clip) { return PatchClipsMimeData({clip}); }

QMimeData* PatchClipsMimeData(const std::vector<PatchClip>& clips) {
    if (clips.empty()) return nullptr;
    const auto bytes = orb8::EncodePatchClips(clips);
    auto* mime = new QMimeData;
    mime->setData(orb8::kPatchClipMimeType,
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    return mime;
}

PatchItemModel::PatchItemModel(const QStringList& headings, QObject* parent)
    : QStandardItemModel(0, static_cast<int>(headings.size()), parent) {
    setHorizontalHeaderLabels(headings);
}

void PatchItemModel::Clear() {
    removeRows(0, rowCount());
    entries_.clear();
}

void PatchItemModel::AddPatch(const QStringList& texts, const QString& label, ClipSource clip,
                              std::optional<Place> place) {
    QList<QStandardItem*> items;
    for (const QString& text : texts) items << new QStandardItem(text);
    entries_.push_back({label, std::move(clip), std::move(place)});
    appendRow(items);
}

std::optional<PatchClip> PatchItemModel::ClipAt(int row) const {
    if (row < 0 || row >= static_cast<int>(entries_.size())) return std::nullopt;
    const auto& source = entries_[static_cast<std::size_t>(row)].clip;
    return source ? source() : std::nullopt;
}

QString PatchItemModel::LabelAt(int row) const {
    return row >= 0 && row < static_cast<int>(entries_.size()) ? entries_[static_cast<std::size_t>(row)].label : QString();
}

const Place* PatchItemModel::PlaceAt(int row) const {
    if (row < 0 || row >= static_cast<int>(entries_.size())) return nullptr;
    const auto& place = entries_[static_cast<std::size_t>(row)].place;
    return place ? &*place : nullptr;
}

Qt::ItemFlags PatchItemModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags base = QStandardItemModel::flags(index) & ~Qt::ItemIsEditable;
    return index.isValid() ? base | Qt::ItemIsDragEnabled : base;
}

QStringList PatchItemModel::mimeTypes() const { return {orb8::kPatchClipMimeType}; }

QMimeData* PatchItemModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty()) return nullptr;
    const auto clip = ClipAt(indexes.first().row());
    return clip ? PatchClipMimeData(*clip) : nullptr;
}
