#include "sim/factorybank.h"

#include "customdist/customdistdata.h"
#include "patch/effecttables.h"

namespace orb8 {
namespace {

struct FactoryPatch {
    const char* name;
    std::uint8_t modules;  // ModuleBit mask
    std::uint8_t drive, mod, dly;
    std::uint8_t gain;     // drive parameter 1 where the type has a gain-like one
    std::uint8_t level;    // patch level, 0..49
};

// Our own bank: eighty sounds over most types of every module.
constexpr FactoryPatch kPatches[] = {
    {"CLEAN", 0x0D, 0, 0, 0, 10, 40},       {"SPARKLE", 0x0F, 0, 1, 8, 12, 38},
    {"FENDR DR", 0x0D, 1, 0, 1, 18, 39},    {"CRUNCH", 0x09, 2, 0, 1, 15, 40},
    {"BRIT DRV", 0x0D, 3, 3, 3, 22, 37},    {"BG BLUES", 0x0F, 4, 0, 2, 14, 40},
    {"PVY HEAT", 0x09, 5, 0, 0, 26, 36},    {"VOX JANG", 0x0F, 6, 5, 6, 13, 40},
    {"PWR LEAD", 0x0D, 7, 0, 2, 25, 38},    {"V-OD", 0x0D, 8, 2, 0, 16, 40},
    {"OVERDRV", 0x0D, 9, 0, 0, 20, 40},     {"V-DIST", 0x0F, 10, 3, 7, 24, 37},
    {"DISTORT", 0x0D, 11, 0, 2, 27, 36},    {"FUZZ BOX", 0x09, 12, 0, 0, 29, 35},
    {"METAL", 0x0D, 13, 0, 1, 29, 35},      {"SQUEEZE", 0x0F, 14, 0, 1, 6, 42},
    {"CMP+CRU", 0x0D, 15, 0, 3, 17, 40},    {"CMP+OD", 0x0F, 16, 4, 0, 19, 39},
    {"CMP+DIST", 0x0D, 17, 0, 2, 23, 37},   {"EXT LOOP", 0x09, 18, 0, 0, 5, 40},
    {"ACOUSTIC", 0x0F, 19, 0, 0, 6, 41},    {"SPECIAL1", 0x0D, 20, 0, 0, 24, 38},
    {"SPECIAL2", 0x0D, 21, 0, 1, 24, 38},   {"CHORUS", 0x0E, 0, 0, 0, 10, 40},
    {"CE CHO", 0x0E, 9, 1, 1, 12, 40},      {"VIBRATO", 0x0F, 6, 2, 0, 14, 39},
    {"JET FLNG", 0x0F, 11, 3, 1, 20, 38},   {"PHASE 90", 0x0F, 8, 4, 0, 15, 40},
    {"TREMOLO", 0x0E, 0, 5, 1, 10, 40},     {"PDL WAH", 0x0B, 10, 6, 0, 22, 38},
    {"AUTO WAH", 0x0B, 12, 7, 0, 24, 37},   {"STEP FX", 0x0F, 13, 8, 2, 22, 37},
    {"CRYBABY", 0x0B, 7, 9, 0, 21, 38},     {"OCTAVER", 0x0F, 11, 10, 0, 20, 38},
    {"WHAMMY", 0x0B, 13, 11, 0, 26, 36},    {"RING MOD", 0x0A, 0, 12, 0, 10, 40},
    {"SWELL", 0x0E, 3, 13, 0, 12, 40},      {"SLAPBACK", 0x0F, 4, 14, 1, 16, 40},
    {"TIMETRIP", 0x0F, 9, 15, 0, 18, 39},   {"BPM 120", 0x0F, 2, 16, 1, 15, 40},
    {"LOOPER", 0x0E, 0, 17, 0, 10, 40},     {"TRM+CHO", 0x0E, 6, 18, 2, 13, 40},
    {"RING+VIB", 0x0F, 11, 19, 3, 21, 38},  {"MOD C1", 0x0E, 0, 20, 0, 10, 40},
    {"MOD C2", 0x0E, 9, 21, 1, 18, 39},     {"HALL", 0x0C, 0, 0, 0, 10, 40},
    {"ROOM", 0x0D, 1, 0, 1, 12, 40},        {"DLY+HALL", 0x0D, 3, 0, 2, 16, 40},
    {"DLY+ROOM", 0x0D, 5, 0, 3, 20, 39},    {"PINGPONG", 0x0F, 9, 1, 4, 20, 39},
    {"SEAMLESS", 0x0D, 7, 0, 5, 22, 38},    {"CHO+DLY", 0x0F, 2, 0, 6, 14, 40},
    {"TAPE ECO", 0x0D, 8, 0, 7, 18, 39},    {"ST CHO", 0x0C, 0, 0, 8, 10, 41},
    {"AUTO PAN", 0x0C, 6, 0, 9, 12, 40},    {"PIT+DLY", 0x0D, 10, 0, 10, 22, 38},
    {"BEND CHO", 0x0D, 4, 0, 11, 16, 40},   {"JAM PLAY", 0x0D, 11, 0, 12, 26, 37},
    {"SAMPLER", 0x0C, 0, 0, 13, 10, 40},    {"AWA+TRM", 0x0F, 12, 7, 14, 24, 37},
    {"GATE REV", 0x0D, 13, 0, 15, 29, 35},  {"HARMONY", 0x0D, 9, 0, 16, 20, 38},
    {"TWIN PIT", 0x0D, 3, 0, 17, 18, 39},   {"S/H FX", 0x0F, 11, 8, 18, 22, 37},
    {"SYNTH", 0x0D, 12, 0, 19, 28, 36},     {"DLY C1", 0x0C, 0, 0, 20, 10, 40},
    {"DLY C2", 0x0D, 9, 0, 21, 18, 39},     {"LEAD 1", 0x0F, 11, 0, 2, 26, 38},
    {"LEAD 2", 0x0F, 7, 3, 7, 25, 38},      {"RHYTHM 1", 0x0D, 2, 0, 1, 15, 40},
    {"RHYTHM 2", 0x0F, 16, 1, 0, 18, 40},   {"SOLO+", 0x0F, 13, 14, 6, 29, 36},
    {"FUNK", 0x0B, 15, 7, 0, 14, 40},       {"SURF", 0x0F, 6, 5, 0, 12, 40},
    {"AMBIENT", 0x0E, 0, 1, 5, 10, 40},     {"SHOEGAZE", 0x0F, 12, 3, 15, 29, 36},
    {"DOOM", 0x0D, 13, 0, 0, 29, 34},       {"COUNTRY", 0x0F, 1, 5, 7, 16, 40},
    {"JAZZ BOX", 0x0C, 0, 0, 1, 8, 41},     {"INIT", 0x00, 9, 0, 0, 24, 39},
};

void ApplyType(PatchData& p, Module module, int type, const CustomSettingsBlock& settings) {
    TypeStart start{};
    int firstParam = 0, dest = 0, typeByte = 0;
    if (module == Module::Drive) {
        start = DriveTypeStart(type, settings);
        firstParam = DriveParam1;
        dest = DriveRtmDest;
        typeByte = DriveType;
    } else if (module == Module::Mod) {
        const int base = EffectiveModType(type, settings);
        start = ModTypeStart(base);
        firstParam = ModParam1;
        dest = ModRtmDest;
        typeByte = ModType;
    } else {
        const int base = EffectiveDlyType(type, settings);
        start = DlyTypeStart(base);
        firstParam = DlyParam1;
        dest = DlyRtmDest;
        typeByte = DlyType;
    }
    p[static_cast<std::size_t>(typeByte)] = static_cast<std::uint8_t>(type);
    for (int i = 0; i < 4; ++i) p[static_cast<std::size_t>(firstParam + i)] = start.params[i];
    p[static_cast<std::size_t>(dest)] = start.rtmDest;
}

static_assert(std::size(kPatches) == kPatchCount, "a bank has 80 patches");

}  // namespace

CustomSettingsBlock FactoryCustomSettings() {
    CustomSettingsBlock block = DefaultCustomSettings();
    // Its own custom Mod 1: TRM+CHO rather than the built-in CE CHO.
    block[kModCustom1Slot] = 18;
    const TypeStart start = ModTypeStart(18);
    for (int i = 0; i < 4; ++i) block[static_cast<std::size_t>(kModCustom1Slot + 1 + i)] = start.params[i];
    block[static_cast<std::size_t>(kModCustom1Slot + 7)] = start.rtmDest;
    return block;
}

std::array<PackedPatch, kPatchCount> FactoryBank() {
    const CustomSettingsBlock settings = FactoryCustomSettings();
    std::array<PackedPatch, kPatchCount> bank{};
    for (int i = 0; i < kPatchCount; ++i) {
        const FactoryPatch& f = kPatches[i];
        PatchData p = InitialPatch();
        p[ModuleSwitches] = f.modules;
        ApplyType(p, Module::Drive, f.drive, settings);
        ApplyType(p, Module::Mod, f.mod, settings);
        ApplyType(p, Module::DlyRev, f.dly, settings);
        // A gain-like first drive parameter within the type's range.
        if (const ParamDef* d = DriveParam(f.drive, 0)) p[DriveParam1] = static_cast<std::uint8_t>(f.gain <= d->max ? f.gain : d->max);
        if (f.drive == 20 || f.drive == 21) {
            for (int b = CustomCharSel; b <= CustomLowSel; ++b) p[static_cast<std::size_t>(b)] = f.drive == 20 ? 9 : 10;
        }
        p[PatchLevel] = f.level;
        p[EqTreble] = static_cast<std::uint8_t>(12 + (i % 5) - 2);
        p[EqBass] = static_cast<std::uint8_t>(12 + (i % 3));
        p[DriveRtmSource] = static_cast<std::uint8_t>(i % 7 == 0 ? 1 : 0);
        p[VnrLevel] = static_cast<std::uint8_t>(i % 16);
        EncodeName(f.name, p);
        bank[static_cast<std::size_t>(i)] = Pack(p);
    }
    return bank;
}

std::array<FilterDeviceImage, kFilterCount> FactoryFilterImages() {
    CustomDistData data = CustomDistData::NewDocument();
    // Set 1 carries a designed character: a bright edge into the diode clipper.
    data.ApplyClipperPreset(1, 5);
    for (int slot : {SlotBottom, SlotPre, SlotEdge}) {
        FilterRecord& f = data.filters[static_cast<std::size_t>(FilterNumber(1, slot))];
        f.on = 1;
        f.gain = slot == SlotEdge ? 6 : -3;
    }
    data.filters[FilterNumber(1, SlotHigh)].on = 1;
    data.filters[FilterNumber(1, SlotHigh)].type = FilterHighShelf;
    data.filters[FilterNumber(1, SlotHigh)].gain = 4.5;
    std::array<FilterDeviceImage, kFilterCount> images{};
    data.EncodeAll();
    for (int n = 0; n < kFilterCount; ++n) {
        FilterRecord& f = data.filters[static_cast<std::size_t>(n)];
        ComputeCoefficients(f);
        images[static_cast<std::size_t>(n)] = FilterImageFromDump(f.coefNibbles, data.images[static_cast<std::size_t>(n)]);
    }
    return images;
}

std::array<ClipperBlock, kSetCount> FactoryClippers() {
    return {ClipperPresets()[0].block, ClipperPresets()[5].block};
}

FilterDeviceImage FilterImageFromDump(std::span<const std::uint8_t, kCoefNibbles> nibbles, const FilterDeviceImage& settings) {
    FilterDeviceImage image = settings;
    for (int k = 0; k < kCoefCount; ++k) {
        std::uint32_t code = 0;
        for (int n = 0; n < 6; ++n) code = (code << 4) | (nibbles[static_cast<std::size_t>(6 * k + n)] & 0x0F);
        image[static_cast<std::size_t>(3 * k)] = static_cast<std::uint8_t>(code >> 16);
        image[static_cast<std::size_t>(3 * k + 1)] = static_cast<std::uint8_t>(code >> 8);
        image[static_cast<std::size_t>(3 * k + 2)] = static_cast<std::uint8_t>(code);
    }
    return image;
}

}  // namespace orb8
