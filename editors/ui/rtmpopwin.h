// TRtmPopUp: the real-time modulation window ("RTM"), above the frame. It
// edits the RTM settings of the patch the editor shows.
#pragma once

#include <QWidget>

class TMainWin;

class TRtmPopUp : public QWidget {
    Q_OBJECT

public:
    explicit TRtmPopUp(TMainWin& main, QWidget* parent);

    static constexpr int kWidth = 534;
    static constexpr int kHeight = 216;

    // Shown 50 pixels below and 20 right of the frame's top left corner.
    void ShowPlaced();

private:
    TMainWin& main_;
};
