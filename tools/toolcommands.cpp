#include "tools/toolcommands.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "patch/fileio.h"
#include "patch/utf8.h"

namespace orb8 {

void RefuseOverwrite(const std::string& path, bool force) {
    if (const std::string why = WhyNotWritable(path, force); !why.empty()) throw ToolError{why};
}

std::string TerminalSafe(const std::string& text) {
    static const char digits[] = "0123456789ABCDEF";
    auto escaped = [](unsigned char c) { return std::string("\\x") + digits[c >> 4] + digits[c & 15]; };
    std::string line;
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            line += " / ";
            ++i;
            continue;
        }
        if (c < 0x20 || c == 0x7F) {
            line += escaped(c);
            ++i;
            continue;
        }
        if (c < 0x80) {
            line += static_cast<char>(c);
            ++i;
            continue;
        }
        // A whole UTF-8 character passes, except the C1 controls (U+0080..U+009F).
        std::size_t length = 1;
        const std::uint32_t code = utf8::Decode(text, i, length);
        if (code == utf8::kInvalid || code < 0xA0) {
            line += escaped(c);
            ++i;
            continue;
        }
        line.append(text, i, length);
        i += length;
    }
    return line;
}

namespace {

int Run(CLI::App& app, int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
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
        if (argc < 2) {
            err << "orb8tool: no command given (see orb8tool --help)\n";
        } else if (app.get_subcommands().empty() && argv[1][0] != '-') {
            err << "orb8tool: unknown command \"" << argv[1] << "\" (see orb8tool --help)\n";
        } else {
            err << "orb8tool: " << e.what() << " (see orb8tool --help)\n";
        }
        return 2;
    } catch (const ToolError& e) {
        err << "orb8tool: " << e.message << "\n";
        return e.code;
    } catch (const std::bad_alloc&) {
        err << "orb8tool: out of memory\n";
        return 1;
    } catch (const std::exception& e) {
        err << "orb8tool: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int RunOrb8Tool(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app{"orb8tool: keeps ORB-8 banks (.orb) and custom distortion files (.dst) from the command line.",
                 "orb8tool"};
    app.require_subcommand(1);
    AddBankCommands(app, out, err);
    AddCustomDistCommands(app, out, err);
    AddMidiCommands(app, out, err);
    AddLibraryCommands(app, out, err);
    AddDesignCommands(app, out, err);
    int code = Run(app, argc, argv, out, err);
    // What could not be written (a full disk, a closed pipe) is an error too.
    errno = 0;
    out.flush();
    if (!out) {
        const int error = errno;
        err << "orb8tool: the output could not be written" << (error ? std::string(": ") + std::strerror(error) : "")
            << "\n";
        if (code == 0) code = 1;
    }
    return code;
}

}  // namespace orb8
