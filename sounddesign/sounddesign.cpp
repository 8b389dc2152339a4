#include "sounddesign/sounddesign.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <tuple>

#include "patch/differences.h"
#include "patch/effecttables.h"

namespace orb8::design {

namespace {

constexpr std::array<std::string_view, kPartCount> kPartNames = {
    "switches", "drive-type", "drive", "vnr", "eq",   "mod-type", "mod",
    "dly-type", "dly",        "level", "controllers", "rtm", "custom"};

constexpr std::array<ModuleBit, 4> kSwitches = {DriveOn, ModOn, DlyOn, EqOn};
constexpr std::array<int, 3> kTypeBytes = {DriveType, ModType, DlyType};

// The bytes a tool sets one by one, in the order the editor takes them: the
// parameters (after the types and switches), the RTM settings, the rest.
constexpr std::array<int, 44> kValueBytes = {
    DriveParam1, DriveParam2, DriveParam3, DriveParam4, CustomCharSel, CustomHighSel, CustomMidSel, CustomLowSel,
    ModParam1,   ModParam2,   ModParam3,   ModParam4,   DlyParam1,     DlyParam2,     DlyParam3,    DlyParam4,
    VnrLevel,    EqPresence,  EqTreble,    EqMiddle,    EqBass,        EqLevel,       EqTrebleFreq, EqMidFreq,
    EqBassFreq,  PatchLevel,  DriveRtmMax, DriveRtmMin, DriveRtmDest,  DriveRtmSource, ModRtmMax,   ModRtmMin,
    ModRtmDest,  ModRtmSource, DlyRtmMax,  DlyRtmMin,   DlyRtmDest,    DlyRtmSource,  EqRtmMax,     EqRtmMin,
    EqRtmDest,   EqRtmSource, VolRtm,      CtrlTarget};
constexpr std::array<int, 4> kControllerValues = {Ctrl1Value, Ctrl2Value, Ctrl1Number, Ctrl2Number};

struct RtmByte {
    Module module;
    RtmField field;
};
std::optional<RtmByte> RtmOf(int byte) {
    const Module modules[] = {Module::Drive, Module::Mod, Module::DlyRev, Module::Eq};
    const int first[] = {DriveRtmMax, ModRtmMax, DlyRtmMax, EqRtmMax};
    const RtmField fields[] = {RtmField::Max, RtmField::Min, RtmField::Destination, RtmField::Source};
    for (int m = 0; m < 4; ++m)
        if (byte >= first[m] && byte < first[m] + 4) return RtmByte{modules[m], fields[byte - first[m]]};
    return std::nullopt;
}

// Whether a byte picks an entry of a list (no value lies between two entries).
bool Listed(int byte) {
    if (const auto rtm = RtmOf(byte)) return rtm->field == RtmField::Destination || rtm->field == RtmField::Source;
    return byte == EqTrebleFreq || byte == EqMidFreq || byte == EqBassFreq || byte == CtrlTarget || byte == VolRtm ||
           (byte >= CustomCharSel && byte <= CustomLowSel) || byte == Ctrl1Number || byte == Ctrl2Number;
}

struct Range {
    int min = 0, max = 0;
};

std::optional<Range> FromKnob(const KnobView& v) {
    if (!v.visible || v.name.empty()) return std::nullopt;
    if (!v.enabled) return Range{v.position, v.position};  // held by another (the time pair)
    return Range{v.min, std::max(v.min, v.max)};
}

// The values a byte may take now, under the editor's types (a single one
// when it has no choice); none when the type does not use it.
std::optional<Range> RangeOf(const PatchEditor& editor, int byte) {
    if (byte >= DriveParam1 && byte <= DriveParam4) return FromKnob(editor.DriveKnob(byte - DriveParam1));
    if (byte >= CustomCharSel && byte <= CustomLowSel) return FromKnob(editor.CustomKnob(byte - CustomCharSel));
    if (byte >= ModParam1 && byte <= ModParam4) return FromKnob(editor.ModKnob(byte - ModParam1));
    if (byte >= DlyParam1 && byte <= DlyParam4) return FromKnob(editor.DlyKnob(byte - DlyParam1));
    if (byte >= EqPresence && byte <= EqLevel) return FromKnob(editor.EqKnob(byte - EqPresence));
    if (byte == VnrLevel || byte == PatchLevel || (byte >= Ctrl1Value && byte <= Ctrl2Number))
        return FromKnob(editor.ByteKnob(byte));
    if (const auto rtm = RtmOf(byte)) {
        const RtmView v = editor.Rtm(rtm->module);
        switch (rtm->field) {
            case RtmField::Destination:
                return v.destinations.empty() ? std::nullopt
                                              : std::optional(Range{0, static_cast<int>(v.destinations.size()) - 1});
            case RtmField::Source: return Range{0, static_cast<int>(RtmSourceNames().size()) - 1};
            default: {
                const int max = ParameterMax(byte, -1);
                return max > 0 ? std::optional(Range{0, max}) : std::nullopt;
            }
        }
    }
    const int max = ParameterMax(byte, -1);
    return max > 0 ? std::optional(Range{0, max}) : std::nullopt;
}

// The editor's operation that sets one byte.
Edit SetByte(PatchEditor& editor, int byte, int value) {
    if (byte >= DriveParam1 && byte <= DriveParam4) return editor.DriveKnobChanged(byte - DriveParam1, value);
    if (byte >= CustomCharSel && byte <= CustomLowSel) return editor.CustomKnobChanged(byte - CustomCharSel, value);
    if (byte >= ModParam1 && byte <= ModParam4) return editor.ModKnobChanged(byte - ModParam1, value);
    if (byte >= DlyParam1 && byte <= DlyParam4) return editor.DlyKnobChanged(byte - DlyParam1, value);
    if (byte >= EqPresence && byte <= EqLevel) return editor.EqKnobChanged(byte - EqPresence, value);
    if (byte >= EqTrebleFreq && byte <= EqBassFreq) return editor.EqFrequencyChanged(byte - EqTrebleFreq, value);
    if (const auto rtm = RtmOf(byte)) return editor.RtmChanged(rtm->module, rtm->field, value);
    return editor.ByteChanged(byte, value);
}

Edit SetType(PatchEditor& editor, int typeByte, int type) {
    switch (typeByte) {
        case DriveType: return editor.DriveTypeChanged(type);
        case ModType: return editor.ModTypeChanged(type);
        default: return editor.DlyTypeChanged(type);
    }
}

int TypeCount(int typeByte) {
    return typeByte == DriveType ? kDriveTypeCount : typeByte == ModType ? kModTypeCount : kDlyTypeCount;
}

// One tool's run: every operation kept only when it leaves the locked parts
// as they were; what the kept ones send, in order.
class Work {
public:
    Work(PatchEditor& editor, const Locks& locks) : editor_(editor), locks_(locks) {}
    PatchData& Patch() { return *editor_.Current(); }
    PatchEditor& Editor() { return editor_; }
    const Locks& Locked() const { return locks_; }

    void Do(const std::function<Edit()>& operation) {
        const PatchData before = Patch();
        const CustomSettingsBlock settings = editor_.Settings();
        const Edit edit = operation();
        if (!locks_.Kept(before, Patch()) || (locks_.Has(Part::Custom) && editor_.Settings() != settings)) {
            Patch() = before;
            editor_.Settings() = settings;
            return;
        }
        Add(edit);
    }
    void Add(const Edit& edit) {
        total_.send.insert(total_.send.end(), edit.send.begin(), edit.send.end());
        total_.refreshDrive |= edit.refreshDrive;
        total_.refreshMod |= edit.refreshMod;
        total_.refreshDly |= edit.refreshDly;
        total_.refreshEq |= edit.refreshEq;
        total_.refreshSwitches |= edit.refreshSwitches;
        total_.refreshRow |= edit.refreshRow;
        total_.changed |= edit.changed;
    }
    // The name never changes, so the list's name cell stays as it is.
    Edit Result() { return std::move(total_); }

private:
    PatchEditor& editor_;
    const Locks& locks_;
    Edit total_;
};

int Clamp(double value, Range range) {
    return std::clamp(static_cast<int>(std::lround(value)), range.min, range.max);
}

// Patches to learn from, with their module types worked out once.
class Patches {
public:
    Patches(std::span<const PatchData> patches, const CustomSettingsBlock& settings) : patches_(patches) {
        types_.reserve(patches.size());
        for (const PatchData& p : patches)
            types_.push_back({p[DriveType], ModuleTypeOfByte(p, ModParam1, settings), ModuleTypeOfByte(p, DlyParam1, settings)});
    }
    bool Empty() const { return patches_.empty(); }
    // The values that patches of the same type as the edited one use for a byte.
    std::vector<int> SameTypeValues(const PatchEditor& editor, int byte) const {
        std::vector<int> values;
        const Module module = ModuleOfByte(byte);
        const int which = module == Module::Drive ? 0 : module == Module::Mod ? 1 : module == Module::DlyRev ? 2 : -1;
        const int type = which < 0 ? -1 : ModuleTypeOfByte(*editor.Current(), byte, editor.Settings());
        for (std::size_t i = 0; i < patches_.size(); ++i)
            if (which < 0 || types_[i][static_cast<std::size_t>(which)] == type)
                values.push_back(patches_[i][static_cast<std::size_t>(byte)]);
        return values;
    }

private:
    std::span<const PatchData> patches_;
    std::vector<std::array<int, 3>> types_;
};

}  // namespace

std::string_view PartName(Part part) { return kPartNames[static_cast<std::size_t>(part)]; }

std::optional<Part> PartFromName(std::string_view name) {
    for (int i = 0; i < kPartCount; ++i)
        if (kPartNames[static_cast<std::size_t>(i)] == name) return static_cast<Part>(i);
    return std::nullopt;
}

std::vector<int> PartBytes(Part part) {
    auto range = [](int first, int last) {
        std::vector<int> bytes;
        for (int b = first; b <= last; ++b) bytes.push_back(b);
        return bytes;
    };
    switch (part) {
        case Part::Switches: return {ModuleSwitches};
        case Part::DriveType: return {DriveType};
        case Part::Drive: {
            auto bytes = range(DriveParam1, DriveParam4);
            for (const auto& more : {range(CustomCharSel, CustomDriveAux3), range(DriveRtmMax, DriveRtmSource)})
                bytes.insert(bytes.end(), more.begin(), more.end());
            return bytes;
        }
        case Part::Vnr: return {VnrLevel};
        case Part::Eq: {
            auto bytes = range(EqPresence, EqBassFreq);
            const auto rtm = range(EqRtmMax, EqRtmSource);
            bytes.insert(bytes.end(), rtm.begin(), rtm.end());
            return bytes;
        }
        case Part::ModType: return {ModType};
        case Part::Mod: return range(ModParam1, ModRtmSource);
        case Part::DlyType: return {DlyType};
        case Part::Dly: return range(DlyParam1, DlyRtmSource);
        case Part::Level: return {PatchLevel, VolRtm};
        case Part::Custom: return {};
        case Part::Controllers: return range(CtrlTarget, Ctrl2Number);
        case Part::Rtm: {
            std::vector<int> bytes;
            for (const int first : {DriveRtmMax, ModRtmMax, DlyRtmMax, EqRtmMax})
                for (int b = first; b < first + 4; ++b) bytes.push_back(b);
            bytes.push_back(VolRtm);
            return bytes;
        }
    }
    return {};
}

std::uint8_t PartSwitch(Part part) {
    switch (part) {
        case Part::Drive: return DriveOn;
        case Part::Mod: return ModOn;
        case Part::Dly: return DlyOn;
        case Part::Eq: return EqOn;
        default: return 0;
    }
}

void Locks::Set(Part part, bool locked) { parts_.set(static_cast<std::size_t>(part), locked); }

void Locks::SetByte(int byte, bool locked) {
    if (byte >= 0 && byte < kPatchBytes) bytes_.set(static_cast<std::size_t>(byte), locked);
}

bool Locks::Locked(int byte) const {
    // The bytes of each part, worked out once.
    static const auto masks = [] {
        std::array<std::bitset<kPatchBytes>, kPartCount> m;
        for (int i = 0; i < kPartCount; ++i)
            for (const int b : PartBytes(static_cast<Part>(i))) m[static_cast<std::size_t>(i)].set(static_cast<std::size_t>(b));
        return m;
    }();
    if (byte < 0 || byte >= kPatchBytes) return false;
    if (bytes_.test(static_cast<std::size_t>(byte))) return true;
    for (int i = 0; i < kPartCount; ++i)
        if (parts_.test(static_cast<std::size_t>(i)) && masks[static_cast<std::size_t>(i)].test(static_cast<std::size_t>(byte)))
            return true;
    return false;
}

std::uint8_t Locks::LockedSwitches() const {
    if (bytes_.test(ModuleSwitches) || Has(Part::Switches)) return 0xFF;
    std::uint8_t bits = 0;
    for (const Part part : {Part::Drive, Part::Mod, Part::Dly, Part::Eq})
        if (Has(part)) bits |= PartSwitch(part);
    return bits;
}

bool Locks::Kept(const PatchData& before, const PatchData& after) const {
    if ((before[ModuleSwitches] ^ after[ModuleSwitches]) & LockedSwitches()) return false;
    for (int b = 1; b < kPatchBytes; ++b)
        if (before[static_cast<std::size_t>(b)] != after[static_cast<std::size_t>(b)] && Locked(b)) return false;
    return true;
}

std::string Locks::Text() const {
    std::string text;
    auto add = [&](std::string_view item) {
        if (!text.empty()) text += ',';
        text += item;
    };
    for (int i = 0; i < kPartCount; ++i)
        if (parts_.test(static_cast<std::size_t>(i)) && static_cast<Part>(i) != Part::Custom)
            add(kPartNames[static_cast<std::size_t>(i)]);
    if (!Has(Part::Custom)) add("no-custom");
    for (int b = 0; b < kPatchBytes; ++b)
        if (bytes_.test(static_cast<std::size_t>(b))) add("byte" + std::to_string(b));
    return text;
}

std::vector<LockableByte> LockableBytes(const PatchData& patch, const CustomSettingsBlock& settings) {
    std::vector<int> bytes(kTypeBytes.begin(), kTypeBytes.end());
    bytes.insert(bytes.end(), kValueBytes.begin(), kValueBytes.end());
    bytes.insert(bytes.end(), kControllerValues.begin(), kControllerValues.end());
    std::stable_sort(bytes.begin(), bytes.end(), [](int a, int b) {
        return ModuleOfByte(a) != ModuleOfByte(b) ? ModuleOfByte(a) < ModuleOfByte(b) : a < b;
    });
    std::vector<LockableByte> lockable;
    for (const int byte : bytes) {
        const std::string name = PatchByteName(patch, byte, settings);
        if (name.empty() || name == "?") continue;
        const std::string module(ModuleName(ModuleOfByte(byte)));
        lockable.push_back({byte, name.starts_with(module + " ") ? name : module + " " + name});
    }
    return lockable;
}

std::optional<Locks> Locks::Parse(std::string_view text, std::string& error) {
    Locks locks;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
        if (item.empty()) continue;
        if (const auto part = PartFromName(item)) {
            locks.Set(*part, true);
            continue;
        }
        if (item == "no-custom") {
            locks.Set(Part::Custom, false);
            continue;
        }
        if (item.starts_with("byte") && item.size() > 4 && item.size() <= 6 &&
            std::all_of(item.begin() + 4, item.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            const int byte = std::stoi(std::string(item.substr(4)));
            if (byte < kPatchBytes && (byte < Name0 || byte >= Name0 + kNameLength)) {
                locks.SetByte(byte, true);
                continue;
            }
        }
        error = "\"" + std::string(item) + "\" is nothing to lock (switches, drive-type, drive, vnr, eq, mod-type, mod, "
                "dly-type, dly, level, controllers, rtm, custom, no-custom, or byte0..byte64)";
        return std::nullopt;
    }
    return locks;
}

std::uint64_t Random::Next() {
    // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int Random::Below(int n) { return n <= 1 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

double Random::Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

double Random::Normal() {
    const double u = 1.0 - Uniform(), v = Uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
}

Edit Randomise(PatchEditor& editor, const DesignOptions& options, std::span<const PatchData> guide) {
    if (!editor.Current()) return {};
    Work work(editor, options.locks);
    Random random(options.seed);
    const double amount = static_cast<double>(std::clamp(options.amount, kMinAmount, kMaxAmount)) / kMaxAmount;
    const Patches learned(guide, editor.Settings());
    // Types and switches change only above kStructureAmount, more often the more is asked.
    const double structure =
        std::max(0.0, (amount * kMaxAmount - kStructureAmount) / static_cast<double>(kMaxAmount - kStructureAmount));
    for (const int typeByte : kTypeBytes) {
        if (options.locks.Locked(typeByte) || !random.Chance(structure * 0.5)) continue;
        const int now = work.Patch()[static_cast<std::size_t>(typeByte)];
        int type = now;
        if (!guide.empty()) {
            type = guide[static_cast<std::size_t>(random.Below(static_cast<int>(guide.size())))]
                        [static_cast<std::size_t>(typeByte)];
        } else {
            type = random.Below(TypeCount(typeByte) - 1);
            if (type >= now) ++type;
        }
        if (type != now && type < TypeCount(typeByte)) work.Do([&] { return SetType(editor, typeByte, type); });
    }
    for (const ModuleBit bit : kSwitches) {
        if ((options.locks.LockedSwitches() & bit) || !random.Chance(structure * 0.25)) continue;
        if (!guide.empty()) {
            const PatchData& from = guide[static_cast<std::size_t>(random.Below(static_cast<int>(guide.size())))];
            if (((from[ModuleSwitches] ^ work.Patch()[ModuleSwitches]) & bit) == 0) continue;
        }
        work.Do([&] { return editor.SwitchClicked(bit); });
    }
    auto values = [&](int byte) {
        if (options.locks.Locked(byte)) return;
        const auto range = RangeOf(editor, byte);
        if (!range || range->max <= range->min || !random.Chance(amount)) return;
        const int now = work.Patch()[static_cast<std::size_t>(byte)];
        int value = now;
        const std::vector<int> used = learned.Empty() ? std::vector<int>{} : learned.SameTypeValues(editor, byte);
        if (!used.empty()) {
            const int sample = used[static_cast<std::size_t>(random.Below(static_cast<int>(used.size())))];
            value = Clamp(now + (sample - now) * (0.5 + 0.5 * amount), *range);
        } else if (Listed(byte)) {
            value = range->min + random.Below(range->max - range->min + 1);
        } else {
            const double spread = std::max(1.0, (range->max - range->min) * amount * 0.5);
            value = Clamp(now + random.Normal() * spread, *range);
            if (value == now) value = Clamp(now + (random.Below(2) ? 1 : -1), *range);
        }
        if (value != now) work.Do([&] { return SetByte(editor, byte, value); });
    };
    for (const int byte : kValueBytes) values(byte);
    for (const int byte : kControllerValues) values(byte);
    return work.Result();
}

Edit Nudge(PatchEditor& editor, std::span<const PatchData> targets, bool away, const DesignOptions& options) {
    if (!editor.Current() || targets.empty()) return {};
    Work work(editor, options.locks);
    Random random(options.seed);
    const double amount = static_cast<double>(std::clamp(options.amount, kMinAmount, kMaxAmount)) / kMaxAmount;
    const Patches aims(targets, editor.Settings());
    if (!away) {
        for (const int typeByte : kTypeBytes) {
            if (options.locks.Locked(typeByte)) continue;
            const PatchData& target = targets[static_cast<std::size_t>(random.Below(static_cast<int>(targets.size())))];
            const int type = target[static_cast<std::size_t>(typeByte)];
            if (type != work.Patch()[static_cast<std::size_t>(typeByte)] && random.Chance(amount))
                work.Do([&] { return SetType(editor, typeByte, type); });
        }
        for (const ModuleBit bit : kSwitches) {
            if (options.locks.LockedSwitches() & bit) continue;
            int on = 0;
            for (const PatchData& t : targets) on += (t[ModuleSwitches] & bit) ? 1 : 0;
            const bool want = on * 2 > static_cast<int>(targets.size());
            if (want != ((work.Patch()[ModuleSwitches] & bit) != 0) && random.Chance(amount))
                work.Do([&] { return editor.SwitchClicked(bit); });
        }
    }
    auto values = [&](int byte) {
        if (options.locks.Locked(byte) || Listed(byte)) return;
        const auto range = RangeOf(editor, byte);
        if (!range || range->max <= range->min) return;
        const std::vector<int> used = aims.SameTypeValues(editor, byte);
        if (used.empty()) return;
        double mean = 0;
        for (const int v : used) mean += v;
        mean /= static_cast<double>(used.size());
        const int now = work.Patch()[static_cast<std::size_t>(byte)];
        const int value = Clamp(away ? now - (mean - now) * amount : now + (mean - now) * amount, *range);
        if (value != now) work.Do([&] { return SetByte(editor, byte, value); });
    };
    for (const int byte : kValueBytes) values(byte);
    for (const int byte : kControllerValues) values(byte);
    return work.Result();
}

PatchData Morph(const PatchData& a, const PatchData& b, int position, const CustomSettingsBlock& settings) {
    position = std::clamp(position, 0, kMorphEnd);
    if (position == 0) return a;
    const double t = static_cast<double>(position) / kMorphEnd;
    const PatchData& side = 2 * position < kMorphEnd ? a : b;  // types, switches and lists
    PatchData result = a;
    auto between = [&](int byte) {
        const auto i = static_cast<std::size_t>(byte);
        result[i] = static_cast<std::uint8_t>(std::lround(a[i] + (b[i] - a[i]) * t));
    };
    auto taken = [&](int byte) { result[static_cast<std::size_t>(byte)] = side[static_cast<std::size_t>(byte)]; };
    taken(ModuleSwitches);
    struct ModuleBytes {
        int type, first, last;
    };
    for (const ModuleBytes m : {ModuleBytes{DriveType, DriveParam1, CustomDriveAux3},
                                ModuleBytes{ModType, ModParam1, ModRtmSource}, ModuleBytes{DlyType, DlyParam1, DlyRtmSource}}) {
        taken(m.type);
        const bool sameType = a[static_cast<std::size_t>(m.type)] == b[static_cast<std::size_t>(m.type)];
        for (int byte = m.first; byte <= m.last; ++byte) {
            if (byte == Unused17 || byte == Unused18) continue;
            if (sameType && !Listed(byte)) between(byte);
            else taken(byte);
        }
    }
    // A time pair: one time in milliseconds (TIMEX100 * 100 + TIMEX1), then its rule.
    for (const auto& [module, typeByte, first] : {std::tuple{Module::Mod, int(ModType), int(ModParam1)},
                                                  std::tuple{Module::DlyRev, int(DlyType), int(DlyParam1)}}) {
        const int type = result[static_cast<std::size_t>(typeByte)];
        if (a[static_cast<std::size_t>(typeByte)] != b[static_cast<std::size_t>(typeByte)]) continue;
        const int effective = module == Module::Mod ? EffectiveModType(type, settings) : EffectiveDlyType(type, settings);
        const ParamDef* pair = ModuleParam(module, effective, 0);
        if (!pair || !pair->timePair) continue;
        const auto hi = static_cast<std::size_t>(first), lo = static_cast<std::size_t>(first + 1);
        const double ta = a[hi] * 100.0 + a[lo], tb = b[hi] * 100.0 + b[lo];
        const long time = std::lround(ta + (tb - ta) * t);
        result[hi] = static_cast<std::uint8_t>(time / 100);
        result[lo] = static_cast<std::uint8_t>(time % 100);
        if (result[hi] >= 60) result[lo] = 0;
        else if (result[hi] == 0 && result[lo] == 0) result[lo] = 1;
    }
    for (int byte = VnrLevel; byte <= PatchLevel; ++byte) Listed(byte) ? taken(byte) : between(byte);
    for (int byte = VolRtm; byte < kPatchBytes; ++byte) Listed(byte) ? taken(byte) : between(byte);
    if (position == kMorphEnd) {
        // b's sound exactly; the name stays a's.
        for (int byte = 0; byte < kPatchBytes; ++byte)
            if (byte < Name0 || byte >= Name0 + kNameLength) result[static_cast<std::size_t>(byte)] = b[static_cast<std::size_t>(byte)];
    }
    return result;
}

namespace {

// The name's first five characters and the step's number ("CRUNC 01").
void NameStep(PatchData& patch, const PatchData& named, int step) {
    std::string name = DecodeName(named).substr(0, 5);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    char number[4];
    std::snprintf(number, sizeof number, "%02d", step % 100);
    EncodeName(name + " " + number, patch);
}

}  // namespace

std::vector<PatchData> Variations(const PatchData& patch, const CustomSettingsBlock& settings,
                                  const DesignOptions& options, int count) {
    std::vector<PatchData> out;
    DesignOptions each = options;
    each.locks.Set(Part::Custom, true);  // a new bank of variations plays through the block as it is
    for (int i = 0; i < std::clamp(count, 0, kMaxVariations); ++i) {
        PatchData variation = patch;
        CustomSettingsBlock block = settings;
        PatchEditor editor(block);
        editor.ShowPatch(&variation);
        each.seed = options.seed + static_cast<std::uint64_t>(i);
        Randomise(editor, each);
        NameStep(variation, patch, i + 1);
        out.push_back(variation);
    }
    return out;
}

std::vector<PatchData> MorphSteps(const PatchData& patch, const PatchData& towards, const CustomSettingsBlock& settings,
                                  int count) {
    std::vector<PatchData> out;
    count = std::clamp(count, 0, kMaxVariations);
    for (int i = 0; i < count; ++i) {
        const int position = count == 1 ? 0 : i * kMorphEnd / (count - 1);
        PatchData step = Morph(patch, towards, position, settings);
        NameStep(step, patch, i + 1);
        out.push_back(step);
    }
    return out;
}

Edit TakeSound(PatchEditor& editor, const PatchData& target, const Locks& locks) {
    if (!editor.Current()) return {};
    Work work(editor, locks);
    for (const int typeByte : kTypeBytes) {
        const int type = target[static_cast<std::size_t>(typeByte)];
        if (!locks.Locked(typeByte) && work.Patch()[static_cast<std::size_t>(typeByte)] != type)
            work.Do([&] { return SetType(editor, typeByte, type); });
    }
    // Twice: switching one module on may switch the other off (the Mod and Dly/Rev exclusion).
    for (int pass = 0; pass < 2; ++pass)
        for (const ModuleBit bit : kSwitches)
            if (!(locks.LockedSwitches() & bit) && ((work.Patch()[ModuleSwitches] ^ target[ModuleSwitches]) & bit))
                work.Do([&] { return editor.SwitchClicked(bit); });
    auto value = [&](int byte) {
        const int wanted = target[static_cast<std::size_t>(byte)];
        if (locks.Locked(byte) || work.Patch()[static_cast<std::size_t>(byte)] == wanted) return;
        // A value the type now in place can't take (another type's, kept by a merge) stays out.
        const auto range = RangeOf(editor, byte);
        if (range && (wanted < range->min || wanted > range->max)) return;
        work.Do([&] { return SetByte(editor, byte, wanted); });
    };
    for (const int byte : kValueBytes) value(byte);
    for (const int byte : kControllerValues) value(byte);
    return work.Result();
}

Edit Merge(PatchEditor& editor, const PatchData& source, std::span<const Part> parts, const Locks& locks) {
    if (!editor.Current()) return {};
    PatchData target = *editor.Current();
    auto take = [&](Part part) {
        for (const int byte : PartBytes(part)) target[static_cast<std::size_t>(byte)] = source[static_cast<std::size_t>(byte)];
        const std::uint8_t bit = PartSwitch(part);
        target[ModuleSwitches] = static_cast<std::uint8_t>((target[ModuleSwitches] & ~bit) | (source[ModuleSwitches] & bit));
    };
    for (const Part part : parts) {
        take(part);
        // A module comes with its type.
        if (part == Part::Drive) take(Part::DriveType);
        if (part == Part::Mod) take(Part::ModType);
        if (part == Part::Dly) take(Part::DlyType);
    }
    return TakeSound(editor, target, locks);
}

}  // namespace orb8::design
