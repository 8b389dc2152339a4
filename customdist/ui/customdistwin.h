// TCustomDistWin: the document window of a custom distortion file. Its
// panel draws the signal chain as four blocks (the distortion character,
// then the HIGH, MID and LOW characters) with a "Special1" and a "Special2"
// button under each, which show the designers, and "Recv" and "Store" at
// its left, which move both sets from and to the processor.
#pragma once

#include <QPushButton>
#include <array>
#include <vector>

#include "app/ui/documentwindow.h"
#include "customdist/customdistdata.h"

class QUndoStack;
class TCharWin;
class TDstCharWin;

class TCustomDistWin : public DocumentWindow {
    Q_OBJECT

public:
    TCustomDistWin(TMainWin& main, int number);
    ~TCustomDistWin() override;

    static constexpr int kWidth = 602;
    static constexpr int kHeight = 170;

    orb8::CustomDistDocument& Document() { return document_; }
    orb8::CustomDistData& Data() { return document_.data; }

    orb8::DocumentKind Kind() const override { return orb8::DocumentKind::CustomDist; }
    std::string FileName() const override { return document_.fileName; }
    void SetFileName(const std::string& path) override;
    bool Modified() const override { return document_.modified; }
    orb8::FileResult LoadDocument() override;
    orb8::FileResult SaveDocument() override;
    void FormActivate() override;
    QString UnsavedQuestion() const override;

    QPushButton *DstChar1Btn, *DstChar2Btn, *HiChar1Btn, *HiChar2Btn, *MidChar1Btn, *MidChar2Btn, *LowChar1Btn,
        *LowChar2Btn, *RecvBtn, *SendBtn;

    // The designers, created hidden with the document: the tone designers of
    // set 0 (HIGH, MID, LOW) and set 1, then the distortion designers of set
    // 0 and 1.
    std::vector<QWidget*> Designers() const;
    TDstCharWin* DistortionDesigner(int set) const;
    TCharWin* ToneDesigner(int set, int slot) const;

    void RecvBtnClick();
    void SendBtnClick();

    // The history: CALC, a preset choice and a receive are steps.
    QUndoStack* Undo() const { return undo_; }
    // Pushes the change from `before` to the data as it is now (nothing when nothing changed).
    void Record(const orb8::CustomDistData& before, const QString& text);
    // Undo or redo: the data, and the designers that show it.
    void Restore(const orb8::CustomDistData& data);

protected:
    void SetModifiedFlag(bool modified) override { document_.modified = modified; }
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton* Button(const char* name, const QString& caption, QRect at);
    // The blocks of the chain, in window coordinates.
    std::array<QRect, 4> Blocks() const;
    void ShowDistortionDesigner(int set);
    void ShowToneDesigner(int set, int slot);

    orb8::CustomDistDocument document_;
    std::array<TCharWin*, 6> tone_{};  // set 0 HIGH, MID, LOW, then set 1
    std::array<TDstCharWin*, 2> distortion_{};
    QUndoStack* undo_;
};
