#include "app/framerules.h"

#include <CLI/CLI.hpp>
#include <algorithm>

namespace orb8 {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    std::vector<std::string> args = arguments;
    // "/E" is -E's older spelling, taken only where -E must stand: before any
    // file (--screenshot FILE and --startup-probe may come first). Anywhere
    // else it is a path.
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--screenshot") ++i;
        else if (args[i] == "/E") args[i] = "-E";
        else if (args[i] != "--startup-probe") break;
    }
    // "-E=1" or "-Ex" is no option: said as it was given (CLI11 would take
    // the -E from it and name what is left).
    std::vector<std::string> kept;
    bool afterDashes = false, shotFile = false;  // after "--"; the value of --screenshot
    for (std::string& arg : args) {
        const bool glued = !afterDashes && !shotFile && arg.size() > 2 && arg.starts_with("-E");
        if (glued) line.problems.push_back("\"" + arg + "\" is no option of orb8ed (-E, --screenshot FILE).");
        shotFile = !afterDashes && !shotFile && arg == "--screenshot";
        afterDashes = afterDashes || arg == "--";
        if (!glued) kept.push_back(std::move(arg));
    }
    args = std::move(kept);
    // The rest as the system spells it: CLI11 keeps the bytes, so a file's
    // name need not be UTF-8.
    CLI::App app("Opens ORB-8 projects (.orb) and custom distortion sets (.dst).", "orb8ed");
    app.add_flag("-E", line.english, "English captions on a Japanese system");
    app.add_option("--screenshot", line.screenshot, "Draws the main window into a picture and ends")->type_name("FILE");
    app.add_flag("--startup-probe", line.startupProbe)->group("");  // for the start-up benchmark
    // Everything else is left to the loop below, as it stands (CLI11 would
    // read "[a,b]" as a list): files, "--" and options it does not know.
    app.allow_extras();
    app.footer("\"--\" comes before names that begin with \"-\".");
    struct Usage : CLI::Formatter {
        std::string make_usage(const CLI::App*, std::string) const override {
            return "Usage: orb8ed [OPTIONS] [FILE.orb | FILE.dst]...\n";
        }
    };
    app.formatter(std::make_shared<Usage>());
    std::reverse(args.begin(), args.end());  // CLI11 takes them last first
    try {
        app.parse(std::move(args));
    } catch (const CLI::CallForHelp&) {
        line.help = app.help();
        return line;
    } catch (const CLI::ParseError& e) {
        line.problems.push_back(e.what());
        return line;
    }
    bool names = false;  // after "--": names only
    for (std::string& rest : app.remaining()) {
        if (!names && rest == "--") names = true;
        else if (!names && rest.size() > 1 && rest[0] == '-')
            line.problems.push_back("\"" + rest + "\" is no option of orb8ed (-E, --screenshot FILE).");
        else if (rest.empty()) continue;
        else if (KindOfPath(rest) == DocumentKind::None)
            line.problems.push_back(rest + " is neither a project file (.orb) nor a custom distortion file (.dst).");
        else line.files.push_back(std::move(rest));
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
