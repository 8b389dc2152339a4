// Every question, message and file dialog the window program shows goes
// through here: the real ones are Qt's message boxes and file dialogs; tests
// and benchmarks answer them from a script.
#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

#include "workspace/ui/recoveryoffer.h"

class QWidget;

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    enum class Answer { Yes, No, Cancel };

    // A Yes/No question (cancel is No).
    virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Yes, No or Cancel about unsaved work.
    virtual Answer AskSave(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual void Inform(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual void ShowError(QWidget* parent, const QString& caption, const QString& text) = 0;
    // The file chosen, or empty when the dialog was cancelled.
    virtual QString OpenFileName(QWidget* parent, const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& filter, const QString& current) = 0;
    // A folder of the user's choice; empty when none was chosen.
    virtual QString FolderName(QWidget* parent, const QString& caption) = 0;
    // A line of text the user types (a name); empty when cancelled.
    virtual QString AskText(QWidget* parent, const QString& caption, const QString& label, const QString& initial) = 0;
    // What becomes of unsaved work left behind.
    using RecoveryAnswer = ::RecoveryAnswer;
    virtual RecoveryAnswer AskRecovery(QWidget* parent, QList<RecoveryOffer>& offers) = 0;

    // The same boxes without waiting where they are raised (for the
    // exchanges with the processor): `answered` runs once the user answers.
    // A script answers at once.
    virtual void AskYesNoLater(QWidget* parent, const QString& caption, const QString& text,
                               std::function<void(bool)> answered) {
        answered(AskYesNo(parent, caption, text));
    }
    virtual void InformLater(QWidget* parent, const QString& caption, const QString& text) {
        Inform(parent, caption, text);
    }
    virtual void ShowErrorLater(QWidget* parent, const QString& caption, const QString& text) {
        ShowError(parent, caption, text);
    }
};

// Qt's own message boxes and file dialogs.
class QtUserDialogs : public UserDialogs {
public:
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override;
    Answer AskSave(QWidget* parent, const QString& caption, const QString& text) override;
    void Inform(QWidget* parent, const QString& caption, const QString& text) override;
    void ShowError(QWidget* parent, const QString& caption, const QString& text) override;
    QString OpenFileName(QWidget* parent, const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& filter, const QString& current) override;
    QString FolderName(QWidget* parent, const QString& caption) override;
    QString AskText(QWidget* parent, const QString& caption, const QString& label, const QString& initial) override;
    RecoveryAnswer AskRecovery(QWidget* parent, QList<RecoveryOffer>& offers) override;
    void AskYesNoLater(QWidget* parent, const QString& caption, const QString& text,
                       std::function<void(bool)> answered) override;
    void InformLater(QWidget* parent, const QString& caption, const QString& text) override;
    void ShowErrorLater(QWidget* parent, const QString& caption, const QString& text) override;
};
