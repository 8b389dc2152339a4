// The patch library for the window program: queries on the user-interface
// thread (each takes milliseconds), scans on a thread of their own with
// progress and Cancel, a rescan a moment after a source folder changes, and
// the search for similar sounds (which reads every sound) on a third thread.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>
#include <vector>

#include "library/patchlibrary.h"

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

signals:
    void ScanProgress(int done, int total, const QString& path);
    // A sentence saying what the scan did; failed: it stopped on an error.
    void ScanFinished(const QString& summary, bool failed);
    // error: why the search failed; empty when it did not.
    void SimilarFound(int request, const std::vector<orb8::library::SimilarPatch>& similar, const QString& error);
    // Another program changed the library (orb8tool added a source or scanned).
    void LibraryChanged();

private:
    void WatchSources();

    QString path_;
    std::unique_ptr<orb8::library::PatchLibrary> library_;
    QThread thread_, similarThread_;
    QObject* worker_ = nullptr;         // lives in thread_
    QObject* similarWorker_ = nullptr;  // lives in similarThread_
    // The similar thread's connection, made and used there only.
    std::unique_ptr<orb8::library::PatchLibrary> similarLibrary_;
    std::shared_ptr<std::atomic<int>> latestSimilar_ = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    bool scanning_ = false, again_ = false;
    QFileSystemWatcher watcher_, databaseWatcher_;
    QTimer rescanLater_, changedLater_;
    std::vector<std::string> sources_;  // as last watched
};
