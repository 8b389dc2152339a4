// Start-up: from process start to the first project window shown, for
// orb8ed and, measured in the same run, for a minimal Qt program with a
// QMdiArea. Both run on the offscreen platform and end once shown.
// Target: orb8ed at most 1.5 times the minimal program.
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

double RunMs(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const int runs = 15;
    std::vector<double> program, minimal;
    RunMs({ORB8ED_PATH, "--startup-probe"});  // warm the caches for both
    RunMs({MINIMAL_MDI_PATH});
    for (int i = 0; i < runs; ++i) {
        program.push_back(RunMs({ORB8ED_PATH, "--startup-probe"}));
        minimal.push_back(RunMs({MINIMAL_MDI_PATH}));
    }
    const double p = Median(program), m = Median(minimal);
    std::printf("Start-up to the first project window shown (median of %d, offscreen):\n", runs);
    std::printf("  orb8ed              %7.1f ms\n", p);
    std::printf("  minimal Qt MDI      %7.1f ms\n", m);
    std::printf("  ratio               %7.2f   (target at most 1.5)\n", p / m);
    return 0;
}
