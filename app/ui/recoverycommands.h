// At start: offers the unsaved work that programs which did not end normally
// left behind, and opens what the user recovers as modified documents.
#pragma once

#include <QObject>

class DocumentFrame;
class QWidget;
class RecoveryKeeper;
class UserDialogs;

class RecoveryCommands : public QObject {
    Q_OBJECT

public:
    RecoveryCommands(DocumentFrame& frame, UserDialogs& dialogs, RecoveryKeeper& keeper, QWidget* parent);

    // Asks once about everything left behind; nothing when nothing was.
    void Offer();

private:
    DocumentFrame& frame_;
    UserDialogs& dialogs_;
    RecoveryKeeper& keeper_;
    QWidget* parent_;
};
