// The tool windows around the patch in the editor (Differences, Sound Design),
// made when first asked for, and the library's patches handed to them or to
// the editor's bank.
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "editors/patchediting.h"
#include "patch/customsettings.h"
#include "patch/patchclip.h"

class LibraryCommands;
class QAction;
class QSettings;
class QWidget;
class TControlPanel;
class TDifferencesWin;
class TSoundDesignWin;
class UserDialogs;
class WindowContext;

class PatchToolWindows : public QObject {
    Q_OBJECT

public:
    // compare: the frame's Compare item, switched off before a library patch
    // replaces the edited one. frame: the tool windows' parent.
    PatchToolWindows(WindowContext& context, TControlPanel& panel, UserDialogs& dialogs, QAction& compare,
                     QSettings* settings, QWidget* frame);

    // The library's requests: compare, copy over the editor's patch, design from.
    void SetLibrary(LibraryCommands* library);
    void ShowDifferences();
    void ShowSoundDesign();
    // A short message from the MIDI input, for a pedal that drives the morph.
    void ControllerMessage(std::uint32_t message);
    // The open banks, for the windows' lists.
    void SetProjects(const std::vector<orb8::OpenProject>& projects);

signals:
    // A tool window was made: it needs the open banks (SetProjects).
    void WindowMade();
    // The Sound Design window made patches for a new bank.
    void NewBankRequested(const QString& title, const std::vector<orb8::PatchData>& patches,
                          const orb8::CustomSettingsBlock& settings);
    // A library patch goes over patch row `row` of `project` (one step; the row becomes current).
    void TakePatchRequested(orb8::ProjectSession& project, const orb8::PatchClip& clip, int row);

private:
    TDifferencesWin& Differences();
    void CompareWithLibrary(const orb8::PatchClip& clip, const QString& label);
    void CopyFromLibrary(const orb8::PatchClip& clip);

    WindowContext& context_;
    TControlPanel& panel_;
    UserDialogs& dialogs_;
    QAction& compare_;
    QSettings* settings_;
    QWidget* frame_;
    LibraryCommands* library_ = nullptr;
    TDifferencesWin* differences_ = nullptr;
    TSoundDesignWin* soundDesign_ = nullptr;
};
