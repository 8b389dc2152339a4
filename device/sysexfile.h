// SysEx files (.syx), which every MIDI tool reads and writes: a bank (or one
// patch) as the messages that write it into the processor, and the reading
// of any sequence of SysEx messages for the ORB-8 patches it holds. Every
// message is checked (maker, model, length, data bytes below 0x80) before
// anything is taken; what can't be used is counted, never guessed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "patch/projectdocument.h"

namespace orb8 {

// WriteOpen, the PatchDumps (all 80, or only `onlyPatch`), WriteClose.
std::vector<std::uint8_t> PatchesAsSysEx(const ProjectDocument& document, int channel, std::optional<int> onlyPatch = {});

struct SysExContents {
    std::map<int, PackedPatch> dumps;    // PatchDump messages, by the patch number they carry
    std::vector<PatchData> editBuffers;  // EditBufferWrite messages, in order
    int messages = 0;                    // complete SysEx messages found
    int foreign = 0;                     // of another maker or model, or universal
    int notPatches = 0;                  // ORB-8 messages that carry no patch
    int damaged = 0;                     // cut short, a wrong length, data bytes of 0x80 or more, a bad patch number
    int strayBytes = 0;                  // bytes outside any message

    bool Usable() const { return !dumps.empty() || !editBuffers.empty(); }
    // What TakeSysEx takes and what it leaves: "12 patches and 1 edit buffer;
    // not used: 2 messages of other devices, 1 damaged message". Only the last
    // edit buffer is taken, and none without a row for it.
    std::string Summary(bool editBufferHasRow = true) const;
};

SysExContents ReadSysEx(std::span<const std::uint8_t> bytes);

// Takes the patch dumps into their patches and the last edit buffer into
// row editBufferRow (1..80, or 0 to leave it out). Returns the rows changed.
std::vector<int> TakeSysEx(ProjectDocument& document, const SysExContents& contents, int editBufferRow);

}  // namespace orb8
