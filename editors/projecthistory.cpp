#include "editors/projecthistory.h"

#include <algorithm>

#include "patch/effecttables.h"

namespace orb8 {

ProjectState Capture(const ProjectDocument& document) {
    return {document.patches, document.comments, document.customSettings};
}

ProjectStep ProjectStep::Between(const ProjectState& before, const ProjectDocument& after) {
    ProjectStep step;
    for (int i = 0; i < kPatchCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (before.patches[k] != after.patches[k]) step.patches_.push_back({i, before.patches[k], after.patches[k]});
        if (before.comments[k] != after.comments[k]) step.comments_.push_back({i, before.comments[k], after.comments[k]});
    }
    for (int b = 0; b < kCustomSettingsBytes; ++b) {
        const auto k = static_cast<std::size_t>(b);
        if (before.settings[k] != after.customSettings[k])
            step.settings_.push_back({b, before.settings[k], after.customSettings[k]});
    }
    return step;
}

std::vector<std::pair<int, std::vector<int>>> ProjectStep::Apply(ProjectDocument& document, bool undo) const {
    std::vector<std::pair<int, std::vector<int>>> changed;
    for (const PatchPair& p : patches_) {
        PatchData& target = document.patches[static_cast<std::size_t>(p.index)];
        const PatchData& to = undo ? p.before : p.after;
        std::vector<int> bytes;
        for (int b = 0; b < kPatchBytes; ++b)
            if (target[static_cast<std::size_t>(b)] != to[static_cast<std::size_t>(b)]) bytes.push_back(b);
        target = to;
        changed.emplace_back(p.index, std::move(bytes));
    }
    for (const CommentPair& c : comments_) document.comments[static_cast<std::size_t>(c.index)] = undo ? c.before : c.after;
    // Only the bytes this step changed: what happened to the rest of the
    // block since stays.
    for (const SettingsByte& s : settings_)
        document.customSettings[static_cast<std::size_t>(s.offset)] = undo ? s.before : s.after;
    return changed;
}

std::vector<std::pair<int, std::vector<int>>> ProjectStep::ChangedBytes() const {
    std::vector<std::pair<int, std::vector<int>>> changed;
    for (const PatchPair& p : patches_) {
        std::vector<int> bytes;
        for (int b = 0; b < kPatchBytes; ++b)
            if (p.before[static_cast<std::size_t>(b)] != p.after[static_cast<std::size_t>(b)]) bytes.push_back(b);
        changed.emplace_back(p.index, std::move(bytes));
    }
    return changed;
}

bool ProjectStep::Merge(const ProjectStep& next) {
    if (next.patches_.size() != patches_.size() || !next.comments_.empty() || !comments_.empty()) return false;
    for (std::size_t i = 0; i < patches_.size(); ++i)
        if (patches_[i].index != next.patches_[i].index) return false;
    for (std::size_t i = 0; i < patches_.size(); ++i) patches_[i].after = next.patches_[i].after;
    for (const SettingsByte& s : next.settings_) {
        auto at = std::lower_bound(settings_.begin(), settings_.end(), s.offset,
                                   [](const SettingsByte& a, int offset) { return a.offset < offset; });
        if (at != settings_.end() && at->offset == s.offset) at->after = s.after;
        else settings_.insert(at, s);
    }
    return true;
}

bool ProjectStep::Unchanged() const {
    for (const PatchPair& p : patches_)
        if (p.before != p.after) return false;
    for (const CommentPair& c : comments_)
        if (c.before != c.after) return false;
    for (const SettingsByte& s : settings_)
        if (s.before != s.after) return false;
    return true;
}

std::vector<int> ProjectStep::SettingsBytes() const {
    std::vector<int> out;
    for (const SettingsByte& s : settings_) out.push_back(s.offset);
    return out;
}

std::vector<int> ProjectStep::Patches() const {
    std::vector<int> out;
    for (const PatchPair& p : patches_) out.push_back(p.index);
    return out;
}

std::vector<int> ProjectStep::Comments() const {
    std::vector<int> out;
    for (const CommentPair& c : comments_) out.push_back(c.index);
    return out;
}

std::size_t ProjectStep::MemoryBytes() const {
    std::size_t n = sizeof(*this) + patches_.capacity() * sizeof(PatchPair) + comments_.capacity() * sizeof(CommentPair) +
                    settings_.capacity() * sizeof(SettingsByte);
    for (const CommentPair& c : comments_) n += c.before.capacity() + c.after.capacity();
    return n;
}

namespace {

// The pattern with %1, %2, %3 replaced by the texts given.
std::string Fill(std::string_view pattern, std::initializer_list<std::string> texts) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t n = i + 1 < pattern.size() ? static_cast<std::size_t>(pattern[i + 1] - '1') : texts.size();
        if (pattern[i] == '%' && n < texts.size()) {
            out += *(texts.begin() + n);
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace

std::string EditStepText(const PatchData& patch, const CustomSettingsBlock& settings, int firstByte,
                         int switchesBefore, const StepWords& words) {
    const Module m = ModuleOfByte(firstByte);
    const auto moduleName = [&](Module module) {
        const auto at = static_cast<std::size_t>(module);
        return at < words.modules.size() ? words.modules[at] : std::string();
    };
    std::string name;
    if (firstByte == DriveType || firstByte == ModType || firstByte == DlyType) {
        name = words.type;
    } else if (firstByte == ModuleSwitches) {
        // One module switched names that module; anything else stays general.
        const int now = patch[ModuleSwitches];
        const int changed = switchesBefore < 0 ? 0 : (switchesBefore ^ now) & 0x0F;
        const std::pair<int, Module> bits[] = {
            {DriveOn, Module::Drive}, {ModOn, Module::Mod}, {DlyOn, Module::DlyRev}, {EqOn, Module::Eq}};
        for (const auto& [bit, module] : bits)
            if (changed == bit) return Fill((now & bit) ? words.on : words.off, {moduleName(module)});
        return words.moduleSwitch;
    }
    else if (firstByte >= Name0 && firstByte < Name0 + kNameLength) return words.name;
    else name = PatchByteName(patch, firstByte, settings);
    const std::string module = moduleName(m);
    return module.empty() ? name : Fill(words.parameter, {module, name});
}

std::string MoveStepText(int fromRow, int toRow, const StepWords& words) {
    return Fill(words.move, {PatchLabel(fromRow - 1), PatchLabel(toRow - 1)});
}

std::string MoveRowsStepText(int first, int last, int to, const StepWords& words) {
    return Fill(words.moveRows, {PatchLabel(first - 1), PatchLabel(last - 1), PatchLabel(to - 1)});
}

}  // namespace orb8
