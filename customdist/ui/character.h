// TCharWin: the tone character designer of one filter (HIGH, MID or LOW of
// a set): the filter, its validity, its response plot, CALC and SEND.
#pragma once

#include <QWidget>

#include "customdist/designer.h"

class FilterColumnBox;
class QPushButton;
class ResponsePlot;
class TCustomDistWin;
class TMainWin;

class TCharWin : public QWidget {
    Q_OBJECT

public:
    TCharWin(TMainWin& main, TCustomDistWin& document, int set, int slot);

    FilterColumnBox* Column;
    ResponsePlot* PaintBox;
    QPushButton *ResDraw, *SendButton;

    int Set() const { return designer_.Set(); }
    int Slot() const { return designer_.Slots().front(); }
    void ShowDesigner(const QString& caption);
    void Refresh();
    void ResDrawClick();     // CALC
    void SendButtonClick();  // SEND

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TMainWin& main_;
    TCustomDistWin& document_;
    orb8::CharacterDesigner designer_;
};
