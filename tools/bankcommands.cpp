// orb8tool commands on project files: new, list, show, export, import.
#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <iomanip>
#include <memory>
#include <sstream>

#include "patch/effecttables.h"
#include "patch/projectdocument.h"
#include "tools/bankjson.h"
#include "tools/toolcommands.h"

namespace orb8 {
namespace {

constexpr const char* kKind = "project file";

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

void RefuseOverwrite(const std::string& path, bool force) {
    if (!force && Exists(path)) throw ToolError{path + " already exists (use --force to replace it)"};
}

struct LoadedBank {
    ProjectDocument document;
    CustomSettingsBlock settings = DefaultCustomSettings();
};

std::unique_ptr<LoadedBank> LoadBank(const std::string& path) {
    auto bank = std::make_unique<LoadedBank>();
    bank->document.fileName = path;
    const FileResult r = bank->document.Load(&bank->settings);
    if (!r.ok()) {
        std::string message = FileMessage(r, false, kKind);
        if (!r.reason.empty() && (r.problem == FileProblem::CannotOpen || r.problem == FileProblem::ReadFailed))
            message += " (" + r.reason + ")";
        throw ToolError{message};
    }
    return bank;
}

void SaveBank(ProjectDocument& document, const CustomSettingsBlock& settings, const std::string& path) {
    document.fileName = path;
    const FileResult r = document.Save(settings);
    if (!r.ok()) {
        std::string message = FileMessage(r, false, kKind);
        for (char& c : message) if (c == '\n') c = ' ';
        throw ToolError{message};
    }
}

// Line breaks of a comment would break the table: shown as " / ".
std::string OneLine(const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\r' || text[i] == '\n') line += " / ";
        else line += text[i];
    }
    return line;
}

std::string Pad(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

void ListBank(const LoadedBank& bank, std::ostream& out) {
    const std::size_t widths[] = {4, 10, 10, 10, 10};
    for (int c = 0; c < 5; ++c) out << Pad(kProjectHeadings[static_cast<std::size_t>(c)], widths[c]);
    out << kProjectHeadings[5] << "\n";
    for (int row = 1; row <= kPatchCount; ++row) {
        const auto texts = ProjectRowTexts(bank.document, row);
        for (int c = 0; c < 5; ++c) out << Pad(texts[static_cast<std::size_t>(c)], widths[c]);
        out << OneLine(texts[5]) << "\n";
    }
}

void ShowPatch(const LoadedBank& bank, int index, std::ostream& out) {
    const PatchData& p = bank.document.patches[static_cast<std::size_t>(index)];
    out << PatchLabel(index) << " \"" << DecodeName(p) << "\"\n";
    out << "byte  parameter      stored  display\n";
    for (int b = 0; b < kPatchBytes; ++b) {
        std::string name = PatchByteName(p, b, bank.settings);
        std::string text = PatchByteText(p, b, bank.settings);
        if (name.empty()) {
            name = "(unused)";
            text = "-";
        }
        std::ostringstream line;
        line.imbue(std::locale::classic());
        line << std::setw(4) << b << "  " << Pad(name, 13) << "  " << std::setw(6)
             << static_cast<int>(p[static_cast<std::size_t>(b)]) << "  " << text;
        out << line.str() << "\n";
    }
    const std::string& comment = bank.document.comments[static_cast<std::size_t>(index)];
    if (!comment.empty()) out << "comment: " << OneLine(comment) << "\n";
}

}  // namespace

void AddBankCommands(CLI::App& app, std::ostream& out) {
    // The options outlive parse(): they are owned by the callbacks' closures.
    auto path = std::make_shared<std::string>();
    auto second = std::make_shared<std::string>();
    auto force = std::make_shared<bool>(false);

    auto* create = app.add_subcommand("new", "Write a new project file: 80 initial patches, no comments.");
    create->add_option("OUT.orb", *path, "project file to write")->required();
    create->add_flag("--force", *force, "replace an existing file");
    create->callback([=] {
        RefuseOverwrite(*path, *force);
        ProjectDocument document;
        SaveBank(document, DefaultCustomSettings(), *path);
    });

    auto* list = app.add_subcommand("list", "List the 80 patches as the project window shows them.");
    list->add_option("BANK.orb", *path, "project file")->required();
    list->callback([=, &out] { ListBank(*LoadBank(*path), out); });

    auto* show = app.add_subcommand("show", "Show every parameter of one patch: byte, name, stored value, display.");
    show->add_option("BANK.orb", *path, "project file")->required();
    show->add_option("PATCH", *second, "patch label U01..U94 or u01..u94")->required();
    show->callback([=, &out] {
        const int index = PatchIndexFromLabel(*second);
        if (index < 0) throw ToolError{"\"" + *second + "\" is not a patch label (U01..U94, u01..u94)"};
        ShowPatch(*LoadBank(*path), index, out);
    });

    auto* exportCmd = app.add_subcommand("export", "Write a bank as JSON to standard output.");
    exportCmd->add_option("BANK.orb", *path, "project file")->required();
    exportCmd->callback([=, &out] {
        const auto bank = LoadBank(*path);
        out << BankToJson(bank->document, bank->settings).dump(2) << "\n";
    });

    auto* importCmd = app.add_subcommand("import", "Build a project file from JSON as export writes it.");
    importCmd->add_option("BANK.json", *path, "JSON file ('-' for standard input)")->required();
    importCmd->add_option("OUT.orb", *second, "project file to write")->required();
    importCmd->add_flag("--force", *force, "replace an existing file");
    importCmd->callback([=] {
        std::vector<std::uint8_t> bytes;
        std::string text;
        if (*path == "-") {
            text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        } else {
            const FileResult r = ReadFileBytes(*path, 64u << 20, bytes);
            if (!r.ok()) throw ToolError{*path + " can't be opened." + (r.reason.empty() ? "" : " (" + r.reason + ")")};
            if (bytes.size() > (64u << 20)) throw ToolError{*path + " is too large for a bank"};
            text.assign(bytes.begin(), bytes.end());
        }
        const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
        if (json.is_discarded()) throw ToolError{*path + ": not valid JSON"};
        auto bank = std::make_unique<LoadedBank>();
        std::string error;
        if (!BankFromJson(json, bank->document, bank->settings, error)) throw ToolError{*path + ": " + error};
        RefuseOverwrite(*second, *force);
        SaveBank(bank->document, bank->settings, *second);
    });
}

}  // namespace orb8
