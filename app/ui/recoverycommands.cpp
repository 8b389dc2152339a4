#include "app/ui/recoverycommands.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>
#include <QWidget>

#include "app/ui/documentframe.h"
#include "workspace/ui/recoverykeeper.h"
#include "workspace/ui/userdialogs.h"

RecoveryCommands::RecoveryCommands(DocumentFrame& frame, UserDialogs& dialogs, RecoveryKeeper& keeper,
                                   QWidget* parent)
    : QObject(parent), frame_(frame), dialogs_(dialogs), keeper_(keeper), parent_(parent) {}

void RecoveryCommands::Offer() {
    const std::vector<orb8::LeftRecord> left = keeper_.LeftBehind();
    if (left.empty()) return;
    QList<RecoveryOffer> offers;
    for (const orb8::LeftRecord& record : left) {
        RecoveryOffer offer;
        if (record.record) {
            offer.name = QString::fromStdString(record.record->title);
            offer.fileName = QString::fromStdString(record.record->fileName);
            offer.changed = QDateTime::fromMSecsSinceEpoch(record.record->changedAtMs, QTimeZone::utc());
        } else {
            // A damaged record is named by its document where that can be read.
            offer.name = record.title.empty() ? tr("(unreadable record)") : QString::fromStdString(record.title);
            offer.fileName = QString::fromStdString(record.fileName);
            offer.problem = QString::fromStdString(record.problem);
        }
        offers << offer;
    }
    const UserDialogs::RecoveryAnswer answer = dialogs_.AskRecovery(parent_, offers);
    if (answer == UserDialogs::RecoveryAnswer::Later) return;
    int chosen = 0;
    for (const RecoveryOffer& offer : offers) chosen += offer.chosen;
    if (chosen == 0) return;
    if (answer == UserDialogs::RecoveryAnswer::Discard &&
        !dialogs_.AskYesNo(parent_, QString::fromUtf8(orb8::kShortTitle),
                           tr("The unsaved work of %n document(s) will be thrown away for good.\nDiscard it?", "", chosen)))
        return;
    QStringList failed;
    for (std::size_t i = 0; i < left.size(); ++i) {
        const orb8::LeftRecord& record = left[i];
        if (!offers[static_cast<int>(i)].chosen) continue;  // offered again at the next start
        if (answer == UserDialogs::RecoveryAnswer::Discard) {
            orb8::RecoveryFolder::Discard(record.path);
            continue;
        }
        // A record that cannot be read stays where it is under another name,
        // for whoever wants to look at it, and is not offered again.
        const QString path = QString::fromStdString(record.path);
        if (!record.record) {
            QFile::rename(path, path + ".damaged");
            failed << tr("%1: %2").arg(QDir::toNativeSeparators(path), QString::fromStdString(record.problem));
            continue;
        }
        orb8::Document* document = frame_.NewDocument(record.record->kind);
        // A document that was never saved comes back under the name it was offered with.
        if (document && record.record->fileName.empty()) document->SetUntitledName(record.record->title);
        if (!document || !document->Recover(record.record->fileName, tr("Recovery").toStdString(), record.record->bytes)) {
            if (document) frame_.CloseDocument(*document);
            QFile::rename(path, path + ".damaged");
            failed << tr("%1: the document in it is damaged").arg(QDir::toNativeSeparators(path));
            continue;
        }
        // The work is in this program's own record before the old one goes.
        keeper_.WriteNow(document);
        orb8::RecoveryFolder::Discard(record.path);
    }
    keeper_.Tidy();  // the ended programs' locks go with their last record
    if (!failed.isEmpty())
        dialogs_.ShowError(parent_, QString::fromUtf8(orb8::kShortTitle),
                           tr("These recovery records could not be recovered and were kept aside:\n%1")
                               .arg(failed.join('\n')));
}
