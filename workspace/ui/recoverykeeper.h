// Keeps a recovery record of every open document with unsaved changes: a
// short while after a change, and no more often than every two seconds, the
// document's file image is handed to a writer thread; the record goes when
// the document is saved or closed, and all of them when the program ends
// normally (the keeper is destroyed).
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>
#include <map>
#include <memory>
#include <vector>

#include "workspace/recovery.h"

class QTimer;

namespace orb8 {
class Document;
}

class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    RecoveryKeeper(const QString& folder, QObject* parent);
    ~RecoveryKeeper() override;  // the program ends normally: its records go

    bool Usable() const { return folder_.Usable(); }
    QString Problem() const { return QString::fromStdString(folder_.Problem()); }
    QString Folder() const { return QString::fromStdString(folder_.Folder()); }

    // Follows the document's changes from now on, until Forget.
    void Watch(orb8::Document& document);
    // The document was closed (saved, or its changes let go): its record goes.
    void Forget(const orb8::Document* document);
    // Writes the document's record now (no waiting), and waits until it is on disk.
    void WriteNow(const orb8::Document* document);
    // The clock the time between writes is measured on (tests give their own).
    void SetClock(std::function<std::chrono::steady_clock::time_point()> now) { now_ = std::move(now); }
    // When the document's record is next written, if a write is due.
    std::optional<std::chrono::milliseconds> WriteIn(const orb8::Document* document) const;
    // Waits until every record handed over is on disk (tests).
    void Flush() { writer_.Flush(); }
    int Written() const { return writer_.Written(); }

    // The records of programs that did not end normally.
    std::vector<orb8::LeftRecord> LeftBehind() { return folder_.LeftBehind(); }
    void Tidy() { folder_.Tidy(); }

signals:
    // A record was handed to the writer (tests wait for it).
    void RecordHandedOver(const orb8::Document* document);

private:
    struct Watched {
        int id = 0;
        std::weak_ptr<orb8::Document> document;
        int listener = 0;
        QTimer* timer = nullptr;
        std::optional<std::chrono::steady_clock::time_point> lastWrite;  // none: never written
        std::int64_t changedAtMs = 0;
        bool recorded = false;
    };
    void Changed(const orb8::Document* document);
    void Write(Watched& watched);

    orb8::RecoveryFolder folder_;
    orb8::RecoveryWriter writer_;
    std::map<const orb8::Document*, Watched> watched_;
    std::function<std::chrono::steady_clock::time_point()> now_ = [] { return std::chrono::steady_clock::now(); };
    int nextId_ = 0;
};
