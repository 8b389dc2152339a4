// SysEx files and bank differences.
#include <gtest/gtest.h>

#include "device/messages.h"
#include "device/sysexfile.h"
#include "patch/differences.h"
#include "sim/factorybank.h"
#include "tests/testfiles.h"
#include "tests/toolrun.h"

using namespace orb8;

namespace {
ProjectDocument Factory() {
    ProjectDocument d;
    const auto bank = FactoryBank();
    for (int i = 0; i < kPatchCount; ++i) d.packedSlots[static_cast<std::size_t>(i)] = ToSlot(bank[static_cast<std::size_t>(i)]);
    d.UnpackAll();
    return d;
}
}  // namespace

TEST(SysExFile, ExportThenImportGivesTheSameBank) {
    ProjectDocument bank = Factory();
    const auto bytes = PatchesAsSysEx(bank, 4);
    EXPECT_EQ(bytes.size(), 6 + 80 * 91 + 6u);
    EXPECT_EQ(bytes[2], 4);  // the channel
    const SysExContents c = ReadSysEx(bytes);
    EXPECT_EQ(c.dumps.size(), 80u);
    EXPECT_EQ(c.Summary(), "80 patches");
    ProjectDocument back;
    EXPECT_EQ(TakeSysEx(back, c, 0).size(), 80u);
    EXPECT_EQ(back.patches, bank.patches);
    // One patch, at its own number.
    const SysExContents one = ReadSysEx(PatchesAsSysEx(bank, 0, 22));
    ASSERT_EQ(one.dumps.size(), 1u);
    EXPECT_EQ(one.dumps.begin()->first, 22);
}

TEST(SysExFile, WhatCantBeUsedIsCountedAndChangesNothing) {
    ProjectDocument bank = Factory();
    const Message dump = PatchDump(0, 3, Pack(bank.patches[3]));
    std::vector<std::uint8_t> mixed;
    auto add = [&](const std::vector<std::uint8_t>& m) { mixed.insert(mixed.end(), m.begin(), m.end()); };
    add({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});  // another maker
    add({0xF0, 0x52, 0x00, 0x22, 0x23, 0x01, 0xF7});                          // another model
    add(Message(dump.begin(), dump.begin() + 40));                            // cut short...
    add({0x90, 0x3C});                                                        // ...by a note
    Message high = dump;
    high[10] = 0x85;  // a data byte of 0x80 or more
    add(high);
    Message number = dump;
    number[5] = 90;  // no such patch
    add(number);
    add(IdentityRequest(0));
    const SysExContents c = ReadSysEx(mixed);
    EXPECT_FALSE(c.Usable());
    EXPECT_EQ(c.foreign, 3);
    EXPECT_GE(c.damaged, 3);
    ProjectDocument untouched = bank;
    EXPECT_TRUE(TakeSysEx(untouched, c, 1).empty());
    EXPECT_EQ(untouched.patches, bank.patches);
    EXPECT_FALSE(ReadSysEx({}).Usable());
    // With one good dump among them, only it is taken.
    add(dump);
    const SysExContents good = ReadSysEx(mixed);
    EXPECT_EQ(good.dumps.size(), 1u);
    EXPECT_NE(good.Summary().find("1 patch; not used:"), std::string::npos) << good.Summary();
    // An edit buffer goes to the row given.
    PatchData edit = bank.patches[9];
    EncodeName("EDITED", edit);
    const SysExContents buffer = ReadSysEx(EditBufferWrite(0, edit));
    ProjectDocument target;
    EXPECT_EQ(TakeSysEx(target, buffer, 5), std::vector<int>{5});
    EXPECT_EQ(DecodeName(target.PatchOfRow(5)), "EDITED  ");
    // Of several edit buffers only the last is taken, and the summary says so;
    // with no row for it, none is.
    std::vector<std::uint8_t> two = EditBufferWrite(0, bank.patches[3]);
    const auto last = EditBufferWrite(0, edit);
    two.insert(two.end(), last.begin(), last.end());
    const SysExContents buffers = ReadSysEx(two);
    ProjectDocument again;
    EXPECT_EQ(TakeSysEx(again, buffers, 2), std::vector<int>{2});
    EXPECT_EQ(DecodeName(again.PatchOfRow(2)), "EDITED  ");
    EXPECT_EQ(buffers.Summary(), "0 patches and 1 edit buffer; not used: 1 earlier edit buffer");
    EXPECT_EQ(buffers.Summary(false), "0 patches; not used: 2 edit buffers");
}

TEST(BankDifferences, ByModuleWithBothTexts) {
    ProjectDocument a = Factory(), b = Factory();
    EXPECT_TRUE(BankDifferences(a, DefaultCustomSettings(), b, DefaultCustomSettings()).empty());
    b.patches[2][DriveParam1] = 3;
    b.patches[2][17] = 5;  // not kept by the file: no difference
    b.MovePatch(10, 12);
    b.comments[40] = "new";
    const auto d = BankDifferences(a, DefaultCustomSettings(), b, DefaultCustomSettings());
    ASSERT_GE(d.size(), 4u);
    EXPECT_EQ(d[0].index, 2);
    ASSERT_EQ(d[0].parameters.size(), 1u);
    EXPECT_EQ(d[0].parameters[0].module, Module::Drive);
    EXPECT_EQ(d[0].parameters[0].textB, "4");
    EXPECT_EQ(d.back().index, 40);
    EXPECT_TRUE(d.back().commentDiffers);
    // Every byte changed: each module's differences come together, even those
    // whose bytes lie apart, in byte order within the module.
    PatchData changed = InitialPatch();
    for (auto& byte : changed) byte ^= 1;
    const auto p = PatchDifferences(changed, DefaultCustomSettings(), InitialPatch(), DefaultCustomSettings());
    ASSERT_EQ(p.size(), changed.size());
    for (std::size_t i = 1; i < p.size(); ++i) {
        EXPECT_LE(static_cast<int>(p[i - 1].module), static_cast<int>(p[i].module)) << i;
        if (p[i - 1].module == p[i].module) {
            EXPECT_LT(p[i - 1].byte, p[i].byte) << i;
        }
    }
}

TEST(Orb8Tool, SysExAndDiffCommands) {
    TempDir dir;
    ProjectDocument bank = Factory();
    bank.fileName = dir.Path("a.orb");
    ASSERT_TRUE(bank.Save().ok());
    ASSERT_EQ(Tool({"export-syx", bank.fileName, dir.Path("a.syx")}).code, 0);
    EXPECT_NE(Tool({"export-syx", bank.fileName, dir.Path("a.syx")}).code, 0);  // exists
    const ToolRun in = Tool({"import-syx", dir.Path("a.syx"), dir.Path("b.orb")});
    ASSERT_EQ(in.code, 0) << in.err;
    EXPECT_NE(in.out.find("holds no custom settings"), std::string::npos) << in.out;
    EXPECT_EQ(Tool({"diff", bank.fileName, dir.Path("b.orb")}).code, 0);
    EXPECT_EQ(ReadAll(dir.Path("b.orb")), ReadAll(bank.fileName));

    ProjectDocument changed = bank;
    changed.patches[0][ModParam2] = 1;
    changed.MovePatch(3, 4);
    changed.fileName = dir.Path("c.orb");
    ASSERT_TRUE(changed.Save().ok());
    const ToolRun diff = Tool({"diff", bank.fileName, changed.fileName});
    EXPECT_EQ(diff.code, 1);
    EXPECT_NE(diff.out.find("U01\n  MOD"), std::string::npos) << diff.out;
    EXPECT_NE(diff.out.find("U03\n"), std::string::npos);
    EXPECT_NE(diff.out.find("U04\n"), std::string::npos);
    const ToolRun json = Tool({"diff", bank.fileName, changed.fileName, "--json"});
    EXPECT_EQ(json.code, 1);
    EXPECT_NE(json.out.find("\"label\": \"U01\""), std::string::npos);
    EXPECT_EQ(Tool({"diff", bank.fileName, dir.Path("none.orb")}).code, 2);

    // Banks that differ only in their custom settings are not equal: the
    // slots and parameters are named as the editor names them.
    ProjectDocument custom = bank;
    custom.customSettings[kModCustom1Slot] = 3;      // base type FLANGER
    custom.customSettings[kModCustom1Slot + 2] = 7;  // its RATE
    custom.fileName = dir.Path("e.orb");
    ASSERT_TRUE(custom.Save().ok());
    const ToolRun block = Tool({"diff", bank.fileName, custom.fileName});
    EXPECT_EQ(block.code, 1);
    EXPECT_NE(block.out.find("custom settings\n  MOD CUSTOM1"), std::string::npos) << block.out;
    EXPECT_NE(block.out.find("-> FLANGER"), std::string::npos) << block.out;
    EXPECT_NE(block.err.find("2 custom settings values differ (MOD CUSTOM1)"), std::string::npos) << block.err;
    const ToolRun blockJson = Tool({"diff", bank.fileName, custom.fileName, "--json"});
    EXPECT_NE(blockJson.out.find("\"slot\": \"MOD CUSTOM1\""), std::string::npos) << blockJson.out;

    // An edit buffer alone, with no row named for it: nothing to take, nothing written.
    WriteAll(dir.Path("edit.syx"), EditBufferWrite(0, bank.patches[2]));
    const ToolRun rowless = Tool({"import-syx", dir.Path("edit.syx"), dir.Path("f.orb")});
    EXPECT_NE(rowless.code, 0);
    EXPECT_NE(rowless.err.find("--edit-buffer-to"), std::string::npos) << rowless.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("f.orb")));
    const ToolRun rowed = Tool({"import-syx", dir.Path("edit.syx"), dir.Path("f.orb"), "--edit-buffer-to", "U12"});
    EXPECT_EQ(rowed.code, 0) << rowed.err;
    EXPECT_NE(rowed.out.find("0 patches and 1 edit buffer"), std::string::npos) << rowed.out;

    WriteAll(dir.Path("junk.syx"), {0xF0, 0x41, 0x00, 0xF7});
    const ToolRun junk = Tool({"import-syx", dir.Path("junk.syx"), dir.Path("d.orb")});
    EXPECT_NE(junk.code, 0);
    EXPECT_NE(junk.err.find("holds no ORB-8 patch"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("d.orb")));
}
