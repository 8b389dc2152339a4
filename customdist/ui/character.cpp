#include "customdist/ui/character.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/mainwin.h"
#include "app/ui/userdialogs.h"
#include "customdist/ui/customdistwin.h"
#include "customdist/ui/filtercolumn.h"
#include "customdist/ui/responseplot.h"

using namespace orb8;

TCharWin::TCharWin(TMainWin& main, TCustomDistWin& document, int set, int slot)
    : QWidget(&document, Qt::Window), main_(main), document_(document),
      designer_(CharacterDesigner::Tone(document.Data(), set, slot)) {
    static const char* names[] = {"HIGH", "MID", "LOW"};
    setObjectName(QStringLiteral("CharWin%1%2").arg(names[slot - SlotHigh]).arg(set + 1));
    Column = new FilterColumnBox(QString(), QString(), this);
    PaintBox = new ResponsePlot(this);
    PaintBox->setObjectName("PaintBox");
    ResDraw = new QPushButton(tr("CALC"), this);
    ResDraw->setObjectName("ResDraw");
    SendButton = new QPushButton(tr("SEND"), this);
    SendButton->setObjectName("SendButton");
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ResDraw);
    buttons->addWidget(SendButton);
    buttons->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addWidget(Column);
    left->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(PaintBox, 1);
    resize(700, 300);
    connect(ResDraw, &QPushButton::clicked, this, &TCharWin::ResDrawClick);
    connect(SendButton, &QPushButton::clicked, this, &TCharWin::SendButtonClick);
}

void TCharWin::ShowDesigner(const QString& caption) {
    setWindowTitle(caption);
    if (!isVisible()) Refresh();
    show();
    raise();
    activateWindow();
}

void TCharWin::Refresh() {
    Column->Show(designer_.Columns().front());
    PaintBox->SetLevels(designer_.Levels());
}

void TCharWin::ResDrawClick() {
    const CustomDistData before = document_.Data();
    designer_.Calc({Column->Input()});
    document_.Record(before, tr("CALC"));
    Refresh();
    // The quantise-all snaps the whole document: that is a change to keep.
    main_.MarkModified(&document_);
}

void TCharWin::SendButtonClick() {
    if (!main_.Link().OutputOpen()) return;
    if (designer_.AnyInvalid() &&
        !main_.Dialogs().AskYesNo(this, tr("ORB-8ED"),
                                  tr("This filter is invalid: its coefficients do not fit or are unstable.\nSend it to "
                                     "the ORB-8 all the same?")))
        return;
    main_.Link().SendDesignToneFilter(document_.Data(), Set(), Slot(), main_.DesignMode);
}

void TCharWin::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}
