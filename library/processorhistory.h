// The processor's history: every bank the program received from a processor
// (or sent to it whole), and every set of custom distortions received, is
// kept as an ordinary bank (or .dst) file in a folder of its own, named by the moment and the processor, so that the library indexes it
// like any bank. From them: what a processor holds as far as the program
// knows, and what one slot held in each.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "customdist/customdistdata.h"
#include "patch/fileio.h"
#include "patch/projectdocument.h"

namespace orb8::library {

enum class SnapshotKind { Received, Sent };

struct Snapshot {
    std::string path;
    std::string processor;  // "ORB-8-ch01-v1.0.0.0"
    std::int64_t time = 0;  // seconds since 1970, UTC
    SnapshotKind kind = SnapshotKind::Received;
    int received = 0;  // patches (or filters and clippers) that arrived
    bool customDists = false;  // a .dst file of both custom distortion sets, else a bank
    bool Partial() const { return received < (customDists ? kFilterCount + kSetCount : kPatchCount); }
};

// The processor's name in the history, from its identity reply (the device
// byte, the maker, family, member and version) and the channel it answered on.
std::string ProcessorName(const std::array<std::uint8_t, 10>& identity, int channel);

// The file name of a snapshot ("2026-12-09_21-30-05_ORB-8-ch01-v1.0.0.0_received80.orb"),
// and the snapshot a file name describes (none for any other file).
std::string SnapshotFileName(const Snapshot& snapshot);
std::optional<Snapshot> SnapshotOfFileName(const std::string& name);

struct SlotEntry {
    Snapshot snapshot;
    PatchData patch{};
    bool changed = false;  // differs from the snapshot before it (the first counts as changed)
    bool known = true;     // false: a partial receive that did not reach the slot
};

class ProcessorHistory {
public:
    explicit ProcessorHistory(std::string folder) : folder_(std::move(folder)) {}
    const std::string& Folder() const { return folder_; }

    // Keeps `bank` as the processor now holds it. After a receive that ended
    // early (`received` < kPatchCount) the patches that did not arrive are
    // those of the processor's last snapshot, where there is one. The path
    // of the file written, or the problem.
    FileResult Keep(Snapshot snapshot, const ProjectDocument& bank) const;
    // Keeps both custom distortion sets as received.
    FileResult Keep(Snapshot snapshot, const CustomDistDocument& sets) const;
    // Every snapshot in the folder, oldest first.
    std::vector<Snapshot> List() const;
    // The newest of a processor's bank snapshots.
    std::optional<Snapshot> Latest(const std::string& processor) const;
    // What a processor's slot (0..79) held in each of its snapshots, oldest first.
    std::vector<SlotEntry> SlotHistory(const std::string& processor, int slot) const;

private:
    // A free name for the snapshot in the folder (made when missing).
    std::string FreePath(Snapshot& snapshot) const;

    std::string folder_;
};

}  // namespace orb8::library
