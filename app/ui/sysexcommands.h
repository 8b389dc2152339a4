// File > Export and File > Import SysEx: a project's patches as the SysEx
// messages that write them into the processor, and the ORB-8 patches of a
// SysEx file taken into a project as one step.
#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "patch/document.h"

class QWidget;
class UserDialogs;

namespace orb8 {
class ProjectSession;
}

class SysExCommands : public QObject {
    Q_OBJECT

public:
    SysExCommands(UserDialogs& dialogs, QWidget* parent, std::function<void(const QString&)> status);

    // All 80 patches, or patch `only` (an index), on `channel` (0..15).
    void Export(orb8::ProjectSession& project, std::optional<int> only, int channel);
    // The file's patches from row `current` on (1..80), as one step; nothing
    // when none were taken.
    std::optional<orb8::SessionChange> Import(orb8::ProjectSession& project, int current);

private:
    UserDialogs& dialogs_;
    QWidget* parent_;
    std::function<void(const QString&)> status_;
};
