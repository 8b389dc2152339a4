// The main window's rules as plain functions: its title, the window list,
// the web pages, the recent files, design mode's messages and what the idle
// pass enables. The window only applies them.
#pragma once

#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/documentrules.h"

namespace orb8 {

// "ORB-8ED - " and the active document's caption.
std::string MainTitle(const std::string& activeCaption);

// Window menu item i (from 0): "&1:caption" .. "&9:caption" with Ctrl+1..9,
// then "10:caption" and on without a shortcut.
std::string WindowListText(int index, const std::string& caption);
int WindowListShortcutDigit(int index);  // 1..9, or 0 for none

// The maker's pages, in one place.
std::string HomePageAddress(bool japanese);
std::string DownloadPageAddress(bool japanese);

// What the idle pass sets. An empty optional leaves that item as it is.
struct FrameState {
    DocumentKind active = DocumentKind::None;  // kind of the active document window
    bool activeModified = false;
    bool onLine = false;
    bool copyFilled = false;
    bool exchangeRunning = false;  // with the processor, on its own thread
};
struct FrameEnabling {
    bool save = false, saveAs = false, copy = false, paste = false, comment = false;
    std::optional<bool> receiveAll, sendAll;
    std::optional<bool> transferButtons;  // the patch editor's RecvAll and SendAll
    bool transferButtonsGreen = false;    // else grey
    bool channelMenu = false, designMenu = false;
    bool onLineMenu = true;  // On Line and Off Line
    bool onLineLook = false;  // the OnLine button green, the OffLine button navy
    const char* onLineCaption = "On &Line";
};
FrameEnabling IdleEnabling(const FrameState& state);

// orb8ed's command line: -E (or /E before any file) for English captions on
// a Japanese system; files to open (.orb, .dst), as the system spells them;
// "--" before files whose names begin with "-"; --screenshot FILE draws the
// main window into a picture and ends; --startup-probe ends once the first
// window shows (the start-up benchmark); --help.
struct CommandLine {
    bool english = false;
    std::vector<std::string> files;  // in order, as given (bytes, not always UTF-8)
    std::string screenshot;          // empty: no picture
    bool startupProbe = false;
    std::vector<std::string> problems;  // sentences for the user: what was not taken and why
    std::string help;                   // not empty: --help was asked for, and this answers it
};
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// File > Recent Files: the path first, once, and at most eight.
constexpr int kRecentFiles = 8;
std::vector<std::string> RememberRecent(std::vector<std::string> files, const std::string& path);

// Design mode: the ParameterChange messages (byte, value), in order, that
// leave only the drive on, with the first custom drive type, and name the
// edit buffer "DESIGN".
const std::vector<std::pair<int, int>>& DesignModeMessages();

}  // namespace orb8
