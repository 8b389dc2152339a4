// File > Export and File > Import SysEx: a project's patches as the SysEx
// messages that write them into the processor, and the ORB-8 patches of a
// SysEx file taken into a project as one step.
#pragma once

#include <QObject>
#include <functional>

class QWidget;
class TProjectWindow;
class UserDialogs;

class SysExCommands : public QObject {
    Q_OBJECT

public:
    SysExCommands(UserDialogs& dialogs, QWidget* parent, bool japanese, std::function<void(const QString&)> status);

    // All 80 patches, or the selected one, on `channel` (0..15).
    void Export(TProjectWindow& project, bool selectedOnly, int channel);
    void Import(TProjectWindow& project);

private:
    UserDialogs& dialogs_;
    QWidget* parent_;
    bool japanese_;
    std::function<void(const QString&)> status_;
};
