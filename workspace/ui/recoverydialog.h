// The question at start about unsaved work that a program which did not end
// normally left behind: the documents (name, file, time of the last change,
// or why one cannot be recovered) and Recover, Discard or Later.
#pragma once

#include <QDialog>

#include <QList>

#include "workspace/ui/recoveryoffer.h"

class RecoveryDialog : public QDialog {
    Q_OBJECT

public:
    RecoveryDialog(const QList<RecoveryOffer>& offers, QWidget* parent);
    // Later unless Recover or Discard was chosen (closing the dialog is Later).
    RecoveryAnswer Answer() const { return answer_; }
    // Which documents the answer is for, in the order offered.
    QList<bool> Chosen() const;

private:
    RecoveryAnswer answer_ = RecoveryAnswer::Later;
    class QStandardItemModel* model_;
};
