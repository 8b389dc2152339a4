// TDstCharWin: the distortion character designer of one set: the Bottom,
// Pre and Edge filters, the clipper chosen from the presets, their validity,
// the response plot, CALC and SEND.
#pragma once

#include <QWidget>
#include <array>

#include "customdist/designer.h"

class FilterColumnBox;
class QListWidget;
class QPushButton;
class ResponsePlot;
class TCustomDistWin;
class TMainWin;

class TDstCharWin : public QWidget {
    Q_OBJECT

public:
    TDstCharWin(TMainWin& main, TCustomDistWin& document, int set);

    std::array<FilterColumnBox*, 3> Columns;  // BOTTOM, PRE CHAR, EDGE
    QListWidget* ListBox;
    ResponsePlot* PaintBoxDistChar;
    QPushButton *DstCharResDraw, *SendButton;

    int Set() const { return designer_.Set(); }
    // Shows the window: a hidden one is refreshed first, a shown one comes to the front.
    void ShowDesigner();
    void Refresh();
    void DstCharResDrawClick();  // CALC
    void SendButtonClick();      // SEND

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ListBoxClick(int row);
    void Caption();

    TMainWin& main_;
    TCustomDistWin& document_;
    orb8::CharacterDesigner designer_;
    bool filling_ = false;
};
