#include "workspace/documentrules.h"

#include <cctype>
#include <filesystem>

#include "customdist/customdistdata.h"
#include "patch/projectdocument.h"

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

std::string UntitledName(DocumentKind kind, int number) {
    return (kind == DocumentKind::CustomDist ? "NoNameDst" : "NoName") + std::to_string(number);
}

const char* FileKindName(DocumentKind kind) {
    return kind == DocumentKind::CustomDist ? "custom distortion file" : "project file";
}

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

std::string DocumentCaption(const Document& document) {
    return DocumentCaption(document.Titled() ? document.FileName() : std::string(), document.UntitledName(),
                           document.Modified());
}

bool KeepsPathAfterFailedLoad(bool fileExists) { return !fileExists; }

bool SaveMustAsk(bool fileKnown, bool fileExists) { return fileExists && !fileKnown; }

Document* OpenDocumentOfFile(const std::vector<Document*>& open, const std::string& path) {
    namespace fs = std::filesystem;
    const auto same = [&](const std::string& other) {
        std::error_code error;
        if (fs::equivalent(fs::path(path), fs::path(other), error)) return true;
        // Neither there (or unreadable): the same path, spelled alike.
        return fs::path(path).lexically_normal() == fs::path(other).lexically_normal();
    };
    for (Document* document : open)
        if (document && !document->FileName().empty() && document->FileKnown() && same(document->FileName()))
            return document;
    return nullptr;
}

FileResult TryReading(const std::string& path, DocumentKind kind) {
    if (kind == DocumentKind::Project) {
        ProjectDocument document;
        document.fileName = path;
        return document.Load();
    }
    CustomDistDocument document;
    document.fileName = path;
    return document.Load();
}

}  // namespace orb8
