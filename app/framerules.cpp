#include "app/framerules.h"

#include <algorithm>

namespace orb8 {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool options = true, first = true;  // first: no document argument yet (--screenshot FILE is none)
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool wasFirst = first;
        if (argument != "--screenshot" && argument != "--startup-probe") first = false;
        if (options && wasFirst && (argument == "-E" || argument == "/E")) {
            line.english = true;
        } else if (options && argument == "--") {
            options = false;
        } else if (options && argument == "--screenshot") {
            if (i + 1 >= arguments.size()) line.problems.push_back("--screenshot needs the picture's file name.");
            else line.screenshot = arguments[++i];
        } else if (options && argument == "--startup-probe") {
            line.startupProbe = true;
        } else if (options && argument.size() > 1 && argument[0] == '-') {
            line.problems.push_back("\"" + argument + "\" is no option of orb8ed (-E, --screenshot FILE).");
        } else if (argument.empty()) {
            continue;
        } else if (KindOfPath(argument) == DocumentKind::None) {
            line.problems.push_back(argument + " is neither a project file (.orb) nor a custom distortion file (.dst).");
        } else {
            line.files.push_back(argument);
        }
    }
    return line;
}
std::string MainTitle(const std::string& activeCaption) { return std::string(kShortTitle) + " - " + activeCaption; }

std::string WindowListText(int index, const std::string& caption) {
    const std::string number = std::to_string(index + 1);
    return (index < 9 ? "&" + number : number) + ":" + caption;
}

int WindowListShortcutDigit(int index) { return index >= 0 && index < 9 ? index + 1 : 0; }

std::string HomePageAddress(bool japanese) {
    return japanese ? "https://www.example.com/vesk/ja/" : "https://www.example.com/vesk/en/";
}

std::string DownloadPageAddress(bool japanese) {
    return japanese ? "https://www.example.com/vesk/ja/orb-8/download/"
                    : "https://www.example.com/vesk/en/orb-8/download/";
}

FrameEnabling IdleEnabling(const FrameState& s) {
    FrameEnabling e;
    switch (s.active) {
        case DocumentKind::None:
            e.transferButtons = false;
            break;
        case DocumentKind::Project:
            e.save = s.activeModified;
            e.comment = true;
            e.receiveAll = e.sendAll = s.onLine;
            if (s.onLine) e.transferButtons = true;
            e.transferButtonsGreen = s.onLine;
            e.copy = e.saveAs = true;
            e.paste = s.copyFilled;  // nothing to paste before a copy
            break;
        case DocumentKind::CustomDist:
            e.save = s.activeModified;
            e.receiveAll = e.sendAll = false;
            e.saveAs = true;
            break;
    }
    e.onLineLook = s.onLine;
    e.channelMenu = e.designMenu = s.onLine;
    e.onLineCaption = s.onLine ? "Off &Line" : "On &Line";
    // Nothing that starts another exchange, or ends the link, while one runs.
    if (s.exchangeRunning) {
        if (e.receiveAll) e.receiveAll = false;
        if (e.sendAll) e.sendAll = false;
        if (e.transferButtons) e.transferButtons = false;
        e.channelMenu = e.designMenu = e.onLineMenu = false;
    }
    return e;
}

std::vector<std::string> RememberRecent(std::vector<std::string> files, const std::string& path) {
    if (path.empty()) return files;
    files.erase(std::remove(files.begin(), files.end(), path), files.end());
    files.insert(files.begin(), path);
    if (files.size() > static_cast<std::size_t>(kRecentFiles)) files.resize(kRecentFiles);
    return files;
}

const std::vector<std::pair<int, int>>& DesignModeMessages() {
    static const std::vector<std::pair<int, int>> messages = {{1, 20},  {0, 1},   {10, 9},  {11, 9},  {12, 9},
                                                              {13, 9},  {51, 26}, {52, 27}, {53, 41}, {54, 31},
                                                              {55, 29}, {56, 36}, {57, 0},  {58, 0}};
    return messages;
}

}  // namespace orb8
