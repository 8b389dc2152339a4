// The effect vocabulary of the ORB-8: type lists, the parameters of every type
// with their stored ranges and display rules, RTM destination lists and the
// values a type starts with. Values are stored raw and turned into the
// processor's display text only here.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "patch/customsettings.h"
#include "patch/patchdata.h"

namespace orb8 {

enum class Module { Drive, Mod, DlyRev, Eq, Patch };

// Which module a PatchData byte belongs to (bytes 0, 37 and 50..64: Patch).
Module ModuleOfByte(int byte);

enum class Shape : std::uint8_t {
    Unused,        // a parameter slot the type does not use
    AsStored,      // decimal stored value
    Offset,        // stored value plus a constant
    List,          // stored value indexes a list of texts
    OffOrNumber,   // "oF" for 0, else the number
    Time,          // Dly/Rev delay time: 1..99, then 1.0..6.0 seconds
    Pitch,         // v - 12, 25 shows "24", 12 shows the rule's own text
    SeamTime,      // v + 1, 100 shows "Hd"
    AwaSens,       // v - 10, 10 shows "oF"
    Percent,       // the number and "%"
    RtmSource,     // RtmSourceNames
    ControllerNumber,
    NameChar,      // one PatchNameCharset character
    OnOff,         // a switch: "OFF" / "ON"
    ModuleSwitches,
};

struct ValueRule {
    Shape shape = Shape::AsStored;
    int offset = 0;
    std::span<const std::string_view> list{};
    std::string_view atTwelve{};  // Pitch: the text for stored 12
};

// How a parameter contributes to its type's RTM destination list.
enum class RtmRole : std::uint8_t { None, Self, TimeTriple };

struct ParamDef {
    std::string_view name;
    int max = 0;  // stored range is 0..max
    ValueRule rule;
    RtmRole rtm = RtmRole::None;
    bool timePair = false;  // TIMEX100 / TIMEX1 of a time pair
    bool used() const { return rule.shape != Shape::Unused; }
};

constexpr int kDriveTypeCount = 22;
constexpr int kModTypeCount = 22;
constexpr int kDlyTypeCount = 22;
constexpr int kBaseTypeCount = 20;  // Mod and Dly/Rev types with parameters of their own

std::span<const std::string_view> DriveTypeNames();
std::span<const std::string_view> ModTypeNames();
std::span<const std::string_view> DlyTypeNames();

// A type's name, or the out-of-range text for a type the processor does not have.
std::string TypeName(Module module, int type);
// Padded to 8 characters as the project list shows it.
std::string TypeNamePadded(Module module, int type);

// Parameter 0..3 of a drive type (0..21) or of a Mod / Dly/Rev base type
// (0..19); nullptr when the type has no such parameter set.
const ParamDef* DriveParam(int type, int index);
const ParamDef* ModParam(int type, int index);
const ParamDef* DlyParam(int type, int index);
const ParamDef* ModuleParam(Module module, int type, int index);

// The RTM destinations a type offers (for Mod and Dly/Rev pass the effective type).
std::vector<std::string_view> RtmDestinations(Module module, int type);

std::span<const std::string_view> RtmSourceNames();
std::span<const std::string_view> CustomSelectionNames(int byte);  // bytes 10..13
std::string ControllerNumberText(int code);

// Values a type starts with in the editor's type memory.
struct TypeStart {
    std::uint8_t params[4];
    std::uint8_t rtmDest;
};
TypeStart ModTypeStart(int type);  // base types 0..19
TypeStart DlyTypeStart(int type);
// Drive parameter 1 is remembered per group; types 20 and 21 start from the
// custom drive slots of the custom settings block.
int DriveGroup(int type);  // 0..5, or -1
TypeStart DriveTypeStart(int type, const CustomSettingsBlock& settings);

// The text shown for a value outside its range: recognisable, never a table entry.
std::string OutOfRangeText(int stored);

// Text of a value under a rule with stored range 0..max.
std::string FormatValue(const ValueRule& rule, int max, int stored);

// The processor's display text for PatchData byte `byte` holding `stored`,
// where `type` is the byte's module type (drive type, or the effective Mod or
// Dly/Rev type; ignored for bytes outside those modules).
std::string DisplayText(int byte, int type, int stored);
// The parameter name of a byte under its module type ("" for an unused slot).
std::string ParameterName(int byte, int type);
// The widest value of a byte under its module type; -1 when it has no range
// (an unused slot or an unknown type).
int ParameterMax(int byte, int type);

// The same, taking the type from the patch and custom Mod/Dly bases from settings.
int ModuleTypeOfByte(const PatchData& patch, int byte, const CustomSettingsBlock& settings);
std::string PatchByteText(const PatchData& patch, int byte, const CustomSettingsBlock& settings);
std::string PatchByteName(const PatchData& patch, int byte, const CustomSettingsBlock& settings);

}  // namespace orb8
