// The last results of the sound-design tools, newest first, each with what
// made it (the tool, its amount and seed, the other patch), so that a player
// can go back and forth between them and keep the one that sounds best.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "editors/patcheditor.h"
#include "patch/customsettings.h"
#include "patch/patchdata.h"
#include "sounddesign/sounddesign.h"

namespace orb8::design {

enum class Tool { Randomise, NudgeTowards, NudgeAway, Morph, Take };

struct Result {
    Tool tool = Tool::Randomise;
    int amount = 0;          // percent (Morph: how far along)
    std::uint64_t seed = 0;  // Randomise and Nudge
    std::string other;       // the patch morphed towards, nudged by or taken from
    PatchData patch{};
    CustomSettingsBlock settings{};  // the block the patch plays through
};

inline constexpr std::size_t kRecentResults = 12;

class RecentResults {
public:
    // At the front. A result that sounds as one already listed moves that one
    // to the front instead; the oldest goes beyond kRecentResults.
    void Add(Result result);
    const std::deque<Result>& Items() const { return items_; }
    bool Empty() const { return items_.empty(); }

private:
    std::deque<Result> items_;
};

// The editor's patch takes a listed result's sound (its name stays), as it
// plays in the editor's bank; the custom settings stay when `locks` keeps them.
Edit Recall(PatchEditor& editor, const Result& result, const Locks& locks);

}  // namespace orb8::design
