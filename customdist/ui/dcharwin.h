// TDstCharWin: the distortion character designer of one set: the Bottom,
// Pre and Edge filters, the clipper chosen from the presets, their validity,
// the response plot, CALC and SEND.
#pragma once

#include <array>
#include <functional>

#include "customdist/ui/designerwindow.h"

class FilterColumnBox;
class QListWidget;
class ResponsePlot;

class TDstCharWin : public DesignerWindow {
    Q_OBJECT

public:
    TDstCharWin(DesignerContext& context, orb8::CustomDistSession& session, QWidget* document,
                std::function<QString()> documentCaption, int set);


    // Shows the window: a hidden one is refreshed first, a shown one comes to the front.
    void ShowDesigner();
    void Refresh() override;
    void DstCharResDrawClick();  // CALC
    void SendButtonClick();      // SEND

private:
    std::array<FilterColumnBox*, 3> Columns;  // BOTTOM, PRE CHAR, EDGE
    QListWidget* ListBox;
    ResponsePlot* PaintBoxDistChar;
    QPushButton *DstCharResDraw, *SendButton;
    void ListBoxClick(int row);
    void Caption();

    std::function<QString()> documentCaption_;
    bool filling_ = false;
};
