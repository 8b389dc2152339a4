#include "customdist/ui/character.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "customdist/customdistsession.h"
#include "customdist/ui/filtercolumn.h"
#include "customdist/ui/responseplot.h"
#include "workspace/ui/windowcontext.h"

using namespace orb8;

TCharWin::TCharWin(DesignerContext& context, CustomDistSession& session, QWidget* document, int set, int slot)
    : DesignerWindow(context, session, document, CharacterDesigner::Tone(set, slot)) {
    static const char* names[] = {"HIGH", "MID", "LOW"};
    setObjectName(QStringLiteral("CharWin%1%2").arg(names[slot - SlotHigh]).arg(set + 1));
    Column = new FilterColumnBox(QString(), QString(), this);
    PaintBox = new ResponsePlot(this);
    PaintBox->setObjectName("PaintBox");
    auto* left = new QVBoxLayout;
    left->addWidget(Column);
    left->addLayout(MakeButtons("ResDraw", ResDraw, SendButton));
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
    Column->Show(designer_.Columns(session_.Data()).front());
    PaintBox->SetLevels(designer_.Levels(session_.Data()));
}

// The quantise-all snaps the whole document: a step even when nothing moved.
void TCharWin::ResDrawClick() { Calculate(tr("CALC", "undo step"), {Column->Input()}); }

void TCharWin::SendButtonClick() {
    Audition(tr("This filter is invalid: its coefficients do not fit or are unstable.\nSend it to the ORB-8 all the "
                "same?"),
             [this] { context_.SendDesignToneFilter(session_.Data(), Set(), Slot()); });
}
