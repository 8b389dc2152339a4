#include "app/framerules.h"

#include <cctype>

namespace orb8 {
namespace {

std::string LowerNamePart(std::string_view path) {
    const auto slash = path.find_last_of('/');
    std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

DocumentKind KindOfPath(std::string_view path) {
    const std::string name = LowerNamePart(path);
    if (EndsWith(name, ".orb")) return DocumentKind::Project;
    if (EndsWith(name, ".dst")) return DocumentKind::CustomDist;
    return DocumentKind::None;
}

std::string WithExtension(const std::string& path, DocumentKind kind) {
    const char* extension = kind == DocumentKind::Project ? ".orb" : kind == DocumentKind::CustomDist ? ".dst" : "";
    if (!*extension || EndsWith(LowerNamePart(path), extension)) return path;
    return path + extension;
}

std::string DocumentCaption(const std::string& fileName, const std::string& untitled, bool modified) {
    return (fileName.empty() ? untitled : fileName) + (modified ? "*" : "");
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

bool KeepsPathAfterFailedLoad(bool fileExists) { return !fileExists; }

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
    return e;
}

}  // namespace orb8
