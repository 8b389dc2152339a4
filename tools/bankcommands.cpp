// orb8tool commands on project files: new, list, show, export, import.
#include <CLI/CLI.hpp>
#include <cstdio>
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

// A bank as JSON is well under a megabyte; anything much larger is not one.
constexpr std::size_t kJsonLimit = 8u << 20;

struct LoadedBank {
    ProjectDocument document;
    CustomSettingsBlock settings = DefaultCustomSettings();
};

std::unique_ptr<LoadedBank> LoadBank(const std::string& path) {
    auto bank = std::make_unique<LoadedBank>();
    bank->document.fileName = path;
    const FileResult r = bank->document.Load(&bank->settings);
    if (!r.ok()) throw ToolError{FileMessageLine(r, kKind)};
    return bank;
}

void SaveBank(ProjectDocument& document, const CustomSettingsBlock& settings, const std::string& path) {
    document.fileName = path;
    const FileResult r = document.Save(settings);
    if (!r.ok()) throw ToolError{FileMessageLine(r, kKind)};
}

// Standard input up to limit + 1 bytes, so an oversized input is seen without reading it all.
std::string ReadStandardInput(std::size_t limit) {
    std::string text;
    char buffer[65536];
    while (text.size() <= limit) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, stdin);
        if (n == 0) break;
        text.append(buffer, n);
    }
    if (std::ferror(stdin)) throw ToolError{"standard input could not be read"};
    return text;
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
        out << TerminalSafe(texts[5]) << "\n";
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
    if (!comment.empty()) out << "comment: " << TerminalSafe(comment) << "\n";
}

}  // namespace

void AddBankCommands(CLI::App& app, std::ostream& out, std::ostream&) {
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
        RefuseOverwrite(*second, *force);
        std::string text;
        const std::string source = *path == "-" ? "standard input" : *path;
        if (*path == "-") {
            text = ReadStandardInput(kJsonLimit);
        } else {
            std::vector<std::uint8_t> bytes;
            const FileResult r = ReadFileBytes(*path, kJsonLimit, bytes);
            if (!r.ok()) throw ToolError{FileMessageLine(r, "JSON bank")};
            text.assign(bytes.begin(), bytes.end());
        }
        if (text.size() > kJsonLimit)
            throw ToolError{source + " is larger than 8 MB; a bank as JSON is far smaller"};
        std::string error;
        const nlohmann::json json = ParseBankJson(text, error);
        if (!error.empty()) throw ToolError{source + ": " + error};
        auto bank = std::make_unique<LoadedBank>();
        if (!BankFromJson(json, bank->document, bank->settings, error)) throw ToolError{source + ": " + error};
        SaveBank(bank->document, bank->settings, *second);
    });
}

}  // namespace orb8
