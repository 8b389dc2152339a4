#include "workspace/ui/recoverykeeper.h"

#include <QFileInfo>
#include <QTimer>
#include <algorithm>

#include "patch/document.h"

namespace {

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(const QString& folder, QObject* parent)
    : QObject(parent), folder_(folder.toStdString()), writer_(folder_) {}

RecoveryKeeper::~RecoveryKeeper() {
    for (auto& [key, watched] : watched_)
        if (const auto alive = watched.document.lock()) alive->Unlisten(watched.listener);
    writer_.Flush();
    folder_.EndNormally();
}

void RecoveryKeeper::Watch(orb8::Document& document) {
    const orb8::Document* key = &document;
    if (const auto it = watched_.find(key); it != watched_.end() && it->second.document.expired()) Forget(key);
    if (!Usable() || watched_.count(key)) return;
    Watched& watched = watched_[key];
    watched.id = ++nextId_;
    watched.document = document.weak_from_this();
    watched.timer = new QTimer(this);
    watched.timer->setSingleShot(true);
    connect(watched.timer, &QTimer::timeout, this, [this, key] {
        const auto it = watched_.find(key);
        if (it != watched_.end()) Write(it->second);
    });
    watched.listener = document.Listen([this, key](const orb8::SessionChange&) { Changed(key); });
    Changed(key);
}

void RecoveryKeeper::Changed(const orb8::Document* key) {
    const auto it = watched_.find(key);
    if (it == watched_.end()) return;
    Watched& watched = it->second;
    if (!key->Modified()) {
        watched.timer->stop();
        if (watched.recorded) writer_.Remove(watched.id);
        watched.recorded = false;
        return;
    }
    watched.changedAtMs = NowMs();
    if (watched.timer->isActive()) return;
    watched.timer->start(watched.lastWrite ? orb8::RecoveryWriteDelay(now_() - *watched.lastWrite) : orb8::kRecoverySettle);
}

std::optional<std::chrono::milliseconds> RecoveryKeeper::WriteIn(const orb8::Document* document) const {
    const auto it = watched_.find(document);
    if (it == watched_.end() || !it->second.timer->isActive()) return std::nullopt;
    return it->second.timer->intervalAsDuration();
}

void RecoveryKeeper::Write(Watched& watched) {
    const std::shared_ptr<orb8::Document> document = watched.document.lock();
    if (!document || !document->Modified()) return;
    orb8::RecoveryRecord record;
    record.kind = document->Kind();
    record.fileName = document->FileName();
    record.title = record.fileName.empty() ? document->UntitledName()
                                           : QFileInfo(QString::fromStdString(record.fileName)).fileName().toStdString();
    record.changedAtMs = watched.changedAtMs;
    record.bytes = document->FileImage();
    writer_.Write(watched.id, std::move(record));
    watched.lastWrite = now_();
    watched.recorded = true;
    emit RecordHandedOver(document.get());
}

void RecoveryKeeper::WriteNow(const orb8::Document* document) {
    const auto it = watched_.find(document);
    if (it == watched_.end()) return;
    it->second.timer->stop();
    if (it->second.changedAtMs == 0) it->second.changedAtMs = NowMs();
    Write(it->second);
    writer_.Flush();
}

void RecoveryKeeper::Forget(const orb8::Document* document) {
    const auto it = watched_.find(document);
    if (it == watched_.end()) return;
    if (it->second.recorded) writer_.Remove(it->second.id);
    if (const auto alive = it->second.document.lock()) alive->Unlisten(it->second.listener);
    delete it->second.timer;
    watched_.erase(it);
}
