#include "patch/effecttables.h"

#include <array>

namespace orb8 {
namespace {

using SV = std::string_view;

constexpr std::array<SV, kDriveTypeCount> kDriveTypes = {
    "FDR CLN", "FDR DRV", "MS CRU",  "MS DRV",   "BG DRV",   "PVY DRV", "VX CRU",   "PWR LEAD",
    "V-OD",    "OVER DRV", "V-DIST", "DIST",     "FUZZ",     "WD METAL", "COMP",    "CMP+CRU",
    "CMP+OD",  "CMP+DIST", "EXT DIST", "ACOUSTIC", "CUSTOM1", "CUSTOM2"};

constexpr std::array<SV, kModTypeCount> kModTypes = {
    "CHORUS",   "CE CHO",   "VIBRATO", "FLANGER", "PHASE",    "TREMOLO", "PDL WAH",  "AUTO WAH",
    "STEP",     "CRY",      "PITCH",   "PDL PIT", "RING MOD", "SLOW ATK", "DELAY",   "TIMETRIP",
    "BPM DLY",  "HOLD DLY", "TRM+CHO", "RING+VIB", "CUSTOM1", "CUSTOM2"};

constexpr std::array<SV, kDlyTypeCount> kDlyTypes = {
    "REV HALL", "REV ROOM", "DLY+HALL", "DLY+ROOM", "PP DLY",   "SEAMLESS", "CHO+DLY",  "ECHO",
    "ST CHO",   "AUTO PAN", "PIT+DLY",  "BEND CHO", "JAM PLAY", "SAMPLER",  "AWA+TRM",  "GATE REV",
    "HPS",      "TWIN PIT", "SMPLHOLD", "SYNTH",    "CUSTOM1",  "CUSTOM2 "};

constexpr std::array<SV, 31> kRtmSources = {
    "oF", "Pd", "1",  "2",  "3",  "4",  "5",  "8",  "9",  "10", "11", "12", "13", "14", "15", "16",
    "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30", "31"};

constexpr std::array<SV, 11> kCharSel = {"C1", "C2", "o1", "o2", "d1", "d2", "A1", "A2", "A3", "S1", "S2"};
constexpr std::array<SV, 11> kHighSel = {"L1", "L2", "L3", "L4", "Ft", "P1", "P2", "P3", "P4", "S1", "S2"};
constexpr std::array<SV, 11> kMidSel = {"L1", "L2", "L3", "M1", "M2", "M3", "H1", "H2", "H3", "S1", "S2"};
constexpr std::array<SV, 11> kLowSel = {"H1", "H2", "Ft", "b1", "b2", "P1", "P2", "P3", "P4", "S1", "S2"};

constexpr std::array<SV, 8> kTrebleFreqs = {"630Hz", "800Hz", "1.2kHz", "1.6kHz", "2.5kHz", "3.2kHz", "5.1kHz", "6.3kHz"};
constexpr std::array<SV, 8> kMidFreqs = {"160Hz", "200Hz", "315Hz", "400Hz", "630Hz", "800Hz", "1.2kHz", "1.6kHz"};
constexpr std::array<SV, 8> kBassFreqs = {"60Hz", "80Hz", "125Hz", "160Hz", "200Hz", "315Hz", "400Hz", "630Hz"};
constexpr std::array<SV, 8> kEqRtmDests = {"PRESENSE", "TREBLE", "MIDDLE", "BASS", "LEVEL", "TRBL FRQ", "MID FRQ", "BASS FRQ"};
constexpr std::array<SV, 5> kCtrlTargets = {"OFF", "DRIVE", "EQ", "MOD", "DLY/REV"};

constexpr std::array<SV, 2> kPosition = {"bF", "AF"};
constexpr std::array<SV, 2> kShift = {"dn", "uP"};
constexpr std::array<SV, 9> kInterval = {"t1", "t2", "t3", "t4", "t5", "t6", "t7", "t8", "t9"};
constexpr std::array<SV, 3> kHoldMode = {"tr", "Gt", "So"};
constexpr std::array<SV, 3> kJamStyle = {"nM", "rS", "SC"};
constexpr std::array<SV, 5> kJamTrigger = {"tS", "tL", "GS", "GL", "rS"};
constexpr std::array<SV, 2> kSamplerSource = {"PL", "AU"};
constexpr std::array<SV, 2> kOffOn = {"oF", "on"};
constexpr std::array<SV, 10> kSamplerSpeed = {"100%", "94%", "89%", "84%", "79%", "75%", "71%", "67%", "50%", "25%"};
constexpr std::array<SV, 12> kKeys = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
constexpr std::array<SV, 5> kScales = {"M3", "m3", "4t", "5t", "6t"};
constexpr std::array<SV, 2> kTwinMode = {"Mn", "St"};

// Rule builders.
constexpr ValueRule Stored() { return {Shape::AsStored, 0, {}, {}}; }
constexpr ValueRule Plus(int k) { return {Shape::Offset, k, {}, {}}; }
template <std::size_t N>
constexpr ValueRule Texts(const std::array<SV, N>& list) { return {Shape::List, 0, std::span<const SV>(list), {}}; }
constexpr ValueRule OffNum() { return {Shape::OffOrNumber, 0, {}, {}}; }
constexpr ValueRule TimeRule() { return {Shape::Time, 0, {}, {}}; }
constexpr ValueRule PitchRule(SV atTwelve) { return {Shape::Pitch, 0, {}, atTwelve}; }

constexpr ParamDef P(SV name, int max, ValueRule rule, RtmRole rtm = RtmRole::Self) {
    return {name, max, rule, rtm, false};
}
// Not a modulation target.
constexpr ParamDef N(SV name, int max, ValueRule rule) { return {name, max, rule, RtmRole::None, false}; }
constexpr ParamDef TimeX100(RtmRole rtm) { return {"TIMEX100", 60, Stored(), rtm, true}; }
constexpr ParamDef TimeX1() { return {"TIMEX1", 99, Stored(), RtmRole::None, true}; }
constexpr ParamDef kNone = {"", 0, {Shape::Unused, 0, {}, {}}, RtmRole::None, false};

using ParamSet = std::array<ParamDef, 4>;

constexpr ParamSet kDriveGain = {P("GAIN", 29, Plus(1)), P("PRE GAIN", 9, Plus(1)), P("TONE", 10, Stored()),
                                 P("LEVEL", 29, Plus(1))};
constexpr ParamSet kDriveComp = {P("TONE", 10, Stored()), P("COMP SNS", 10, OffNum()), P("ATTACK", 9, Plus(1)),
                                 P("LEVEL", 29, Plus(1))};
constexpr ParamSet kDriveCompGain = {P("GAIN", 29, Plus(1)), P("COMP SNS", 10, OffNum()), P("ATTACK", 9, Plus(1)),
                                     P("LEVEL", 29, Plus(1))};
constexpr ParamSet kDriveExt = {P("SEND LVL", 9, Plus(1)), P("COMP SNS", 10, OffNum()), P("ATTACK", 9, Plus(1)),
                                P("LEVEL", 29, Plus(1))};
constexpr ParamSet kDriveAcoustic = {P("TOP", 9, Plus(1)), P("BODY", 9, Plus(1)), P("TONE", 10, Stored()),
                                     P("LEVEL", 29, Plus(1))};

const ParamSet& DriveSet(int type) {
    if (type == 14) return kDriveComp;
    if (type >= 15 && type <= 17) return kDriveCompGain;
    if (type == 18) return kDriveExt;
    if (type == 19) return kDriveAcoustic;
    return kDriveGain;
}

struct TypeDef {
    ParamSet params;
    TypeStart start;
};

const std::array<TypeDef, kBaseTypeCount> kModDefs = {{
    {{P("DEPTH", 50, Stored()), P("RATE", 49, Plus(1)), P("PRE DLY", 50, Stored()), P("CHO MIX", 50, Stored())},
     {{35, 24, 14, 33}, 3}},
    {{P("DEPTH", 50, Stored()), P("RATE", 49, Plus(1)), P("TONE", 50, Stored()), P("CE MIX", 50, Stored())},
     {{30, 24, 35, 28}, 3}},
    {{P("DEPTH", 50, Stored()), P("VIB RATE", 49, Plus(1)), P("BALANCE", 50, Stored()), P("RISETIME", 50, OffNum())},
     {{25, 32, 40, 0}, 1}},
    {{P("DEPTH", 50, Stored()), P("FLG RATE", 49, Plus(1)), P("PRE DLY", 50, Stored()), P("FEEDBACK", 30, Plus(-15))},
     {{10, 8, 5, 20}, 1}},
    {{P("RESO", 49, Plus(1)), P("PHA RATE", 49, Plus(1)), N("CHAR", 3, Plus(1)), N("POSITION", 1, Texts(kPosition))},
     {{40, 13, 1, 1}, 1}},
    {{P("DEPTH", 50, Stored()), P("TRM RATE", 49, Plus(1)), P("CLIP", 10, Stored()), P("RISETIME", 50, OffNum())},
     {{30, 27, 5, 20}, 1}},
    {{P("PWA FREQ", 49, Plus(1)), P("DRY LVL", 50, Stored()), P("WET LVL", 50, Stored()),
      N("POSITION", 1, Texts(kPosition))},
     {{37, 0, 50, 0}, 0}},
    {{P("RESO", 49, Plus(1)), P("SHIFT", 1, Texts(kShift)), P("AWA SENS", 49, Plus(1)),
      N("POSITION", 1, Texts(kPosition))},
     {{29, 1, 1, 0}, 2}},
    {{P("DEPTH", 50, Stored()), P("STP RATE", 49, Plus(1)), P("FEEDBACK", 50, Stored()), kNone}, {{30, 32, 30, 0}, 1}},
    {{P("DEPTH", 50, Stored()), P("SHIFT", 1, Texts(kShift)), P("CRY SENS", 49, Plus(1)),
      N("POSITION", 1, Texts(kPosition))},
     {{0, 0, 0, 0}, 0}},
    {{P("PITCH", 25, PitchRule("0")), P("FINE", 20, Plus(-10)), P("TONE", 50, Stored()), P("BALANCE", 50, Stored())},
     {{19, 10, 40, 18}, 3}},
    {{N("TYPE", 15, Plus(1)), kNone, kNone, kNone}, {{0, 0, 0, 0}, 0}},
    {{P("DEPTH", 50, Stored()), P("RNG FREQ", 49, Plus(1)), P("BALANCE", 50, Stored()),
      N("POSITION", 1, Texts(kPosition))},
     {{30, 30, 30, 0}, 1}},
    {{P("SLW TIME", 49, Plus(1)), P("CURVE", 3, Plus(1)), N("POSITION", 1, Texts(kPosition)), kNone},
     {{14, 1, 1, 0}, 0}},
    {{TimeX100(RtmRole::TimeTriple), TimeX1(), N("FEEDBACK", 50, Stored()), N("DLY MIX", 50, Stored())},
     {{3, 70, 15, 33}, 2}},
    {{P("SENS", 49, Plus(1)), P("SHIFT", 1, Texts(kShift)), P("FEEDBACK", 20, Plus(-10)), P("TRIP BAL", 50, Stored())},
     {{35, 1, 0, 25}, 3}},
    {{N("BPM", 210, Plus(40)), N("INTERVAL", 8, Texts(kInterval)), P("FEEDBACK", 50, Stored()),
      P("BPM MIX", 50, Stored())},
     {{80, 5, 20, 40}, 1}},
    {{TimeX100(RtmRole::None), TimeX1(), N("MODE", 2, Texts(kHoldMode)), P("HOLD MIX", 50, Stored())},
     {{8, 0, 1, 30}, 0}},
    {{P("TRM DPT", 50, Stored()), P("TRM RATE", 49, Plus(1)), P("CHO RATE", 49, Plus(1)), P("CHO MIX", 50, Stored())},
     {{19, 29, 17, 30}, 1}},
    {{P("VIB DPT", 50, Stored()), P("VIB RATE", 49, Plus(1)), P("RING SPD", 49, Plus(1)), P("RING BAL", 50, Stored())},
     {{15, 34, 37, 30}, 3}},
}};

const std::array<TypeDef, kBaseTypeCount> kDlyDefs = {{
    {{P("TIME", 29, Plus(1)), P("PRE DLY", 50, Stored()), P("TONE", 10, Stored()), P("HALL MIX", 50, Stored())},
     {{9, 40, 5, 30}, 3}},
    {{P("TIME", 29, Plus(1)), P("PRE DLY", 50, Stored()), P("TONE", 10, Stored()), P("ROOM MIX", 50, Stored())},
     {{9, 40, 5, 30}, 3}},
    {{P("DLY TIME", 99, Plus(1)), P("DLY FB", 50, Stored()), P("DLY MIX", 50, Stored()), P("HALL MIX", 50, Stored())},
     {{39, 10, 13, 30}, 3}},
    {{P("DLY TIME", 99, Plus(1)), P("DLY FB", 50, Stored()), P("DLY MIX", 50, Stored()), P("ROOM MIX", 50, Stored())},
     {{39, 10, 13, 30}, 3}},
    {{TimeX100(RtmRole::TimeTriple), TimeX1(), N("FEEDBACK", 50, Stored()), N("PPD MIX", 50, Stored())},
     {{4, 60, 15, 30}, 2}},
    {{N("TIME", 119, TimeRule()), P("SEAMTIME", 100, {Shape::SeamTime, 0, {}, {}}, RtmRole::TimeTriple),
      N("FEEDBACK", 50, Stored()), N("SEAM MIX", 50, Stored())},
     {{79, 100, 20, 30}, 2}},
    {{P("TIME", 149, TimeRule()), P("DLY MIX", 50, Stored()), P("CHO RATE", 49, Plus(1)), P("CHO MIX", 50, Stored())},
     {{34, 25, 14, 28}, 3}},
    {{P("TIME", 149, TimeRule()), P("TONE", 50, Stored()), P("FEEDBACK", 50, Stored()), P("ECHO MIX", 50, Stored())},
     {{37, 10, 15, 20}, 3}},
    {{P("DEPTH", 50, Stored()), P("RATE", 49, Plus(1)), P("TONE", 50, Stored()), P("STCH MIX", 50, Stored())},
     {{35, 24, 30, 24}, 3}},
    {{P("PAN DPT", 50, Stored()), P("PAN RATE", 49, Plus(1)), P("PAN CLIP", 10, Stored()), P("TRM DPT", 50, Stored())},
     {{30, 27, 4, 30}, 1}},
    {{P("TIME", 149, TimeRule()), P("PITCH", 25, PitchRule("dt")), P("FEEDBACK", 50, Stored()),
      P("DLY MIX", 50, Stored())},
     {{34, 14, 21, 20}, 3}},
    {{P("DEPTH", 50, Stored()), P("SHIFT", 1, Texts(kShift)), P("TIME", 49, Plus(1)), P("BEND BAL", 50, Stored())},
     {{40, 1, 0, 50}, 3}},
    {{N("STYLE", 2, Texts(kJamStyle)), N("TRG/GATE", 4, Texts(kJamTrigger)), N("MIX", 50, Stored()), kNone},
     {{0, 1, 0, 0}, 0}},
    {{N("SOURCE", 1, Texts(kSamplerSource)), N("PITCH", 1, Texts(kOffOn)), N("SPEED", 9, Texts(kSamplerSpeed)),
      N("TONE", 20, Plus(-10))},
     {{0, 0, 0, 0}, 0}},
    {{P("AWA SENS", 20, {Shape::AwaSens, 0, {}, {}}), P("RISETIME", 50, OffNum()), P("TRM DPT", 50, Stored()),
      P("TRM RATE", 49, Plus(1))},
     {{12, 30, 40, 29}, 3}},
    {{P("DECAY", 29, Plus(1)), P("PRE DLY", 50, Stored()), P("ENV", 20, Plus(-10)), P("GATE MIX", 50, Stored())},
     {{19, 0, 5, 50}, 0}},
    {{N("KEY", 11, Texts(kKeys)), N("SCALE", 4, Texts(kScales)), N("SHIFT", 1, Texts(kShift)),
      P("HPS MIX", 50, Stored())},
     {{0, 0, 1, 40}, 0}},
    {{P("PITCH1", 25, PitchRule("oF")), P("PITCH2", 25, PitchRule("oF")), P("MODE", 1, Texts(kTwinMode)),
      P("BALANCE", 50, Stored())},
     {{24, 0, 1, 26}, 0}},
    {{N("PATTERN", 9, Plus(1)), P("SENS", 19, Plus(1)), P("DRY LVL", 50, Stored()), P("WET LVL", 50, Stored())},
     {{2, 15, 20, 50}, 0}},
    {{N("COLOR", 4, Plus(1)), P("SENS", 19, Plus(1)), P("DRY LVL", 50, Stored()), P("WET LVL", 50, Stored())},
     {{3, 15, 0, 50}, 1}},
}};

constexpr ParamDef kRtmMax = {"RTM MAX", 100, {Shape::Percent, 0, {}, {}}, RtmRole::None, false};
constexpr ParamDef kRtmMin = {"RTM MIN", 100, {Shape::Percent, 0, {}, {}}, RtmRole::None, false};
constexpr ParamDef kRtmSource = {"RTM SRC", 30, {Shape::RtmSource, 0, {}, {}}, RtmRole::None, false};

std::string Number(int v) { return std::to_string(v); }

// The Dly/Rev time display: 1..99 for stored 0..98, then tenths of a second.
std::string TimeText(int v) {
    if (v + 1 < 100) return Number(v + 1);
    const int hundredths = (v + 1) * 10 - 900;  // always a multiple of ten
    return Number(hundredths / 100) + "." + Number((hundredths % 100) / 10);
}

bool InBaseRange(int type) { return type >= 0 && type < kBaseTypeCount; }

// A module's type / RTM bytes, by module: the byte offset of the type and of the
// four RTM bytes that follow the parameters.
struct ModuleBytes {
    int type, firstParam, rtmMax, rtmMin, rtmDest, rtmSource;
};
constexpr ModuleBytes kDriveBytes = {DriveType, DriveParam1, DriveRtmMax, DriveRtmMin, DriveRtmDest, DriveRtmSource};
constexpr ModuleBytes kModBytes = {ModType, ModParam1, ModRtmMax, ModRtmMin, ModRtmDest, ModRtmSource};
constexpr ModuleBytes kDlyBytes = {DlyType, DlyParam1, DlyRtmMax, DlyRtmMin, DlyRtmDest, DlyRtmSource};

const ModuleBytes* BytesOf(Module m) {
    switch (m) {
        case Module::Drive: return &kDriveBytes;
        case Module::Mod: return &kModBytes;
        case Module::DlyRev: return &kDlyBytes;
        default: return nullptr;
    }
}

// A byte's definition under its module type, or nullptr when it has none.
struct ByteDef {
    ParamDef def;
    bool known = false;
    std::vector<std::string_view> destinations;  // for RTM destination bytes
};

ByteDef DefineByte(int byte, int type) {
    ByteDef out;
    auto set = [&](const ParamDef& d) { out.def = d; out.known = true; };
    const Module m = ModuleOfByte(byte);
    if (const ModuleBytes* mb = BytesOf(m)) {
        if (byte == mb->type) {
            const int count = m == Module::Drive ? kDriveTypeCount : m == Module::Mod ? kModTypeCount : kDlyTypeCount;
            const auto names = m == Module::Drive ? DriveTypeNames() : m == Module::Mod ? ModTypeNames() : DlyTypeNames();
            set({"TYPE", count - 1, {Shape::List, 0, names, {}}, RtmRole::None, false});
        } else if (byte >= mb->firstParam && byte < mb->firstParam + 4) {
            if (const ParamDef* p = ModuleParam(m, type, byte - mb->firstParam)) set(*p);
        } else if (byte == mb->rtmMax) {
            set(kRtmMax);
        } else if (byte == mb->rtmMin) {
            set(kRtmMin);
        } else if (byte == mb->rtmSource) {
            set(kRtmSource);
        } else if (byte == mb->rtmDest) {
            const bool typeKnown = m == Module::Drive ? (type >= 0 && type < kDriveTypeCount) : InBaseRange(type);
            if (typeKnown) {
                out.destinations = RtmDestinations(m, type);
                set({"RTM DEST", static_cast<int>(out.destinations.size()) - 1, {Shape::List, 0, {}, {}},
                     RtmRole::None, false});
            }
        } else if (byte >= CustomCharSel && byte <= CustomLowSel) {
            static constexpr SV names[] = {"CHAR", "HIGH", "MID", "LOW"};
            set({names[byte - CustomCharSel], 10, {Shape::List, 0, CustomSelectionNames(byte), {}}, RtmRole::None, false});
        } else if (byte >= CustomDriveAux1 && byte <= CustomDriveAux3) {
            static constexpr SV names[] = {"CUSTOM AUX1", "CUSTOM AUX2", "CUSTOM AUX3"};
            set({names[byte - CustomDriveAux1], 15, Stored(), RtmRole::None, false});
        } else if (byte == Unused17 || byte == Unused18) {
            set({"(none)", 0, Stored(), RtmRole::None, false});
        }
        return out;
    }
    switch (byte) {
        case ModuleSwitches: set({"MODULES", 15, {Shape::ModuleSwitches, 0, {}, {}}, RtmRole::None, false}); break;
        case VnrLevel: set({"VNR", 15, OffNum(), RtmRole::None, false}); break;
        case EqPresence: set({"PRESENSE", 24, Plus(-12), RtmRole::None, false}); break;
        case EqTreble: set({"TREBLE", 24, Plus(-12), RtmRole::None, false}); break;
        case EqMiddle: set({"MIDDLE", 24, Plus(-12), RtmRole::None, false}); break;
        case EqBass: set({"BASS", 24, Plus(-12), RtmRole::None, false}); break;
        case EqLevel: set({"EQ LEVEL", 29, Plus(1), RtmRole::None, false}); break;
        case EqTrebleFreq: set({"TRBL FRQ", 7, Texts(kTrebleFreqs), RtmRole::None, false}); break;
        case EqMidFreq: set({"MID FRQ", 7, Texts(kMidFreqs), RtmRole::None, false}); break;
        case EqBassFreq: set({"BASS FRQ", 7, Texts(kBassFreqs), RtmRole::None, false}); break;
        case EqRtmMax: set(kRtmMax); break;
        case EqRtmMin: set(kRtmMin); break;
        case EqRtmDest: set({"RTM DEST", 7, Texts(kEqRtmDests), RtmRole::None, false}); break;
        case EqRtmSource: set(kRtmSource); break;
        case PatchLevel: set({"PATCH LEVEL", 49, Plus(1), RtmRole::None, false}); break;
        case VolRtm: set({"VOL RTM", 1, {Shape::OnOff, 0, {}, {}}, RtmRole::None, false}); break;
        case CtrlTarget: set({"CTRL TARGET", 4, Texts(kCtrlTargets), RtmRole::None, false}); break;
        case Ctrl1Value: set({"CTRL1 VALUE", 127, Stored(), RtmRole::None, false}); break;
        case Ctrl2Value: set({"CTRL2 VALUE", 127, Stored(), RtmRole::None, false}); break;
        case Ctrl1Number: set({"CTRL1 NUMBER", 62, {Shape::ControllerNumber, 0, {}, {}}, RtmRole::None, false}); break;
        case Ctrl2Number: set({"CTRL2 NUMBER", 62, {Shape::ControllerNumber, 0, {}, {}}, RtmRole::None, false}); break;
        default:
            if (byte >= Name0 && byte < Name0 + kNameLength) {
                static constexpr SV names[] = {"NAME1", "NAME2", "NAME3", "NAME4", "NAME5", "NAME6", "NAME7", "NAME8"};
                set({names[byte - Name0], static_cast<int>(kPatchNameCharset.size()) - 1, {Shape::NameChar, 0, {}, {}},
                     RtmRole::None, false});
            }
    }
    return out;
}

}  // namespace

Module ModuleOfByte(int byte) {
    if (byte >= DriveType && byte <= Unused18) return Module::Drive;
    if (byte >= ModType && byte <= ModRtmSource) return Module::Mod;
    if (byte >= DlyType && byte <= DlyRtmSource) return Module::DlyRev;
    if (byte >= EqPresence && byte <= EqRtmSource) return Module::Eq;
    return Module::Patch;
}

std::span<const std::string_view> DriveTypeNames() { return kDriveTypes; }
std::span<const std::string_view> ModTypeNames() { return kModTypes; }
std::span<const std::string_view> DlyTypeNames() { return kDlyTypes; }
std::span<const std::string_view> RtmSourceNames() { return kRtmSources; }

std::span<const std::string_view> CustomSelectionNames(int byte) {
    switch (byte) {
        case CustomCharSel: return kCharSel;
        case CustomHighSel: return kHighSel;
        case CustomMidSel: return kMidSel;
        case CustomLowSel: return kLowSel;
        default: return {};
    }
}

std::string OutOfRangeText(int stored) { return "?" + Number(stored); }

std::string TypeName(Module module, int type) {
    std::span<const std::string_view> names;
    if (module == Module::Drive) names = kDriveTypes;
    else if (module == Module::Mod) names = kModTypes;
    else if (module == Module::DlyRev) names = kDlyTypes;
    if (type < 0 || static_cast<std::size_t>(type) >= names.size()) return OutOfRangeText(type);
    return std::string(names[static_cast<std::size_t>(type)]);
}

std::string TypeNamePadded(Module module, int type) {
    std::string name = TypeName(module, type);
    if (name.size() < 8) name.append(8 - name.size(), ' ');
    return name;
}

const ParamDef* DriveParam(int type, int index) {
    if (type < 0 || type >= kDriveTypeCount || index < 0 || index > 3) return nullptr;
    return &DriveSet(type)[static_cast<std::size_t>(index)];
}

const ParamDef* ModParam(int type, int index) {
    if (!InBaseRange(type) || index < 0 || index > 3) return nullptr;
    return &kModDefs[static_cast<std::size_t>(type)].params[static_cast<std::size_t>(index)];
}

const ParamDef* DlyParam(int type, int index) {
    if (!InBaseRange(type) || index < 0 || index > 3) return nullptr;
    return &kDlyDefs[static_cast<std::size_t>(type)].params[static_cast<std::size_t>(index)];
}

const ParamDef* ModuleParam(Module module, int type, int index) {
    switch (module) {
        case Module::Drive: return DriveParam(type, index);
        case Module::Mod: return ModParam(type, index);
        case Module::DlyRev: return DlyParam(type, index);
        default: return nullptr;
    }
}

std::vector<std::string_view> RtmDestinations(Module module, int type) {
    std::vector<std::string_view> list;
    if (module == Module::Eq) {
        list.assign(kEqRtmDests.begin(), kEqRtmDests.end());
        return list;
    }
    for (int i = 0; i < 4; ++i) {
        const ParamDef* p = ModuleParam(module, type, i);
        if (!p || !p->used()) continue;
        if (module == Module::Drive || p->rtm == RtmRole::Self) {
            list.push_back(p->name);
        } else if (p->rtm == RtmRole::TimeTriple) {
            list.insert(list.end(), {"TIME", "FEEDBACK", "MIX"});
        }
    }
    return list;
}

std::string ControllerNumberText(int code) {
    if (code < 0 || code > 62) return OutOfRangeText(code);
    if (code == 0) return "oF";
    if (code <= 5) return Number(code);
    if (code <= 30) return Number(code + 1);
    return Number(code + 33);
}

TypeStart ModTypeStart(int type) {
    return InBaseRange(type) ? kModDefs[static_cast<std::size_t>(type)].start : TypeStart{{0, 0, 0, 0}, 0};
}

TypeStart DlyTypeStart(int type) {
    return InBaseRange(type) ? kDlyDefs[static_cast<std::size_t>(type)].start : TypeStart{{0, 0, 0, 0}, 0};
}

int DriveGroup(int type) {
    if ((type >= 0 && type <= 13) || (type >= 15 && type <= 17)) return 0;
    switch (type) {
        case 14: return 1;
        case 18: return 2;
        case 19: return 3;
        case 20: return 4;
        case 21: return 5;
        default: return -1;
    }
}

TypeStart DriveTypeStart(int type, const CustomSettingsBlock& settings) {
    const int slot = DriveCustomSlot(type);
    if (slot >= 0) {
        auto at = [&](int patchByte) { return settings[static_cast<std::size_t>(slot + patchByte - DriveParam1)]; };
        return {{at(DriveParam1), at(DriveParam2), at(DriveParam3), at(DriveParam4)}, at(DriveRtmDest)};
    }
    static constexpr std::uint8_t kGroupParam1[] = {25, 5, 9, 7};
    const int group = DriveGroup(type);
    if (group < 0) return {{0, 0, 0, 0}, 0};
    const std::uint8_t p1 = kGroupParam1[group];
    if (type == 5) return {{p1, 6, 7, 24}, 0};
    if (type >= 14 && type <= 17) return {{p1, 5, 5, 24}, 0};
    if (type == 18) return {{p1, 0, 5, 24}, 0};
    if (type == 19) return {{p1, 9, 5, 24}, 0};
    return {{p1, 6, 5, 24}, 0};
}

std::string FormatValue(const ValueRule& rule, int max, int stored) {
    if (rule.shape == Shape::Unused) return "";
    if (stored < 0 || stored > max) return OutOfRangeText(stored);
    switch (rule.shape) {
        case Shape::Unused: return "";
        case Shape::AsStored: return Number(stored);
        case Shape::Offset: return Number(stored + rule.offset);
        case Shape::List:
            if (static_cast<std::size_t>(stored) >= rule.list.size()) return OutOfRangeText(stored);
            return std::string(rule.list[static_cast<std::size_t>(stored)]);
        case Shape::OffOrNumber: return stored == 0 ? "oF" : Number(stored);
        case Shape::Time: return TimeText(stored);
        case Shape::Pitch:
            if (stored == 25) return "24";
            if (stored == 12) return std::string(rule.atTwelve.empty() ? SV("0") : rule.atTwelve);
            return Number(stored - 12);
        case Shape::SeamTime: return stored == 100 ? "Hd" : Number(stored + 1);
        case Shape::AwaSens: return stored == 10 ? "oF" : Number(stored - 10);
        case Shape::Percent: return Number(stored) + "%";
        case Shape::RtmSource: return std::string(kRtmSources[static_cast<std::size_t>(stored)]);
        case Shape::ControllerNumber: return ControllerNumberText(stored);
        case Shape::NameChar: return std::string(1, kPatchNameCharset[static_cast<std::size_t>(stored)]);
        case Shape::OnOff: return stored ? "ON" : "OFF";
        case Shape::ModuleSwitches: {
            static constexpr SV names[] = {"DRIVE", "MOD", "DLY/REV", "EQ"};
            std::string text;
            for (int bit = 0; bit < 4; ++bit) {
                if (stored & (1 << bit)) text += (text.empty() ? "" : "+") + std::string(names[bit]);
            }
            return text.empty() ? "all off" : text;
        }
    }
    return OutOfRangeText(stored);
}

std::string DisplayText(int byte, int type, int stored) {
    const ByteDef d = DefineByte(byte, type);
    if (!d.known) return OutOfRangeText(stored);
    if (!d.destinations.empty() || byte == DriveRtmDest || byte == ModRtmDest || byte == DlyRtmDest) {
        if (d.destinations.empty() && stored == 0) return "";  // the type offers no destination
        if (stored < 0 || static_cast<std::size_t>(stored) >= d.destinations.size()) return OutOfRangeText(stored);
        return std::string(d.destinations[static_cast<std::size_t>(stored)]);
    }
    return FormatValue(d.def.rule, d.def.max, stored);
}

std::string ParameterName(int byte, int type) {
    const ByteDef d = DefineByte(byte, type);
    if (d.known) return std::string(d.def.name);
    const Module m = ModuleOfByte(byte);
    if (m == Module::Drive || m == Module::Mod || m == Module::DlyRev) return "?";  // unknown type
    return "";
}

int ParameterMax(int byte, int type) {
    const ByteDef d = DefineByte(byte, type);
    if (!d.known || !d.def.used()) return -1;
    return d.def.max;
}

int ModuleTypeOfByte(const PatchData& patch, int byte, const CustomSettingsBlock& settings) {
    switch (ModuleOfByte(byte)) {
        case Module::Drive: return patch[DriveType];
        case Module::Mod: return EffectiveModType(patch[ModType], settings);
        case Module::DlyRev: return EffectiveDlyType(patch[DlyType], settings);
        default: return -1;
    }
}

std::string PatchByteText(const PatchData& patch, int byte, const CustomSettingsBlock& settings) {
    if (byte < 0 || byte >= kPatchBytes) return "";
    // The type bytes show the stored type; the rest follow the effective type.
    if (byte == ModType || byte == DlyType) return DisplayText(byte, 0, patch[static_cast<std::size_t>(byte)]);
    return DisplayText(byte, ModuleTypeOfByte(patch, byte, settings), patch[static_cast<std::size_t>(byte)]);
}

std::string PatchByteName(const PatchData& patch, int byte, const CustomSettingsBlock& settings) {
    if (byte < 0 || byte >= kPatchBytes) return "";
    return ParameterName(byte, ModuleTypeOfByte(patch, byte, settings));
}

}  // namespace orb8
