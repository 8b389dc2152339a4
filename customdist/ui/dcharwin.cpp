#include "customdist/ui/dcharwin.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "customdist/customdistsession.h"
#include "controls/screenfit.h"
#include "customdist/ui/filtercolumn.h"
#include "customdist/ui/responseplot.h"
#include "workspace/ui/windowcontext.h"

using namespace orb8;

TDstCharWin::TDstCharWin(DesignerContext& context, CustomDistSession& session, QWidget* document,
                         std::function<QString()> documentCaption, int set)
    : DesignerWindow(context, session, document, CharacterDesigner::Distortion(set)),
      documentCaption_(std::move(documentCaption)) {
    setObjectName(QStringLiteral("DstCharWin%1").arg(set + 1));
    auto* top = new QHBoxLayout;
    const QStringList headings = {tr("BOTTOM"), tr("PRE CHAR"), tr("EDGE")};
    const QStringList suffixes = {"Bottom", "Pre", "Edge"};
    for (int i = 0; i < 3; ++i) {
        Columns[static_cast<std::size_t>(i)] =
            new FilterColumnBox(headings[i], suffixes[i], this, QStringLiteral("Result%1").arg(i + 1));
        top->addWidget(Columns[static_cast<std::size_t>(i)]);
    }
    auto* clip = new QVBoxLayout;
    auto* heading = new QLabel(tr("CLIP CHAR"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    clip->addWidget(heading);
    ListBox = new QListWidget(this);
    ListBox->setObjectName("ListBox");
    for (const ClipperPreset& preset : ClipperPresets()) ListBox->addItem(QString::fromUtf8(preset.name.data(), static_cast<qsizetype>(preset.name.size())));
    ListBox->setMinimumWidth(170);
    clip->addWidget(ListBox);
    top->addLayout(clip);

    PaintBoxDistChar = new ResponsePlot(this);
    QVBoxLayout* buttons = MakeButtons("DstCharResDraw", DstCharResDraw, SendButton);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(PaintBoxDistChar, 1);
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom, 1);
    resize(FitToScreen(QSize(760, 560), screen()).expandedTo(minimumSizeHint()));

    connect(ListBox, &QListWidget::currentRowChanged, this, &TDstCharWin::ListBoxClick);
    connect(DstCharResDraw, &QPushButton::clicked, this, &TDstCharWin::DstCharResDrawClick);
    connect(SendButton, &QPushButton::clicked, this, &TDstCharWin::SendButtonClick);
}

void TDstCharWin::Caption() {
    setWindowTitle(documentCaption_() + (Set() == 0 ? "/CHAR/Special1" : "/CHAR/Special2"));
}

void TDstCharWin::ShowDesigner() {
    if (!isVisible()) Refresh();
    show();
    raise();
    activateWindow();
}

void TDstCharWin::Refresh() {
    filling_ = true;
    const auto columns = designer_.Columns(session_.Data());
    for (std::size_t i = 0; i < 3; ++i) Columns[i]->Show(columns[i]);
    // The preset the clipper matches is shown chosen; showing writes nothing
    // (the preset's clip filters are taken by CALC or a click on it, as steps).
    ListBox->setCurrentRow(designer_.ShownPreset(session_.Data()));
    PaintBoxDistChar->SetLevels(designer_.Levels(session_.Data()));
    Caption();
    filling_ = false;
}

void TDstCharWin::ListBoxClick(int row) {
    if (filling_ || row < 0) return;
    session_.Perform(tr("Clipper %1").arg(ListBox->item(row)->text()).toStdString(),
                     [&](CustomDistData& data) { designer_.ApplyPreset(data, row); });
}

void TDstCharWin::DstCharResDrawClick() {
    std::vector<FilterInput> input;
    for (FilterColumnBox* c : Columns) input.push_back(c->Input());
    Calculate(tr("CALC %1", "undo step").arg(Set() == 0 ? "Special1" : "Special2"), input);
}

void TDstCharWin::SendButtonClick() {
    Audition(tr("A filter of this character is invalid: its coefficients do not fit or are unstable.\nSend it to the "
                "ORB-8 all the same?"),
             [this] { context_.SendDesignCharacter(session_.Data(), Set()); });
}
