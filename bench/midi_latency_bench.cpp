// MIDI input latency.
//  1. From a reply's last byte arriving at the backend to OnLong running on the
//     user-interface thread, with the in-process simulator. Target: < 100 us.
//  2. The round trip of a 7-byte request and a 91-byte reply over JACK, next
//     to the JACK period. Starts its own JACK server and orb8-sim when jackd is
//     there; says so and skips this part otherwise.
#include <jack/jack.h>
#include <signal.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <thread>

#include "device/messages.h"
#include "device/ui/midi.h"
#include "midi/rtmidibackend.h"

extern char** environ;

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

void Report(const char* what, std::vector<double> us) {
    if (us.empty()) return;
    std::sort(us.begin(), us.end());
    const auto at = [&](double q) { return us[static_cast<std::size_t>(q * static_cast<double>(us.size() - 1))]; };
    std::printf("  %-44s median %8.1f us   p90 %8.1f us   max %8.1f us   (%zu samples)\n", what, at(0.5), at(0.9),
                us.back(), us.size());
}

// Sends PatchRequests one after another through TMidi; each reply's delivery
// time is measured in OnLong.
std::vector<double> Exchanges(orb8::MidiSystem& system, int out, int in, int count, bool roundTrip) {
    TMidi midi(system);
    midi.MidiOutID = out;
    midi.MidiInID = in;
    std::vector<double> samples;
    Clock::time_point sentAt;
    int left = count;
    auto request = [&] {
        midi.AddBuf(orb8::kPatchReplyBytes);
        const orb8::Message m = orb8::PatchRequest(0, left % 80);
        sentAt = Clock::now();
        midi.Send(m.data(), static_cast<int>(m.size()));
    };
    midi.OnLong = [&](TMidi* sender, std::uint32_t, MidiReceiveBuffer* b) {
        const auto now = Clock::now();
        if (b->recorded > 0) {
            const auto from = roundTrip ? sentAt : b->arrived;
            samples.push_back(std::chrono::duration<double, std::micro>(now - from).count());
        }
        sender->DeleteBuf(b);
        if (--left > 0) request();
        else QCoreApplication::quit();
    };
    if (midi.OpenMidiOut() != 0 || midi.OpenMidiIn() != 0) {
        std::printf("  could not open the ports\n");
        return samples;
    }
    QTimer::singleShot(50, [&] { request(); });
    QTimer::singleShot(60000, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    midi.Reset();
    return samples;
}

pid_t Spawn(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void End(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 300 && waitpid(pid, nullptr, WNOHANG) == 0; ++i) std::this_thread::sleep_for(20ms);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

void OverJack() {
    std::printf("\nRound trip over JACK (dummy driver, 48 kHz, 256 frames):\n");
    const std::string server = "orb8bench" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
    const pid_t jackd = Spawn({"jackd", "--no-realtime", "-n", server, "-d", "dummy", "-r", "48000", "-p", "256"});
    bool up = false;
    for (int i = 0; i < 160 && jackd > 0 && !(up = orb8::JackServerRunning()); ++i) std::this_thread::sleep_for(50ms);
    if (!up) {
        std::printf("  skipped: no JACK server could be started\n");
        End(jackd);
        return;
    }
    double periodMs = 0;
    if (jack_client_t* c = jack_client_open("orb8bench-period", JackNoStartServer, nullptr)) {
        periodMs = 1000.0 * jack_get_buffer_size(c) / jack_get_sample_rate(c);
        jack_client_close(c);
    }
    const pid_t sim = Spawn({ORB8_SIM_PATH, "--instant"});
    {
        orb8::MidiSystemOptions options;
        options.simulator = false;
        orb8::MidiSystem system(options);
        int out = -1, in = -1;
        for (int i = 0; i < 160 && (out < 0 || in < 0); ++i) {
            out = orb8::MidiSystem::Find(system.OutputNames(), "orb8-sim");
            in = orb8::MidiSystem::Find(system.InputNames(), "orb8-sim");
            if (out < 0 || in < 0) std::this_thread::sleep_for(50ms);
        }
        if (out < 0 || in < 0) {
            std::printf("  skipped: orb8-sim did not come up\n");
        } else {
            std::printf("  JACK period: %.2f ms\n", periodMs);
            Report("request sent to reply in OnLong (instant sim)", Exchanges(system, out, in, 100, true));
        }
    }
    End(sim);
    End(jackd);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("MIDI input latency\n\nIn-process simulator:\n");
    {
        orb8::MidiSystemOptions options;
        options.realPorts = false;
        options.simulatorTiming = {true, {}};
        orb8::MidiSystem system(options);
        Report("reply's last byte at backend to OnLong", Exchanges(system, 0, 0, 200, false));
    }
    OverJack();
    return 0;
}
