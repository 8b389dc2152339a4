// Bulk transfers against the simulated ORB-8.
//  1. With MIDI wire timing, in real time: each transfer's measured time next
//     to its wire-time limit (bytes both ways x 320 us plus processing time,
//     of what the exchange waits for: the closing WriteClose, which nothing
//     waits for, is not counted), without and with the 2 ms pauses after each
//     clipper read that the transfers must make. Target: ratio at most 1.02.
//     Send Changed of 3 patches next to Send All of the bank: target about
//     3/80 of its time (read back: twice that).
//  2. With an instant processor: the program's own time per exchange.
//     Target: under 20 microseconds.
//  3. CPU used while a wait sits on a silent processor for one second.
//     Target: under 1 %.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "device/devicelink.h"
#include "midi/blockinghost.h"
#include "tests/simulatedhost.h"

using namespace orb8;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Transfer {
    const char* name;
    std::function<TransferResult(DeviceLink&)> run;
    int pauses;  // the 2 ms pauses the transfer makes after each clipper read
};

std::vector<Transfer> Transfers(ProjectDocument& project, CustomDistDocument& dist) {
    return {
        {"Receive All (patches)", [&](DeviceLink& l) { return l.ReceiveAllPatches(project); }, 0},
        {"Send All (patches)", [&](DeviceLink& l) { return l.SendAllPatches(project); }, 2},
        {"Recv (custom distortions)", [&](DeviceLink& l) { return l.ReceiveAllCustomDists(dist); }, 2},
        {"Store (custom distortions)", [&](DeviceLink& l) { return l.SendAllCustomDists(dist); }, 0},
    };
}

void WireTimed(std::chrono::microseconds processing) {
    MidiSystemOptions options;
    options.realPorts = false;
    options.simulatorTiming = {true, processing};
    MidiSystem system(options);
    BlockingHost host(system, 0, 0);
    DeviceLink link(host);
    if (!link.OnLine()) {
        std::printf("the simulator did not answer\n");
        return;
    }
    ProjectDocument project;
    CustomDistDocument dist;
    std::printf("\nWith MIDI wire timing (320 us a byte), processing %lld us:\n", static_cast<long long>(processing.count()));
    std::printf("  %-28s %10s %10s %7s %14s %7s\n", "transfer", "measured", "wire limit", "ratio", "+ 2 ms pauses",
                "ratio");
    for (const Transfer& t : Transfers(project, dist)) {
        SimulatedDevice& device = *system.Simulator();
        const std::uint64_t bytesBefore = device.WireBytes();
        const std::size_t messagesBefore = device.With([](Orb8Simulator& s) { return s.Log().size(); });
        const auto start = Clock::now();
        const TransferResult r = t.run(link);
        const auto elapsed = Clock::now() - start;
        // Let a message still on the wire arrive before counting.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::uint64_t bytes = device.WireBytes() - bytesBefore;
        std::size_t messages = device.With([](Orb8Simulator& s) { return s.Log().size(); }) - messagesBefore;
        const bool closes = device.With([](Orb8Simulator& s) {
            const auto names = s.ReceivedNames();
            return !names.empty() && names.back() == "WriteClose";
        });
        if (closes && messages > 0) {
            bytes -= WriteClose(0).size();
            --messages;
        }
        const double limit = bytes * 320e-6 + static_cast<double>(messages) * processing.count() * 1e-6;
        const double withPauses = limit + t.pauses * 0.002;
        std::printf("  %-28s %9.3fs %9.3fs %7.4f %13.3fs %7.4f%s\n", t.name, Seconds(elapsed), limit,
                    Seconds(elapsed) / limit, withPauses, Seconds(elapsed) / withPauses,
                    r == TransferResult::Completed ? "" : "  (did not complete)");
    }
    // The processor holds `project` now (Send All above): three patches change.
    const auto timed = [&](const std::function<TransferResult()>& run) {
        const auto start = Clock::now();
        const TransferResult r = run();
        return r == TransferResult::Completed ? Seconds(Clock::now() - start) : -1.0;
    };
    const double all = timed([&] { return link.SendAllPatches(project); });
    for (const bool verify : {false, true}) {
        ProjectDocument changed = project;
        for (const int i : {3, 40, 77})
            changed.patches[static_cast<std::size_t>(i)][PatchLevel] = static_cast<std::uint8_t>(verify ? 11 : 12);
        DeviceLink::ChangedReport report;
        const double some = timed([&] { return link.SendChangedPatches(changed, project, verify, report); });
        project = changed;
        std::printf("  Send Changed, 3 patches%s: %.3f s against Send All's %.3f s: %.4f of it (3/80 = %.4f)\n",
                    verify ? ", read back" : "", some, all, some / all, 3.0 / 80);
    }
    link.OffLine();
}

void Instant() {
    std::printf("\nThe program's own time per exchange (instant processor):\n");
    ProjectDocument project;
    CustomDistDocument dist;
    {
        Orb8Simulator sim(0);
        SimulatedHost host(&sim);
        host.wireTiming = false;
        DeviceLink link(host);
        host.OpenOutput();
        host.OpenInput();
        for (const Transfer& t : Transfers(project, dist)) {
            const int rounds = 50;
            std::size_t exchanges = 0;
            const auto start = Clock::now();
            for (int i = 0; i < rounds; ++i) {
                sim.ClearLog();
                t.run(link);
                exchanges += sim.Log().size();
            }
            const double perExchange = Seconds(Clock::now() - start) / static_cast<double>(exchanges);
            std::printf("  %-28s %8.2f us  (in-process, simulator included)\n", t.name, perExchange * 1e6);
        }
    }
    {
        MidiSystemOptions options;
        options.realPorts = false;
        options.simulatorTiming = {false, {}};
        MidiSystem system(options);
        BlockingHost host(system, 0, 0);
        DeviceLink link(host);
        if (!link.OnLine()) return;
        for (const Transfer& t : Transfers(project, dist)) {
            const std::size_t before = system.Simulator()->With([](Orb8Simulator& s) { return s.Log().size(); });
            const auto start = Clock::now();
            t.run(link);
            const std::size_t exchanges = system.Simulator()->With([](Orb8Simulator& s) { return s.Log().size(); }) - before;
            std::printf("  %-28s %8.2f us  (through the simulator's thread)\n", t.name,
                        Seconds(Clock::now() - start) / static_cast<double>(exchanges) * 1e6);
        }
        link.OffLine();
    }
}

void SilentWait() {
    MidiSystemOptions options;
    options.realPorts = false;
    MidiSystem system(options);
    BlockingHost host(system, 0, 0);
    host.OpenOutput();
    host.OpenInput();
    host.StartInput();
    host.QueueReceive(kAckReplyBytes);
    ReplyState state = ReplyNone;
    const double cpuBefore = CpuSeconds();
    const auto start = Clock::now();
    host.WaitForReply(state, std::chrono::milliseconds(1000));
    const double wall = Seconds(Clock::now() - start);
    const double cpu = CpuSeconds() - cpuBefore;
    std::printf("\nWaiting %.3f s on a silent processor used %.3f ms of CPU (%.3f %%)\n", wall, cpu * 1e3, cpu / wall * 100);
}

}  // namespace

int main() {
    std::printf("Bulk transfers against the simulated ORB-8\n");
    WireTimed(std::chrono::microseconds(0));
    WireTimed(std::chrono::microseconds(2000));
    Instant();
    SilentWait();
    return 0;
}
