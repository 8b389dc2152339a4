#include "library/ui/libraryservice.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <optional>

#include "library/filereading.h"
#include "library/patchlibrary.h"

using orb8::library::PatchLibrary;

namespace {
constexpr int kRescanDelayMs = 1500;  // folders often change in bursts (a copy of many banks)
constexpr int kWatchedPaths = 4000;  // folders and banks; beyond this, changes are found by Rescan only
constexpr int kProgressEvery = 20;     // files between two progress reports
constexpr int kWriteWaitMs = 250;      // the window's changes wait this long for a scan's write
constexpr int kScanWriteWaitMs = 5000;  // ... and a new source as long as a scan's own writes wait
constexpr int kReaderCacheKiB = 16384;
constexpr int kWindowCacheKiB = 2048;  // pages and details read along indexes: a smaller cache does
constexpr int kBackgroundNice = 10;
constexpr int kWatchesAtOnce = 400;  // paths given to the watcher in one turn of the event loop

// The calling thread runs at a lower priority (Linux: nice is per thread).
void Yielding() { ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kBackgroundNice); }

}  // namespace

LibraryService::LibraryService(QString databasePath, QObject* parent) : QObject(parent), path_(std::move(databasePath)) {
    worker_ = new QObject;
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName("library scan");
    thread_.start();
    // The scan and the search for similar sounds keep both processors busy
    // for seconds: they yield to the window's thread (and to the reads it waits for).
    QMetaObject::invokeMethod(worker_, [] { Yielding(); });
    similarWorker_ = new QObject;
    similarWorker_->moveToThread(&similarThread_);
    connect(&similarThread_, &QThread::finished, similarWorker_, [this] {
        similarLibrary_.reset();  // closed on the thread that used it
        similarWorker_->deleteLater();
    });
    similarThread_.setObjectName("library similar");
    similarThread_.start();
    QMetaObject::invokeMethod(similarWorker_, [] { Yielding(); });
    readWorker_ = new QObject;
    readWorker_->moveToThread(&readThread_);
    connect(&readThread_, &QThread::finished, readWorker_, [this] {
        readLibrary_.reset();
        readWorker_->deleteLater();
    });
    readThread_.setObjectName("library reads");
    readThread_.start();
    rescanLater_.setSingleShot(true);
    rescanLater_.setInterval(kRescanDelayMs);
    connect(&rescanLater_, &QTimer::timeout, this, &LibraryService::Scan);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { rescanLater_.start(); });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { rescanLater_.start(); });
    // Another program's writes (orb8tool library add or scan) reach the
    // database's log: its new sources are watched and scanned too.
    changedLater_.setSingleShot(true);
    changedLater_.setInterval(kRescanDelayMs);
    connect(&databaseWatcher_, &QFileSystemWatcher::fileChanged, this, [this] { changedLater_.start(); });
    connect(&changedLater_, &QTimer::timeout, this, [this] {
        if (!library_) return;
        // During a scan (whose own writes change the log too) the look waits:
        // a source another program added meanwhile is not missed.
        if (scanning_) {
            changedLater_.start();
            return;
        }
        std::vector<std::string> now;
        try {
            now = library_->Sources();
        } catch (const std::exception&) {
            return;
        }
        if (now != sources_) {
            WatchSources();
            Scan();
        }
        emit LibraryChanged();
    });
}

LibraryService::~LibraryService() {
    CancelScan();
    latestSimilar_->store(-1);
    latestPage_->store(-1);
    latestDetails_->store(-1);
    latestOverview_->store(-1);
    thread_.quit();
    similarThread_.quit();
    readThread_.quit();
    thread_.wait();
    similarThread_.wait();
    readThread_.wait();
}

template <typename Answer>
int LibraryService::Read(std::shared_ptr<std::atomic<int>> latest,
                         std::function<Answer(orb8::library::PatchLibrary&)> read,
                         void (LibraryService::*answered)(int, const Answer&, const QString&)) {
    const int request = latest->load() + 1;
    latest->store(request);
    const std::string path = path_.toStdString();
    QMetaObject::invokeMethod(readWorker_, [this, path, latest, request, read = std::move(read), answered] {
        if (latest->load() != request) return;  // the user has moved on
        Answer answer{};
        QString error;
        try {
            if (!readLibrary_) {
                readLibrary_ = std::make_unique<PatchLibrary>(path, PatchLibrary::Clock{}, PatchLibrary::Access::Read);
                readLibrary_->SetCacheKiB(kReaderCacheKiB);
            }
            answer = read(*readLibrary_);
        } catch (const std::exception& e) {  // a refused query, or the database failing
            error = QString::fromStdString(e.what());
        }
        if (latest->load() != request) return;
        QMetaObject::invokeMethod(this, [this, request, answer = std::move(answer), error, answered] {
            emit(this->*answered)(request, answer, error);
        });
    });
    return request;
}

int LibraryService::ReadPage(const orb8::library::PageRequest& request) {
    return Read<orb8::library::ResultPage>(
        latestPage_, [request](PatchLibrary& library) { return library.Page(request); }, &LibraryService::PageRead);
}

int LibraryService::ReadOverview() {
    return Read<LibraryOverview>(
        latestOverview_,
        [](PatchLibrary& library) {
            return LibraryOverview{library.Sources(), library.Problems(), library.Duplicates(),
                                   library.SameNameOtherSound()};
        },
        &LibraryService::OverviewRead);
}

int LibraryService::ReadDetails(const orb8::library::Place& place, int maxPlaces) {
    return Read<orb8::library::PlaceDetails>(
        latestDetails_, [place, maxPlaces](PatchLibrary& library) { return library.Details(place, maxPlaces); },
        &LibraryService::DetailsRead);
}

int LibraryService::FindSimilar(std::int64_t patch, int count) {
    const int request = latestSimilar_->load() + 1;
    latestSimilar_->store(request);
    const std::string path = path_.toStdString();
    auto latest = latestSimilar_;
    QMetaObject::invokeMethod(similarWorker_, [this, path, latest, request, patch, count] {
        if (latest->load() != request) return;  // the user has moved on
        std::vector<orb8::library::SimilarPatch> similar;
        QString error;
        try {
            if (!similarLibrary_) similarLibrary_ = std::make_unique<PatchLibrary>(path);
            similar = similarLibrary_->Similar(patch, count);
        } catch (const std::exception& e) {
            error = QString::fromStdString(e.what());
        }
        if (latest->load() != request) return;
        QMetaObject::invokeMethod(this, [this, request, similar = std::move(similar), error] {
            emit SimilarFound(request, similar, error);
        });
    });
    return request;
}

bool LibraryService::Open(QString& error) {
    if (library_) return true;
    try {
        QDir().mkpath(QFileInfo(path_).absolutePath());
        library_ = std::make_unique<PatchLibrary>(path_.toStdString());
        // A mark set while a scan writes waits for the scan's next pause instead of freezing the window.
        library_->SetWriteWait(kWriteWaitMs);
        library_->SetCacheKiB(kWindowCacheKiB);  // it only stores marks and adds sources
        if (!library_->OpenNotice().empty()) error = QString::fromStdString(library_->OpenNotice());
    } catch (const orb8::library::LibraryError& e) {
        error = QString::fromStdString(e.what());
        return false;
    }
    WatchSources();
    return true;
}

bool LibraryService::AddSource(const QString& path, QString& error) {
    if (!library_) return false;
    try {
        // The user asked for it: worth waiting for a scan's write as long as a scanner would.
        library_->SetWriteWait(kScanWriteWaitMs);
        library_->AddSource(path.toStdString());
        library_->SetWriteWait(kWriteWaitMs);
    } catch (const std::exception& e) {  // no such folder, or the database failing
        library_->SetWriteWait(kWriteWaitMs);
        error = QString::fromStdString(e.what());
        return false;
    }
    WatchSources();
    Scan();
    return true;
}

bool LibraryService::RemoveSource(const QString& path, QString& error) {
    if (!library_) return false;
    try {
        library_->SetWriteWait(kScanWriteWaitMs);
        const bool removed = library_->RemoveSource(path.toStdString());
        library_->SetWriteWait(kWriteWaitMs);
        if (!removed) {
            error = tr("%1 is not one of the library's sources.").arg(path);
            return false;
        }
    } catch (const std::exception& e) {
        library_->SetWriteWait(kWriteWaitMs);
        error = QString::fromStdString(e.what());
        return false;
    }
    WatchSources();
    return true;
}

void LibraryService::Scan() {
    if (!library_) return;
    // A library deleted or replaced meanwhile is not made anew under the user's marks.
    if (!library_->StillThere()) {
        emit ScanFinished(tr("The library's file %1 was deleted or replaced by another program; nothing was scanned. "
                             "Close the Library window and open it again.")
                              .arg(path_),
                          true);
        return;
    }
    if (!library_->ReadOnlyReason().empty()) return;
    if (scanning_) {
        again_ = true;  // what changed meanwhile is read by a scan after this one
        return;
    }
    scanning_ = true;
    cancel_->store(false);
    // The scan has a connection of its own on its own thread; queries go on meanwhile.
    const std::string path = path_.toStdString();
    auto cancel = cancel_;
    QMetaObject::invokeMethod(worker_, [this, path, cancel] {
        QString summary;
        bool failed = false;
        std::optional<WatchList> watch;
        try {
            PatchLibrary scanner(path, {}, PatchLibrary::Access::Read);  // never a new, empty one
            scanner.SetWriteWait(kScanWriteWaitMs);
            const auto r = scanner.Scan([this, cancel](int done, int total, const std::string& file) {
                if (done % kProgressEvery == 0 || done == total) emit ScanProgress(done, total, QString::fromStdString(file));
                return !cancel->load();
            });
            summary = tr("%1 files: %2 read, %3 unchanged, %4 skipped, %5 gone; %6 new sounds")
                          .arg(r.files)
                          .arg(r.read)
                          .arg(r.unchanged)
                          .arg(r.skipped)
                          .arg(r.removed)
                          .arg(r.newPatches);
            if (r.builtInCustom)
                summary += "\n" + tr("%1 patches of CUSTOM types from SysEx files, which hold no custom settings, "
                                      "are taken with the built-in ones.")
                                       .arg(r.builtInCustom);
            if (r.cancelled) summary = tr("Scan cancelled; what was read is kept.");
            scanner.BackUpIfDue();
            for (const std::string& missing : r.missingSources)
                summary += "\n" + tr("Not found (what it held is kept): %1").arg(QString::fromStdString(missing));
            // Folders made since are watched too; the walk is done here, off the window's thread.
            watch = PathsToWatch(scanner.Sources());
        } catch (const std::exception& e) {
            summary = tr("The scan stopped: %1").arg(QString::fromStdString(e.what()));
            failed = true;
        }
        QMetaObject::invokeMethod(this, [this, summary, failed, watch = std::move(watch)] {
            scanning_ = false;
            if (library_) library_->Reload();
            // The similar thread reads every sound again at its next search.
            QMetaObject::invokeMethod(similarWorker_, [this] {
                if (similarLibrary_) similarLibrary_->Reload();
            });
            // A source another program added while this scan ran is read by the next one.
            const std::vector<std::string> before = sources_;
            if (watch) ApplyWatches(*watch);
            else WatchSources();
            if (sources_ != before) again_ = true;
            emit ScanFinished(summary, failed);
            if (again_) {
                again_ = false;
                Scan();
            }
        });
    });
}

void LibraryService::AddWatches() {
    const QStringList now = watchesToAdd_.mid(0, kWatchesAtOnce);
    watchesToAdd_.remove(0, now.size());
    if (!now.isEmpty()) watcher_.addPaths(now);
    if (!watchesToAdd_.isEmpty()) QTimer::singleShot(0, this, &LibraryService::AddWatches);
}

void LibraryService::CancelScan() {
    cancel_->store(true);
    again_ = false;
}

// Every source folder and the folders under it, up to a limit.
void LibraryService::WatchSources() {
    if (!library_) return;
    try {
        ApplyWatches(PathsToWatch(library_->Sources()));
    } catch (const std::exception&) {
        // nothing to watch; Rescan still reads them
    }
}

LibraryService::WatchList LibraryService::PathsToWatch(std::vector<std::string> sources) {
    WatchList list{std::move(sources), {}, {}};
    // The folders (a bank added or removed) and the banks themselves (one
    // saved over in place changes no folder).
    for (const std::string& source : list.sources) {
        const QString path = QString::fromStdString(source);
        if (!QFileInfo(path).isDir()) {
            list.files << path;
            continue;
        }
        list.folders << path;
        QDirIterator it(path, QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext() && list.folders.size() + list.files.size() < kWatchedPaths) {
            const QString next = it.next();
            if (it.fileInfo().isDir()) list.folders << next;
            else if (!orb8::library::LibraryFileKind(next.toStdString()).empty()) list.files << next;
        }
    }
    return list;
}

void LibraryService::ApplyWatches(const WatchList& list) {
    sources_ = list.sources;
    // Only what changed: a path watched all along never goes unwatched, so no
    // change made while the watches are renewed is missed.
    // New ones are added a few hundred at a time (each is a call to the
    // system): thousands at once held the window for tens of milliseconds.
    QStringList added;
    auto renew = [this, &added](const QStringList& watchedList, const QStringList& wantedList) {
        const QSet<QString> watched(watchedList.begin(), watchedList.end()), wanted(wantedList.begin(), wantedList.end());
        QStringList gone;
        for (const QString& path : watchedList)
            if (!wanted.contains(path)) gone << path;
        for (const QString& path : wantedList)
            if (!watched.contains(path)) added << path;
        if (!gone.isEmpty()) watcher_.removePaths(gone);
    };
    renew(watcher_.directories(), list.folders);
    renew(watcher_.files(), list.files);
    watchesToAdd_ = added;
    AddWatches();
    const QStringList database{path_, path_ + "-wal"};
    for (const QString& file : database)
        if (QFileInfo::exists(file) && !databaseWatcher_.files().contains(file)) databaseWatcher_.addPath(file);
}
