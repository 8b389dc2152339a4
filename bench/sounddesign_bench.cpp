// One step of each sound-design tool on patches of the factory bank, as the
// editor runs it (the patch shown, the tool, the bytes to send). Prints the
// median and the 99th percentile of a step (target: every step under 50 µs),
// and the time to make a bank of 40 variations (target: under 20 ms).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "editors/patcheditor.h"
#include "sim/factorybank.h"
#include "sounddesign/recentresults.h"
#include "sounddesign/sounddesign.h"

using namespace orb8;
using Clock = std::chrono::steady_clock;

namespace {

void Measure(const char* what, const std::function<void(int)>& step, int kSteps = 20000) {
    std::vector<double> us;
    us.reserve(kSteps);
    for (int i = 0; i < kSteps; ++i) {
        const auto start = Clock::now();
        step(i);
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(us.begin(), us.end());
    std::printf("  %-34s median %6.2f µs   p99 %6.2f µs   max %7.2f µs\n", what, us[us.size() / 2],
                us[us.size() * 99 / 100], us.back());
}

}  // namespace

int main() {
    const auto factory = FactoryBank();
    std::vector<PatchData> bank;
    for (const auto& packed : factory) bank.push_back(Unpack(packed));
    std::vector<PatchData> collection;  // the player's patches: ten banks' worth
    CustomSettingsBlock settings = FactoryCustomSettings();
    for (int i = 0; i < 800; ++i) {
        PatchData p = bank[static_cast<std::size_t>(i % kPatchCount)];
        PatchEditor editor(settings);
        editor.ShowPatch(&p);
        design::Randomise(editor, {30, {}, static_cast<std::uint64_t>(i)});
        collection.push_back(p);
    }
    std::printf("Sound design, one step on a patch of the factory bank (target under 50 µs)\n");
    auto run = [&](const char* what, const std::function<Edit(PatchEditor&, int)>& tool) {
        Measure(what, [&](int i) {
            PatchData patch = bank[static_cast<std::size_t>(i % kPatchCount)];
            CustomSettingsBlock s = settings;
            PatchEditor editor(s);
            editor.ShowPatch(&patch);
            const Edit edit = tool(editor, i);
            if (edit.send.size() > 10000) std::printf("?");
        });
    };
    run("randomise 30 %", [](PatchEditor& e, int i) { return design::Randomise(e, {30, {}, static_cast<std::uint64_t>(i)}); });
    run("randomise 30 %, EQ and level locked", [](PatchEditor& e, int i) {
        design::Locks locks;
        locks.Set(design::Part::Eq, true);
        locks.Set(design::Part::Level, true);
        return design::Randomise(e, {30, locks, static_cast<std::uint64_t>(i)});
    });
    run("guided randomise, 80 patches", [&](PatchEditor& e, int i) {
        return design::Randomise(e, {30, {}, static_cast<std::uint64_t>(i)}, std::span(collection).first(80));
    });
    run("guided randomise, 800 patches", [&](PatchEditor& e, int i) {
        return design::Randomise(e, {30, {}, static_cast<std::uint64_t>(i)}, collection);
    });
    run("nudge towards 4 patches 50 %", [&](PatchEditor& e, int i) {
        return design::Nudge(e, std::span(collection).subspan(static_cast<std::size_t>(i % 700), 4), false,
                             {50, {}, static_cast<std::uint64_t>(i)});
    });
    run("morph step (a slider move)", [&](PatchEditor& e, int i) {
        const PatchData& b = collection[static_cast<std::size_t>(i % 800)];
        return design::TakeSound(e, design::Morph(*e.Current(), b, (i * 37) % (design::kMorphEnd + 1)), {});
    });
    run("merge Mod and Dly/Rev", [&](PatchEditor& e, int i) {
        const design::Part parts[] = {design::Part::Mod, design::Part::Dly};
        return design::Merge(e, collection[static_cast<std::size_t>(i % 800)], parts, {});
    });
    run("going back to a recent result", [&](PatchEditor& e, int i) {
        const design::Result r{design::Tool::Randomise, 30, 0, {}, collection[static_cast<std::size_t>(i % 800)], settings};
        return design::Recall(e, r, {});
    });
    std::printf("\nVariations into a new bank (target under 20 ms = 20000 µs)\n");
    Measure("40 randomisations at 20 %", [&](int i) {
        const auto made = design::Variations(bank[static_cast<std::size_t>(i % kPatchCount)], settings,
                                             {20, {}, static_cast<std::uint64_t>(i)}, 40);
        if (made.size() != 40) std::printf("?");
    }, 400);
    Measure("40 morph steps", [&](int i) {
        const auto made = design::MorphSteps(bank[static_cast<std::size_t>(i % kPatchCount)],
                                             collection[static_cast<std::size_t>(i % 800)], settings, 40);
        if (made.size() != 40) std::printf("?");
    }, 400);
    return 0;
}
