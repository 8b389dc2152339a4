// The patch library for the window program: pages of results and the
// details of a place read on a thread of their own (answers by request
// number; a newer request makes older ones moot), scans on another with
// progress and Cancel, a rescan a moment after a source folder changes, and
// the search for similar sounds (which reads every sound) on a third.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "library/patchlibrary.h"

// What the Sources tab shows.
struct LibraryOverview {
    std::vector<std::string> sources;
    std::vector<orb8::library::FileProblemRow> problems;
    std::vector<std::vector<orb8::library::Place>> duplicates, sameName;
};

class LibraryService : public QObject {
    Q_OBJECT

public:
    explicit LibraryService(QString databasePath, QObject* parent = nullptr);
    ~LibraryService() override;

    // Opens (or creates) the database; the reason when it can't.
    bool Open(QString& error);
    // The connection for queries; nullptr before a successful Open.
    orb8::library::PatchLibrary* Library() { return library_.get(); }
    QString DatabasePath() const { return path_; }

    // Adds a folder or file and scans; false with the reason when it can't be added.
    bool AddSource(const QString& path, QString& error);
    // Stops reading a source (its files' patches leave the results); false with the reason.
    bool RemoveSource(const QString& path, QString& error);
    void Scan();
    void CancelScan();
    bool Scanning() const { return scanning_; }

    // Starts a search for the `count` sounds nearest to `patch`; SimilarFound
    // answers with the number returned here. A newer request makes older ones moot.
    int FindSimilar(std::int64_t patch, int count);

    // Reads a page of results; PageRead answers with the number returned here.
    int ReadPage(const orb8::library::PageRequest& request);
    // Reads the details of a place; DetailsRead answers likewise.
    int ReadDetails(const orb8::library::Place& place, int maxPlaces);
    // Reads the sources, the files skipped and the doubles; OverviewRead answers.
    int ReadOverview();

signals:
    void PageRead(int request, const orb8::library::ResultPage& page, const QString& error);
    void DetailsRead(int request, const orb8::library::PlaceDetails& details, const QString& error);
    void OverviewRead(int request, const LibraryOverview& overview, const QString& error);
    void ScanProgress(int done, int total, const QString& path);
    // A sentence saying what the scan did; failed: it stopped on an error.
    void ScanFinished(const QString& summary, bool failed);
    // error: why the search failed; empty when it did not.
    void SimilarFound(int request, const std::vector<orb8::library::SimilarPatch>& similar, const QString& error);
    // Another program changed the library (orb8tool added a source or scanned).
    void LibraryChanged();

private:
    // The sources with the folders and banks under them to watch (a walk of
    // the folders: on the scan's thread after a scan).
    struct WatchList {
        std::vector<std::string> sources;
        QStringList folders, files;
    };
    static WatchList PathsToWatch(std::vector<std::string> sources);
    void ApplyWatches(const WatchList& list);
    void AddWatches();  // the next few of watchesToAdd_
    void WatchSources();

    QString path_;
    std::unique_ptr<orb8::library::PatchLibrary> library_;
    // Runs `read` on the reading thread with its connection, unless a newer
    // request of the same kind came meanwhile, and hands the answer back.
    template <typename Answer>
    int Read(std::shared_ptr<std::atomic<int>> latest,
             std::function<Answer(orb8::library::PatchLibrary&)> read,
             void (LibraryService::*answered)(int, const Answer&, const QString&));

    QThread thread_, similarThread_, readThread_;
    QObject* worker_ = nullptr;         // lives in thread_
    QObject* similarWorker_ = nullptr;  // lives in similarThread_
    QObject* readWorker_ = nullptr;     // lives in readThread_
    // The similar and reading threads' connections, made and used there only.
    std::unique_ptr<orb8::library::PatchLibrary> similarLibrary_, readLibrary_;
    std::shared_ptr<std::atomic<int>> latestSimilar_ = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> latestPage_ = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> latestDetails_ = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> latestOverview_ = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    bool scanning_ = false, again_ = false;
    QFileSystemWatcher watcher_, databaseWatcher_;
    QTimer rescanLater_, changedLater_;
    std::vector<std::string> sources_;  // as last watched
    QStringList watchesToAdd_;
};
