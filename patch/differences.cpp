#include "patch/differences.h"

#include <algorithm>

namespace orb8 {

std::string_view ModuleName(Module module) {
    switch (module) {
        case Module::Drive: return "DRIVE";
        case Module::Mod: return "MOD";
        case Module::DlyRev: return "DLY/REV";
        case Module::Eq: return "EQ";
        case Module::Patch: return "PATCH";
    }
    return "";
}

std::vector<ParameterDifference> PatchDifferences(const PatchData& a, const CustomSettingsBlock& sa, const PatchData& b,
                                                  const CustomSettingsBlock& sb) {
    std::vector<ParameterDifference> out;
    for (int byte = 0; byte < kPatchBytes; ++byte) {
        const auto i = static_cast<std::size_t>(byte);
        if (a[i] == b[i]) continue;
        std::string name = PatchByteName(a, byte, sa);
        if (name.empty() || name == "?") name = PatchByteName(b, byte, sb);
        if (name.empty()) name = "byte " + std::to_string(byte);
        out.push_back({byte, ModuleOfByte(byte), name, PatchByteText(a, byte, sa), PatchByteText(b, byte, sb), a[i], b[i]});
    }
    // A module's bytes are not all in one run (the patch level and VNR sit
    // between others): each module's differences are brought together.
    std::stable_sort(out.begin(), out.end(), [](const ParameterDifference& x, const ParameterDifference& y) {
        return static_cast<int>(x.module) < static_cast<int>(y.module);
    });
    return out;
}

namespace {

// A custom slot seen as a patch of its type: what the editor shows of it.
struct SlotView {
    Module module;
    int type;       // 20 or 21
    int first;  // first block offset
    int length;
};
constexpr SlotView kSlots[] = {
    {Module::Mod, 20, kModCustom1Slot, kModDlySlotBytes},    {Module::Mod, 21, kModCustom2Slot, kModDlySlotBytes},
    {Module::DlyRev, 20, kDlyCustom1Slot, kModDlySlotBytes}, {Module::DlyRev, 21, kDlyCustom2Slot, kModDlySlotBytes},
    {Module::Drive, 20, kDriveCustom1Slot, kDriveSlotBytes}, {Module::Drive, 21, kDriveCustom2Slot, kDriveSlotBytes}};

std::string SlotName(const SlotView& s) { return std::string(ModuleName(s.module)) + " " + TypeName(s.module, s.type); }

// The slot's values in the patch bytes they stand for, under the slot's type.
PatchData SlotPatch(const SlotView& s, const CustomSettingsBlock& block) {
    PatchData p = InitialPatch();
    const int typeByte = s.module == Module::Mod ? ModType : s.module == Module::DlyRev ? DlyType : DriveType;
    p[static_cast<std::size_t>(typeByte)] = static_cast<std::uint8_t>(s.type);
    const int firstByte = s.module == Module::Mod ? ModParam1 : s.module == Module::DlyRev ? DlyParam1 : DriveParam1;
    const int valueStart = s.module == Module::Drive ? s.first : s.first + 1;
    const int values = s.module == Module::Drive ? s.length : s.length - 1;
    for (int k = 0; k < values; ++k)
        p[static_cast<std::size_t>(firstByte + k)] = block[static_cast<std::size_t>(valueStart + k)];
    return p;
}

}  // namespace

std::vector<SettingsDifference> CustomSettingsDifferences(const CustomSettingsBlock& a, const CustomSettingsBlock& b) {
    std::vector<SettingsDifference> out;
    for (int offset = 0; offset < kCustomSettingsBytes; ++offset) {
        const auto k = static_cast<std::size_t>(offset);
        if (a[k] == b[k]) continue;
        SettingsDifference d{offset, "", "byte " + std::to_string(offset), std::to_string(a[k]), std::to_string(b[k])};
        for (const SlotView& s : kSlots) {
            if (offset < s.first || offset >= s.first + s.length) continue;
            d.slot = SlotName(s);
            if (s.module != Module::Drive && offset == s.first) {
                d.name = "type";
                d.textA = TypeName(s.module, a[k]);
                d.textB = TypeName(s.module, b[k]);
                break;
            }
            const int firstByte = s.module == Module::Mod ? ModParam1 : s.module == Module::DlyRev ? DlyParam1 : DriveParam1;
            const int byte = firstByte + offset - (s.module == Module::Drive ? s.first : s.first + 1);
            const PatchData pa = SlotPatch(s, a), pb = SlotPatch(s, b);
            std::string name = PatchByteName(pa, byte, a);
            if (name.empty() || name == "?") name = PatchByteName(pb, byte, b);
            if (!name.empty()) d.name = name;
            d.textA = PatchByteText(pa, byte, a);
            d.textB = PatchByteText(pb, byte, b);
            break;
        }
        out.push_back(std::move(d));
    }
    return out;
}

std::vector<std::string> DifferingSlots(const CustomSettingsBlock& a, const CustomSettingsBlock& b) {
    std::vector<std::string> slots;
    for (const SettingsDifference& d : CustomSettingsDifferences(a, b)) {
        const std::string& name = d.slot.empty() ? d.name : d.slot;
        if (std::find(slots.begin(), slots.end(), name) == slots.end()) slots.push_back(name);
    }
    return slots;
}

std::string DifferingSlotsText(const CustomSettingsBlock& a, const CustomSettingsBlock& b) {
    std::string text;
    for (const std::string& slot : DifferingSlots(a, b)) text += (text.empty() ? "" : ", ") + slot;
    return text;
}

std::vector<PatchDifference> BankDifferences(const ProjectDocument& a, const CustomSettingsBlock& sa,
                                             const ProjectDocument& b, const CustomSettingsBlock& sb) {
    std::vector<PatchDifference> out;
    for (int i = 0; i < kPatchCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        // Only what the file keeps: bytes 17 and 18 and bits above a field's width are not.
        const PatchData pa = Unpack(Pack(a.patches[k])), pb = Unpack(Pack(b.patches[k]));
        PatchDifference d{i, PatchDifferences(pa, sa, pb, sb), a.comments[k] != b.comments[k], a.comments[k], b.comments[k]};
        if (!d.parameters.empty() || d.commentDiffers) out.push_back(std::move(d));
    }
    return out;
}

}  // namespace orb8
