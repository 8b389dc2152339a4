// Keeping unsaved work for recovery: what a record of a whole bank costs the
// writer thread (encode, write, flush to disk, rename; target under 2 ms) and
// what handing it over costs the program's own thread.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "editors/projectsession.h"
#include "workspace/recovery.h"

using Clock = std::chrono::steady_clock;

namespace {

double Micro(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

void Print(const char* what, std::vector<double>& times) {
    std::sort(times.begin(), times.end());
    const auto at = [&](double q) { return times[static_cast<std::size_t>(q * (times.size() - 1))]; };
    std::printf("%s: median %.0f us, 90th percentile %.0f us, max %.0f us (%zu runs)\n", what, at(0.5), at(0.9),
                times.back(), times.size());
}

}  // namespace

int main() {
    std::string dir = (std::filesystem::temp_directory_path() / "orb8bench.XXXXXX").string();
    if (!::mkdtemp(dir.data())) return 1;
    orb8::RecoveryFolder folder(dir + "/recovery");
    if (!folder.Usable()) {
        std::fprintf(stderr, "recovery_bench: %s\n", folder.Problem().c_str());
        return 1;
    }
    orb8::CustomSettingsBlock settings{};
    orb8::ProjectSession session(settings);
    session.Perform([](orb8::ProjectDocument& document) {
        for (std::string& comment : document.comments) comment = std::string(200, 'c');
        return orb8::StepReport{"bench", {}};
    });

    std::vector<double> write, handOver;
    orb8::RecoveryWriter writer(folder);
    for (int run = 0; run < 200; ++run) {
        // The program's thread: the bank's image, handed to the writer.
        const auto start = Clock::now();
        orb8::RecoveryRecord record{orb8::DocumentKind::Project, "/home/player/banks/live.orb", "live.orb", run,
                                    session.FileImage()};
        writer.Write(1, std::move(record));
        handOver.push_back(Micro(Clock::now() - start));
        writer.Flush();
    }
    const orb8::RecoveryRecord record{orb8::DocumentKind::Project, "/home/player/banks/live.orb", "live.orb", 0,
                                      session.FileImage()};
    for (int run = 0; run < 200; ++run) {
        const auto start = Clock::now();
        folder.Write(1, record);
        write.push_back(Micro(Clock::now() - start));
    }
    std::printf("A recovery record of a bank (%zu bytes of document):\n", record.bytes.size());
    Print("  written by the writer thread (target under 2000 us)", write);
    Print("  handed over by the program's thread", handOver);
    folder.EndNormally();
    std::filesystem::remove_all(dir);
    return 0;
}
