// What the patch editor and the real-time modulation window do to a patch,
// without a window: show a patch (custom slot values in, type memory
// rebuilt), every knob, list, switch and type change, the name entry and the
// RTM settings. Each operation changes the patch (and the custom settings
// block where a custom type keeps its values) and says which bytes go to the
// processor, in order, and what the windows must show anew. The windows
// only call it and show what the views say.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "patch/customsettings.h"
#include "patch/effecttables.h"
#include "patch/patchdata.h"

namespace orb8 {

// The result of one operation.
struct Edit {
    std::vector<std::pair<int, int>> send;  // (byte, value) as ParameterChange, in order
    bool refreshDrive = false, refreshMod = false, refreshDly = false, refreshEq = false;
    bool refreshSwitches = false;  // the module buttons and what they enable
    bool refreshRow = false;       // the project list row's type cells
    bool refreshName = false;      // the project list row's name cell
    std::string nameCell;          // its text then
    bool changed = false;          // the patch or the custom settings changed
    std::string message;           // a name that was refused: what to tell the user

    void Send(int byte, int value) { send.emplace_back(byte, value); }
    void SendRange(const PatchData& patch, int first, int last) {
        for (int b = first; b <= last; ++b) Send(b, patch[static_cast<std::size_t>(b)]);
    }
};

// What one knob shows.
struct KnobView {
    std::string name;      // the label above it; empty when the slot is not used
    int max = 0;           // the knob's range 0..max (the type's)
    int min = 0;
    int position = 0;      // the stored value, held within 0..max
    std::string text;      // the processor's display text, or "?37" for a value out of range
    bool visible = true;
    bool enabled = true;
    bool outOfRange = false;
};

enum class RtmField { Max, Min, Destination, Source };

struct RtmView {
    int max = 0, min = 0, destination = 0, source = 0;
    int valueMax = 0, sourceMax = 0;  // the ranges of max and min, and of the source
    std::string maxText, minText, sourceText;
    std::vector<std::string> destinations;
    bool enabled = true;
};

// The patch as the editor shows it and a patch change sends it: a CUSTOM
// type keeps its number and takes its slot's values from `settings`.
PatchData ShownPatch(const PatchData& patch, const CustomSettingsBlock& settings);

class PatchEditor {
public:
    // `settings`: the block of a patch shown without one of its own.
    explicit PatchEditor(CustomSettingsBlock& settings) : home_(settings), settings_(&settings) {}

    // Makes the patch the one edited, played through `settings` (its bank's
    // custom settings block; nullptr: the editor's own): a custom Mod or
    // Dly/Rev type takes its slot's values, and the type memory starts
    // afresh. nullptr: none.
    Edit ShowPatch(PatchData* patch, CustomSettingsBlock* settings = nullptr);
    PatchData* Current() const { return patch_; }
    CustomSettingsBlock& Settings() const { return *settings_; }

    // --- What the controls show ---
    int DriveType() const;
    int StoredModType() const;
    int StoredDlyType() const;
    int EffectiveModType() const;
    int EffectiveDlyType() const;
    bool ModuleOn(ModuleBit bit) const;
    KnobView DriveKnob(int index) const;   // 0..3: bytes 2..5
    KnobView CustomKnob(int index) const;  // 0..3: bytes 10..13
    KnobView ModKnob(int index) const;     // 0..3: bytes 20..23
    KnobView DlyKnob(int index) const;     // 0..3: bytes 29..32
    KnobView EqKnob(int index) const;      // 0..4: bytes 38..42
    // The single knobs: VNR (37), level (50), controller numbers (63, 64) and values (61, 62).
    KnobView ByteKnob(int byte) const;
    // The "(CHORUS)" label of a custom Mod or Dly/Rev type, else empty.
    std::string CustomBaseLabel(Module module) const;
    RtmView Rtm(Module module) const;

    // --- Changes ---
    Edit DriveKnobChanged(int index, int value);
    Edit CustomKnobChanged(int index, int value);
    Edit ModKnobChanged(int index, int value);
    Edit DlyKnobChanged(int index, int value);
    Edit EqKnobChanged(int index, int value);
    Edit EqFrequencyChanged(int index, int row);  // 0..2: bytes 43..45
    // VNR, level, VOL RTM, controller target, numbers and values: one byte each.
    Edit ByteChanged(int byte, int value);
    Edit DriveTypeChanged(int type);
    Edit ModTypeChanged(int type);
    Edit DlyTypeChanged(int type);
    Edit SwitchClicked(ModuleBit bit);
    // A refused name leaves message set: "Patch name is too long" or "invalid character".
    Edit NameEntered(const std::string& text);
    Edit RtmChanged(Module module, RtmField field, int value);

private:
    struct Memory {
        std::array<std::uint8_t, 6> driveParam1{};  // per drive group
        std::array<std::array<std::uint8_t, 4>, kDriveTypeCount> drive{};  // params 2..4 and destination
        std::array<std::array<std::uint8_t, 9>, 2> customDrive{};  // bytes 10..18 of types 20, 21
        using ModuleTypes = std::array<std::array<std::uint8_t, 5>, kModTypeCount>;  // params 1..4 and destination
        static_assert(kModTypeCount == kDlyTypeCount);
        ModuleTypes mod{};
        ModuleTypes dly{};
    };
    // A Mod or Dly/Rev type change: the old type's four values are kept under
    // it and its destination under the effective type (whose list it
    // indexes); the new type's come back.
    void SwapTypeMemory(Memory::ModuleTypes& memory, int typeByte, int firstParam, int destByte, int type,
                        int oldEffective);
    std::uint8_t& At(int byte) { return (*patch_)[static_cast<std::size_t>(byte)]; }
    int Byte(int byte) const { return (*patch_)[static_cast<std::size_t>(byte)]; }
    KnobView Knob(const ParamDef* def, int byte) const;
    KnobView ModuleKnob(Module module, int type, int firstByte, int index) const;
    // Custom slots take what the patch holds for a custom type.
    void CopyDriveToSlot();
    void CopyModToSlot();
    void CopyDlyToSlot();
    void DriveSlotIntoPatch();
    void ModSlotIntoPatch();
    void DlySlotIntoPatch();
    // TIMEX1 follows TIMEX100 (at 60 it is 0, at 0 it is at least 1).
    void TimePair(Module module);
    bool HasTimePair(Module module) const;
    Edit Changed(int byte, int value);
    // A knob of the Mod or the Dly/Rev module.
    Edit ModuleKnobChanged(Module module, int index, int value);

    CustomSettingsBlock& home_;
    CustomSettingsBlock* settings_;
    PatchData* patch_ = nullptr;
    Memory memory_{};
};

}  // namespace orb8
