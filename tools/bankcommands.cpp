// orb8tool commands on project files: new, list, show, export, import.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iomanip>
#include <memory>
#include <sstream>

#include "device/sysexfile.h"
#include "patch/differences.h"
#include "patch/effecttables.h"
#include "patch/projectdocument.h"
#include "tools/bankjson.h"
#include "tools/toolcommands.h"

namespace orb8 {
namespace {

constexpr const char* kBankKind = "project file";

// A bank as JSON is well under a megabyte; anything much larger is not one.
constexpr std::size_t kJsonLimit = 8u << 20;


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

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, const char* kind) {
    const FileResult r = WriteFileAtomically(path, bytes);
    if (!r.ok()) throw ToolError{FileMessageLine(r, kind)};
}

void PrintDiff(const std::vector<PatchDifference>& differences, const std::vector<SettingsDifference>& settings,
               bool json, std::ostream& out) {
    if (json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const PatchDifference& d : differences) {
            nlohmann::ordered_json patch;
            patch["label"] = PatchLabel(d.index);
            auto& params = patch["parameters"] = nlohmann::ordered_json::array();
            for (const ParameterDifference& p : d.parameters)
                params.push_back({{"byte", p.byte}, {"module", ModuleName(p.module)}, {"parameter", p.name},
                                  {"a", {{"value", p.valueA}, {"text", p.textA}}},
                                  {"b", {{"value", p.valueB}, {"text", p.textB}}}});
            if (d.commentDiffers) patch["comment"] = {{"a", d.commentA}, {"b", d.commentB}};
            list.push_back(std::move(patch));
        }
        nlohmann::ordered_json block = nlohmann::ordered_json::array();
        for (const SettingsDifference& s : settings)
            block.push_back({{"offset", s.offset}, {"slot", s.slot}, {"parameter", s.name},
                             {"a", s.textA}, {"b", s.textB}});
        out << nlohmann::ordered_json{{"differences", list}, {"customSettings", block}}.dump(2) << "\n";
        return;
    }
    // The custom settings first: they change what every CUSTOM patch plays.
    if (!settings.empty()) out << "custom settings\n";
    for (const SettingsDifference& s : settings)
        out << "  " << Pad(s.slot, 16) << Pad(s.name, 13) << " " << TerminalSafe(s.textA) << " -> "
            << TerminalSafe(s.textB) << "\n";
    for (const PatchDifference& d : differences) {
        out << PatchLabel(d.index) << "\n";
        for (const ParameterDifference& p : d.parameters)
            out << "  " << Pad(std::string(ModuleName(p.module)), 8) << Pad(p.name, 13) << " " << TerminalSafe(p.textA)
                << " -> " << TerminalSafe(p.textB) << "\n";
        if (d.commentDiffers)
            out << "  comment: \"" << TerminalSafe(d.commentA) << "\" -> \"" << TerminalSafe(d.commentB) << "\"\n";
    }
}

}  // namespace

std::unique_ptr<LoadedBank> LoadBank(const std::string& path) {
    auto bank = std::make_unique<LoadedBank>();
    bank->document.fileName = path;
    const FileResult r = bank->document.Load();
    if (!r.ok()) throw ToolError{FileMessageLine(r, kBankKind)};
    return bank;
}

void SaveBank(ProjectDocument& document, const std::string& path) {
    document.fileName = path;
    const FileResult r = document.Save();
    if (!r.ok()) throw ToolError{FileMessageLine(r, kBankKind)};
}

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
        SaveBank(document, *path);
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

    struct SyxOptions {
        std::string patch, base, editBufferTo;
        int channel = 1;
        bool json = false;
    };
    auto syx = std::make_shared<SyxOptions>();
    auto* exportSyx = app.add_subcommand("export-syx", "Write a bank (or one patch) as the SysEx messages that write it into the ORB-8.");
    exportSyx->add_option("BANK.orb", *path, "project file")->required();
    exportSyx->add_option("OUT.syx", *second, "SysEx file to write")->required();
    exportSyx->add_option("--patch", syx->patch, "only this patch (U01..u94)");
    exportSyx->add_option("--channel", syx->channel, "the ORB-8's MIDI channel, 1..16")->capture_default_str();
    exportSyx->add_flag("--force", *force, "replace an existing file");
    exportSyx->callback([=, &out] {
        if (syx->channel < 1 || syx->channel > 16) throw ToolError{"--channel takes 1..16"};
        std::optional<int> only;
        if (!syx->patch.empty()) {
            only = PatchIndexFromLabel(syx->patch);
            if (*only < 0) throw ToolError{"\"" + syx->patch + "\" is not a patch label (U01..U94, u01..u94)"};
        }
        RefuseOverwrite(*second, *force);
        auto bank = LoadBank(*path);
        WriteBytes(*second, PatchesAsSysEx(bank->document, syx->channel - 1, only), "SysEx file");
        out << (only ? "1 patch" : "80 patches") << " written to " << *second << "\n";
    });

    auto* importSyx = app.add_subcommand("import-syx", "Take the ORB-8 patches of a SysEx file into a project file.");
    importSyx->add_option("IN.syx", *path, "SysEx file, as any MIDI tool writes it")->required();
    importSyx->add_option("OUT.orb", *second, "project file to write")->required();
    importSyx->add_option("--base", syx->base, "start from this bank instead of a new one");
    importSyx->add_option("--edit-buffer-to", syx->editBufferTo, "take an edit-buffer message into this patch (U01..u94)");
    importSyx->add_flag("--force", *force, "replace an existing file");
    importSyx->callback([=, &out] {
        RefuseOverwrite(*second, *force);
        int editRow = 0;
        if (!syx->editBufferTo.empty()) {
            const int index = PatchIndexFromLabel(syx->editBufferTo);
            if (index < 0) throw ToolError{"\"" + syx->editBufferTo + "\" is not a patch label (U01..U94, u01..u94)"};
            editRow = index + 1;
        }
        std::vector<std::uint8_t> bytes;
        const FileResult r = ReadFileBytes(*path, 16u << 20, bytes);
        if (!r.ok()) throw ToolError{FileMessageLine(r, "SysEx file")};
        if (bytes.size() > (16u << 20)) throw ToolError{*path + " is larger than 16 MB; not a bank's SysEx"};
        const SysExContents contents = ReadSysEx(bytes);
        if (!contents.Usable()) throw ToolError{*path + " holds no ORB-8 patch (" + contents.Summary() + "); nothing was written"};
        if (contents.dumps.empty() && editRow == 0)
            throw ToolError{*path + " holds no patch dump, only edit buffers: name the row for the last with --edit-buffer-to U01..u94; nothing was written"};
        auto bank = syx->base.empty() ? std::make_unique<LoadedBank>() : LoadBank(syx->base);
        if (!contents.editBuffers.empty() && editRow == 0)
            out << "note: the edit buffer is left out (take it with --edit-buffer-to U01..u94)\n";
        if (syx->base.empty())
            out << "note: a .syx holds no custom settings; the new bank has the default ones (--base BANK.orb keeps a bank's)\n";
        TakeSysEx(bank->document, contents, editRow);
        SaveBank(bank->document, *second);
        out << "taken into " << *second << ": " << contents.Summary(editRow != 0) << "\n";
    });

    auto* diff = app.add_subcommand("diff", "The patches that differ between two banks, parameter by parameter. Exit 0: equal, 1: different, 2: an error.");
    diff->add_option("A.orb", *path, "first project file")->required();
    diff->add_option("B.orb", *second, "second project file")->required();
    diff->add_flag("--json", syx->json, "as JSON, for scripts");
    diff->callback([=, &out] {
        std::unique_ptr<LoadedBank> a, b;
        try {
            a = LoadBank(*path);
            b = LoadBank(*second);
        } catch (ToolError& e) {
            e.code = 2;
            throw;
        }
        const auto differences = BankDifferences(a->document, a->settings, b->document, b->settings);
        const auto settings = CustomSettingsDifferences(a->settings, b->settings);
        PrintDiff(differences, settings, syx->json, out);
        std::string summary;
        if (!differences.empty()) summary = std::to_string(differences.size()) + " of 80 patches differ";
        if (!settings.empty())
            summary += (summary.empty() ? "" : "; ") + std::to_string(settings.size()) + " custom settings " +
                       (settings.size() == 1 ? "value differs (" : "values differ (") +
                       DifferingSlotsText(a->settings, b->settings) + ")";
        if (!summary.empty()) throw ToolError{summary, 1};
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
        SaveBank(bank->document, *second);
    });
}

}  // namespace orb8
