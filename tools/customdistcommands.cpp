// orb8tool commands on custom distortion filters and .dst files.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iomanip>
#include <memory>
#include <sstream>

#include "customdist/customdistdata.h"
#include "customdist/response.h"
#include "tools/toolcommands.h"

namespace orb8 {
namespace {

constexpr const char* kDistKind = "custom distortion file";

std::string HexBytes(std::span<const std::uint8_t> bytes, const char* separator) {
    std::ostringstream s;
    s.imbue(std::locale::classic());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) s << separator;
        s << std::uppercase << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(bytes[i]);
    }
    return s.str();
}

std::string NibbleGroups(const FilterRecord& r) {
    std::string text;
    for (int k = 0; k < kCoefCount; ++k) {
        if (k) text += ' ';
        for (int n = 0; n < 6; ++n) text += "0123456789ABCDEF"[r.coefNibbles[static_cast<std::size_t>(6 * k + n)] & 15];
    }
    return text;
}

// A number from the command line: the whole text must be a decimal number
// (a point as the separator, whatever the locale); a value outside its range
// is held at the range and said so.
double RealOption(const std::string& text, const char* name, double low, double high, std::ostream& err) {
    double value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [at, problem] = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (begin == end || problem != std::errc() || at != end || !std::isfinite(value))
        throw ToolError{std::string("--") + name + " needs a decimal number such as 1000 or 0.71, not \"" + text + "\""};
    const double held = std::clamp(value, low, high);
    if (held != value)
        err << "orb8tool: note: --" << name << " " << text << " is outside " << RealText(low) << ".." << RealText(high)
            << " and was held at " << RealText(held) << "\n";
    return held;
}

std::string Fixed(double value, int decimals) {
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s << std::fixed << std::setprecision(decimals) << value;
    return s.str();
}

void PrintFilter(const FilterRecord& r, bool valid, bool response, std::ostream& out) {
    static const char* names[kCoefCount] = {"b1", "b0", "b2", "a1", "a2"};
    out << "settings: " << (r.on ? "on" : "off") << ", " << FilterTypeText(r.type) << ", " << FreqText(FreqCode(r.freq))
        << " Hz, gain " << GainText(GainCode(r.gain)) << " dB, Q " << QText(QCode(r.q)) << ", trim "
        << GainText(GainCode(r.trim)) << " dB\n";
    out << "settings code: " << HexBytes(EncodeSettings(r), " ") << "\n";
    for (int k = 0; k < kCoefCount; ++k) out << names[k] << " = " << CoefCode(r, k) << "\n";
    out << "nibbles: " << NibbleGroups(r) << "\n";
    out << (valid ? "Valid" : "invalid") << "\n";
    if (response) {
        const FilterRecord* list[] = {&r};
        const auto levels = ResponseLevels(list);
        out << "frequency_hz level_db\n";
        for (int i = 0; i < kPlotPoints; ++i)
            out << Fixed(PlotFrequencies()[static_cast<std::size_t>(i)], 2) << " " << Fixed(levels[static_cast<std::size_t>(i)], 3) << "\n";
    }
}

std::string FileError(const FileResult& r) { return FileMessageLine(r, kDistKind); }

void ListDst(const CustomDistDocument& doc, std::ostream& out) {
    out << "filter set      slot      on  type              freq   gain   q     trim   code            result\n";
    for (int n = 0; n < kFilterCount; ++n) {
        FilterRecord r = doc.data.filters[static_cast<std::size_t>(n)];
        const FilterSettingsCode code = EncodeSettings(r);
        FilterRecord computed = r;
        const bool valid = ComputeCoefficients(computed);
        std::ostringstream line;
        line.imbue(std::locale::classic());
        // Each cell padded to its column and followed by a space, so that a
        // long value (a file may hold any number) never runs into the next.
        const auto cell = [&line](std::string_view text, int width) {
            line << std::left << std::setw(width - 1) << text << ' ';
        };
        cell(std::to_string(n), 7);
        cell(SetName(n / kSlotsPerSet), 10);
        cell(SlotRoleName(n % kSlotsPerSet), 10);
        cell(std::to_string(static_cast<int>(r.on)), 4);
        cell(FilterTypeText(r.type), 18);
        cell(RealText(r.freq), 7);
        cell(RealText(r.gain), 7);
        cell(RealText(r.q), 6);
        cell(RealText(r.trim), 7);
        cell(HexBytes(code, " "), 16);
        line << (valid ? "Valid" : "invalid");
        out << line.str() << "\n";
    }
    for (int set = 0; set < kSetCount; ++set) {
        const ClipperBlock& c = doc.data.clippers[static_cast<std::size_t>(set)];
        const int preset = MatchingClipperPreset(c);
        out << "clipper " << set << " (" << SetName(set) << "): "
            << (preset >= 0 ? std::string(ClipperPresets()[static_cast<std::size_t>(preset)].name) : std::string("custom"))
            << "  " << HexBytes(std::span<const std::uint8_t>(c.data(), kClipperStoredBytes), " ") << "\n";
    }
}

}  // namespace

void AddCustomDistCommands(CLI::App& app, std::ostream& out, std::ostream& err) {
    struct FilterOptions {
        std::string type = "peq", freq = "1000", gain = "0", q = "0.71", trim = "0";
        bool off = false, response = false;
    };
    auto f = std::make_shared<FilterOptions>();
    auto* filter = app.add_subcommand("filter", "Compute one custom filter: settings code, coefficients, validity.");
    filter->add_option("--type", f->type, "peq, loshelf, hishelf, lpf6, lpf12, bpf, hpf6 or hpf12")->capture_default_str();
    filter->add_option("--freq", f->freq, "frequency in Hz (40..13000)")->capture_default_str();
    filter->add_option("--gain", f->gain, "gain in dB (-12..12)")->capture_default_str();
    filter->add_option("--q", f->q, "quality factor (0.01..5)")->capture_default_str();
    filter->add_option("--trim", f->trim, "output trim in dB (-12..12)")->capture_default_str();
    filter->add_flag("--off", f->off, "the filter is bypassed");
    filter->add_flag("--response", f->response, "also print the level in dB at the 100 plot frequencies");
    filter->callback([f, &out, &err] {
        FilterRecord r;
        std::string typeName = f->type;
        for (char& c : typeName) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const int type = FilterTypeFromShortName(typeName);
        if (type < 0) throw ToolError{"unknown filter type \"" + f->type + "\" (peq, loshelf, hishelf, lpf6, lpf12, bpf, hpf6, hpf12)"};
        r.type = static_cast<std::uint8_t>(type);
        r.on = f->off ? 0 : 1;
        r.freq = RealOption(f->freq, "freq", 40, 13000, err);
        r.gain = RealOption(f->gain, "gain", -12, 12, err);
        r.q = RealOption(f->q, "q", 0.01, 5, err);
        r.trim = RealOption(f->trim, "trim", -12, 12, err);
        // As the designers' CALC does: clamp, snap to the device's steps, compute.
        ClampSettings(r);
        DecodeSettings(EncodeSettings(r), r);
        const bool valid = ComputeCoefficients(r);
        PrintFilter(r, valid, f->response, out);
    });

    auto path = std::make_shared<std::string>();
    auto newPath = std::make_shared<std::string>();
    auto force = std::make_shared<bool>(false);
    auto* dst = app.add_subcommand("dst", "List the 16 filters and 2 clippers of a .dst file, or write a new one.");
    dst->add_option("FILE.dst", *path, "custom distortion file to list");
    dst->add_option("--new", *newPath, "write a new document's file here");
    dst->add_flag("--force", *force, "with --new: replace an existing file");
    dst->callback([=, &out, &err] {
        if (!newPath->empty() && !path->empty())
            throw ToolError{"dst takes either FILE.dst to list or --new OUT.dst to write, not both"};
        if (!newPath->empty()) {
            RefuseOverwrite(*newPath, *force);
            CustomDistDocument doc;
            doc.fileName = *newPath;
            const FileResult r = doc.Save();
            if (!r.ok()) throw ToolError{FileError(r)};
            return;
        }
        if (path->empty()) throw ToolError{"dst needs a FILE.dst to list, or --new OUT.dst"};
        CustomDistDocument doc;
        doc.fileName = *path;
        const FileResult r = doc.Load();
        if (!r.loaded()) throw ToolError{FileError(r)};
        if (r.problem == FileProblem::Short) err << "orb8tool: note: " << FileError(r) << "\n";
        ListDst(doc, out);
    });
}

}  // namespace orb8
