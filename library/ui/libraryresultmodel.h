// The places a library query finds, as a table that fetches its rows a page
// at a time while the view scrolls. Pages are read on the library service's
// reading thread; a header click orders the results by that column.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "library/patchlibrary.h"
#include "patch/patchclip.h"

class LibraryService;

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

    explicit LibraryResultModel(LibraryService& service, QObject* parent = nullptr);

    // Runs a query from its first page; Answered tells when it is shown.
    void SetQuery(const QString& query);
    // The same query again (after a scan), as many rows as are shown now.
    void Refresh();
    // Waiting for a page.
    bool Reading() const { return request_ != 0; }
    QString Query() const { return query_; }
    // The library has no folder or file to read yet (as of the last first page).
    bool NoSources() const { return noSources_; }
    orb8::library::ResultOrder Order() const { return order_; }
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
    void sort(int column, Qt::SortOrder order) override;

signals:
    // A query's first page (or a refresh) is shown; error: why the library refused it.
    void Answered(const QString& error);

private:
    struct Row {
        orb8::library::Place place;
        orb8::PatchData patch;
        std::array<QString, ColumnCount> texts;
    };
    enum class Ask { Start, More, Refresh };
    void Request(Ask ask);
    void PageRead(int request, const orb8::library::ResultPage& page, const QString& error);
    static Row RowOf(orb8::library::ResultRow result);

    LibraryService& service_;
    QString query_;
    orb8::library::ResultOrder order_ = orb8::library::ResultOrder::Found;
    bool descending_ = false;
    std::vector<Row> rows_;
    std::optional<orb8::library::PageKey> next_;  // where the next page starts; none: no more
    int request_ = 0;  // the page on its way
    bool noSources_ = false;
    Ask asked_ = Ask::Start;
};
