// orb8tool: the command-line side of the librarian. Every command writes its
// results to out, notes and a one-line error to err, and returns the exit code.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "patch/customsettings.h"
#include "patch/projectdocument.h"

namespace CLI {
class App;
}

namespace orb8 {

int RunOrb8Tool(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// Set by a failing command: the message that goes to standard error.
struct ToolError {
    std::string message;
    int code = 1;
};

// Each group of commands adds its subcommands; a command's callback throws
// ToolError on failure.
void AddBankCommands(CLI::App& app, std::ostream& out, std::ostream& err);
void AddCustomDistCommands(CLI::App& app, std::ostream& out, std::ostream& err);
void AddMidiCommands(CLI::App& app, std::ostream& out, std::ostream& err);
void AddLibraryCommands(CLI::App& app, std::ostream& out, std::ostream& err);
void AddDesignCommands(CLI::App& app, std::ostream& out, std::ostream& err);

// A project file with the custom settings at its end (the document's own).
struct LoadedBank {
    LoadedBank() = default;
    LoadedBank(const LoadedBank&) = delete;
    LoadedBank& operator=(const LoadedBank&) = delete;
    ProjectDocument document;
    CustomSettingsBlock& settings = document.customSettings;
};
// Reads a project file; ToolError with the reason when it can't.
std::unique_ptr<LoadedBank> LoadBank(const std::string& path);

// Writes a project file; ToolError with the reason when it can't.
void SaveBank(ProjectDocument& document, const std::string& path);

// Every command that writes a file: only a regular file (or a new one) is
// written, and an existing one only with --force.
void RefuseOverwrite(const std::string& path, bool force);

// Text from a file for the terminal: control characters and bytes that are
// not UTF-8 are shown escaped (\x1B), line breaks as " / ".
std::string TerminalSafe(const std::string& text);

}  // namespace orb8
