// TCharWin: the tone character designer of one filter (HIGH, MID or LOW of
// a set): the filter, its validity, its response plot, CALC and SEND.
#pragma once

#include "customdist/ui/designerwindow.h"

class FilterColumnBox;
class ResponsePlot;

class TCharWin : public DesignerWindow {
    Q_OBJECT

public:
    TCharWin(DesignerContext& context, orb8::CustomDistSession& session, QWidget* document, int set, int slot);

    int Slot() const { return designer_.Slots().front(); }
    void ShowDesigner(const QString& caption);
    void Refresh() override;
    void ResDrawClick();     // CALC
    void SendButtonClick();  // SEND

private:
    FilterColumnBox* Column;
    ResponsePlot* PaintBox;
    QPushButton *ResDraw, *SendButton;
};
