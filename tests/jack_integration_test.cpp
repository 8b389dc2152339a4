// Over real MIDI: a JACK server with the dummy driver, orb8-sim on it, and the
// program's own MIDI layer going on line and receiving the whole bank. Every
// process started here is ended by its id. Without JACK the test is skipped.
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <spawn.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

#include "device/devicelink.h"
#include "midi/blockinghost.h"
#include "midi/rtmidibackend.h"
#include "sim/factorybank.h"

extern char** environ;

using namespace orb8;
using namespace std::chrono_literals;

namespace {

pid_t Spawn(const std::vector<std::string>& args, const std::string& output) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Whether the process ends by itself within `limit`: woken by the end itself
// (a pidfd is readable once the process has ended), not by polling. The
// process is reaped when it has ended.
bool EndsWithin(pid_t pid, std::chrono::milliseconds limit) {
    const int ended = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (ended < 0) return waitpid(pid, nullptr, WNOHANG) == pid;
    pollfd wait{ended, POLLIN, 0};
    const bool gone = poll(&wait, 1, static_cast<int>(limit.count())) > 0;
    close(ended);
    if (gone) waitpid(pid, nullptr, 0);
    return gone;
}

// Ends a process by its id: politely, then firmly.
void End(pid_t& pid, std::chrono::milliseconds patience) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    if (!EndsWithin(pid, patience)) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    pid = -1;
}

// Waits until `ready` holds. It is checked again whenever something changes
// in `watched` (a folder or a file, through inotify), and it is checked a last
// time when the process `pid` ends (through its pidfd); no polling. False at
// the limit, or when the process ended and `ready` still does not hold.
template <class Ready>
bool WaitFor(Ready ready, const std::string& watched, pid_t pid, std::chrono::milliseconds limit) {
    const int changes = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (changes >= 0) inotify_add_watch(changes, watched.c_str(), IN_CREATE | IN_MODIFY | IN_ATTRIB | IN_MOVED_TO | IN_CLOSE_WRITE);
    const int ended = pid > 0 ? static_cast<int>(syscall(SYS_pidfd_open, pid, 0)) : -1;
    const auto until = std::chrono::steady_clock::now() + limit;
    bool result = false;
    for (;;) {
        if ((result = ready())) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd fds[2] = {{changes, POLLIN, 0}, {ended, POLLIN, 0}};
        if (poll(fds, 2, static_cast<int>(left.count())) <= 0) {
            result = ready();
            break;
        }
        if (fds[1].revents & POLLIN) {
            result = ready();
            break;
        }
        char events[4096];
        while (read(changes, events, sizeof events) > 0) {
        }
    }
    if (changes >= 0) close(changes);
    if (ended >= 0) close(ended);
    return result;
}

// What a JACK server leaves in /dev/shm: its segments and semaphores.
std::set<std::string> JackShmEntries() {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("jack", 0) == 0) names.insert(name);
    }
    return names;
}

class JackIntegration : public ::testing::Test {
protected:
    void SetUp() override {
        // A server of our own name, so a user's JACK session is never touched.
        // The names come from a small pool: JACK frees the slot of a server
        // that died (as the shutdown test makes it) only for a server of the
        // same name, and refuses new servers once eight slots are taken.
        setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
        shmBefore_ = JackShmEntries();
        for (int n = 1; n <= 4 && jackd_ < 0; ++n) {
            server_ = "orb8test-" + std::to_string(n);
            setenv("JACK_DEFAULT_SERVER", server_.c_str(), 1);
            if (JackServerRunning()) continue;  // another test run uses it
            // A client the server finds late (a sanitizer build on a busy
            // machine) is dropped after the client timeout, 500 ms unless
            // set: this test is about the protocol, not the server's patience.
            jackd_ = Spawn({"jackd", "--no-realtime", "-n", server_, "-t", "10000", "-d", "dummy", "-r", "48000", "-p",
                            "256"},
                           "/tmp/" + server_ + "-jackd.log");
            bool exited = false;
            // The server's socket and semaphores appear in /dev/shm as it starts.
            const bool up = jackd_ > 0 && WaitFor([&] {
                exited = exited || waitpid(jackd_, nullptr, WNOHANG) == jackd_;
                return exited || JackServerRunning();
            }, "/dev/shm", jackd_, 8000ms) && !exited;
            if (exited) jackd_ = -1;
            if (!up) End(jackd_, 2000ms);
        }
        if (jackd_ < 0) GTEST_SKIP() << "no JACK server could be started here";
        log_ = "/tmp/" + server_ + "-sim.log";
        sim_ = Spawn({ORB8_SIM_PATH, "--channel", "3", "--log", log_, "--force"}, "/tmp/" + server_ + "-sim.out");
        ASSERT_GT(sim_, 0);
    }
    // The processes, then what the server left behind (a killed server
    // leaves segments of about 107 MB each): only what appeared during this
    // test and names no other server, so a user's JACK session keeps its own.
    void TearDown() override {
        End(sim_, 3000ms);   // clients first, else the server takes seconds to stop
        End(jackd_, 8000ms);
        for (const std::string& name : JackShmEntries()) {
            if (shmBefore_.count(name) || name == "jack-shm-registry") continue;
            const bool ours = name.find(server_) != std::string::npos || name.find('_') == std::string::npos;
            std::error_code error;
            if (ours) std::filesystem::remove("/dev/shm/" + name, error);
        }
        std::error_code error;
        for (const char* suffix : {"-jackd.log", "-sim.log", "-sim.out"}) std::filesystem::remove("/tmp/" + server_ + suffix, error);
    }

    // The MIDI system of the test, and orb8-sim's ports on it once they show:
    // orb8-sim names them in its output when they are open.
    void FindSimulator(MidiSystem& system, int& out, int& in) {
        ASSERT_TRUE(WaitFor([&] {
            out = MidiSystem::Find(system.OutputNames(), "orb8-sim");
            in = MidiSystem::Find(system.InputNames(), "orb8-sim");
            return out >= 0 && in >= 0;
        }, "/tmp/" + server_ + "-sim.out", sim_, 8000ms)) << "orb8-sim's ports did not appear";
    }
    // Ends the exchanges of `host` for good should orb8-sim end or `limit`
    // pass: an exchange waits for each reply without a time limit, as the
    // program does (and a plain abort would be cleared by the next exchange).
    struct Watchdog {
        Watchdog(BlockingHost& host, pid_t sim, std::chrono::milliseconds limit)
            : stop_(eventfd(0, EFD_CLOEXEC)), thread_([this, &host, sim, limit] {
                  const int ended = static_cast<int>(syscall(SYS_pidfd_open, sim, 0));
                  pollfd fds[2] = {{stop_, POLLIN, 0}, {ended, POLLIN, 0}};
                  const int n = poll(fds, 2, static_cast<int>(limit.count()));
                  if (n == 0 || (fds[1].revents & POLLIN)) {
                      fired = true;
                      host.Cancel();
                  }
                  if (ended >= 0) close(ended);
              }) {}
        ~Watchdog() {
            const std::uint64_t one = 1;
            if (write(stop_, &one, sizeof one) < 0) {}
            thread_.join();
            close(stop_);
        }
        std::atomic<bool> fired{false};

    private:
        int stop_;
        std::thread thread_;
    };
    // What orb8-sim and the server said, for a failure's message.
    std::string Logs() const {
        std::string text;
        for (const char* suffix : {"-sim.out", "-jackd.log"}) {
            std::ifstream in("/tmp/" + server_ + suffix);
            text += "--- " + server_ + suffix + ":\n" + std::string(std::istreambuf_iterator<char>(in), {});
        }
        return text;
    }
    static MidiSystemOptions RealPortsOnly() {
        MidiSystemOptions options;
        options.simulator = false;
        return options;
    }

    std::string server_, log_;
    pid_t jackd_ = -1, sim_ = -1;
    std::set<std::string> shmBefore_;
};

}  // namespace

TEST_F(JackIntegration, OnLineAndReceiveAllOverJack) {
    MidiSystem system(RealPortsOnly());
    int out = -1, in = -1;
    FindSimulator(system, out, in);
    if (HasFatalFailure()) return;

    BlockingHost host(system, out, in);
    DeviceLink link(host);
    // A lost simulator ends the test with what it said, not a hang.
    Watchdog watchdog(host, sim_, 30000ms);
    ASSERT_TRUE(link.OnLine()) << Logs();
    EXPECT_EQ(link.deviceChannel, 2);
    EXPECT_EQ(host.channelItems[2].caption, "3:VESK ORB-8");
    EXPECT_EQ(link.areas.customSettings, FactoryCustomSettings());

    ProjectDocument project;
    ASSERT_EQ(link.ReceiveAllPatches(project), TransferResult::Completed)
        << (watchdog.fired ? "orb8-sim ended, or the bank had not come in 30 s\n" : "") << Logs();
    const auto factory = FactoryBank();
    for (int i = 0; i < kPatchCount; ++i)
        EXPECT_EQ(FromSlot(project.packedSlots[static_cast<std::size_t>(i)]), factory[static_cast<std::size_t>(i)]) << i;
    link.OffLine();
}

TEST_F(JackIntegration, ServerShutdownEndsTheTransferAndTheSimulator) {
    MidiSystem system(RealPortsOnly());
    int out = -1, in = -1;
    FindSimulator(system, out, in);
    if (HasFatalFailure()) return;
    // The server goes away while the bank comes in: once ten patches have arrived.
    struct KillingHost : BlockingHost {
        using BlockingHost::BlockingHost;
        void SetProgressValue(int done, int) override {
            if (done == 10 && server > 0) kill(server, SIGKILL);
        }
        pid_t server = -1;
    } host(system, out, in);
    DeviceLink link(host);
    ASSERT_TRUE(link.OnLine(2));
    host.server = jackd_;
    ProjectDocument project;
    const TransferResult result = link.ReceiveAllPatches(project);
    EXPECT_EQ(result, TransferResult::Aborted);
    EXPECT_EQ(host.LostReason(), "the JACK server has shut down");
    EXPECT_GT(link.lastReceived, 0);
    EXPECT_LT(link.lastReceived, kPatchCount);
    if (EndsWithin(sim_, 5000ms)) sim_ = -1;
    else ADD_FAILURE() << "orb8-sim kept running";  // ended in TearDown
    int status = 0;
    waitpid(jackd_, &status, 0);
    jackd_ = -1;
    link.OffLine();
}
