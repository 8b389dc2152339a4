#include "customdist/ui/designerwindow.h"

#include <QPointer>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPushButton>
#include <QVBoxLayout>

#include "customdist/customdistsession.h"
#include "workspace/ui/userdialogs.h"
#include "workspace/ui/windowcontext.h"

using namespace orb8;

DesignerWindow::DesignerWindow(DesignerContext& context, CustomDistSession& session, QWidget* document,
                               CharacterDesigner designer)
    : QWidget(document, Qt::Window), context_(context), session_(session), designer_(std::move(designer)) {}

QVBoxLayout* DesignerWindow::MakeButtons(const char* calcName, QPushButton*& calc, QPushButton*& send) {
    calc = new QPushButton(QCoreApplication::translate("DesignerWindow", "CALC"), this);
    calc->setObjectName(calcName);
    send = new QPushButton(QCoreApplication::translate("DesignerWindow", "SEND"), this);
    send->setObjectName("SendButton");
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(calc);
    buttons->addWidget(send);
    buttons->addStretch(1);
    return buttons;
}

void DesignerWindow::Calculate(const QString& text, const std::vector<FilterInput>& input) {
    session_.Perform(text.toStdString(), [&](CustomDistData& data) { designer_.Calc(data, input); }, true);
    Refresh();
}

// An invalid filter asks first; the window thread does not wait for the answer.
void DesignerWindow::Audition(const QString& invalidQuestion, const std::function<void()>& send) {
    if (!context_.OutputOpen()) return;
    if (!designer_.AnyInvalid(session_.Data())) {
        send();
        return;
    }
    context_.Dialogs().AskYesNoLater(this, QCoreApplication::translate("DesignerWindow", "ORB-8ED"), invalidQuestion,
                                     [alive = QPointer<DesignerWindow>(this), send](bool yes) {
                                         if (yes && alive) send();
                                     });
}

// Closing only hides the window; it lives as long as its document.
void DesignerWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}
