// Runs orb8tool in-process and collects its exit code and output.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tools/toolcommands.h"

struct ToolRun {
    int code;
    std::string out, err;
};

inline ToolRun Tool(std::vector<std::string> args) {
    args.insert(args.begin(), "orb8tool");
    std::vector<const char*> argv;
    for (auto& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    const int code = orb8::RunOrb8Tool(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, out.str(), err.str()};
}
