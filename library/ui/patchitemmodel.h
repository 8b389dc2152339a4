// A detail list of the library window (where a patch occurs, what its slot
// held, similar patches): rows of texts, each standing for a patch that can
// be dragged onto a bank's row, compared or copied, and for a place when the
// patch is in a bank now.
#pragma once

#include <QStandardItemModel>
#include <functional>
#include <optional>
#include <vector>

#include "library/patchlibrary.h"
#include "patch/patchclip.h"

class PatchItemModel : public QStandardItemModel {
    Q_OBJECT

public:
    using ClipSource = std::function<std::optional<orb8::PatchClip>()>;
    PatchItemModel(const QStringList& headings, QObject* parent);

    void Clear();
    // A row; `label` names its patch for the user, `clip` is asked only when
    // the patch is used (dragged, compared).
    void AddPatch(const QStringList& texts, const QString& label, ClipSource clip,
                  std::optional<orb8::library::Place> place = {});
    QString LabelAt(int row) const;
    std::optional<orb8::PatchClip> ClipAt(int row) const;
    const orb8::library::Place* PlaceAt(int row) const;

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    struct Entry {
        QString label;
        ClipSource clip;
        std::optional<orb8::library::Place> place;
    };
    std::vector<Entry> entries_;
};

// The bytes of a clip as Qt's drag data.
QMimeData* PatchClipMimeData(const orb8::PatchClip& clip);
// Several, in order (a drag of several rows).
QMimeData* PatchClipsMimeData(const std::vector<orb8::PatchClip>& clips);
