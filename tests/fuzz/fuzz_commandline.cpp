// Any command line for orb8ed (arguments split at zero bytes): files to open
// are only documents, and everything else is said.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/framerules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) arguments.emplace_back();
        else arguments.back() += static_cast<char>(data[i]);
    }
    const orb8::CommandLine line = orb8::ParseCommandLine(arguments);
    for (const std::string& file : line.files)
        if (orb8::KindOfPath(file) == orb8::DocumentKind::None) std::abort();
    std::size_t taken = line.files.size() + line.problems.size() + (line.english ? 1 : 0) + (line.startupProbe ? 1 : 0) +
                        (line.screenshot.empty() ? 0 : 2);
    if (taken > arguments.size() + 1) std::abort();
    return 0;
}
