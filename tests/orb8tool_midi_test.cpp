#include <gtest/gtest.h>

#include <sstream>

#include "patch/projectdocument.h"
#include "sim/factorybank.h"
#include "tests/testfiles.h"
#include "tests/toolrun.h"

using namespace orb8;

TEST(Orb8ToolMidi, PortsListTheSimulatorLast) {
    const ToolRun r = Tool({"ports", "--no-real-ports"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Outputs:\n  0: ORB-8 Simulator"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Inputs:\n  0: ORB-8 Simulator"), std::string::npos);
}

TEST(Orb8ToolMidi, ReceiveThenSendThroughTheSimulator) {
    TempDir dir;
    const std::string bank = dir.Path("recv.orb"), log = dir.Path("sim.log");
    const ToolRun r = Tool({"receive", bank, "--no-real-ports", "--sim-instant", "--sim-channel", "3", "--sim-log", log});
    ASSERT_EQ(r.code, 0) << r.err;
    ProjectDocument project;
    project.fileName = bank;
    ASSERT_TRUE(project.Load().ok());
    const auto factory = FactoryBank();
    for (int i = 0; i < kPatchCount; ++i) EXPECT_EQ(project.slots[static_cast<std::size_t>(i)], ToSlot(factory[static_cast<std::size_t>(i)])) << i;
    const std::string traffic = ReadText(log);
    EXPECT_NE(traffic.find("F0 52 02 21 13 4F F7  PatchRequest"), std::string::npos);
    // The file ends with the settings block of the ORB-8 that answered.
    const auto bytes = ReadAll(bank);
    EXPECT_TRUE(std::equal(bytes.end() - 92, bytes.end(), FactoryCustomSettings().begin()));

    EXPECT_NE(Tool({"receive", bank, "--no-real-ports", "--sim-instant"}).code, 0);  // exists

    const ToolRun sent = Tool({"send", bank, "--no-real-ports", "--sim-instant", "--sim-log", log});
    ASSERT_EQ(sent.code, 0) << sent.err;
    EXPECT_NE(ReadText(log).find("SettingsPageWrite"), std::string::npos);
}

TEST(Orb8ToolMidi, CustomDistRoundTripAndBadPorts) {
    TempDir dir;
    const std::string dst = dir.Path("sets.dst");
    ASSERT_EQ(Tool({"dst-receive", dst, "--no-real-ports", "--sim-instant"}).code, 0);
    EXPECT_EQ(ReadAll(dst).size(), 1836u);
    const ToolRun sent = Tool({"dst-send", dst, "--no-real-ports", "--sim-instant"});
    EXPECT_EQ(sent.code, 0) << sent.err;
    const ToolRun bad = Tool({"scan", "--no-real-ports", "--out", "7"});
    EXPECT_NE(bad.code, 0);
    EXPECT_NE(bad.err.find("no MIDI output"), std::string::npos);
    EXPECT_NE(Tool({"send", dir.Path("missing.orb"), "--no-real-ports"}).code, 0);
}
