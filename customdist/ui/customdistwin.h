// TCustomDistWin: the document window of a custom distortion file. Its
// panel draws the signal chain as four blocks (the distortion character,
// then the HIGH, MID and LOW characters) with a "Special1" and a "Special2"
// button under each, which show the designers, and "Recv" and "Store" at
// its left, which move both sets from and to the processor.
#pragma once

#include <QPushButton>
#include <array>
#include <vector>

#include "customdist/customdistsession.h"
#include "workspace/ui/documentwindow.h"

class DesignerContext;
class TCharWin;
class TDstCharWin;

class TCustomDistWin : public DocumentWindow {
    Q_OBJECT

public:
    TCustomDistWin(DesignerContext& context, int number, std::shared_ptr<orb8::CustomDistSession> session);
    ~TCustomDistWin() override;

    static constexpr int kWidth = 602;
    static constexpr int kHeight = 170;

    orb8::CustomDistSession& Session() { return session_; }
    const orb8::CustomDistData& Data() const { return session_.Data(); }


    // The designers, created hidden with the document: the tone designers of
    // set 0 (HIGH, MID, LOW) and set 1, then the distortion designers of set
    // 0 and 1.
    std::vector<QWidget*> Designers() const;
    TDstCharWin* DistortionDesigner(int set) const;
    TCharWin* ToneDesigner(int set, int slot) const;

    void RecvBtnClick();
    void SendBtnClick();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton *DstChar1Btn, *DstChar2Btn, *HiChar1Btn, *HiChar2Btn, *MidChar1Btn, *MidChar2Btn, *LowChar1Btn,
        *LowChar2Btn, *RecvBtn, *SendBtn;
    QPushButton* Button(const char* name, const QString& caption, QRect at);
    // The blocks of the chain, in window coordinates.
    std::array<QRect, 4> Blocks() const;
    void ShowDistortionDesigner(int set);
    void ShowToneDesigner(int set, int slot);
    // Every step, undo and redo: the caption and the designers that show the data.
    void Changed();

    DesignerContext& designer_;
    orb8::CustomDistSession& session_;
    std::array<TCharWin*, 6> tone_{};  // set 0 HIGH, MID, LOW, then set 1
    std::array<TDstCharWin*, 2> distortion_{};
    int listener_ = 0;
};
