// What the character designers do to a custom distortion document, without
// a window: the columns they show (the edits' device codes from the stored
// settings), the clipper preset that matches a set, CALC, and what SEND
// sends. Looking at a set never changes the document: validity is worked out
// on copies, and a clipper that matches no preset is kept as it is.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "customdist/customdistdata.h"
#include "customdist/response.h"

namespace orb8 {

// One filter as a designer column shows it.
struct FilterColumn {
    bool on = false;
    int type = 0;  // the type box's row; -1 for a type byte outside 0..7
    int freqCode = 0, gainCode = 0, qCode = 0, trimCode = 0;
    bool gainUsed = true, qUsed = true;
    bool valid = true;  // the coefficients its settings give fit and are stable
};

// What the user typed into a column: read as CALC reads it.
struct FilterInput {
    bool on = false;
    int type = 0;
    std::string freq, gain, q, trim;
};

FilterColumn ColumnOf(const FilterRecord& filter);

class CharacterDesigner {
public:
    // The distortion character of a set (slots 0..2 and the clipper), or a
    // tone character (slot 5, 6 or 7), of the data each call is given.
    CharacterDesigner(int set, std::vector<int> slots);
    static CharacterDesigner Distortion(int set);
    static CharacterDesigner Tone(int set, int slot);

    int Set() const { return set_; }
    const std::vector<int>& Slots() const { return slots_; }
    std::vector<FilterColumn> Columns(const CustomDistData& data) const;
    // The first preset whose 24 bytes equal the set's clipper block, or -1.
    int MatchingPreset(const CustomDistData& data) const;
    // The preset chosen in the list: clip filters and clipper block.
    void ApplyPreset(CustomDistData& data, int preset) const;
    // The preset the list shows as chosen: the matching one for a
    // distortion character, -1 for a tone character or a clipper of its own.
    // Showing it changes nothing.
    int ShownPreset(const CustomDistData& data) const;
    // A distortion character whose clipper matches a preset takes that
    // preset's clip filters as the preset gives them (not clamped), as CALC
    // does; returns the preset, or -1 (a clipper that matches none keeps its data).
    int TakeMatchingPreset(CustomDistData& data) const;
    // CALC: takes the columns' texts, clamps them, snaps every filter of
    // the document to the device's steps and computes this designer's
    // coefficients (and the clip filters' with a distortion character), then
    // takes the matching preset's clip filters again.
    void Calc(CustomDistData& data, const std::vector<FilterInput>& input) const;
    // The plot: the level in dB at the plot frequencies of this designer's filters.
    std::array<double, kPlotPoints> Levels(const CustomDistData& data) const;
    // A filter among them whose coefficients do not fit or are unstable.
    bool AnyInvalid(const CustomDistData& data) const;

private:
    int set_;
    std::vector<int> slots_;
};

}  // namespace orb8
