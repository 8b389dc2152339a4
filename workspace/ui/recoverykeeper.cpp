#include "workspace/ui/recoverykeeper.h"

#include <QFileInfo>
#include <QTimer>
#include <algorithm>

#include "workspace/ui/documentwindow.h"

namespace {

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(const QString& folder, QObject* parent)
    : QObject(parent), folder_(folder.toStdString()), writer_(folder_) {}

RecoveryKeeper::~RecoveryKeeper() {
    writer_.Flush();
    folder_.EndNormally();
}

void RecoveryKeeper::Watch(DocumentWindow* window) {
    if (!Usable() || watched_.count(window)) return;
    Watched& watched = watched_[window];
    watched.id = ++nextId_;
    watched.window = window;
    watched.timer = new QTimer(this);
    watched.timer->setSingleShot(true);
    connect(watched.timer, &QTimer::timeout, this, [this, window] {
        const auto it = watched_.find(window);
        if (it != watched_.end()) Write(it->second);
    });
    connect(window, &DocumentWindow::DocumentChanged, this, &RecoveryKeeper::Changed);
    // Closed: the user saved it or let its changes go; destroyed: the frame ends.
    connect(window, &DocumentWindow::Closed, this, &RecoveryKeeper::Forget);
    connect(window, &QObject::destroyed, this, [this, window] { Forget(window); });
    Changed(window);
}

void RecoveryKeeper::Changed(DocumentWindow* window) {
    const auto it = watched_.find(window);
    if (it == watched_.end()) return;
    Watched& watched = it->second;
    if (!window->Modified()) {
        watched.timer->stop();
        if (watched.recorded) writer_.Remove(watched.id);
        watched.recorded = false;
        return;
    }
    watched.changedAtMs = NowMs();
    if (watched.timer->isActive()) return;
    const auto sinceWrite = std::chrono::steady_clock::now() - watched.lastWrite;
    const auto wait = std::max<std::chrono::steady_clock::duration>(kSettle, kInterval - sinceWrite);
    watched.timer->start(std::chrono::duration_cast<std::chrono::milliseconds>(wait));
}

void RecoveryKeeper::Write(Watched& watched) {
    DocumentWindow* window = watched.window;
    if (!window || !window->Modified()) return;
    orb8::RecoveryRecord record;
    record.kind = window->Kind();
    record.fileName = window->FileName();
    record.title = record.fileName.empty() ? window->UntitledName().toStdString()
                                           : QFileInfo(QString::fromStdString(record.fileName)).fileName().toStdString();
    record.changedAtMs = watched.changedAtMs;
    record.bytes = window->RecoveryImage();
    writer_.Write(watched.id, std::move(record));
    watched.lastWrite = std::chrono::steady_clock::now();
    watched.recorded = true;
    emit RecordHandedOver(window);
}

void RecoveryKeeper::WriteNow(DocumentWindow* window) {
    const auto it = watched_.find(window);
    if (it == watched_.end()) return;
    it->second.timer->stop();
    if (it->second.changedAtMs == 0) it->second.changedAtMs = NowMs();
    Write(it->second);
    writer_.Flush();
}

void RecoveryKeeper::Forget(DocumentWindow* window) {
    const auto it = watched_.find(window);
    if (it == watched_.end()) return;
    if (it->second.recorded) writer_.Remove(it->second.id);
    delete it->second.timer;
    watched_.erase(it);
}
