// TMidiMonitorWin ("MIDI Monitor", MIDI > Monitor): every message in and out
// while it is open, with its time, direction, port, name and bytes. Pause,
// Clear, a filter by kind, and Save as a .syx file of the SysEx messages
// shown. Closed, it records nothing.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTimer;
class TMidi;
class TrafficModel;
class UserDialogs;

class TMidiMonitorWin : public QWidget {
    Q_OBJECT

public:
    TMidiMonitorWin(TMidi& midi, UserDialogs& dialogs, QWidget* parent);
    ~TMidiMonitorWin() override;

    TrafficModel& Model() { return *model_; }
    // Takes what was recorded since the last time (the timer does this while shown).
    void TakeRecorded();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Save();
    void ShowCount();

    TMidi& midi_;
    UserDialogs& dialogs_;
    TrafficModel* model_;
    QSortFilterProxyModel* shown_;
    QTableView* table_;
    QComboBox* kind_;
    QPushButton *pause_, *clear_, *save_;
    QLabel* count_;
    QTimer* poll_;
};
