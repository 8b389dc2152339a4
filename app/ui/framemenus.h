// The frame's menu bar: every menu and item with its name, caption, shortcut
// and hints, in menu order. The frame connects them to its commands.
#pragma once

#include <QString>
#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QObject;

struct FrameMenus {
    QMenu *FileMenu = nullptr, *NewMenu = nullptr, *ExportMenu = nullptr, *RecentMenu = nullptr, *EditMenu = nullptr,
          *MidiMenu = nullptr, *MidiInMenu = nullptr, *MidiOutMenu = nullptr, *PaceMenu = nullptr, *ChanMenu = nullptr,
          *CustomDistMenu = nullptr, *WindowMenu = nullptr, *HelpMenu = nullptr;
    QAction *ExportSyxMenu = nullptr, *ExportPatchSyxMenu = nullptr, *ImportSyxMenu = nullptr, *UndoMenu = nullptr,
            *RedoMenu = nullptr, *CompareMenu = nullptr, *DifferencesMenu = nullptr,
            *SoundDesignMenu = nullptr;
    QAction *ProjectNewMenu = nullptr, *CustomDistNewMenu = nullptr, *OpenMenu = nullptr, *SaveMenu = nullptr,
            *SaveAsMenu = nullptr, *ExitMenu = nullptr, *CopyMenu = nullptr, *PasteMenu = nullptr,
            *OnLineMenu = nullptr, *UploadMenu = nullptr, *DownloadMenu = nullptr, *KeyboardMenu = nullptr,
            *DesignMenu = nullptr, *MemoMenu = nullptr, *AboutMenu = nullptr, *OnLineHMenu = nullptr,
            *VHomeMenu = nullptr, *ORBPageMenu = nullptr, *LibraryMenu = nullptr, *SendChangedMenu = nullptr,
            *VerifyMenu = nullptr, *MonitorMenu = nullptr;
    std::array<QAction*, 16> ChanItems{};
    // One exclusive item per output pace, in the order of orb8::kOutputPaces.
    std::array<QAction*, 4> PaceItems{};

    // Fills the menu bar; the channel items form one exclusive group.
    void BuildMenus(QMenuBar& bar, bool japanese);
    // The undo and redo items name the step they undo or redo.
    void ShowHistory(bool canUndo, const QString& undoText, bool canRedo, const QString& redoText);

    // The short hint before the bar goes to the tooltip, the rest to the status line.
    static void SetHint(QAction* action, const QString& hint);
};
