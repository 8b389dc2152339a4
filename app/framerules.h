// The main window's rules as plain functions: what a path opens as, the
// extension Save As gives, captions and titles, the window list, the web
// pages, and what the idle pass enables. The window only applies them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orb8 {

inline constexpr const char* kShortTitle = "ORB-8ED";
inline constexpr const char* kLongTitle = "ORB-8 Librarian/Editor";

enum class DocumentKind { None, Project, CustomDist };

// Open by name: the lower-cased file-name part ends in ".orb" or ".dst";
// anything else opens nothing.
DocumentKind KindOfPath(std::string_view path);
// Save As: the extension is appended unless the lower-cased file-name part
// already ends in it ("bank" gives "bank.orb", "bank.ORB" stays).
std::string WithExtension(const std::string& path, DocumentKind kind);

// A document window's caption: the file name, or the untitled name
// ("NoName3", "NoNameDst1") when there is none; "*" while modified.
std::string DocumentCaption(const std::string& fileName, const std::string& untitled, bool modified);
// "ORB-8ED - " and the active document's caption.
std::string MainTitle(const std::string& activeCaption);

// Window menu item i (from 0): "&1:caption" .. "&9:caption" with Ctrl+1..9,
// then "10:caption" and on without a shortcut.
std::string WindowListText(int index, const std::string& caption);
int WindowListShortcutDigit(int index);  // 1..9, or 0 for none

// The maker's pages, in one place.
std::string HomePageAddress(bool japanese);
std::string DownloadPageAddress(bool japanese);

// A file that exists but could not be loaded leaves no path behind, so that
// Save never overwrites it; a path that does not exist is kept (the blank
// window saves there).
bool KeepsPathAfterFailedLoad(bool fileExists);

// What the idle pass sets. An empty optional leaves that item as it is.
struct FrameState {
    DocumentKind active = DocumentKind::None;  // kind of the active document window
    bool activeModified = false;
    bool onLine = false;
    bool copyFilled = false;
};
struct FrameEnabling {
    bool save = false, saveAs = false, copy = false, paste = false, comment = false;
    std::optional<bool> receiveAll, sendAll;
    std::optional<bool> transferButtons;  // the patch editor's RecvAll and SendAll
    bool transferButtonsGreen = false;    // else grey
    bool channelMenu = false, designMenu = false;
    bool onLineLook = false;  // the OnLine button green, the OffLine button navy
    const char* onLineCaption = "On &Line";
};
FrameEnabling IdleEnabling(const FrameState& state);

}  // namespace orb8
