// PatchListModel: the 80 patches of a project as the project window lists
// them, a row each: label, name, drive, Mod, Dly/Rev and comment, read from
// the document whenever the view asks. While a row is dragged the rows show
// the order a drop would give; while comparing, one row shows the patch as
// stored.
#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <functional>
#include <map>

#include "patch/projectdocument.h"

class PatchListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    PatchListModel(const orb8::ProjectDocument& document, bool japanese, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Rows are 1..80, as the document counts them.
    QString Text(int row, int column) const;
    // The font of the type columns.
    const QFont& FixedFont() const { return fixed_; }
    void RowsChanged(int first, int last);
    void AllChanged();
    // Which document row each row shows (the drag's preview); none: its own.
    void SetPreview(std::function<int(int)> shownRow);
    // Row `row` shows `patch` instead of the document's (Compare); none: the document's.
    void ShowPatchOnRow(int row, const orb8::PatchData* patch);

private:
    const orb8::ProjectDocument& document_;
    bool japanese_;
    std::function<int(int)> preview_;
    std::map<int, orb8::PatchData> shown_;
    QFont fixed_;
    QVariant labelBackground_;
};
