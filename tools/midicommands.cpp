// orb8tool commands over MIDI: ports, scan, receive, send, dst-receive and
// dst-send, on the same transfer code as the window program.
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "device/devicelink.h"
#include "midi/blockinghost.h"
#include "midi/midisystem.h"
#include "sim/orb8simulator.h"
#include "sim/simulateddevice.h"
#include "tools/toolcommands.h"

namespace orb8 {
namespace {

struct MidiOptions {
    std::string in = "0", out = "0";
    std::string simLog;
    int simChannel = 1;
    int channel = 0;  // 1..16: check only this channel; 0: scan all 16
    bool simInstant = false;
    bool noReal = false;
    bool force = false;
    int replyWait = 0;  // seconds; 0: no limit
    std::vector<std::string> simFaults;
    std::string path;
};

// Ctrl+C ends the command in every phase: SIGINT is taken by a thread of its
// own, which cancels the exchange running now and every later one, and the
// old handling comes back afterwards. It must be set up before any other
// thread starts, so that none of them gets the signal.
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
                interrupted_ = true;
                if (host_) host_->Cancel();
            }
        });
    }
    ~CtrlCAborts() {
        done_ = true;
        pthread_kill(thread_.native_handle(), SIGINT);
        thread_.join();
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }

    // A Ctrl+C that came before the host existed still counts.
    void Target(BlockingHost* host) {
        std::lock_guard lock(mutex_);
        host_ = host;
        if (host_ && interrupted_) host_->Cancel();
    }
    bool Interrupted() {
        std::lock_guard lock(mutex_);
        return interrupted_;
    }

private:
    std::mutex mutex_;
    BlockingHost* host_ = nullptr;
    bool interrupted_ = false;
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
        if (o.channel < 0 || o.channel > 16) throw ToolError{"--channel takes 1..16"};
        if (o.replyWait < 0 || o.replyWait > 3600) throw ToolError{"--reply-wait takes 0..3600 seconds"};
        if (!o.simLog.empty()) RefuseOverwrite(o.simLog, o.force);
        for (const std::string& rule : o.simFaults) {
            std::string message, error;
            int occurrence = 0;
            SimFault fault{};
            if (!ParseFaultRule(rule, message, occurrence, fault, error))
                throw ToolError{"--sim-fault " + rule + ": " + error};
            if (system_.Simulator())
                system_.Simulator()->With([&](Orb8Simulator& sim) {
                    sim.InjectFault(message, occurrence, fault);
                    return 0;
                });
        }
        const int output = MidiSystem::Find(system_.OutputNames(), o.out);
        const int input = MidiSystem::Find(system_.InputNames(), o.in);
        if (output < 0) throw ToolError{"no MIDI output \"" + o.out + "\" (see orb8tool ports)"};
        if (input < 0) throw ToolError{"no MIDI input \"" + o.in + "\" (see orb8tool ports)"};
        host_ = std::make_unique<BlockingHost>(system_, output, input);
        if (o.replyWait > 0) host_->SetReplyLimit(std::chrono::seconds(o.replyWait));
        link_ = std::make_unique<DeviceLink>(*host_);
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
            if (text == "There are no ORB-8 found.") return;  // the command says so itself
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
        if (!logWritten_) {
            try {
                WriteSimLog();
            } catch (const ToolError& e) {
                std::cerr << "orb8tool: " << e.message << "\n";
            }
        }
    }

    // The built-in simulator's traffic, to --sim-log.
    void WriteSimLog() {
        logWritten_ = true;
        if (options_.simLog.empty() || !system_.Simulator()) return;
        system_.Simulator()->WaitArrived();  // the last message (WriteClose) is on the wire still
        std::string text;
        system_.Simulator()->With([&](Orb8Simulator& sim) {
            text = sim.TimedLog();
            return 0;
        });
        const FileResult r = WriteFileAtomically(
            options_.simLog, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        if (!r.ok()) throw ToolError{FileMessageLine(r, "log")};
    }

    // Ctrl+C, or the MIDI system gone: the command ends here.
    void ThrowIfEnded(const std::string& what, const std::string& detail = {}) {
        const std::string lost = host_->LostReason();
        if (!lost.empty()) throw ToolError{what + " ended: " + lost + detail};
        if (host_->ReplyLimitReached())
            throw ToolError{what + " ended: the ORB-8 did not answer for " + std::to_string(options_.replyWait) +
                            " s (--reply-wait)" + detail};
        if (host_->Cancelled() || aborts_->Interrupted()) throw ToolError{what + " interrupted" + detail, 3};
    }

    void GoOnLine(const std::string& what) {
        const bool found = link_->OnLine(options_.channel - 1);
        ThrowIfEnded(what);
        if (!found) {
            throw ToolError{"no ORB-8 found" +
                            (options_.channel ? " on channel " + std::to_string(options_.channel) : std::string()) +
                            " (" + Describe() + ")"};
        }
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
    bool logWritten_ = false;
};

void AddPortOptions(CLI::App* cmd, MidiOptions& o) {
    cmd->add_option("--out", o.out, "MIDI output: number or name (see orb8tool ports)")->capture_default_str();
    cmd->add_option("--in", o.in, "MIDI input: number or name")->capture_default_str();
    cmd->add_option("--sim-log", o.simLog, "write the built-in simulator's traffic log to this file");
    cmd->add_option("--sim-channel", o.simChannel, "channel of the built-in simulator, 1..16")->capture_default_str();
    cmd->add_flag("--sim-instant", o.simInstant, "the built-in simulator answers without MIDI wire time");
    cmd->add_flag("--no-real-ports", o.noReal, "offer only the built-in simulator");
    cmd->add_option("--channel", o.channel, "check only this MIDI channel (1..16) instead of scanning all 16");
    cmd->add_option("--reply-wait", o.replyWait,
                    "end the transfer when the ORB-8 has not answered for this many seconds (for scripts; "
                    "0: wait until Ctrl+C)")
        ->capture_default_str();
    cmd->add_option("--sim-fault", o.simFaults,
                    "MESSAGE:OCCURRENCE:FAULT for the built-in simulator, e.g. PatchRequest:3:no-answer (as orb8-sim "
                    "--fault)");
    cmd->add_flag("--force", o.force, "replace files that exist (the output and --sim-log)");
}

int ExitCode(TransferResult r) {
    switch (r) {
        case TransferResult::Completed: return 0;
        case TransferResult::Aborted: return 3;
        default: return 1;
    }
}

// The end of a transfer, said once: on standard output when it completed,
// as the error line otherwise.
void Finish(MidiSession& session, TransferResult r, std::ostream& out, const std::string& what,
            const std::string& detail = {}) {
    session.WriteSimLog();
    session.ThrowIfEnded(what, detail);
    if (r != TransferResult::Completed)
        throw ToolError{what + " " + std::string(TransferResultText(r)) + detail, ExitCode(r)};
    out << what << ": completed" << detail << "\n";
}

}  // namespace

void AddMidiCommands(CLI::App& app, std::ostream& out, std::ostream& err) {
    auto o = std::make_shared<MidiOptions>();

    auto* ports = app.add_subcommand("ports", "List the MIDI inputs and outputs, the built-in simulator last.");
    ports->add_flag("--no-real-ports", o->noReal, "offer only the built-in simulator");
    ports->callback([o, &out] {
        MidiSystem system(MidiSystemOptions{!o->noReal, true, 0, {}, "orb8tool"});
        const auto systems = system.RealSystems();
        out << "MIDI systems: ";
        if (systems.empty())
            out << (system.RealMidiProblem().empty() ? "none (no ALSA sequencer, no JACK server)"
                                                     : "none (real MIDI ports cannot be used: " + system.RealMidiProblem() + ")");
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
        const bool found = session.link().OnLine(o->channel - 1);
        session.link().OffLine();
        session.WriteSimLog();
        session.ThrowIfEnded("scan");
        for (int c = 0; c < 16; ++c) {
            const auto& item = session.host().channelItems[static_cast<std::size_t>(c)];
            if (o->channel && c != o->channel - 1) continue;
            out << (item.checked ? "* " : "  ") << (item.written ? item.caption : std::to_string(c + 1)) << "\n";
        }
        if (!found) throw ToolError{"no ORB-8 found"};
        out << "ORB-8 on channel " << session.link().deviceChannel + 1 << "\n";
    });

    auto* receive = app.add_subcommand("receive", "Receive all 80 patches from the ORB-8 into a project file.");
    receive->add_option("OUT.orb", o->path, "project file to write")->required();
    AddPortOptions(receive, *o);
    receive->callback([o, &out] {
        RefuseOverwrite(o->path, o->force);
        MidiSession session(*o);
        session.GoOnLine("receive");
        ProjectDocument project;
        const TransferResult r = session.link().ReceiveAllPatches(project);
        session.link().OffLine();
        const int got = session.link().lastReceived;
        if (got == 0) {
            session.WriteSimLog();
            session.ThrowIfEnded("receive");
            throw ToolError{"receive " + std::string(TransferResultText(r)) + ": nothing was received, " + o->path +
                                " was not written",
                            ExitCode(r)};
        }
        // What arrived is written even when the transfer ended early.
        project.fileName = o->path;
        const FileResult saved = project.Save();
        if (!saved.ok()) throw ToolError{FileMessageLine(saved, "project file")};
        Finish(session, r, out, "receive",
               got < kPatchCount ? "; " + std::to_string(got) + " of 80 patches were received and written to " + o->path
                                 : std::string());
    });

    auto* send = app.add_subcommand("send", "Send all 80 patches of a project file to the ORB-8.");
    send->add_option("IN.orb", o->path, "project file")->required();
    AddPortOptions(send, *o);
    send->callback([o, &out] {
        ProjectDocument project;
        project.fileName = o->path;
        const FileResult loaded = project.Load();
        if (!loaded.ok()) throw ToolError{FileMessageLine(loaded, "project file")};
        MidiSession session(*o);
        session.GoOnLine("send");
        const TransferResult r = session.link().SendAllPatches(project);
        session.link().OffLine();
        Finish(session, r, out, "send");
    });

    auto* dstReceive = app.add_subcommand("dst-receive", "Receive both custom distortion sets into a .dst file.");
    dstReceive->add_option("OUT.dst", o->path, "custom distortion file to write")->required();
    AddPortOptions(dstReceive, *o);
    dstReceive->callback([o, &out] {
        RefuseOverwrite(o->path, o->force);
        MidiSession session(*o);
        session.GoOnLine("dst-receive");
        CustomDistDocument doc;
        const TransferResult r = session.link().ReceiveAllCustomDists(doc);
        session.link().OffLine();
        const int got = session.link().lastReceived;
        if (got == 0) {
            session.WriteSimLog();
            session.ThrowIfEnded("dst-receive");
            throw ToolError{"dst-receive " + std::string(TransferResultText(r)) + ": nothing was received, " +
                                o->path + " was not written",
                            ExitCode(r)};
        }
        doc.fileName = o->path;
        const FileResult saved = doc.Save();
        if (!saved.ok()) throw ToolError{FileMessageLine(saved, "custom distortion file")};
        Finish(session, r, out, "dst-receive",
               got < kFilterCount + kSetCount
                   ? "; " + std::to_string(got) + " of 16 filters and 2 clippers were received and written to " + o->path
                   : std::string());
    });

    auto* dstSend = app.add_subcommand("dst-send", "Send both custom distortion sets of a .dst file to the ORB-8.");
    dstSend->add_option("IN.dst", o->path, "custom distortion file")->required();
    AddPortOptions(dstSend, *o);
    dstSend->callback([o, &out, &err] {
        CustomDistDocument doc;
        doc.fileName = o->path;
        const FileResult loaded = doc.Load();
        if (!loaded.loaded()) throw ToolError{FileMessageLine(loaded, "custom distortion file")};
        if (loaded.problem == FileProblem::Short)
            err << "orb8tool: note: " << FileMessageLine(loaded, "custom distortion file") << "\n";
        MidiSession session(*o);
        session.GoOnLine("dst-send");
        const TransferResult r = session.link().SendAllCustomDists(doc);
        session.link().OffLine();
        Finish(session, r, out, "dst-send");
    });
}

}  // namespace orb8
