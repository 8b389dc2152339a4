// The places a library query finds, as a table that fetches its rows a page
// at a time while the view scrolls.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "library/patchlibrary.h"
#include "patch/patchclip.h"

class LibraryResultModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        PatchColumn,
        NameColumn,
        DriveColumn,
        ModColumn,
        DlyColumn,
        BankColumn,
        FavouriteColumn,
        CommentColumn,
        ColumnCount
    };
    static constexpr int kPage = 200;

    explicit LibraryResultModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void SetLibrary(orb8::library::PatchLibrary* library) { library_ = library; }
    // Runs a query from its first page; the reason when the library refuses it.
    bool SetQuery(const QString& query, QString& error);
    // The same query again (after a scan).
    void Refresh();
    // A sound's favourite mark changed: the rows of that sound show it.
    void FavouriteChanged(std::int64_t patch, bool favourite);
    const orb8::library::Place* PlaceAt(int row) const;
    // The patch of a row with the comment it has there.
    std::optional<orb8::PatchClip> ClipAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Row {
        orb8::library::Place place;
        orb8::PatchData patch;
        std::array<QString, ColumnCount> texts;
    };
    bool Fetch(std::vector<Row>& page, QString& error);

    orb8::library::PatchLibrary* library_ = nullptr;
    QString query_;
    std::vector<Row> rows_;
    bool more_ = false;
};
