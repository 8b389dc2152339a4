#include "customdist/designer.h"

namespace orb8 {

FilterColumn ColumnOf(const FilterRecord& filter) {
    FilterColumn c;
    c.on = filter.on != 0;
    c.type = filter.type < kFilterTypeCount ? filter.type : -1;
    // As the edits first take them: the stored real's text, read by the edit's rule.
    c.freqCode = FreqCodeFromText(RealText(filter.freq));
    c.gainCode = GainCodeFromText(RealText(filter.gain));
    c.qCode = QCodeFromText(RealText(filter.q));
    c.trimCode = GainCodeFromText(RealText(filter.trim));
    c.gainUsed = TypeUsesGain(filter.type);
    c.qUsed = TypeUsesQ(filter.type);
    FilterRecord copy = filter;
    c.valid = ComputeCoefficients(copy);
    return c;
}

CharacterDesigner::CharacterDesigner(int set, std::vector<int> slots) : set_(set), slots_(std::move(slots)) {}

CharacterDesigner CharacterDesigner::Distortion(int set) { return CharacterDesigner(set, {SlotBottom, SlotPre, SlotEdge}); }

CharacterDesigner CharacterDesigner::Tone(int set, int slot) { return CharacterDesigner(set, {slot}); }

std::vector<FilterColumn> CharacterDesigner::Columns(const CustomDistData& data) const {
    std::vector<FilterColumn> columns;
    for (int slot : slots_) columns.push_back(ColumnOf(data.filters[static_cast<std::size_t>(FilterNumber(set_, slot))]));
    return columns;
}

int CharacterDesigner::MatchingPreset(const CustomDistData& data) const { return MatchingClipperPreset(data.clippers[static_cast<std::size_t>(set_)]); }

void CharacterDesigner::ApplyPreset(CustomDistData& data, int preset) const { data.ApplyClipperPreset(set_, preset); }

int CharacterDesigner::ShownPreset(const CustomDistData& data) const {
    return slots_.front() == SlotBottom ? MatchingPreset(data) : -1;
}

int CharacterDesigner::TakeMatchingPreset(CustomDistData& data) const {
    if (slots_.front() != SlotBottom) return -1;
    const int preset = MatchingPreset(data);
    if (preset >= 0) ApplyPreset(data, preset);
    return preset;
}

void CharacterDesigner::Calc(CustomDistData& data, const std::vector<FilterInput>& input) const {
    for (std::size_t i = 0; i < slots_.size() && i < input.size(); ++i) {
        FilterRecord& f = data.filters[static_cast<std::size_t>(FilterNumber(set_, slots_[i]))];
        f.on = input[i].on ? 1 : 0;
        f.type = static_cast<std::uint8_t>(input[i].type < 0 ? f.type : input[i].type);
        f.freq = ParseRealPrefix(input[i].freq);
        f.gain = ParseRealPrefix(input[i].gain);
        f.q = ParseRealPrefix(input[i].q);
        f.trim = ParseRealPrefix(input[i].trim);
        ClampSettings(f);
    }
    data.QuantiseAll();
    std::vector<int> compute = slots_;
    if (slots_.front() == SlotBottom) compute.insert(compute.end(), {SlotClip1, SlotClip2});
    for (int slot : compute) ComputeCoefficients(data.filters[static_cast<std::size_t>(FilterNumber(set_, slot))]);
    TakeMatchingPreset(data);
}

std::array<double, kPlotPoints> CharacterDesigner::Levels(const CustomDistData& data) const {
    std::vector<const FilterRecord*> filters;
    for (int slot : slots_) filters.push_back(&data.filters[static_cast<std::size_t>(FilterNumber(set_, slot))]);
    return ResponseLevels(filters);
}

bool CharacterDesigner::AnyInvalid(const CustomDistData& data) const {
    for (const FilterColumn& c : Columns(data))
        if (c.on && !c.valid) return true;
    return false;
}

}  // namespace orb8
