#include "tools/toolcommands.h"

#include <CLI/CLI.hpp>

namespace orb8 {

int RunOrb8Tool(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"orb8tool: keeps ORB-8 banks (.orb) and custom distortion files (.dst) from the command line.",
                 "orb8tool"};
    app.require_subcommand(1);
    AddBankCommands(app, out);
    AddCustomDistCommands(app, out);
    AddMidiCommands(app, out);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::ParseError& e) {
        // Subcommand help requests arrive here too.
        if (e.get_exit_code() == 0) return app.exit(e, out, err);
        std::string what = e.what();
        err << "orb8tool: " << what << " (see orb8tool --help)\n";
        return 2;
    } catch (const ToolError& e) {
        err << "orb8tool: " << e.message << "\n";
        return e.code;
    } catch (const std::exception& e) {
        err << "orb8tool: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace orb8
