#include "editors/patcheditor.h"

#include <algorithm>

namespace orb8 {
namespace {

bool CustomType(int type) { return type == 20 || type == 21; }
bool KnownType(int type) { return type >= 0 && type < kDriveTypeCount; }  // every module has 22
// Dly/Rev types that the Mod module can't run beside.
bool ExcludesMod(int effectiveDly) { return effectiveDly >= 13 && effectiveDly < kBaseTypeCount; }
int BitsMax(int byte) { return (1 << PatchByteBits(byte)) - 1; }

struct RtmBytes {
    int max, min, destination, source;
};
RtmBytes RtmBytesOf(Module module) {
    switch (module) {
        case Module::Drive: return {DriveRtmMax, DriveRtmMin, DriveRtmDest, DriveRtmSource};
        case Module::Mod: return {ModRtmMax, ModRtmMin, ModRtmDest, ModRtmSource};
        case Module::DlyRev: return {DlyRtmMax, DlyRtmMin, DlyRtmDest, DlyRtmSource};
        default: return {EqRtmMax, EqRtmMin, EqRtmDest, EqRtmSource};
    }
}

}  // namespace

// --- Showing a patch -----------------------------------------------------------

void PatchEditor::DriveSlotIntoPatch() {
    const int slot = DriveCustomSlot(Byte(orb8::DriveType));
    if (slot < 0) return;
    for (int b = CustomCharSel; b <= CustomLowSel; ++b) At(b) = (*settings_)[static_cast<std::size_t>(slot + b - DriveParam1)];
}

void PatchEditor::ModSlotIntoPatch() {
    const int slot = ModCustomSlot(Byte(orb8::ModType));
    if (slot < 0) return;
    for (int b = ModParam1; b <= ModParam4; ++b) At(b) = (*settings_)[static_cast<std::size_t>(slot + 1 + b - ModParam1)];
}

void PatchEditor::DlySlotIntoPatch() {
    const int slot = DlyCustomSlot(Byte(orb8::DlyType));
    if (slot < 0) return;
    for (int b = DlyParam1; b <= DlyParam4; ++b) At(b) = (*settings_)[static_cast<std::size_t>(slot + 1 + b - DlyParam1)];
}

void PatchEditor::CopyDriveToSlot() {
    const int slot = DriveCustomSlot(Byte(orb8::DriveType));
    if (slot < 0) return;
    for (int b = DriveParam1; b <= Unused18; ++b) (*settings_)[static_cast<std::size_t>(slot + b - DriveParam1)] = At(b);
}

void PatchEditor::CopyModToSlot() {
    const int slot = ModCustomSlot(Byte(orb8::ModType));
    if (slot < 0) return;
    for (int b = ModParam1; b <= ModRtmSource; ++b) (*settings_)[static_cast<std::size_t>(slot + 1 + b - ModParam1)] = At(b);
}

void PatchEditor::CopyDlyToSlot() {
    const int slot = DlyCustomSlot(Byte(orb8::DlyType));
    if (slot < 0) return;
    for (int b = DlyParam1; b <= DlyRtmSource; ++b) (*settings_)[static_cast<std::size_t>(slot + 1 + b - DlyParam1)] = At(b);
}

PatchData ShownPatch(const PatchData& patch, const CustomSettingsBlock& settings) {
    PatchData played = patch;
    CustomSettingsBlock block = settings;
    PatchEditor(block).ShowPatch(&played, &block);
    return played;
}

Edit PatchEditor::ShowPatch(PatchData* patch, CustomSettingsBlock* settings) {
    patch_ = patch;
    settings_ = settings ? settings : &home_;
    Edit edit;
    if (!patch_) return edit;
    // A custom Mod or Dly/Rev type takes its slot's values and destination.
    if (const int slot = ModCustomSlot(Byte(orb8::ModType)); slot >= 0) {
        ModSlotIntoPatch();
        At(ModRtmDest) = (*settings_)[static_cast<std::size_t>(slot + 1 + ModRtmDest - ModParam1)];
    }
    if (const int slot = DlyCustomSlot(Byte(orb8::DlyType)); slot >= 0) {
        DlySlotIntoPatch();
        At(DlyRtmDest) = (*settings_)[static_cast<std::size_t>(slot + 1 + DlyRtmDest - DlyParam1)];
    }
    DriveSlotIntoPatch();

    // The type memory starts from the initial values, the custom types' from their slots.
    memory_ = {};
    for (int t = 0; t < kDriveTypeCount; ++t) {
        const TypeStart start = DriveTypeStart(t, *settings_);
        memory_.drive[static_cast<std::size_t>(t)] = {start.params[1], start.params[2], start.params[3], start.rtmDest};
        const int group = DriveGroup(t);
        if (group >= 0) memory_.driveParam1[static_cast<std::size_t>(group)] = start.params[0];
    }
    for (int k = 0; k < 2; ++k) {
        const int slot = DriveCustomSlot(20 + k);
        for (int b = CustomCharSel; b <= Unused18; ++b)
            memory_.customDrive[static_cast<std::size_t>(k)][static_cast<std::size_t>(b - CustomCharSel)] =
                (*settings_)[static_cast<std::size_t>(slot + b - DriveParam1)];
    }
    for (int t = 0; t < kModTypeCount; ++t) {
        auto& mod = memory_.mod[static_cast<std::size_t>(t)];
        auto& dly = memory_.dly[static_cast<std::size_t>(t)];
        if (CustomType(t)) {
            const auto ms = static_cast<std::size_t>(ModCustomSlot(t)), ds = static_cast<std::size_t>(DlyCustomSlot(t));
            mod = {(*settings_)[ms + 1], (*settings_)[ms + 2], (*settings_)[ms + 3], (*settings_)[ms + 4], (*settings_)[ms + 7]};
            dly = {(*settings_)[ds + 1], (*settings_)[ds + 2], (*settings_)[ds + 3], (*settings_)[ds + 4], (*settings_)[ds + 7]};
        } else {
            const TypeStart m = ModTypeStart(t), d = DlyTypeStart(t);
            mod = {m.params[0], m.params[1], m.params[2], m.params[3], m.rtmDest};
            dly = {d.params[0], d.params[1], d.params[2], d.params[3], d.rtmDest};
        }
    }
    edit.refreshDrive = edit.refreshMod = edit.refreshDly = edit.refreshEq = edit.refreshSwitches = true;
    return edit;
}

// --- Views -----------------------------------------------------------------------

int PatchEditor::DriveType() const { return patch_ ? Byte(orb8::DriveType) : 0; }
int PatchEditor::StoredModType() const { return patch_ ? Byte(orb8::ModType) : 0; }
int PatchEditor::StoredDlyType() const { return patch_ ? Byte(orb8::DlyType) : 0; }
int PatchEditor::EffectiveModType() const { return orb8::EffectiveModType(StoredModType(), *settings_); }
int PatchEditor::EffectiveDlyType() const { return orb8::EffectiveDlyType(StoredDlyType(), *settings_); }
bool PatchEditor::ModuleOn(ModuleBit bit) const { return patch_ && (Byte(ModuleSwitches) & bit); }

KnobView PatchEditor::Knob(const ParamDef* def, int byte) const {
    KnobView v;
    const int stored = patch_ ? Byte(byte) : 0;
    if (!def) {
        // A type the processor does not have: the value is shown as it is, untouched.
        v.name = "?";
        v.max = BitsMax(byte);
        v.position = stored;
        v.text = OutOfRangeText(stored);
        v.enabled = false;
        v.outOfRange = true;
        return v;
    }
    if (!def->used()) {
        v.visible = false;
        return v;
    }
    v.name = std::string(def->name);
    v.max = def->max;
    v.position = std::min(stored, def->max);
    v.outOfRange = stored > def->max;
    v.text = FormatValue(def->rule, def->max, stored);
    return v;
}

KnobView PatchEditor::ModuleKnob(Module module, int type, int firstByte, int index) const {
    KnobView v = Knob(ModuleParam(module, type, index), firstByte + index);
    if (index == 1 && HasTimePair(module) && patch_) {
        const int p1 = Byte(firstByte);
        v.enabled = p1 != 60;
        v.min = p1 == 0 ? 1 : 0;
    }
    return v;
}

KnobView PatchEditor::DriveKnob(int index) const { return ModuleKnob(Module::Drive, DriveType(), DriveParam1, index); }

KnobView PatchEditor::CustomKnob(int index) const {
    const int byte = CustomCharSel + index;
    if (!CustomType(DriveType())) {
        KnobView v;
        v.visible = v.enabled = false;
        return v;
    }
    static constexpr const char* names[] = {"CHAR", "HIGH", "MID", "LOW"};
    const ValueRule rule{Shape::List, 0, CustomSelectionNames(byte), {}};
    const ParamDef def{names[index], 10, rule, RtmRole::None, false};
    return Knob(&def, byte);
}

KnobView PatchEditor::ModKnob(int index) const { return ModuleKnob(Module::Mod, EffectiveModType(), ModParam1, index); }
KnobView PatchEditor::DlyKnob(int index) const { return ModuleKnob(Module::DlyRev, EffectiveDlyType(), DlyParam1, index); }
KnobView PatchEditor::EqKnob(int index) const { return ByteKnob(EqPresence + index); }

KnobView PatchEditor::ByteKnob(int byte) const {
    KnobView v;
    const int stored = patch_ ? Byte(byte) : 0;
    v.name = ParameterName(byte, -1);
    v.max = ParameterMax(byte, -1);
    v.position = std::min(stored, v.max);
    v.outOfRange = stored > v.max;
    v.text = DisplayText(byte, -1, stored);
    return v;
}

std::string PatchEditor::CustomBaseLabel(Module module) const {
    const int stored = module == Module::Mod ? StoredModType() : StoredDlyType();
    if (!CustomType(stored)) return "";
    const int base = module == Module::Mod ? EffectiveModType() : EffectiveDlyType();
    return "(" + TypeName(module, base) + ")";
}

RtmView PatchEditor::Rtm(Module module) const {
    RtmView v;
    if (!patch_) return v;
    const RtmBytes b = RtmBytesOf(module);
    v.valueMax = ParameterMax(b.max, -1);
    v.sourceMax = ParameterMax(b.source, -1);
    v.max = Byte(b.max);
    v.min = Byte(b.min);
    v.destination = Byte(b.destination);
    v.source = Byte(b.source);
    v.maxText = DisplayText(b.max, -1, v.max);
    v.minText = DisplayText(b.min, -1, v.min);
    v.sourceText = DisplayText(b.source, -1, v.source);
    const int type = module == Module::Drive ? DriveType() : module == Module::Mod ? EffectiveModType()
                                                             : module == Module::DlyRev ? EffectiveDlyType() : 0;
    for (std::string_view name : RtmDestinations(module, type)) v.destinations.emplace_back(name);
    const ModuleBit bit = module == Module::Drive ? DriveOn : module == Module::Mod ? ModOn
                          : module == Module::DlyRev ? DlyOn : EqOn;
    v.enabled = ModuleOn(bit);
    if (module == Module::DlyRev && (EffectiveDlyType() == 12 || EffectiveDlyType() == 13)) v.enabled = false;
    return v;
}

// --- Changes -----------------------------------------------------------------------

bool PatchEditor::HasTimePair(Module module) const {
    const int type = module == Module::Mod ? EffectiveModType() : module == Module::DlyRev ? EffectiveDlyType() : -1;
    const ParamDef* p = ModuleParam(module, type, 0);
    return p && p->timePair;
}

void PatchEditor::TimePair(Module module) {
    if (!HasTimePair(module)) return;
    const int first = module == Module::Mod ? ModParam1 : DlyParam1;
    if (At(first) == 60) At(first + 1) = 0;
    else if (At(first) == 0 && At(first + 1) == 0) At(first + 1) = 1;
}

// A control that holds one byte: the value goes in and out, nothing else.
Edit PatchEditor::Changed(int byte, int value) {
    Edit edit;
    if (!patch_ || value < 0 || value > BitsMax(byte) || Byte(byte) == value) return edit;
    At(byte) = static_cast<std::uint8_t>(value);
    edit.changed = true;
    edit.Send(byte, value);
    return edit;
}

Edit PatchEditor::DriveKnobChanged(int index, int value) {
    if (!KnownType(DriveType())) return {};
    Edit edit = Changed(DriveParam1 + index, value);
    if (!edit.changed) return edit;
    CopyDriveToSlot();
    edit.refreshDrive = true;
    return edit;
}

Edit PatchEditor::CustomKnobChanged(int index, int value) {
    if (!CustomType(DriveType())) return {};
    Edit edit = Changed(CustomCharSel + index, value);
    if (!edit.changed) return edit;
    CopyDriveToSlot();
    edit.refreshDrive = true;
    return edit;
}

Edit PatchEditor::ModKnobChanged(int index, int value) { return ModuleKnobChanged(Module::Mod, index, value); }
Edit PatchEditor::DlyKnobChanged(int index, int value) { return ModuleKnobChanged(Module::DlyRev, index, value); }

Edit PatchEditor::ModuleKnobChanged(Module module, int index, int value) {
    const bool mod = module == Module::Mod;
    const int first = mod ? ModParam1 : DlyParam1;
    if (!ModuleParam(module, mod ? EffectiveModType() : EffectiveDlyType(), index)) return {};
    Edit edit = Changed(first + index, value);
    if (!edit.changed) return edit;
    TimePair(module);
    if (mod) CopyModToSlot();
    else CopyDlyToSlot();
    // The time pair may have set the byte again: the processor gets what it holds.
    edit.send = {{first + index, Byte(first + index)}};
    // The first knob may have moved the second (the time pair): its byte goes too.
    if (index == 0) edit.Send(first + 1, Byte(first + 1));
    (mod ? edit.refreshMod : edit.refreshDly) = true;
    return edit;
}

Edit PatchEditor::EqKnobChanged(int index, int value) {
    Edit edit = Changed(EqPresence + index, value);
    edit.refreshEq = edit.changed;
    return edit;
}

Edit PatchEditor::EqFrequencyChanged(int index, int row) {
    Edit edit = Changed(EqTrebleFreq + index, row);
    edit.refreshEq = edit.changed;
    return edit;
}

Edit PatchEditor::ByteChanged(int byte, int value) { return Changed(byte, value); }

Edit PatchEditor::DriveTypeChanged(int type) {
    Edit edit;
    if (!patch_ || !KnownType(type) || Byte(orb8::DriveType) == type) return edit;
    const int old = Byte(orb8::DriveType);
    const int oldGroup = DriveGroup(old), newGroup = DriveGroup(type);
    // What the old type had is kept for a return to it.
    if (oldGroup >= 0) memory_.driveParam1[static_cast<std::size_t>(oldGroup)] = At(DriveParam1);
    if (KnownType(old)) memory_.drive[static_cast<std::size_t>(old)] = {At(DriveParam2), At(DriveParam3), At(DriveParam4), At(DriveRtmDest)};
    if (CustomType(old)) {
        auto& kept = memory_.customDrive[static_cast<std::size_t>(old - 20)];
        for (int b = CustomCharSel; b <= Unused18; ++b) kept[static_cast<std::size_t>(b - CustomCharSel)] = At(b);
    }
    At(orb8::DriveType) = static_cast<std::uint8_t>(type);
    At(DriveParam1) = memory_.driveParam1[static_cast<std::size_t>(newGroup)];
    const auto& set = memory_.drive[static_cast<std::size_t>(type)];
    At(DriveParam2) = set[0];
    At(DriveParam3) = set[1];
    At(DriveParam4) = set[2];
    At(DriveRtmDest) = set[3];
    if (CustomType(type)) {
        const auto& kept = memory_.customDrive[static_cast<std::size_t>(type - 20)];
        for (int b = CustomCharSel; b <= Unused18; ++b) At(b) = kept[static_cast<std::size_t>(b - CustomCharSel)];
    }
    DriveSlotIntoPatch();
    edit.changed = true;
    edit.refreshDrive = edit.refreshRow = true;
    edit.SendRange(*patch_, orb8::DriveType, Unused18);
    return edit;
}

void PatchEditor::SwapTypeMemory(Memory::ModuleTypes& memory, int typeByte, int firstParam, int destByte, int type,
                                 int oldEffective) {
    const int old = Byte(typeByte);
    if (KnownType(old)) {
        auto& kept = memory[static_cast<std::size_t>(old)];
        for (int i = 0; i < 4; ++i) kept[static_cast<std::size_t>(i)] = At(firstParam + i);
    }
    if (KnownType(oldEffective)) memory[static_cast<std::size_t>(oldEffective)][4] = At(destByte);
    At(typeByte) = static_cast<std::uint8_t>(type);
    const auto& set = memory[static_cast<std::size_t>(type)];
    for (int i = 0; i < 4; ++i) At(firstParam + i) = set[static_cast<std::size_t>(i)];
    At(destByte) = set[4];
}

Edit PatchEditor::ModTypeChanged(int type) {
    Edit edit;
    if (!patch_ || !KnownType(type) || Byte(orb8::ModType) == type) return edit;
    SwapTypeMemory(memory_.mod, orb8::ModType, ModParam1, ModRtmDest, type, EffectiveModType());
    ModSlotIntoPatch();
    edit.changed = true;
    edit.refreshMod = edit.refreshRow = true;
    edit.SendRange(*patch_, orb8::ModType, ModRtmSource);
    return edit;
}

Edit PatchEditor::DlyTypeChanged(int type) {
    Edit edit;
    if (!patch_ || !KnownType(type) || Byte(orb8::DlyType) == type) return edit;
    SwapTypeMemory(memory_.dly, orb8::DlyType, DlyParam1, DlyRtmDest, type, EffectiveDlyType());
    edit.changed = true;
    // These types can't run beside Mod: Mod goes off first.
    if (ExcludesMod(EffectiveDlyType()) && (At(ModuleSwitches) & ModOn)) {
        At(ModuleSwitches) = static_cast<std::uint8_t>(At(ModuleSwitches) & ~ModOn);
        edit.refreshSwitches = true;
        edit.Send(ModuleSwitches, At(ModuleSwitches));
    }
    DlySlotIntoPatch();
    edit.refreshDly = edit.refreshRow = true;
    edit.SendRange(*patch_, orb8::DlyType, DlyRtmSource);
    return edit;
}

Edit PatchEditor::SwitchClicked(ModuleBit bit) {
    Edit edit;
    if (!patch_) return edit;
    At(ModuleSwitches) = static_cast<std::uint8_t>(At(ModuleSwitches) ^ bit);
    const bool on = At(ModuleSwitches) & bit;
    if (on && ExcludesMod(EffectiveDlyType())) {
        if (bit == ModOn && (At(ModuleSwitches) & DlyOn)) At(ModuleSwitches) = static_cast<std::uint8_t>(At(ModuleSwitches) & ~DlyOn);
        if (bit == DlyOn && (At(ModuleSwitches) & ModOn)) At(ModuleSwitches) = static_cast<std::uint8_t>(At(ModuleSwitches) & ~ModOn);
    }
    edit.changed = true;
    edit.refreshSwitches = true;
    edit.refreshRow = bit != EqOn;
    edit.Send(ModuleSwitches, At(ModuleSwitches));
    return edit;
}

Edit PatchEditor::NameEntered(const std::string& text) {
    Edit edit;
    if (!patch_) return edit;
    switch (CheckName(text)) {
        case NameCheck::TooLong: edit.message = "Patch name is too long"; return edit;
        case NameCheck::InvalidCharacter: edit.message = "invalid character"; return edit;
        case NameCheck::Empty:  // an empty name is eight spaces, in the list, the patch and the processor
        case NameCheck::Valid: break;
    }
    const PatchData before = *patch_;
    EncodeName(text, *patch_);
    edit.changed = before != *patch_;
    edit.refreshName = true;
    edit.nameCell = DecodeName(*patch_);
    edit.SendRange(*patch_, Name0, Name0 + kNameLength - 1);
    return edit;
}

Edit PatchEditor::RtmChanged(Module module, RtmField field, int value) {
    Edit edit;
    if (!patch_) return edit;
    const RtmBytes b = RtmBytesOf(module);
    const int byte = field == RtmField::Max ? b.max : field == RtmField::Min ? b.min
                     : field == RtmField::Destination ? b.destination : b.source;
    // A destination list with no row chosen sends the byte as it is.
    if (value >= 0 && value <= BitsMax(byte) && Byte(byte) != value) {
        At(byte) = static_cast<std::uint8_t>(value);
        edit.changed = true;
    } else if (field != RtmField::Destination) {
        return edit;
    }
    edit.Send(byte, Byte(byte));
    if (module == Module::Drive) CopyDriveToSlot();
    if (module == Module::Mod) CopyModToSlot();
    if (module == Module::DlyRev) CopyDlyToSlot();
    return edit;
}

}  // namespace orb8
