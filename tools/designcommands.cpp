// orb8tool sound design: randomise a patch of a bank, morph between two patches.
#include <CLI/CLI.hpp>
#include <charconv>
#include <filesystem>
#include <random>

#include "editors/patcheditor.h"
#include "patch/customplay.h"
#include "patch/differences.h"
#include "sounddesign/sounddesign.h"
#include "tools/toolcommands.h"

namespace orb8 {
namespace {

int SlotOf(const std::string& label) {
    const int index = PatchIndexFromLabel(label);
    if (index < 0) throw ToolError{"\"" + label + "\" is not a patch label (U01..U94, u01..u94)"};
    return index;
}

// The bytes of the patch that differ, for the report.
int Changed(const PatchData& before, const PatchData& after) {
    int n = 0;
    for (int b = 0; b < kPatchBytes; ++b) n += before[static_cast<std::size_t>(b)] != after[static_cast<std::size_t>(b)];
    return n;
}

// Only a whole number that fits: "-1" or one past the largest is refused, not wrapped or clamped.
bool ParseSeed(const std::string& text, std::uint64_t& seed) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return false;
    seed = value;
    return true;
}

// --lock as given, or why it can't be taken.
design::Locks LocksOf(const std::string& text) {
    std::string error;
    const auto locks = design::Locks::Parse(text, error);
    if (!locks) throw ToolError{error};
    return *locks;
}

// --seed as given (refused when it does not fit), or a new one.
std::uint64_t SeedOf(const std::optional<std::string>& text) {
    std::uint64_t seed = std::random_device{}();
    if (text && !ParseSeed(*text, seed))
        throw ToolError{"--seed \"" + *text + "\" is not a seed: give a whole number from 0 to 18446744073709551615"};
    return seed;
}

}  // namespace

void AddDesignCommands(CLI::App& app, std::ostream& out, std::ostream&) {
    struct RandomiseOptions {
        std::string bank, slot, locks, output;
        int amount = design::kDefaultAmount;
        std::optional<std::string> seed;
        bool force = false;
    };
    auto r = std::make_shared<RandomiseOptions>();
    auto* randomise = app.add_subcommand("randomise", "Randomise one patch of a bank by an amount; names never change.");
    randomise->add_option("BANK.orb", r->bank, "project file")->required();
    randomise->add_option("PATCH", r->slot, "patch label U01..u94")->required();
    randomise->add_option("OUT.orb", r->output, "project file to write")->required();
    randomise->add_option("--amount", r->amount, "how much changes, 1..100 percent (20)")->check(CLI::Range(design::kMinAmount, design::kMaxAmount));
    randomise->add_option("--seed", r->seed,
                          "the same seed gives the same patch, 0..18446744073709551615 (one is chosen and shown when none)");
    randomise->add_option("--lock", r->locks,
                          "parts that stay: switches, drive-type, drive, vnr, eq, mod-type, mod, dly-type, dly, level, "
                          "controllers, rtm, byteN (comma-separated); the bank's custom settings stay unless no-custom "
                          "is given");
    randomise->add_flag("--force", r->force, "replace OUT.orb when it exists");
    randomise->callback([r, &out] {
        const int index = SlotOf(r->slot);
        const design::Locks locks = LocksOf(r->locks);
        const std::uint64_t seed = SeedOf(r->seed);
        RefuseOverwrite(r->output, r->force);
        auto bank = LoadBank(r->bank);
        design::DesignOptions options{r->amount, locks, seed};
        PatchData& patch = bank->document.patches[static_cast<std::size_t>(index)];
        const PatchData before = patch;
        const CustomSettingsBlock settingsBefore = bank->settings;
        PatchEditor editor(bank->settings);
        editor.ShowPatch(&patch);
        design::Randomise(editor, options);
        SaveBank(bank->document, r->output);
        out << PatchLabel(index) << " randomised by " << r->amount << " % (seed " << options.seed << "): "
            << Changed(before, patch) << " bytes changed\n";
        // What every patch of a CUSTOM type of the bank now plays otherwise.
        if (bank->settings != settingsBefore)
            out << "the bank's custom settings changed: " << DifferingSlotsText(settingsBefore, bank->settings) << "\n";
    });

    struct VariationOptions {
        std::string bank, slot, output, locks, towards, towardsBank;
        int count = 40, amount = design::kDefaultAmount;
        std::optional<std::string> seed;
        bool force = false;
    };
    auto v = std::make_shared<VariationOptions>();
    auto* variations = app.add_subcommand(
        "variations", "A new bank of variations of one patch: randomised, or the morph towards another patch in steps.");
    variations->add_option("BANK.orb", v->bank, "project file")->required();
    variations->add_option("PATCH", v->slot, "patch label U01..u94")->required();
    variations->add_option("OUT.orb", v->output, "project file to write")->required();
    variations->add_option("--count", v->count, "how many, 1..80 (40)")->check(CLI::Range(1, design::kMaxVariations));
    variations->add_option("--amount", v->amount, "how much each changes, 1..100 percent (20)")
        ->check(CLI::Range(design::kMinAmount, design::kMaxAmount));
    variations->add_option("--seed", v->seed, "the first variation's seed; the next ones count on from it");
    variations->add_option("--lock", v->locks, "parts that stay, as for randomise");
    variations->add_option("--towards", v->towards, "a patch to morph towards in --count steps instead");
    variations->add_option("--towards-bank", v->towardsBank, "the bank of --towards (BANK.orb when none)");
    variations->add_flag("--force", v->force, "replace OUT.orb when it exists");
    variations->callback([v, &out] {
        const int index = SlotOf(v->slot);
        const design::Locks locks = LocksOf(v->locks);
        const std::uint64_t seed = SeedOf(v->seed);
        RefuseOverwrite(v->output, v->force);
        const auto bank = LoadBank(v->bank);
        const PatchData& patch = bank->document.patches[static_cast<std::size_t>(index)];
        std::vector<PatchData> made;
        if (!v->towards.empty()) {
            const auto other = LoadBank(v->towardsBank.empty() ? v->bank : v->towardsBank);
            const PatchData towards = CarriedPatch(other->document.patches[static_cast<std::size_t>(SlotOf(v->towards))],
                                                   other->settings, bank->settings);
            made = design::MorphSteps(patch, towards, bank->settings, v->count);
        } else {
            made = design::Variations(patch, bank->settings, {v->amount, locks, seed}, v->count);
        }
        // A new bank that plays through the same custom settings.
        ProjectDocument result;
        result.customSettings = bank->settings;
        for (std::size_t i = 0; i < made.size(); ++i) result.patches[i] = made[i];
        SaveBank(result, v->output);
        out << made.size() << " variations of " << PatchLabel(index) << " written to " << v->output;
        if (v->towards.empty()) out << " (seeds " << seed << " on)";
        out << "\n";
    });

    struct MorphOptions {
        std::string a, slotA, b, slotB, output, slotOut;
        int at = 50;
        bool force = false;
    };
    auto m = std::make_shared<MorphOptions>();
    auto* morph = app.add_subcommand(
        "morph", "The patch between two patches (0: the first, 100: the second), written to a slot of OUT.orb "
                 "(into OUT.orb as it is when it exists, with --force; else into a copy of A's bank).");
    morph->add_option("A.orb", m->a, "project file of the first patch")->required();
    morph->add_option("A_PATCH", m->slotA, "its patch label")->required();
    morph->add_option("B.orb", m->b, "project file of the second patch")->required();
    morph->add_option("B_PATCH", m->slotB, "its patch label")->required();
    morph->add_option("OUT.orb", m->output, "project file to write")->required();
    morph->add_option("OUT_PATCH", m->slotOut, "the slot of the result (A's slot when none)");
    morph->add_option("--at", m->at, "where between the two, 0..100 percent (50)")->check(CLI::Range(0, 100));
    morph->add_flag("--force", m->force, "write into OUT.orb when it exists");
    morph->callback([m, &out] {
        const int indexA = SlotOf(m->slotA), indexB = SlotOf(m->slotB);
        const int indexOut = m->slotOut.empty() ? indexA : SlotOf(m->slotOut);
        RefuseOverwrite(m->output, m->force);
        const auto bankA = LoadBank(m->a);
        const auto bankB = LoadBank(m->b);
        std::error_code ec;
        auto target = std::filesystem::exists(m->output, ec) ? LoadBank(m->output) : LoadBank(m->a);
        // Both ends as they play in the bank written: a CUSTOM type that plays
        // otherwise there goes as its base type.
        std::vector<std::string> notes;
        const PatchData a = CarriedPatch(bankA->document.patches[static_cast<std::size_t>(indexA)], bankA->settings,
                                         target->settings, &notes);
        const PatchData b = CarriedPatch(bankB->document.patches[static_cast<std::size_t>(indexB)], bankB->settings,
                                         target->settings, &notes);
        PatchData& slot = target->document.patches[static_cast<std::size_t>(indexOut)];
        // The result sounds between the two and keeps the name of the patch it replaces.
        PatchData morphed = design::Morph(a, b, design::MorphPosition(m->at), target->settings);
        for (int i = 0; i < kNameLength; ++i)
            morphed[static_cast<std::size_t>(Name0 + i)] = slot[static_cast<std::size_t>(Name0 + i)];
        slot = morphed;
        SaveBank(target->document, m->output);
        out << PatchLabel(indexOut) << " of " << m->output << ": " << m->at << " % from " << PatchLabel(indexA)
            << " towards " << PatchLabel(indexB) << "\n";
        for (const std::string& note : notes) out << "note: " << note << "\n";
    });
}

}  // namespace orb8
