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
