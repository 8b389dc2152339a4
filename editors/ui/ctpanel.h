// TControlPanel: the patch editor, one window for the whole run. It shows
// the patch selected in the current project window and the buttons that go
// on and off line, move whole banks and open the RTM window.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class TColorButton;
class TMainWin;
class TProjectWindow;

class TControlPanel : public QWidget {
    Q_OBJECT

public:
    explicit TControlPanel(TMainWin& main);

    static constexpr int kWidth = 644;
    static constexpr int kHeight = 301;

    QLabel* PatchNo;
    QLineEdit* PatchName;
    TColorButton* OnLineBtn;
    TColorButton* OffLineBtn;
    TColorButton* UploadBtn;
    TColorButton* DownloadBtn;
    TColorButton* RtmEditBtn;

    // Makes patch `index` of the project the one shown and edited.
    void ShowPatch(TProjectWindow& project, int index);
    TProjectWindow* Project() const { return project_; }
    int PatchIndex() const { return index_; }
    // The patch's name and number as its project row shows them.
    void SetNameAndNumber(const QString& name, const QString& number);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TMainWin& main_;
    TProjectWindow* project_ = nullptr;
    int index_ = 0;
};
