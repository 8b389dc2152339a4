#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "midi/realmidi.h"
#include "patch/projectdocument.h"
#include "sim/factorybank.h"
#include "tests/testfiles.h"
#include "tests/toolrun.h"

using namespace orb8;

extern char** environ;

namespace {

// Runs the orb8tool program with standard output and error to files; the
// signal, when given, is sent after `after`. Returns the exit status.
struct Process {
    int status = -1;
    std::string err;
};
Process RunTool(const std::vector<std::string>& args, const std::string& outPath, const std::string& errPath,
                int signal = 0, std::chrono::milliseconds after = {}) {
    std::vector<std::string> all{ORB8_TOOL_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    Process p;
    if (spawned != 0) return p;
    if (signal) {
        std::this_thread::sleep_for(after);
        kill(pid, signal);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    p.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    p.err = ReadText(errPath);
    return p;
}

}  // namespace

TEST(Orb8ToolMidi, PortsListTheSimulatorLast) {
    const ToolRun r = Tool({"ports", "--no-real-ports"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Outputs:\n  0: ORB-8 Simulator"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Inputs:\n  0: ORB-8 Simulator"), std::string::npos);
}

TEST(Orb8ToolMidi, ReceiveThenSendThroughTheSimulator) {
    TempDir dir;
    const std::string bank = dir.Path("recv.orb"), log = dir.Path("sim.log");
    const ToolRun r = Tool({"receive", bank, "--no-real-ports", "--sim-instant", "--sim-channel", "3", "--sim-log", log});
    ASSERT_EQ(r.code, 0) << r.err;
    ProjectDocument project;
    project.fileName = bank;
    ASSERT_TRUE(project.Load().ok());
    const auto factory = FactoryBank();
    for (int i = 0; i < kPatchCount; ++i) EXPECT_EQ(project.packedSlots[static_cast<std::size_t>(i)], ToSlot(factory[static_cast<std::size_t>(i)])) << i;
    const std::string traffic = ReadText(log);
    EXPECT_NE(traffic.find("F0 52 02 21 13 4F F7  PatchRequest"), std::string::npos);
    // The file ends with the settings block of the ORB-8 that answered.
    const auto bytes = ReadAll(bank);
    EXPECT_TRUE(std::equal(bytes.end() - 92, bytes.end(), FactoryCustomSettings().begin()));

    EXPECT_NE(Tool({"receive", bank, "--no-real-ports", "--sim-instant"}).code, 0);  // exists

    const ToolRun sent = Tool({"send", bank, "--no-real-ports", "--sim-instant", "--sim-log", log, "--force"});
    ASSERT_EQ(sent.code, 0) << sent.err;
    EXPECT_NE(ReadText(log).find("SettingsPageWrite"), std::string::npos);
    // With wire time the last message, WriteClose, is still on the wire when
    // the transfer ends: the simulator takes it in before the log is written.
    const ToolRun timed = Tool({"send", bank, "--no-real-ports", "--channel", "1", "--sim-log", log, "--force"});
    ASSERT_EQ(timed.code, 0) << timed.err;
    const std::string text = ReadText(log);
    const auto last = text.rfind("  ", text.size() - 2);
    EXPECT_EQ(text.substr(last + 2), "WriteClose\n") << text.substr(text.size() > 300 ? text.size() - 300 : 0);
}

TEST(Orb8ToolMidi, CustomDistRoundTripAndBadPorts) {
    TempDir dir;
    const std::string dst = dir.Path("sets.dst");
    ASSERT_EQ(Tool({"dst-receive", dst, "--no-real-ports", "--sim-instant"}).code, 0);
    EXPECT_EQ(ReadAll(dst).size(), 1836u);
    const ToolRun sent = Tool({"dst-send", dst, "--no-real-ports", "--sim-instant"});
    EXPECT_EQ(sent.code, 0) << sent.err;
    const ToolRun bad = Tool({"scan", "--no-real-ports", "--out", "7"});
    EXPECT_NE(bad.code, 0);
    EXPECT_NE(bad.err.find("no MIDI output"), std::string::npos);
    EXPECT_NE(Tool({"send", dir.Path("missing.orb"), "--no-real-ports"}).code, 0);
}

TEST(Orb8ToolMidi, CtrlCEndsEveryPhaseAndNeverWritesAnEmptyReceive) {
    TempDir dir;
    ProjectDocument mine;
    mine.comments[0] = "years of work";
    mine.fileName = dir.Path("mine.orb");
    ASSERT_TRUE(mine.Save().ok());
    const auto original = ReadAll(mine.fileName);
    // Early (before or during the scan), and in the middle of the transfer.
    for (const int ms : {1, 40, 150, 400, 1200}) {
        const std::string bank = dir.Path("k.orb");
        WriteAll(bank, original);
        const Process p = RunTool({"receive", bank, "--force", "--no-real-ports"}, dir.Path("out"), dir.Path("err"),
                                  SIGINT, std::chrono::milliseconds(ms));
        if (p.status == 128 + SIGINT) {
            // Ended by the signal itself before anything was started.
            EXPECT_EQ(p.err, "");
        } else {
            EXPECT_EQ(p.status, 3) << ms << " ms: " << p.err;
            EXPECT_NE(p.err.find("interrupted"), std::string::npos) << p.err;
        }
        if (p.err.find("of 80 patches were received") == std::string::npos) {
            EXPECT_EQ(ReadAll(bank), original) << ms << " ms: " << p.err;
        }
    }
}

TEST(Orb8ToolMidi, ChannelOptionChecksOnlyThatChannel) {
    TempDir dir;
    const std::string log = dir.Path("sim.log");
    const ToolRun r = Tool({"receive", dir.Path("r.orb"), "--no-real-ports", "--sim-instant", "--sim-channel", "7",
                            "--channel", "7", "--sim-log", log});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "receive: completed\n");
    const std::string traffic = ReadText(log);
    EXPECT_EQ(std::count(traffic.begin(), traffic.end(), '\n'), 1 + 1 + 80);  // identity, settings, patches
    const ToolRun none = Tool({"receive", dir.Path("s.orb"), "--no-real-ports", "--sim-instant", "--channel", "2"});
    EXPECT_NE(none.err.find("no ORB-8 found on channel 2"), std::string::npos) << none.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("s.orb")));
    // The log is checked like every other output, before anything starts.
    EXPECT_NE(Tool({"scan", "--no-real-ports", "--sim-log", log}).err.find("already exists"), std::string::npos);
    EXPECT_NE(Tool({"scan", "--no-real-ports", "--sim-log", dir.path.string()}).err.find("folder"), std::string::npos);
    // Ports are found by their name in any case.
    EXPECT_EQ(Tool({"scan", "--no-real-ports", "--sim-instant", "--out", "orb-8 SIM", "--channel", "1"}).code, 0);
}

// For scripts: a processor that stops answering ends the transfer after
// --reply-wait seconds, as Abort would (what arrived is kept, a write is closed).
TEST(Orb8ToolMidi, ReplyWaitEndsATransferTheProcessorStopsAnswering) {
    TempDir dir;
    const std::string bank = dir.Path("r.orb"), log = dir.Path("sim.log");
    const ToolRun r = Tool({"receive", bank, "--no-real-ports", "--sim-instant", "--channel", "1", "--reply-wait", "1",
                            "--sim-fault", "PatchRequest:3:no-answer"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("receive ended: the ORB-8 did not answer for 1 s (--reply-wait); 2 of 80 patches were received"),
              std::string::npos)
        << r.err;
    ProjectDocument project;
    project.fileName = bank;
    ASSERT_TRUE(project.Load().ok());
    EXPECT_EQ(project.packedSlots[1], ToSlot(FactoryBank()[1]));

    const ToolRun sent = Tool({"send", bank, "--no-real-ports", "--sim-instant", "--channel", "1", "--reply-wait", "1",
                               "--sim-fault", "PatchDump:5:no-answer", "--sim-log", log});
    EXPECT_EQ(sent.code, 1);
    EXPECT_NE(sent.err.find("send ended: the ORB-8 did not answer"), std::string::npos) << sent.err;
    const std::string traffic = ReadText(log);
    EXPECT_EQ(traffic.substr(traffic.rfind("  ", traffic.size() - 2) + 2), "WriteClose\n");
    EXPECT_NE(Tool({"scan", "--no-real-ports", "--sim-fault", "PatchRequest:x:no-answer"}).err.find("--sim-fault"),
              std::string::npos);
}

TEST(Orb8ToolMidi, WriteErrorsOfTheProgramAreReported) {
    TempDir dir;
    // A file size limit: a message and exit 1, no signal, no temporary file left.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 10 * 1024;
        setrlimit(RLIMIT_FSIZE, &limit);
        const int err = open(dir.Path("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(err, STDERR_FILENO);
        const std::string out = dir.Path("big.orb");
        execl(ORB8_TOOL_PATH, ORB8_TOOL_PATH, "new", out.c_str(), static_cast<char*>(nullptr));
        _exit(99);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(ReadText(dir.Path("err")).find("File too large"), std::string::npos);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path)) files += entry.path().filename() != "err";
    EXPECT_EQ(files, 0);

    // A full output.
    ASSERT_EQ(Tool({"new", dir.Path("n.orb")}).code, 0);
    const Process full = RunTool({"export", dir.Path("n.orb")}, "/dev/full", dir.Path("err"));
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("could not be written"), std::string::npos) << full.err;
}

// Real MIDI comes from a module loaded on first use: it must be found from a
// program in the build tree, whatever systems the machine has.
TEST(RealMidi, TheModuleIsFoundAndLoads) {
    std::string problem;
    CreateRealMidiBackend(RealMidiApi::Alsa, "orb8-test", &problem);
    EXPECT_EQ(problem, "");
}
