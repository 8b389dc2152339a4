// TProgressWin: the window every exchange with the processor shows: its
// status text, how far it has come, and the Abort button, which only says
// that it was pressed (the exchange's host cancels it).
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class TProgressWin : public QDialog {
    Q_OBJECT

public:
    explicit TProgressWin(QWidget* parent = nullptr);


    void SetText(const QString& text);
    // done of total; a total of 0 shows the bar as busy.
    void SetProgress(int done, int total);
    // Centred on the screen, above the other windows.
    void ShowCentred();

signals:
    void Aborted();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* ProText;
    QProgressBar* Bar;
    QPushButton* Abortbtn;
    void AbortbtnClick();
};
