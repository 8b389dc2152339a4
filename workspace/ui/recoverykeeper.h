// Keeps a recovery record of every document window with unsaved changes: a
// short while after a change, and no more often than every two seconds, the
// document's file image is handed to a writer thread; the record goes when
// the document is saved or closed, and all of them when the program ends
// normally (the keeper is destroyed).
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <chrono>
#include <map>
#include <memory>
#include <vector>

#include "workspace/recovery.h"

class DocumentWindow;
class QTimer;

class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    // How long after a change its record is written, and how long at least between two writes of one document.
    static constexpr std::chrono::milliseconds kSettle{300};
    static constexpr std::chrono::milliseconds kInterval{2000};

    RecoveryKeeper(const QString& folder, QObject* parent);
    ~RecoveryKeeper() override;  // the program ends normally: its records go

    bool Usable() const { return folder_.Usable(); }
    QString Problem() const { return QString::fromStdString(folder_.Problem()); }
    QString Folder() const { return QString::fromStdString(folder_.Folder()); }

    // Follows the window's changes from now on.
    void Watch(DocumentWindow* window);
    // Writes the window's record now (no waiting), and waits until it is on disk.
    void WriteNow(DocumentWindow* window);
    // Waits until every record handed over is on disk (tests).
    void Flush() { writer_.Flush(); }
    int Written() const { return writer_.Written(); }

    // The records of programs that did not end normally.
    std::vector<orb8::LeftRecord> LeftBehind() { return folder_.LeftBehind(); }
    void Tidy() { folder_.Tidy(); }

signals:
    // A record was handed to the writer (tests wait for it).
    void RecordHandedOver(DocumentWindow* window);

private:
    struct Watched {
        int id = 0;
        QPointer<DocumentWindow> window;
        QTimer* timer = nullptr;
        std::chrono::steady_clock::time_point lastWrite{};
        std::int64_t changedAtMs = 0;
        bool recorded = false;
    };
    void Changed(DocumentWindow* window);
    void Write(Watched& watched);
    void Forget(DocumentWindow* window);

    orb8::RecoveryFolder folder_;
    orb8::RecoveryWriter writer_;
    std::map<DocumentWindow*, Watched> watched_;
    int nextId_ = 0;
};
