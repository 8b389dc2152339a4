// orb8tool commands over MIDI: ports, scan, receive, send, dst-receive and
// dst-send, on the same transfer code as the window program.
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "device/devicelink.h"
#include "midi/blockinghost.h"
#include "midi/midisystem.h"
#include "tools/toolcommands.h"

namespace orb8 {
namespace {

struct MidiOptions {
    std::string in = "0", out = "0";
    std::string simLog;
    int simChannel = 1;
    bool simInstant = false;
    bool noReal = false;
    bool force = false;
    std::string path;
};

// Ctrl+C presses Abort: SIGINT is taken by a thread of its own while a
// transfer runs, and the old handling comes back afterwards. It must be set up
// before any other thread starts, so that none of them gets the signal.
class CtrlCAborts {
public:
    CtrlCAborts() {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGINT);
        pthread_sigmask(SIG_BLOCK, &set, &previous_);
        thread_ = std::thread([this, set] {
            for (;;) {
                int signal = 0;
                if (sigwait(&set, &signal) != 0) return;
                if (done_) return;
                std::lock_guard lock(mutex_);
                if (host_) host_->RequestAbort();
            }
        });
    }
    ~CtrlCAborts() {
        done_ = true;
        pthread_kill(thread_.native_handle(), SIGINT);
        thread_.join();
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }

    void Target(BlockingHost* host) {
        std::lock_guard lock(mutex_);
        host_ = host;
    }

private:
    std::mutex mutex_;
    BlockingHost* host_ = nullptr;
    sigset_t previous_{};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// "Waiting Patch12..." -> the share of the transfer done.
double ProgressShare(std::string_view text) {
    struct Step {
        std::string_view word;
        int offset, total;
    };
    static constexpr Step steps[] = {{"Waiting Patch", 0, 80},   {"Sending Patch", 1, 80},
                                     {"Waiting Filter", 0, 18},  {"Waiting Clipper", 16, 18},
                                     {"Sending Filter", 1, 18},  {"Sending Clipper", 17, 18}};
    for (const Step& s : steps) {
        if (text.substr(0, s.word.size()) != s.word) continue;
        const std::string_view digits = text.substr(s.word.size(), 2);
        if (digits.size() != 2 || digits[0] < '0' || digits[0] > '9' || digits[1] < '0' || digits[1] > '9') return -1;
        return static_cast<double>((digits[0] - '0') * 10 + (digits[1] - '0') + s.offset) / s.total;
    }
    return -1;
}

class MidiSession {
public:
    explicit MidiSession(const MidiOptions& o)
        : aborts_(std::make_unique<CtrlCAborts>()),
          options_(o),
          system_(MidiSystemOptions{!o.noReal, true, o.simChannel - 1, SimTiming{!o.simInstant, {}}, "orb8tool"}) {
        if (o.simChannel < 1 || o.simChannel > 16) throw ToolError{"--sim-channel takes 1..16"};
        const int output = MidiSystem::Find(system_.OutputNames(), o.out);
        const int input = MidiSystem::Find(system_.InputNames(), o.in);
        if (output < 0) throw ToolError{"no MIDI output \"" + o.out + "\" (see orb8tool ports)"};
        if (input < 0) throw ToolError{"no MIDI input \"" + o.in + "\" (see orb8tool ports)"};
        host_ = std::make_unique<BlockingHost>(system_, output, input);
        link_ = std::make_unique<DeviceLink>(*host_);
        host_->onLong = [this](std::span<const std::uint8_t> b) { link_->MidiLong(b); };
        const bool tty = ::isatty(STDERR_FILENO);
        host_->onProgress = [tty](std::string_view, std::string_view text) {
            if (!tty) return;
            const double share = ProgressShare(text);
            std::string bar;
            if (share >= 0) {
                const int filled = static_cast<int>(share * 30 + 0.5);
                bar = "[" + std::string(static_cast<std::size_t>(filled), '#') + std::string(static_cast<std::size_t>(30 - filled), '.') + "] ";
            }
            std::cerr << "\r\033[K" << bar << text << std::flush;
        };
        host_->onMessage = [tty](std::string_view text) {
            if (tty) std::cerr << "\r\033[K";
            std::string line(text);
            for (char& c : line) if (c == '\n') c = ' ';
            std::cerr << "ORB-8: " << line << "\n";
        };
        aborts_->Target(host_.get());
    }

    ~MidiSession() {
        aborts_->Target(nullptr);
        if (::isatty(STDERR_FILENO)) std::cerr << "\r\033[K" << std::flush;
        if (!options_.simLog.empty() && system_.Simulator()) {
            std::ofstream log(options_.simLog, std::ios::trunc);
            system_.Simulator()->With([&](Orb8Simulator& sim) {
                for (const auto& line : sim.Log()) log << line << "\n";
                return 0;
            });
        }
    }

    void GoOnLine() {
        if (!link_->OnLine()) throw ToolError{"no ORB-8 found (" + Describe() + ")"};
    }

    std::string Describe() {
        const auto outs = system_.OutputNames();
        const int output = MidiSystem::Find(outs, options_.out);
        return "output " + std::to_string(output) + ": " + outs[static_cast<std::size_t>(output)];
    }

    DeviceLink& link() { return *link_; }
    BlockingHost& host() { return *host_; }

private:
    std::unique_ptr<CtrlCAborts> aborts_;  // first: before the system starts threads
    const MidiOptions& options_;
    MidiSystem system_;
    std::unique_ptr<BlockingHost> host_;
    std::unique_ptr<DeviceLink> link_;
};

void AddPortOptions(CLI::App* cmd, MidiOptions& o) {
    cmd->add_option("--out", o.out, "MIDI output: number or name (see orb8tool ports)")->capture_default_str();
    cmd->add_option("--in", o.in, "MIDI input: number or name")->capture_default_str();
    cmd->add_option("--sim-log", o.simLog, "write the built-in simulator's traffic log to this file");
    cmd->add_option("--sim-channel", o.simChannel, "channel of the built-in simulator, 1..16")->capture_default_str();
    cmd->add_flag("--sim-instant", o.simInstant, "the built-in simulator answers without MIDI wire time");
    cmd->add_flag("--no-real-ports", o.noReal, "offer only the built-in simulator");
}

void RefuseOverwrite(const std::string& path, bool force) {
    struct stat st {};
    if (!force && ::stat(path.c_str(), &st) == 0) throw ToolError{path + " already exists (use --force to replace it)"};
}

int ExitCode(TransferResult r) {
    switch (r) {
        case TransferResult::Completed: return 0;
        case TransferResult::Aborted: return 3;
        default: return 1;
    }
}

void Finish(TransferResult r, std::ostream& out, const std::string& what) {
    out << what << ": " << TransferResultText(r) << "\n";
    if (r != TransferResult::Completed) throw ToolError{what + " " + std::string(TransferResultText(r)), ExitCode(r)};
}

std::string SaveFailure(const FileResult& r, const std::string& kind) {
    std::string m = FileMessage(r, false, kind);
    for (char& c : m) if (c == '\n') c = ' ';
    return m;
}

}  // namespace

void AddMidiCommands(CLI::App& app, std::ostream& out) {
    auto o = std::make_shared<MidiOptions>();

    auto* ports = app.add_subcommand("ports", "List the MIDI inputs and outputs, the built-in simulator last.");
    ports->add_flag("--no-real-ports", o->noReal, "offer only the built-in simulator");
    ports->callback([o, &out] {
        MidiSystem system(MidiSystemOptions{!o->noReal, true, 0, {}, "orb8tool"});
        const auto systems = system.RealSystems();
        out << "MIDI systems: " << (systems.empty() ? "none (no ALSA sequencer, no JACK server)" : "");
        for (std::size_t i = 0; i < systems.size(); ++i) out << (i ? ", " : "") << systems[i];
        out << "\n";
        for (const auto& [title, names] : {std::pair{"Outputs", system.OutputNames()}, std::pair{"Inputs", system.InputNames()}}) {
            out << title << ":\n";
            if (names.empty()) out << "  no devices\n";
            for (std::size_t i = 0; i < names.size(); ++i) out << "  " << i << ": " << names[i] << "\n";
        }
    });

    auto* scan = app.add_subcommand("scan", "Look for an ORB-8 on each of the 16 MIDI channels.");
    AddPortOptions(scan, *o);
    scan->callback([o, &out] {
        MidiSession session(*o);
        const bool found = session.link().OnLine();
        for (int c = 0; c < 16; ++c) {
            const auto& item = session.host().channelItems[static_cast<std::size_t>(c)];
            out << (item.checked ? "* " : "  ") << (item.written ? item.caption : std::to_string(c + 1)) << "\n";
        }
        if (!found) throw ToolError{"no ORB-8 found"};
        out << "ORB-8 on channel " << session.link().deviceChannel + 1 << "\n";
        session.link().OffLine();
    });

    auto* receive = app.add_subcommand("receive", "Receive all 80 patches from the ORB-8 into a project file.");
    receive->add_option("OUT.orb", o->path, "project file to write")->required();
    receive->add_flag("--force", o->force, "replace an existing file");
    AddPortOptions(receive, *o);
    receive->callback([o, &out] {
        RefuseOverwrite(o->path, o->force);
        MidiSession session(*o);
        session.GoOnLine();
        ProjectDocument project;
        const TransferResult r = session.link().ReceiveAllPatches(project);
        session.link().OffLine();
        // What arrived is written even when the transfer ended early.
        project.fileName = o->path;
        const FileResult saved = project.Save(session.link().areas.customSettings);
        if (!saved.ok()) throw ToolError{SaveFailure(saved, "project file")};
        Finish(r, out, "receive");
    });

    auto* send = app.add_subcommand("send", "Send all 80 patches of a project file to the ORB-8.");
    send->add_option("IN.orb", o->path, "project file")->required();
    AddPortOptions(send, *o);
    send->callback([o, &out] {
        ProjectDocument project;
        project.fileName = o->path;
        const FileResult loaded = project.Load();
        if (!loaded.ok()) throw ToolError{SaveFailure(loaded, "project file")};
        MidiSession session(*o);
        session.GoOnLine();
        const TransferResult r = session.link().SendAllPatches(project);
        session.link().OffLine();
        Finish(r, out, "send");
    });

    auto* dstReceive = app.add_subcommand("dst-receive", "Receive both custom distortion sets into a .dst file.");
    dstReceive->add_option("OUT.dst", o->path, "custom distortion file to write")->required();
    dstReceive->add_flag("--force", o->force, "replace an existing file");
    AddPortOptions(dstReceive, *o);
    dstReceive->callback([o, &out] {
        RefuseOverwrite(o->path, o->force);
        MidiSession session(*o);
        session.GoOnLine();
        CustomDistDocument doc;
        const TransferResult r = session.link().ReceiveAllCustomDists(doc);
        session.link().OffLine();
        doc.fileName = o->path;
        const FileResult saved = doc.Save();
        if (!saved.ok()) throw ToolError{SaveFailure(saved, "custom distortion file")};
        Finish(r, out, "dst-receive");
    });

    auto* dstSend = app.add_subcommand("dst-send", "Send both custom distortion sets of a .dst file to the ORB-8.");
    dstSend->add_option("IN.dst", o->path, "custom distortion file")->required();
    AddPortOptions(dstSend, *o);
    dstSend->callback([o, &out] {
        CustomDistDocument doc;
        doc.fileName = o->path;
        const FileResult loaded = doc.Load();
        if (!loaded.loaded()) throw ToolError{SaveFailure(loaded, "custom distortion file")};
        MidiSession session(*o);
        session.GoOnLine();
        const TransferResult r = session.link().SendAllCustomDists(doc);
        session.link().OffLine();
        Finish(r, out, "dst-send");
    });
}

}  // namespace orb8
