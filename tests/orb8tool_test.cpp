#include <gtest/gtest.h>

#include <cstdio>

#include <nlohmann/json.hpp>
#include <cstring>
#include <sstream>

#include "patch/effecttables.h"
#include "sim/factorybank.h"
#include "tests/testfiles.h"
#include "tests/toolrun.h"

using namespace orb8;

namespace {
int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

}  // namespace

TEST(Orb8Tool, NewListShowOnANewProject) {
    TempDir dir;
    const std::string bank = dir.Path("new.orb");
    ASSERT_EQ(Tool({"new", bank}).code, 0);
    EXPECT_EQ(ReadAll(bank).size(), 23932u);
    // An existing file is not replaced without --force.
    const ToolRun again = Tool({"new", bank});
    EXPECT_NE(again.code, 0);
    EXPECT_NE(again.err.find("already exists"), std::string::npos);
    EXPECT_EQ(Lines(again.err), 1);
    EXPECT_EQ(Tool({"new", bank, "--force"}).code, 0);

    const ToolRun list = Tool({"list", bank});
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_EQ(Lines(list.out), 81);
    EXPECT_NE(list.out.find("U01 "), std::string::npos);
    EXPECT_NE(list.out.find("u94 "), std::string::npos);

    const ToolRun show = Tool({"show", bank, "U23"});
    ASSERT_EQ(show.code, 0) << show.err;
    EXPECT_NE(show.out.find("OVER DRV"), std::string::npos);
    EXPECT_NE(show.out.find("800Hz"), std::string::npos);
    EXPECT_NE(show.out.find("CHO MIX"), std::string::npos);
}

TEST(Orb8Tool, ExportImportRoundTripIsExact) {
    TempDir dir;
    ProjectDocument doc;
    doc.PatchOfRow(1)[ModuleSwitches] = 7;
    doc.PatchOfRow(1)[DriveType] = 25;  // out of range but fits: kept as it is
    EncodeName("LEAD 1", doc.PatchOfRow(1));
    doc.PatchOfRow(2)[Name0] = 55;  // a code with no character
    doc.SetCommentOfRow(1, "smooth \"lead\"\nwith delay");
    doc.SetCommentOfRow(3, "caf\xE9");  // Latin-1 bytes from an old file
    doc.fileName = dir.Path("a.orb");
    ASSERT_TRUE(doc.Save().ok());

    const ToolRun exported = Tool({"export", doc.fileName});
    ASSERT_EQ(exported.code, 0) << exported.err;
    const auto json = nlohmann::json::parse(exported.out);
    EXPECT_EQ(json["patches"][0]["name"], "LEAD 1  ");
    EXPECT_EQ(json["patches"][0]["parameters"][1]["text"], "?25");
    EXPECT_EQ(json["patches"][2]["comment"], "caf\xC3\xA9");

    std::ofstream(dir.Path("a.json")) << exported.out;
    ASSERT_EQ(Tool({"import", dir.Path("a.json"), dir.Path("b.orb")}).code, 0);
    EXPECT_EQ(ReadAll(dir.Path("b.orb")), ReadAll(doc.fileName));
}

TEST(Orb8Tool, ImportRefusesWhatDoesNotFit) {
    TempDir dir;
    ASSERT_EQ(Tool({"new", dir.Path("n.orb")}).code, 0);
    const auto base = nlohmann::json::parse(Tool({"export", dir.Path("n.orb")}).out);
    auto attempt = [&](auto change) {
        nlohmann::json j = base;
        change(j);
        std::ofstream(dir.Path("bad.json"), std::ios::trunc) << j.dump();
        return Tool({"import", dir.Path("bad.json"), dir.Path("out.orb"), "--force"});
    };
    const std::vector<std::function<void(nlohmann::json&)>> changes = {
        [](auto& j) { j["patches"][0]["parameters"][20]["value"] = 256; },   // ModParam1: 8 bits
        [](auto& j) { j["patches"][0]["parameters"][21]["value"] = 128; },   // ModParam2: 7 bits
        [](auto& j) { j["patches"][0]["parameters"][17]["value"] = 1; },     // not stored
        [](auto& j) { j["patches"][0]["parameters"][3]["value"] = -1; },
        [](auto& j) { j["patches"][0]["parameters"][3]["value"] = 2.5; },
        [](auto& j) { j["patches"][0]["parameters"][3]["value"] = "7"; },
        [](auto& j) { j["patches"][1]["parameters"].erase(5); },
        [](auto& j) { j["patches"].erase(79); },
        [](auto& j) { j["patches"][4]["name"] = "lower"; },
        [](auto& j) { j["patches"][4]["name"] = "NINECHARS"; },
        [](auto& j) { j["patches"][4]["comment"] = std::string(256, 'a'); },
        [](auto& j) { j["patches"][4]["label"] = "U02"; },
        [](auto& j) { j["customSettings"][3] = 300; },
        [](auto& j) { j = nlohmann::json::array(); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const ToolRun r = attempt(changes[i]);
        EXPECT_NE(r.code, 0) << "change " << i;
        EXPECT_EQ(Lines(r.err), 1) << "change " << i << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.Path("out.orb"))) << "change " << i;
    }
    // Fields that disagree are refused, naming both; so is a key given twice.
    const std::vector<std::pair<std::function<void(nlohmann::json&)>, std::string>> disagreements = {
        {[](auto& j) { j["patches"][4]["name"] = "MY TONE"; }, "bytes 51..58 hold"},
        {[](auto& j) { j["patches"][4]["parameters"][51]["value"] = 23; }, "bytes 51..58 hold \"A       \""},
        {[](auto& j) {
             j["patches"][4]["comment"] = "new";
             j["patches"][4]["commentBytes"] = "6f6c64";
         },
         "\"comment\" and \"commentBytes\" disagree"},
    };
    for (const auto& [change, expected] : disagreements) {
        const ToolRun r = attempt(change);
        EXPECT_NE(r.code, 0);
        EXPECT_NE(r.err.find(expected), std::string::npos) << r.err;
    }
    std::string twice = base.dump();
    twice.insert(1, "\"version\":1,");
    std::ofstream(dir.Path("twice.json"), std::ios::trunc) << twice;
    const ToolRun duplicate = Tool({"import", dir.Path("twice.json"), dir.Path("out.orb")});
    EXPECT_NE(duplicate.err.find("\"version\" is given twice"), std::string::npos) << duplicate.err;

    // A name changed in both places is taken; values at the top of their fields fit.
    const ToolRun ok = attempt([](auto& j) {
        PatchData named{};
        EncodeName("MY TONE", named);
        j["patches"][4]["name"] = "MY TONE";
        for (int b = Name0; b < Name0 + kNameLength; ++b) j["patches"][4]["parameters"][b]["value"] = named[static_cast<std::size_t>(b)];
        j["patches"][4]["parameters"][29]["value"] = 255;
    });
    ASSERT_EQ(ok.code, 0) << ok.err;
    ProjectDocument back;
    back.fileName = dir.Path("out.orb");
    ASSERT_TRUE(back.Load().ok());
    EXPECT_EQ(DecodeName(back.PatchOfRow(5)), "MY TONE ");
    EXPECT_EQ(back.PatchOfRow(5)[DlyParam1], 255);
}

TEST(Orb8Tool, BadInputGivesOneLineAndNonZeroExit) {
    TempDir dir;
    std::ofstream(dir.Path("short.orb")) << "short";
    std::ofstream(dir.Path("junk.json")) << "{ not json";
    const std::vector<std::vector<std::string>> calls = {
        {"list", dir.Path("missing.orb")},
        {"list", dir.Path("short.orb")},
        {"list", dir.path.string()},
        {"show", dir.Path("short.orb"), "U01"},
        {"show", dir.Path("missing.orb"), "U05"},
        {"import", dir.Path("junk.json"), dir.Path("x.orb")},
        {"import", dir.Path("missing.json"), dir.Path("x.orb")},
        {"frobnicate"},
        {},
    };
    for (const auto& call : calls) {
        const ToolRun r = Tool(call);
        EXPECT_NE(r.code, 0);
        EXPECT_EQ(Lines(r.err), 1) << r.err;
    }
    ASSERT_EQ(Tool({"new", dir.Path("n.orb")}).code, 0);
    const ToolRun label = Tool({"show", dir.Path("n.orb"), "U05"});
    EXPECT_NE(label.code, 0);
    EXPECT_NE(label.err.find("U05"), std::string::npos);
    EXPECT_EQ(Tool({"--help"}).code, 0);
}

TEST(Orb8Tool, FilterCommand) {
    const ToolRun r = Tool({"filter", "--type", "peq", "--freq", "1000", "--gain", "6", "--q", "1", "--trim", "0"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("C55FA1 224F75 190BFF 3AA05F E4A48C"), std::string::npos);
    EXPECT_NE(r.out.find("\nValid\n"), std::string::npos);
    const ToolRun off = Tool({"filter", "--off", "--response"});
    EXPECT_NE(off.out.find("000000 200000 000000 000000 000000"), std::string::npos);
    EXPECT_EQ(Lines(off.out), 9 + 101);
    EXPECT_NE(off.out.find("18000.00 0.000"), std::string::npos);
    const ToolRun overflow = Tool({"filter", "--gain", "12", "--q", "1", "--trim", "12"});
    EXPECT_NE(overflow.out.find("invalid"), std::string::npos);
    EXPECT_NE(Tool({"filter", "--type", "notch"}).code, 0);
    for (const char* text : {"abc", "1,500", "0x10", "1000abc", "", "nan", "inf"}) {
        const ToolRun bad = Tool({"filter", "--freq", text});
        EXPECT_EQ(bad.code, 1) << text;
        EXPECT_NE(bad.err.find("needs a decimal number"), std::string::npos) << text;
    }
    // Type names in any case; a value held at its range is said on standard error.
    const ToolRun held = Tool({"filter", "--type", "PEQ", "--freq", "20000", "--gain", "-20"});
    ASSERT_EQ(held.code, 0) << held.err;
    EXPECT_NE(held.out.find("13000 Hz, gain -12.0 dB"), std::string::npos) << held.out;
    EXPECT_NE(held.err.find("--freq 20000 is outside 40..13000 and was held at 13000"), std::string::npos) << held.err;
    EXPECT_NE(held.err.find("--gain -20"), std::string::npos);
}

TEST(Orb8Tool, MessagesSayWhatHappened) {
    TempDir dir;
    EXPECT_NE(Tool({"list", dir.Path("missing.orb")}).err.find("missing.orb can't be opened: No such file or directory."),
              std::string::npos);
    const ToolRun folder = Tool({"new", dir.path.string(), "--force"});
    EXPECT_NE(folder.err.find("it is a folder, not a file"), std::string::npos) << folder.err;
    EXPECT_EQ(folder.err.find("--force"), std::string::npos);
    EXPECT_NE(Tool({"new", dir.Path("none/x.orb")}).err.find("the folder"), std::string::npos);
    EXPECT_NE(Tool({"frobnicate"}).err.find("unknown command \"frobnicate\""), std::string::npos);
    ASSERT_EQ(Tool({"dst", "--new", dir.Path("a.dst")}).code, 0);
    EXPECT_NE(Tool({"dst", dir.Path("a.dst"), "--new", dir.Path("b.dst")}).code, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("b.dst")));

    // What could not be written to the output is an error, not a success.
    const char* argv[] = {"orb8tool", "filter"};
    std::ostream broken(nullptr);
    std::ostringstream err;
    EXPECT_EQ(RunOrb8Tool(2, argv, broken, err), 1);
    EXPECT_NE(err.str().find("could not be written"), std::string::npos);
}

TEST(Orb8Tool, ListShowsControlCharactersEscaped) {
    TempDir dir;
    ProjectDocument doc;
    doc.SetCommentOfRow(1, "\x1B]0;owned\x07 red\xC2\x9B" "2J caf\xC3\xA9 \xE9");
    doc.fileName = dir.Path("c.orb");
    ASSERT_TRUE(doc.Save().ok());
    for (const std::vector<std::string>& call : {std::vector<std::string>{"list", doc.fileName},
                                                 std::vector<std::string>{"show", doc.fileName, "U01"}}) {
        const ToolRun r = Tool(call);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find("\\x1B]0;owned\\x07 red\\xC2\\x9B2J caf\xC3\xA9 \\xE9"), std::string::npos) << r.out;
        for (char c : r.out) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
    }
}

TEST(Orb8Tool, ImportRefusesAnOversizedInput) {
    TempDir dir;
    std::ofstream(dir.Path("big.json")) << std::string(9u << 20, ' ');
    const ToolRun r = Tool({"import", dir.Path("big.json"), dir.Path("out.orb")});
    EXPECT_NE(r.err.find("larger than 8 MB"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.orb")));
    // Millions of values are dropped as they are read, not kept in memory.
    std::string many = "{\"junk\":[0";
    for (int i = 0; i < 1000000; ++i) many += ",0";
    std::ofstream(dir.Path("many.json")) << many << "]}";
    const ToolRun values = Tool({"import", dir.Path("many.json"), dir.Path("out.orb")});
    EXPECT_NE(values.err.find("far more values than a bank"), std::string::npos) << values.err;
}

TEST(Orb8Tool, DstCommand) {
    TempDir dir;
    const std::string path = dir.Path("n.dst");
    ASSERT_EQ(Tool({"dst", "--new", path}).code, 0);
    EXPECT_EQ(ReadAll(path).size(), 1836u);
    EXPECT_NE(Tool({"dst", "--new", path}).code, 0);  // not replaced without --force
    const ToolRun list = Tool({"dst", path});
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_EQ(Lines(list.out), 1 + 16 + 2);
    EXPECT_NE(list.out.find("Op-Amp overload"), std::string::npos);
    EXPECT_NE(list.out.find("00 21 E0 8E F0"), std::string::npos);

    auto bytes = ReadAll(path);
    bytes[1] = 200;   // an odd filter type
    bytes[896] = 0x77;  // a clipper that matches no preset
    std::memset(bytes.data() + 8, 0xFF, 8);  // Freq: NaN
    WriteAll(path, bytes);
    const ToolRun odd = Tool({"dst", path});
    ASSERT_EQ(odd.code, 0) << odd.err;
    EXPECT_NE(odd.out.find("unknown"), std::string::npos);
    EXPECT_NE(odd.out.find("custom"), std::string::npos);

    // Long values stay in columns of their own: a frequency of -1e+300 and a gain of 2.6.
    const double freq = -1e300, gain = 2.6;
    std::memcpy(bytes.data() + 8, &freq, sizeof freq);
    std::memcpy(bytes.data() + 16, &gain, sizeof gain);
    WriteAll(path, bytes);
    const ToolRun wide = Tool({"dst", path});
    ASSERT_EQ(wide.code, 0) << wide.err;
    EXPECT_NE(wide.out.find(" -1e+300 2.6 "), std::string::npos) << wide.out;

    bytes.resize(100);
    WriteAll(path, bytes);
    const ToolRun shortFile = Tool({"dst", path});
    EXPECT_EQ(shortFile.code, 0);
    EXPECT_NE(shortFile.err.find("ends early"), std::string::npos);
    bytes.resize(2000);
    WriteAll(path, bytes);
    EXPECT_NE(Tool({"dst", path}).code, 0);
    EXPECT_NE(Tool({"dst"}).code, 0);
}

TEST(Orb8Tool, RandomiseAndMorph) {
    TempDir dir;
    const std::string bank = dir.Path("bank.orb");
    {
        ProjectDocument document;
        const auto factory = FactoryBank();
        for (int i = 0; i < kPatchCount; ++i) document.patches[static_cast<std::size_t>(i)] = Unpack(factory[static_cast<std::size_t>(i)]);
        document.fileName = bank;
        document.customSettings = FactoryCustomSettings();
        ASSERT_TRUE(document.Save().ok());
    }
    auto patchOf = [](const std::string& path, const char* label) {
        ProjectDocument d;
        d.fileName = path;
        EXPECT_TRUE(d.Load().ok());
        return d.patches[static_cast<std::size_t>(PatchIndexFromLabel(label))];
    };
    // The same seed, the same patch; the locked parts and the name stay.
    auto r = Tool({"randomise", bank, "U23", "--amount", "60", "--seed", "42", "--lock", "eq,level", dir.Path("r1.orb")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("U23 randomised by 60 % (seed 42)"), std::string::npos) << r.out;
    ASSERT_EQ(Tool({"randomise", bank, "U23", "--amount", "60", "--seed", "42", "--lock", "eq,level", dir.Path("r2.orb")}).code, 0);
    const PatchData before = patchOf(bank, "U23"), after = patchOf(dir.Path("r1.orb"), "U23");
    EXPECT_EQ(after, patchOf(dir.Path("r2.orb"), "U23"));
    EXPECT_NE(after, before);
    EXPECT_EQ(DecodeName(after), DecodeName(before));
    for (int b = EqPresence; b <= EqBassFreq; ++b) EXPECT_EQ(after[static_cast<std::size_t>(b)], before[static_cast<std::size_t>(b)]);
    EXPECT_EQ(after[PatchLevel], before[PatchLevel]);
    EXPECT_EQ(patchOf(dir.Path("r1.orb"), "U11"), patchOf(bank, "U11"));  // one patch only

    r = Tool({"randomise", bank, "U23", "--lock", "eq,volume", dir.Path("r3.orb")});
    EXPECT_NE(r.code, 0);
    EXPECT_NE(r.err.find("\"volume\" is nothing to lock"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("r3.orb")));
    EXPECT_NE(Tool({"randomise", bank, "U23", "--amount", "0", dir.Path("r3.orb")}).code, 0);

    // Morph ends are the two patches' sounds, under the name of the slot written.
    ASSERT_EQ(Tool({"morph", bank, "U11", dir.Path("r1.orb"), "U23", "--at", "100", dir.Path("m.orb"), "U01"}).code, 0);
    PatchData end = patchOf(dir.Path("m.orb"), "U01");
    EXPECT_EQ(DecodeName(end), DecodeName(patchOf(bank, "U01")));
    auto sameSound = [](const PatchData& x, const PatchData& y) {
        for (int b = 0; b < kPatchBytes; ++b)
            if ((b < Name0 || b >= Name0 + kNameLength) && x[static_cast<std::size_t>(b)] != y[static_cast<std::size_t>(b)]) return false;
        return true;
    };
    EXPECT_TRUE(sameSound(end, after));
    r = Tool({"morph", bank, "U11", dir.Path("r1.orb"), "U23", "--at", "0", dir.Path("m.orb"), "U02"});
    EXPECT_NE(r.code, 0);  // m.orb exists: only with --force, into it as it is
    ASSERT_EQ(Tool({"morph", bank, "U11", dir.Path("r1.orb"), "U23", "--at", "0", dir.Path("m.orb"), "U02", "--force"}).code, 0);
    const PatchData u11 = patchOf(bank, "U11"), start = patchOf(dir.Path("m.orb"), "U02");
    EXPECT_TRUE(sameSound(start, u11));
    EXPECT_EQ(patchOf(dir.Path("m.orb"), "U01"), end);  // what was written before stays
}

// A bank's custom settings belong to every patch of a CUSTOM type in it:
// randomise keeps them unless told otherwise and says when they change; a
// morph across banks carries a CUSTOM type by what it plays; a seed that
// does not fit is refused.
TEST(Orb8Tool, SoundDesignKeepsEachBanksCustomSettings) {
    TempDir dir;
    ProjectDocument bank;
    for (const char* label : {"U93", "U11", "u42"}) {
        PatchData& p = bank.patches[static_cast<std::size_t>(PatchIndexFromLabel(label))];
        p[ModuleSwitches] = ModOn;
        p[ModType] = 20;  // CUSTOM1
    }
    bank.customSettings[kModCustom1Slot] = 18;  // TRM+CHO
    bank.fileName = dir.Path("r06.orb");
    ASSERT_TRUE(bank.Save().ok());
    const auto blockOf = [](const std::string& path) {
        ProjectDocument d;
        d.fileName = path;
        EXPECT_TRUE(d.Load().ok());
        return d.customSettings;
    };
    for (int seed = 1; seed <= 20; ++seed) {
        const std::string out = dir.Path("locked" + std::to_string(seed) + ".orb");
        const ToolRun r = Tool({"randomise", bank.fileName, "U93", "--amount", "100", "--seed", std::to_string(seed), out});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(blockOf(out), bank.customSettings) << seed;
        EXPECT_EQ(r.out.find("custom settings changed"), std::string::npos);
    }
    bool reported = false;
    for (int seed = 1; seed <= 20 && !reported; ++seed) {
        const std::string out = dir.Path("free" + std::to_string(seed) + ".orb");
        const ToolRun r = Tool({"randomise", bank.fileName, "U93", "--amount", "100", "--seed", std::to_string(seed),
                                "--lock", "no-custom", out});
        ASSERT_EQ(r.code, 0) << r.err;
        if (blockOf(out) != bank.customSettings) {
            EXPECT_NE(r.out.find("the bank's custom settings changed: "), std::string::npos) << r.out;
            reported = true;
        }
    }
    EXPECT_TRUE(reported);

    for (const char* seed : {"-1", "18446744073709551616", "99999999999999999999", "12x", ""}) {
        const ToolRun r = Tool({"randomise", bank.fileName, "U93", "--seed", seed, dir.Path("s.orb")});
        EXPECT_NE(r.code, 0) << seed;
        EXPECT_NE(r.err.find("is not a seed"), std::string::npos) << seed << ": " << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path("s.orb")));
    EXPECT_EQ(Tool({"randomise", bank.fileName, "U93", "--seed", "18446744073709551615", dir.Path("s.orb")}).code, 0);

    // B's CUSTOM2 is SMPLHOLD; in A's bank CUSTOM2 is another sound: the
    // morph's end plays SMPLHOLD with B's values, as that plain type.
    ProjectDocument b;
    PatchData& source = b.patches[static_cast<std::size_t>(PatchIndexFromLabel("U34"))];
    source[ModuleSwitches] = DlyOn;
    source[DlyType] = 21;
    b.customSettings[kDlyCustom2Slot] = 18;  // SMPLHOLD
    for (int k = 1; k <= 4; ++k) b.customSettings[static_cast<std::size_t>(kDlyCustom2Slot + k)] = static_cast<std::uint8_t>(k + 2);
    b.fileName = dir.Path("x1.orb");
    ASSERT_TRUE(b.Save().ok());
    ProjectDocument a;
    a.customSettings[kDlyCustom2Slot] = 12;  // JAM PLAY
    a.fileName = dir.Path("x0.orb");
    ASSERT_TRUE(a.Save().ok());
    const ToolRun morph = Tool({"morph", a.fileName, "U72", b.fileName, "U34", dir.Path("m.orb"), "--at", "100"});
    ASSERT_EQ(morph.code, 0) << morph.err;
    ProjectDocument m;
    m.fileName = dir.Path("m.orb");
    ASSERT_TRUE(m.Load().ok());
    const PatchData& end = m.patches[static_cast<std::size_t>(PatchIndexFromLabel("U72"))];
    EXPECT_EQ(end[DlyType], 18);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(end[static_cast<std::size_t>(DlyParam1 + k)], k + 3);
    EXPECT_EQ(m.customSettings, a.customSettings);
    // Where the bank's slot plays the same, the CUSTOM number stays.
    a.customSettings = b.customSettings;
    ASSERT_TRUE(a.Save().ok());
    ASSERT_EQ(Tool({"morph", a.fileName, "U72", b.fileName, "U34", dir.Path("m2.orb"), "--at", "100"}).code, 0);
    m.fileName = dir.Path("m2.orb");
    ASSERT_TRUE(m.Load().ok());
    EXPECT_EQ(m.patches[static_cast<std::size_t>(PatchIndexFromLabel("U72"))][DlyType], 21);
}

// Variations into a new bank: randomised from consecutive seeds, or a morph
// in steps, each named by its step, in a bank that plays through the same
// custom settings.
TEST(Orb8Tool, VariationsFillANewBank) {
    TempDir dir;
    ProjectDocument bank;
    const auto factory = FactoryBank();
    for (int i = 0; i < kPatchCount; ++i) bank.patches[static_cast<std::size_t>(i)] = Unpack(factory[static_cast<std::size_t>(i)]);
    bank.customSettings = FactoryCustomSettings();
    bank.fileName = dir.Path("bank.orb");
    ASSERT_TRUE(bank.Save().ok());
    const int u23 = PatchIndexFromLabel("U23"), u11 = PatchIndexFromLabel("U11");
    ToolRun r = Tool({"variations", bank.fileName, "U23", dir.Path("v.orb"), "--count", "40", "--amount", "20",
                      "--seed", "7", "--lock", "eq"});
    ASSERT_EQ(r.code, 0) << r.err;
    ProjectDocument v;
    v.fileName = dir.Path("v.orb");
    ASSERT_TRUE(v.Load().ok());
    EXPECT_EQ(v.customSettings, bank.customSettings);
    const std::string stem = DecodeName(bank.patches[static_cast<std::size_t>(u23)]).substr(0, 5);
    int differing = 0;
    for (int i = 0; i < 40; ++i) {
        const PatchData& p = v.patches[static_cast<std::size_t>(i)];
        char step[4];
        std::snprintf(step, sizeof step, "%02d", i + 1);
        EXPECT_EQ(DecodeName(p).substr(6, 2), step);
        for (int b = EqPresence; b <= EqBassFreq; ++b)
            EXPECT_EQ(p[static_cast<std::size_t>(b)], bank.patches[static_cast<std::size_t>(u23)][static_cast<std::size_t>(b)]);
        differing += i > 0 && p != v.patches[static_cast<std::size_t>(i - 1)];
    }
    EXPECT_GT(differing, 30);
    EXPECT_EQ(v.patches[40], InitialPatch());
    // The same seed, the same bank.
    ASSERT_EQ(Tool({"variations", bank.fileName, "U23", dir.Path("v2.orb"), "--count", "40", "--amount", "20",
                    "--seed", "7", "--lock", "eq"}).code, 0);
    EXPECT_EQ(ReadAll(dir.Path("v2.orb")), ReadAll(dir.Path("v.orb")));

    // A morph towards U11 in 5 steps: the ends are the two sounds.
    r = Tool({"variations", bank.fileName, "U23", dir.Path("m.orb"), "--count", "5", "--towards", "U11"});
    ASSERT_EQ(r.code, 0) << r.err;
    ProjectDocument m;
    m.fileName = dir.Path("m.orb");
    ASSERT_TRUE(m.Load().ok());
    auto sound = [](PatchData p) {
        for (int i = 0; i < kNameLength; ++i) p[static_cast<std::size_t>(Name0 + i)] = ' ';
        return p;
    };
    EXPECT_EQ(sound(m.patches[0]), sound(bank.patches[static_cast<std::size_t>(u23)]));
    EXPECT_EQ(sound(m.patches[4]), sound(bank.patches[static_cast<std::size_t>(u11)]));
    EXPECT_EQ(m.patches[5], InitialPatch());
    EXPECT_NE(Tool({"variations", bank.fileName, "U23", dir.Path("x.orb"), "--count", "81"}).code, 0);
}
