#include <gtest/gtest.h>

#include <set>

#include "device/messages.h"
#include "patch/effecttables.h"
#include "sim/factorybank.h"
#include "sim/orb8simulator.h"

using namespace orb8;

TEST(Simulator, FactoryBankIsAPlausibleBank) {
    const auto bank = FactoryBank();
    const CustomSettingsBlock settings = FactoryCustomSettings();
    std::set<int> drives, mods, dlys;
    std::set<std::string> names;
    for (const PackedPatch& packed : bank) {
        const PatchData p = Unpack(packed);
        std::string name = DecodeName(p);
        names.insert(name);
        while (!name.empty() && name.back() == ' ') name.pop_back();
        EXPECT_EQ(CheckName(name), NameCheck::Valid) << name;
        for (int b = 0; b < kPatchBytes; ++b) {
            EXPECT_NE(PatchByteText(p, b, settings), OutOfRangeText(p[static_cast<std::size_t>(b)])) << name << " byte " << b;
        }
        drives.insert(p[DriveType]);
        mods.insert(p[ModType]);
        dlys.insert(p[DlyType]);
    }
    EXPECT_EQ(names.size(), 80u);
    EXPECT_EQ(drives.size(), 22u);
    EXPECT_EQ(mods.size(), 22u);
    EXPECT_EQ(dlys.size(), 22u);
}

TEST(Simulator, IdentityLogAndHandshake) {
    Orb8Simulator sim(5);
    EXPECT_TRUE(sim.Receive(IdentityRequest(4)).empty());  // another channel
    const auto id = sim.Receive(IdentityRequest(5));
    ASSERT_EQ(id.size(), 1u);
    EXPECT_EQ(id[0][2], 5);
    EXPECT_EQ(id[0][5], 0x52);
    EXPECT_EQ(id[0][6], 0x21);
    EXPECT_EQ(sim.Log()[1], "F0 7E 05 06 01 F7  IdentityRequest");

    // Writes need WriteOpen first.
    PatchData p = InitialPatch();
    p[PatchLevel] = 3;
    auto reply = sim.Receive(PatchDump(5, 9, Pack(p)));
    ASSERT_EQ(reply.size(), 1u);
    EXPECT_EQ(reply[0][4], FnWriteReject);
    EXPECT_NE(Unpack(sim.bank[9]), p);
    EXPECT_EQ(sim.Receive(WriteOpen(5))[0][4], FnWriteAck);
    EXPECT_EQ(sim.Receive(PatchDump(5, 9, Pack(p)))[0][4], FnWriteAck);
    EXPECT_EQ(Unpack(sim.bank[9]), p);
    EXPECT_TRUE(sim.Receive(WriteClose(5)).empty());
    EXPECT_FALSE(sim.writeOpen);

    // A program change loads the patch; a parameter change edits the buffer.
    sim.Receive(PatchSelect(5, 9));
    EXPECT_EQ(sim.program, 9);
    EXPECT_EQ(sim.editBuffer, p);
    sim.Receive(ParameterChange(5, DlyParam1, 0xC5));
    EXPECT_EQ(sim.editBuffer[DlyParam1], 0xC5);
    // Replies have the lengths the program's buffers are sized for.
    EXPECT_EQ(sim.Receive(PatchRequest(5, 79))[0].size(), 91u);
    EXPECT_EQ(sim.Receive(CustomSettingsRequest(5))[0].size(), 190u);
    EXPECT_EQ(sim.Receive(SettingsPageRequest(5))[0].size(), 262u);
    EXPECT_EQ(sim.Receive(FilterRequest(5, 15))[0].size(), 47u);
    EXPECT_EQ(sim.Receive(ClipperRequest(5, 1))[0].size(), 51u);
    // Malformed requests get no answer.
    EXPECT_TRUE(sim.Receive(PatchRequest(5, 100)).empty());
    EXPECT_TRUE(sim.Receive(Message{0xF0, 0x52}).empty());
}
