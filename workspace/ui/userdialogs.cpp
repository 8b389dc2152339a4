#include "workspace/ui/userdialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>

#include "workspace/ui/recoverydialog.h"

bool QtUserDialogs::AskYesNo(QWidget* parent, const QString& caption, const QString& text) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

UserDialogs::Answer QtUserDialogs::AskSave(QWidget* parent, const QString& caption, const QString& text) {
    switch (QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
    }
}

void QtUserDialogs::Inform(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::information(parent, caption, text);
}

void QtUserDialogs::ShowError(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::critical(parent, caption, text);
}

namespace {

// A window-modal box that frees itself when it is answered.
QMessageBox* OpenBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
                     QMessageBox::StandardButtons buttons) {
    auto* box = new QMessageBox(icon, caption, text, buttons, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    return box;
}

}  // namespace

void QtUserDialogs::AskYesNoLater(QWidget* parent, const QString& caption, const QString& text,
                                  std::function<void(bool)> answered) {
    QMessageBox* box = OpenBox(parent, QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::Yes);
    QObject::connect(box, &QMessageBox::finished, box,
                     [answered = std::move(answered)](int result) { answered(result == QMessageBox::Yes); });
    box->open();
}

void QtUserDialogs::InformLater(QWidget* parent, const QString& caption, const QString& text) {
    OpenBox(parent, QMessageBox::Information, caption, text, QMessageBox::Ok)->open();
}

void QtUserDialogs::ShowErrorLater(QWidget* parent, const QString& caption, const QString& text) {
    OpenBox(parent, QMessageBox::Critical, caption, text, QMessageBox::Ok)->open();
}

QString QtUserDialogs::FolderName(QWidget* parent, const QString& caption) {
    return QFileDialog::getExistingDirectory(parent, caption);
}

QString QtUserDialogs::AskText(QWidget* parent, const QString& caption, const QString& label, const QString& initial) {
    return QInputDialog::getText(parent, caption, label, QLineEdit::Normal, initial);
}

QString QtUserDialogs::OpenFileName(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

QString QtUserDialogs::SaveFileName(QWidget* parent, const QString& filter, const QString& current) {
    // The dialog asks before replacing a file; read-only files are not offered.
    return QFileDialog::getSaveFileName(parent, QString(), current, filter, nullptr);
}

UserDialogs::RecoveryAnswer QtUserDialogs::AskRecovery(QWidget* parent, QList<RecoveryOffer>& offers) {
    RecoveryDialog dialog(offers, parent);
    dialog.exec();
    const QList<bool> chosen = dialog.Chosen();
    for (int i = 0; i < offers.size() && i < chosen.size(); ++i) offers[i].chosen = chosen[i];
    return dialog.Answer();
}
