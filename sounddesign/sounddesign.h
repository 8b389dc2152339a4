// Sound design on the patch in the editor: randomise it by an amount (plain,
// or guided by the player's own patches), nudge it towards or away from
// other patches, morph between two patches, and take modules from another.
// Every tool works through the patch editor's own operations (type memory,
// custom slots, the Mod and Dly/Rev exclusion), never touches the name,
// leaves locked parts as they are, and says which bytes go to the
// processor, in order. The same seed gives the same patch on every machine.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editors/patcheditor.h"
#include "patch/patchdata.h"

namespace orb8::design {

// What a player can lock (and what Merge takes). A module's part covers
// everything the module shows, its RTM settings too. Custom is the bank's
// custom settings block: changing a CUSTOM patch's values changes what every
// patch of that type in the bank plays, so it is locked unless the player
// unlocks it.
enum class Part { Switches, DriveType, Drive, Vnr, Eq, ModType, Mod, DlyType, Dly, Level, Controllers, Rtm, Custom };
inline constexpr int kPartCount = 13;
// "switches", "drive-type", "drive", "vnr", "eq", "mod-type", "mod", "dly-type", "dly", "level", "controllers",
// "rtm", "custom".
std::string_view PartName(Part part);
std::optional<Part> PartFromName(std::string_view name);
// The bytes of a part (byte 0, the switches, only for Switches).
std::vector<int> PartBytes(Part part);
// The module switch a part keeps with it (Drive: DriveOn, ...); 0 for none.
std::uint8_t PartSwitch(Part part);

class Locks {
public:
    // Custom locked, nothing else.
    Locks() { Set(Part::Custom, true); }
    void Set(Part part, bool locked);
    bool Has(Part part) const { return parts_.test(static_cast<std::size_t>(part)); }
    void SetByte(int byte, bool locked);
    bool ByteSet(int byte) const { return bytes_.test(static_cast<std::size_t>(byte)); }
    // Whether a byte (the switches byte: any of its bits) may not change.
    bool Locked(int byte) const;
    // The module switches that may not change.
    std::uint8_t LockedSwitches() const;
    // True when `after` keeps every locked byte and switch of `before`.
    bool Kept(const PatchData& before, const PatchData& after) const;
    bool operator==(const Locks&) const = default;

    // "eq,level,byte23": the form the settings and the command line use;
    // "no-custom" when the custom settings are not locked.
    std::string Text() const;
    // Nothing for a text with an unknown name; `error` says which. Custom
    // stays locked unless the text says "no-custom".
    static std::optional<Locks> Parse(std::string_view text, std::string& error);

private:
    std::bitset<kPartCount> parts_;
    std::bitset<kPatchBytes> bytes_;
};

// The parameters a player may lock one by one in a patch, module by module
// (Drive, Mod, Dly/Rev, EQ, then the rest), named as the patch's types name
// them ("MOD RATE"); unused slots are left out.
struct LockableByte {
    int byte;
    std::string name;
};
std::vector<LockableByte> LockableBytes(const PatchData& patch, const CustomSettingsBlock& settings);

// A small generator whose numbers are the same everywhere (the standard
// library's distributions are not).
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next();
    int Below(int n);  // 0..n-1
    double Uniform();  // [0, 1)
    double Normal();   // mean 0, deviation 1
    bool Chance(double p) { return Uniform() < p; }

private:
    std::uint64_t state_;
};

// How much a tool changes, in percent.
inline constexpr int kMinAmount = 1, kMaxAmount = 100, kDefaultAmount = 20;
// Up to this amount Randomise keeps the module types and switches (small
// amounts stay subtle); above it their chance grows with the amount.
inline constexpr int kStructureAmount = 30;
// Morph positions: 0 is the first patch, kMorphEnd the second.
inline constexpr int kMorphEnd = 1000;

struct DesignOptions {
    int amount = kDefaultAmount;  // percent, kMinAmount..kMaxAmount
    Locks locks;
    std::uint64_t seed = 1;
};

// The patch in `editor` (shown with ShowPatch) changed at random: each
// parameter with a chance that grows with the amount, a value near the one
// it has, a type to another entry. With a guide (the player's patches),
// values and types are drawn from what those patches use with the same type.
Edit Randomise(PatchEditor& editor, const DesignOptions& options, std::span<const PatchData> guide = {});
// Towards (or away from) up to four targets: each value part of the way to
// the targets' value for the same type, a type taken from a target by chance.
Edit Nudge(PatchEditor& editor, std::span<const PatchData> targets, bool away, const DesignOptions& options);
// The patch between a (0) and b (kMorphEnd): values part of the way, types and
// switches from a below the middle and from b from it on. a's name. A time
// given as a pair (TIMEX100 and TIMEX1) moves as one time, and the pair's
// rule holds at every point; `settings` is the block both play through.
PatchData Morph(const PatchData& a, const PatchData& b, int position,
                const CustomSettingsBlock& settings = DefaultCustomSettings());
// The morph position of a percentage.
// The morph control's scale: percent of the way, in steps of kMorphStep.
inline constexpr int kMorphPercentEnd = 100, kMorphStep = 10;
constexpr int MorphPosition(int percent) { return percent * kMorphEnd / kMorphPercentEnd; }
// Variations into a new bank: `count` (at most kMaxVariations) randomisations
// of `patch`, each from its own seed (options.seed, options.seed + 1, ...),
// or the morph from `patch` to `towards` in `count` steps (the first `patch`,
// the last `towards`). Each is named by its step ("CRUNC 01"). The block is
// the one the patches play through; it never changes.
inline constexpr int kMaxVariations = 80;
std::vector<PatchData> Variations(const PatchData& patch, const CustomSettingsBlock& settings,
                                  const DesignOptions& options, int count);
std::vector<PatchData> MorphSteps(const PatchData& patch, const PatchData& towards, const CustomSettingsBlock& settings,
                                  int count);

// The editor's patch takes the sound of `target` (not its name), locked parts excepted.
Edit TakeSound(PatchEditor& editor, const PatchData& target, const Locks& locks);
// The editor's patch takes `parts` of `source` (a module with its switch).
Edit Merge(PatchEditor& editor, const PatchData& source, std::span<const Part> parts, const Locks& locks);

}  // namespace orb8::design
