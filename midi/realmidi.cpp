#include "midi/realmidi.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <climits>

namespace orb8 {
namespace {

using CreateFunction = MidiBackend* (*)(int api, const char* clientName);
constexpr const char* kModuleFile = "orb8-rtmidi.so";
constexpr const char* kEntry = "orb8_create_rtmidi_backend";
constexpr const char* kVersionEntry = "orb8_rtmidi_module_version";
using VersionFunction = const char* (*)();

std::string ProgramFolder() {
    std::array<char, PATH_MAX> path{};
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return {};
    const std::string program(path.data(), static_cast<std::size_t>(n));
    return program.substr(0, program.rfind('/'));
}

struct Module {
    CreateFunction create = nullptr;
    std::string problem;
};

// Where the program is installed (bin/ beside the library folder), else in
// the build tree.
Module Load() {
    Module module;
    const std::string folders[] = {ProgramFolder() + "/../" ORB8_INSTALL_LIBDIR "/orb8ed", ORB8_BUILD_MODULE_DIR};
    for (const std::string& folder : folders) {
        const std::string file = folder + "/" + kModuleFile;
        if (::access(file.c_str(), R_OK) != 0) continue;
        void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* error = ::dlerror();
            module.problem = error ? error : file + " could not be loaded";
            return module;
        }
        // A module of another version (an old installation beside a new
        // program) would not match the program's classes: it is not used.
        const auto version = reinterpret_cast<VersionFunction>(::dlsym(handle, kVersionEntry));
        const auto create = reinterpret_cast<CreateFunction>(::dlsym(handle, kEntry));
        if (!version || !create) module.problem = file + " is not the program's MIDI module";
        else if (std::string(version()) != ORB8_VERSION)
            module.problem = file + " belongs to version " + version() + ", the program is version " ORB8_VERSION;
        else module.create = create;
        return module;
    }
    module.problem = std::string(kModuleFile) + " was not found beside the program";
    return module;
}

}  // namespace

std::unique_ptr<MidiBackend> CreateRealMidiBackend(RealMidiApi api, const std::string& clientName, std::string* problem) {
    // Loaded once per process (thread-safe), kept until the end.
    static const Module module = Load();
    if (!module.create) {
        if (problem) *problem = module.problem;
        return nullptr;
    }
    return std::unique_ptr<MidiBackend>(module.create(static_cast<int>(api), clientName.c_str()));
}

}  // namespace orb8
