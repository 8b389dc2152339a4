// orb8tool: the command-line side of the librarian. Every command writes its
// results to out and a one-line error to err, and returns the exit code.
#pragma once

#include <ostream>
#include <string>

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
void AddBankCommands(CLI::App& app, std::ostream& out);
void AddCustomDistCommands(CLI::App& app, std::ostream& out);
void AddMidiCommands(CLI::App& app, std::ostream& out);

}  // namespace orb8
