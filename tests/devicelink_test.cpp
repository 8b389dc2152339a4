#include <gtest/gtest.h>

#include <algorithm>

#include "device/devicelink.h"
#include "sim/factorybank.h"
#include "tests/simulatedhost.h"

using namespace orb8;
using namespace std::chrono_literals;

namespace {

using Names = std::vector<std::string>;

struct Rig {
    explicit Rig(std::vector<Orb8Simulator*> devices) : host(std::move(devices)), link(host) {}
    SimulatedHost host;
    DeviceLink link;

    // Ports open on channel `channel`, logs cleared.
    void Online(int channel, std::vector<Orb8Simulator*> devices) {
        host.OpenOutput();
        host.OpenInput();
        link.deviceChannel = channel;
        link.isOnLine = true;
        // Going on line reads the processor's custom settings.
        if (!devices.empty()) link.areas.customSettings = devices.front()->customSettings;
        for (auto* d : devices) d->ClearLog();
        host.sent.clear();
    }
    int Informs(const std::string& text) const {
        return static_cast<int>(std::count_if(host.informs.begin(), host.informs.end(),
                                              [&](const auto& b) { return b.text == text; }));
    }
};

Names Repeat(const std::string& name, int n) { return Names(static_cast<std::size_t>(n), name); }

Names Concat(std::initializer_list<Names> parts) {
    Names all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

int Count(const Names& names, const std::string& name) {
    return static_cast<int>(std::count(names.begin(), names.end(), name));
}

}  // namespace

// --- On line and the scan ---------------------------------------------------

TEST(Scan, OrbOnChannelFiveOnly) {
    Orb8Simulator orb(4);
    Rig rig({&orb});
    ASSERT_TRUE(rig.link.OnLine());
    EXPECT_TRUE(rig.link.isOnLine);
    EXPECT_EQ(rig.link.deviceChannel, 4);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(rig.host.channelItems[c].caption, std::to_string(c + 1));
        EXPECT_FALSE(rig.host.channelItems[c].enabled);
    }
    EXPECT_EQ(rig.host.channelItems[4].caption, "5:VESK ORB-8");
    EXPECT_TRUE(rig.host.channelItems[4].enabled);
    EXPECT_TRUE(rig.host.channelItems[4].checked);
    EXPECT_EQ(rig.link.areas.customSettings, orb.customSettings);
    EXPECT_NE(orb.customSettings, DefaultCustomSettings());
    EXPECT_EQ(rig.host.progressCaption, "OnLine Check");
    EXPECT_EQ(rig.host.progressTexts[0], "Searching ORB-8..");
    EXPECT_EQ(rig.host.progressTexts[5], "Searching ORB-8 at channel 5..");
    EXPECT_FALSE(rig.host.progressVisible);
    EXPECT_EQ(rig.host.QueuedReceives(), 0);
    EXPECT_TRUE(rig.host.informs.empty());
}

TEST(Scan, NothingConnectedTimesOutOnEveryChannel) {
    Rig rig({});
    EXPECT_FALSE(rig.link.OnLine());
    EXPECT_EQ(Count(rig.host.SentNames(), "IdentityRequest"), 16);
    EXPECT_GE(rig.host.now, 16 * 300ms);
    EXPECT_LT(rig.host.now, 16 * 300ms + 100ms);
    EXPECT_EQ(rig.Informs("There are no ORB-8 found."), 1);
    EXPECT_FALSE(rig.host.OutputOpen());
    EXPECT_FALSE(rig.host.InputOpen());
    EXPECT_FALSE(rig.link.isOnLine);
}

TEST(Scan, OtherModelOtherMakerAndWrongDeviceByte) {
    Orb8Simulator otherModel(0), otherMaker(2), wrongByte(5), orb(9);
    otherModel.family = 0x22;
    otherMaker.manufacturer = 0x41;
    wrongByte.InjectFault("IdentityRequest", 0, SimFault::WrongDeviceByte);
    Rig rig({&otherModel, &otherMaker, &wrongByte, &orb});
    ASSERT_TRUE(rig.link.OnLine());
    EXPECT_EQ(rig.host.channelItems[0].caption, "1:VESK");
    EXPECT_FALSE(rig.host.channelItems[0].enabled);
    EXPECT_EQ(rig.host.channelItems[2].caption, "3:Other Manufacuturer's");
    EXPECT_EQ(rig.host.channelItems[5].caption, "6");
    EXPECT_EQ(rig.host.channelItems[9].caption, "10:VESK ORB-8");
    EXPECT_EQ(rig.link.deviceChannel, 9);
}

TEST(Scan, EveryAnswerFindsABufferAndTheChosenDeviceKeepsItsBlock) {
    // Two ORB-8s: the first found is used, and its settings block stays,
    // although the second one's arrived later.
    Orb8Simulator first(1), second(6);
    second.customSettings[0] = 0x42;
    Rig rig({&first, &second});
    ASSERT_TRUE(rig.link.OnLine());
    EXPECT_EQ(rig.host.channelItems[1].caption, "2:VESK ORB-8");
    EXPECT_TRUE(rig.host.channelItems[1].checked);
    EXPECT_EQ(rig.host.channelItems[6].caption, "7:VESK ORB-8");
    EXPECT_TRUE(rig.host.channelItems[6].enabled);
    EXPECT_FALSE(rig.host.channelItems[6].checked);
    EXPECT_EQ(rig.link.deviceChannel, 1);
    EXPECT_EQ(rig.link.areas.customSettings, first.customSettings);
    EXPECT_EQ(Count(rig.host.SentNames(), "CustomSettingsRequest"), 2);
}

TEST(Scan, AbortAndSettingsFailure) {
    {
        Orb8Simulator orb(3);
        Rig rig({&orb});
        rig.host.abortAtWait = 2;  // during channel 2's identity request
        EXPECT_FALSE(rig.link.OnLine());
        EXPECT_EQ(rig.Informs("There are no ORB-8 found."), 1);
        EXPECT_EQ(Count(rig.host.SentNames(), "IdentityRequest"), 2);
    }
    {
        // Abort after the ORB-8 was found keeps it.
        Orb8Simulator orb(0);
        Rig rig({&orb});
        rig.host.abortAtWait = 3;
        EXPECT_TRUE(rig.link.OnLine());
        EXPECT_EQ(rig.link.deviceChannel, 0);
    }
    {
        Orb8Simulator orb(0);
        orb.InjectFault("CustomSettingsRequest", 1, SimFault::Truncated);
        Rig rig({&orb});
        EXPECT_TRUE(rig.link.OnLine());  // found before the failure
        EXPECT_EQ(rig.Informs("Data failure."), 1);
        EXPECT_EQ(rig.link.areas.customSettings, DefaultCustomSettings());
        EXPECT_EQ(Count(rig.host.SentNames(), "IdentityRequest"), 1);
    }
}

TEST(OnLine, OpenFailures) {
    const std::pair<int, std::string> outTexts[] = {{2, "Invalid Midi out Device."},
                                                    {4, "Midi out device is already occupied."},
                                                    {7, "Not enough Memory."},
                                                    {9, "Midi out error."}};
    for (const auto& [code, text] : outTexts) {
        Rig rig({});
        rig.host.openOutputResult = code;
        EXPECT_FALSE(rig.link.OnLine());
        ASSERT_EQ(rig.host.errors.size(), 1u);
        EXPECT_EQ(rig.host.errors[0].caption, "Couldn't Open Midi.");
        EXPECT_EQ(rig.host.errors[0].text, text);
    }
    Rig rig({});
    rig.host.openInputResult = 4;
    EXPECT_FALSE(rig.link.OnLine());
    EXPECT_EQ(rig.host.errors[0].text, "Midi in device is already occupied.");
    EXPECT_FALSE(rig.host.OutputOpen());
    rig.link.OffLine();
    EXPECT_FALSE(rig.link.isOnLine);
}

// --- Receive All and Send All of patches -------------------------------------

TEST(ReceiveAllPatches, GetsTheWholeBank) {
    Orb8Simulator orb(2);
    Rig rig({&orb});
    rig.Online(2, {&orb});
    ProjectDocument project;
    ASSERT_NE(orb.customSettings, project.customSettings);
    EXPECT_EQ(rig.link.ReceiveAllPatches(project), TransferResult::Completed);
    // The patches play through the processor's block, so the bank takes it.
    EXPECT_EQ(project.customSettings, orb.customSettings);
    EXPECT_EQ(rig.host.questions[0].caption, "RecvAll");
    EXPECT_EQ(rig.host.questions[0].text, "Get Patches from ORB-8.\nThis takes little while.\nExecute?");
    EXPECT_EQ(orb.ReceivedNames(), Repeat("PatchRequest", 80));
    for (int i = 0; i < kPatchCount; ++i) EXPECT_EQ(project.patches[static_cast<std::size_t>(i)], Unpack(orb.bank[static_cast<std::size_t>(i)])) << i;
    EXPECT_EQ(DecodeName(project.patches[0]), "CLEAN   ");
    EXPECT_EQ(rig.host.progressCaption, "RecvAll");
    EXPECT_EQ(rig.host.progressTexts[0], "Preparing to RecvAll..");
    EXPECT_EQ(rig.host.progressTexts[1], "Waiting Patch01...");
    EXPECT_EQ(rig.host.progressTexts[80], "Waiting Patch80...");
    EXPECT_EQ(rig.host.QueuedReceives(), 0);
}

TEST(ReceiveAllPatches, PreconditionsAndNo) {
    Orb8Simulator orb(0);
    Rig rig({&orb});
    ProjectDocument project;
    EXPECT_EQ(rig.link.ReceiveAllPatches(project), TransferResult::NotOnLine);
    EXPECT_EQ(rig.Informs("Not be OnLine."), 1);
    rig.Online(0, {&orb});
    rig.host.answer = false;
    EXPECT_EQ(rig.link.ReceiveAllPatches(project), TransferResult::Declined);
    EXPECT_TRUE(orb.Log().empty());
}

TEST(ReceiveAllPatches, AbortAtEveryStepKeepsReceivedPatchesAndEdits) {
    for (int step = 1; step <= kPatchCount; ++step) {
        Orb8Simulator orb(0);
        Rig rig({&orb});
        rig.Online(0, {&orb});
        ProjectDocument project;
        for (auto& p : project.patches) p[PatchLevel] = 7;  // unsaved edits
        rig.host.abortAtWait = step;
        ASSERT_EQ(rig.link.ReceiveAllPatches(project), TransferResult::Aborted);
        for (int i = 0; i < kPatchCount; ++i) {
            const PatchData& p = project.patches[static_cast<std::size_t>(i)];
            if (i < step - 1) ASSERT_EQ(p, Unpack(orb.bank[static_cast<std::size_t>(i)])) << step << " " << i;
            else ASSERT_EQ(p[PatchLevel], 7) << "edit lost at step " << step << ", patch " << i;
        }
        EXPECT_TRUE(rig.host.informs.empty());
        EXPECT_FALSE(rig.host.progressVisible);
    }
}

TEST(ReceiveAllPatches, EveryFaultEndsWithDataFailure) {
    for (SimFault fault : {SimFault::NoAnswer, SimFault::Unrecognised, SimFault::WriteReject, SimFault::WriteStop,
                           SimFault::Truncated, SimFault::OtherMaker, SimFault::OtherModel}) {
        Orb8Simulator orb(0);
        orb.InjectFault("PatchRequest", 30, fault);
        Rig rig({&orb});
        rig.Online(0, {&orb});
        ProjectDocument project;
        const TransferResult r = rig.link.ReceiveAllPatches(project);
        if (fault == SimFault::NoAnswer) {
            // Nothing arrives: the user's Abort ends the wait.
            EXPECT_EQ(r, TransferResult::Aborted);
            EXPECT_EQ(rig.host.stalls, 1);
        } else {
            EXPECT_EQ(r, TransferResult::Failed) << SimFaultName(fault);
            EXPECT_EQ(rig.Informs("Data failure."), 1);
        }
        for (int i = 0; i < 29; ++i) EXPECT_EQ(project.patches[static_cast<std::size_t>(i)], Unpack(orb.bank[static_cast<std::size_t>(i)]));
        EXPECT_EQ(project.patches[29], InitialPatch());
        EXPECT_EQ(Count(orb.ReceivedNames(), "PatchRequest"), 30);
    }
    // Another device number in a dump is still a dump.
    Orb8Simulator orb(0);
    orb.InjectFault("PatchRequest", 0, SimFault::WrongDeviceByte);
    Rig rig({&orb});
    rig.Online(0, {&orb});
    ProjectDocument project;
    EXPECT_EQ(rig.link.ReceiveAllPatches(project), TransferResult::Completed);
}

TEST(SendAllPatches, MessageOrderPagesAndBank) {
    Orb8Simulator orb(0);
    Rig rig({&orb});
    rig.Online(0, {&orb});
    ProjectDocument project;
    for (int i = 0; i < kPatchCount; ++i) project.patches[static_cast<std::size_t>(i)][PatchLevel] = static_cast<std::uint8_t>(i % 50);
    // The bank's own block goes out, and is the processor's from then on.
    project.customSettings[20] = 5;
    ASSERT_NE(orb.customSettings, project.customSettings);
    EXPECT_EQ(rig.link.SendAllPatches(project), TransferResult::Completed);
    EXPECT_EQ(rig.link.areas.customSettings, project.customSettings);
    EXPECT_TRUE(std::equal(orb.customSettings.begin() + 20, orb.customSettings.end(), project.customSettings.begin() + 20));
    EXPECT_EQ(orb.ReceivedNames(),
              Concat({{"SettingsPageRequest"}, Repeat("FilterRequest", 16), Repeat("ClipperRequest", 2), {"WriteOpen"},
                      Repeat("PatchDump", 80), Repeat("SettingsPageWrite", 2), {"WriteClose"}}));
    for (int i = 0; i < kPatchCount; ++i) EXPECT_EQ(orb.bank[static_cast<std::size_t>(i)], Pack(project.patches[static_cast<std::size_t>(i)]));
    EXPECT_FALSE(orb.writeOpen);
    EXPECT_EQ(rig.host.questions[0].text,
              "Send Patches to ORB-8.\nThe ORB-8's custom settings change too: MOD CUSTOM1.\nThis takes little while.\nExecute?");

    // Page 27: the device's page 76..127, custom settings 20..57, filter bytes 0..37.
    const SettingsPage& p27 = orb.writtenPages.at(27);
    EXPECT_TRUE(std::equal(p27.begin(), p27.begin() + 52, orb.systemPage.begin() + 76));
    EXPECT_EQ(p27[52], 5);
    EXPECT_TRUE(std::equal(p27.begin() + 52, p27.begin() + 90, project.customSettings.begin() + 20));
    EXPECT_TRUE(std::equal(p27.begin() + 90, p27.begin() + 110, orb.filters[0].begin()));
    EXPECT_TRUE(std::equal(p27.begin() + 110, p27.end(), orb.filters[1].begin()));
    // Page 30: device custom distortion bytes 294..367, custom settings 58..91, zeros.
    const SettingsPage& p30 = orb.writtenPages.at(30);
    EXPECT_TRUE(std::equal(p30.begin(), p30.begin() + 6, orb.filters[14].begin() + 14));
    EXPECT_TRUE(std::equal(p30.begin() + 6, p30.begin() + 26, orb.filters[15].begin()));
    EXPECT_TRUE(std::equal(p30.begin() + 26, p30.begin() + 48, orb.clippers[0].begin()));
    EXPECT_TRUE(std::equal(p30.begin() + 50, p30.begin() + 72, orb.clippers[1].begin()));
    EXPECT_TRUE(std::equal(p30.begin() + 74, p30.begin() + 108, project.customSettings.begin() + 58));
    EXPECT_TRUE(std::all_of(p30.begin() + 108, p30.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(Count(rig.host.progressTexts, "Sending Patch79..."), 1);
    EXPECT_EQ(Count(rig.host.progressTexts, "Sending Patch00..."), 1);
    // Sent again, the processor holds the bank's block: the plain question.
    EXPECT_EQ(rig.link.SendAllPatches(project), TransferResult::Completed);
    EXPECT_EQ(rig.host.questions[1].text, "Send Patches to ORB-8.\nThis takes little while.\nExecute?");
}

// Send Changed: only the patches that differ from what the processor holds,
// acknowledged one by one, then read back; the settings pages only when the
// custom settings differ; nothing at all when nothing differs.
TEST(SendChangedPatches, OnlyWhatDiffersAndReadBack) {
    Orb8Simulator orb(0);
    Rig rig({&orb});
    rig.Online(0, {&orb});
    ProjectDocument known;
    for (int i = 0; i < kPatchCount; ++i) known.patches[static_cast<std::size_t>(i)] = Unpack(orb.bank[static_cast<std::size_t>(i)]);
    known.customSettings = orb.customSettings;
    ProjectDocument project = known;
    for (const int i : {4, 22, 79}) project.patches[static_cast<std::size_t>(i)][PatchLevel] = 7;
    EXPECT_EQ(DeviceLink::ChangedPatches(project, known), (std::vector<int>{4, 22, 79}));
    DeviceLink::ChangedReport report;
    ASSERT_EQ(rig.link.SendChangedPatches(project, known, true, report), TransferResult::Completed);
    EXPECT_EQ(rig.host.questions.back().text, "Send 3 changed patches to ORB-8 (U11, U53, u94).\nExecute?");
    EXPECT_EQ(orb.ReceivedNames(), Concat({{"WriteOpen"}, Repeat("PatchDump", 3), {"WriteClose"}, Repeat("PatchRequest", 3)}));
    EXPECT_EQ(report.sent, (std::vector<int>{4, 22, 79}));
    EXPECT_FALSE(report.settings);
    EXPECT_TRUE(report.verified);
    EXPECT_TRUE(report.mismatched.empty());
    for (int i = 0; i < kPatchCount; ++i) EXPECT_EQ(orb.bank[static_cast<std::size_t>(i)], Pack(project.patches[static_cast<std::size_t>(i)])) << i;

    // Now the processor holds the bank: nothing goes, and the user is told.
    orb.ClearLog();
    ASSERT_EQ(rig.link.SendChangedPatches(project, project, true, report), TransferResult::Completed);
    EXPECT_TRUE(orb.ReceivedNames().empty());
    EXPECT_EQ(rig.Informs("The ORB-8 already holds every patch of this bank."), 1);

    // Custom settings that differ: the pages too, composed as Send All composes them.
    project.customSettings[20] = 5;
    orb.ClearLog();
    ASSERT_EQ(rig.link.SendChangedPatches(project, project, false, report), TransferResult::Completed);
    EXPECT_EQ(orb.ReceivedNames(), Concat({{"SettingsPageRequest"}, Repeat("FilterRequest", 16), Repeat("ClipperRequest", 2),
                                           {"WriteOpen"}, Repeat("SettingsPageWrite", 2), {"WriteClose"}}));
    EXPECT_TRUE(report.settings);
    EXPECT_EQ(rig.link.areas.customSettings, project.customSettings);
    EXPECT_EQ(orb.customSettings[20], 5);
}

TEST(SendChangedPatches, RefusalsAbortAndNo) {
    Orb8Simulator orb(0);
    Rig rig({&orb});
    ProjectDocument known, project;
    project.patches[3][PatchLevel] = 9;
    DeviceLink::ChangedReport report;
    EXPECT_EQ(rig.link.SendChangedPatches(project, known, true, report), TransferResult::NotOnLine);
    rig.Online(0, {&orb});
    rig.host.answer = false;
    EXPECT_EQ(rig.link.SendChangedPatches(project, known, true, report), TransferResult::Declined);
    EXPECT_TRUE(orb.ReceivedNames().empty());
    rig.host.answer = true;
    orb.InjectFault("PatchDump", 1, SimFault::WriteReject);
    EXPECT_EQ(rig.link.SendChangedPatches(project, known, true, report), TransferResult::Rejected);
    EXPECT_FALSE(report.verified);
    EXPECT_TRUE(report.sent.empty());  // the one dump was refused
    project.patches[5][PatchLevel] = 9;
    orb.ClearFaults();
    orb.ClearLog();
    orb.InjectFault("PatchDump", 2, SimFault::WriteReject);
    EXPECT_EQ(rig.link.SendChangedPatches(project, known, false, report), TransferResult::Rejected);
    EXPECT_EQ(report.sent, (std::vector<int>{3}));  // the second was refused
    project.patches[5] = known.patches[5];
    orb.ClearFaults();
    orb.InjectFault("PatchRequest", 1, SimFault::Truncated);
    EXPECT_EQ(rig.link.SendChangedPatches(project, known, true, report), TransferResult::Failed);
    EXPECT_EQ(rig.Informs("Data failure."), 1);
    EXPECT_FALSE(rig.link.Busy());
}

TEST(SendAllPatches, AbortAtEveryStep) {
    // 1 page request, 16 filters, 2 clippers, then 81 acknowledgement waits
    // and the two page writes: 102 waits.
    for (int step = 1; step <= 102; ++step) {
        Orb8Simulator orb(0);
        const auto factory = orb.bank;
        Rig rig({&orb});
        rig.Online(0, {&orb});
        ProjectDocument project;
        rig.host.abortAtWait = step;
        EXPECT_EQ(rig.link.SendAllPatches(project), TransferResult::Aborted) << step;
        const Names names = orb.ReceivedNames();
        const bool writing = step >= 20;
        EXPECT_EQ(Count(names, "WriteOpen"), writing ? 1 : 0) << step;
        // An abort while waiting for the processor closes the write; before
        // writing began there is nothing to close.
        EXPECT_EQ(Count(names, "WriteClose"), writing ? 1 : 0) << step;
        const int dumps = writing ? std::min(step - 20, 80) : 0;
        EXPECT_EQ(Count(names, "PatchDump"), dumps) << step;
        for (int i = 0; i < kPatchCount; ++i)
            ASSERT_EQ(orb.bank[static_cast<std::size_t>(i)], i < dumps ? Pack(project.patches[static_cast<std::size_t>(i)]) : factory[static_cast<std::size_t>(i)]);
        EXPECT_EQ(Count(names, "SettingsPageWrite"), step == 102 ? 2 : step == 101 ? 1 : 0) << step;
        EXPECT_TRUE(rig.host.informs.empty());
    }
}

TEST(SendAllPatches, FaultsAtEveryKindOfStep) {
    struct Case {
        std::string name;
        int occurrence;
        SimFault fault;
        TransferResult result;
        int closes;
        int failures;
    };
    const Case cases[] = {
        {"SettingsPageRequest", 1, SimFault::Truncated, TransferResult::Failed, 0, 1},
        {"FilterRequest", 9, SimFault::OtherModel, TransferResult::Failed, 0, 1},
        {"ClipperRequest", 2, SimFault::Unrecognised, TransferResult::Failed, 0, 1},
        {"WriteOpen", 1, SimFault::WriteReject, TransferResult::Rejected, 0, 0},
        {"PatchDump", 40, SimFault::WriteReject, TransferResult::Rejected, 0, 0},
        {"PatchDump", 40, SimFault::WriteStop, TransferResult::Stopped, 0, 0},
        {"PatchDump", 80, SimFault::Unrecognised, TransferResult::Failed, 1, 1},
        {"SettingsPageWrite", 1, SimFault::Unrecognised, TransferResult::Failed, 1, 1},
        {"SettingsPageWrite", 2, SimFault::WriteReject, TransferResult::Failed, 1, 1},
    };
    for (const Case& c : cases) {
        Orb8Simulator orb(0);
        orb.InjectFault(c.name, c.occurrence, c.fault);
        Rig rig({&orb});
        rig.Online(0, {&orb});
        ProjectDocument project;
        EXPECT_EQ(rig.link.SendAllPatches(project), c.result) << c.name << " " << c.occurrence;
        const Names names = orb.ReceivedNames();
        EXPECT_EQ(Count(names, "WriteClose"), c.closes) << c.name;
        EXPECT_EQ(rig.Informs("Data failure."), c.failures) << c.name;
        if (c.name == "SettingsPageWrite" && c.occurrence == 1) {
            EXPECT_EQ(Count(names, "SettingsPageWrite"), 1);  // page 30 is not sent
        }
        EXPECT_EQ(names.back(), c.closes ? "WriteClose" : c.name) << c.name;
    }
}

// --- Custom distortions -------------------------------------------------------

TEST(CustomDistTransfers, ReceiveTakesImagesAndClippers) {
    Orb8Simulator orb(0);
    Rig rig({&orb});
    rig.Online(0, {&orb});
    CustomDistDocument doc;
    EXPECT_EQ(rig.link.ReceiveAllCustomDists(doc), TransferResult::Completed);
    EXPECT_EQ(orb.ReceivedNames(), Concat({Repeat("FilterRequest", 16), Repeat("ClipperRequest", 2)}));
    for (int n = 0; n < kFilterCount; ++n) EXPECT_EQ(doc.data.images[static_cast<std::size_t>(n)], orb.filters[static_cast<std::size_t>(n)]);
    EXPECT_EQ(doc.data.filters[FilterNumber(1, SlotEdge)].on, 1);
    EXPECT_NEAR(doc.data.filters[FilterNumber(1, SlotEdge)].gain, 6, 1e-9);
    EXPECT_EQ(doc.data.filters[FilterNumber(1, SlotHigh)].type, FilterHighShelf);
    // The coefficients are the processor's own, so they agree with the settings.
    for (int n = 0; n < kFilterCount; ++n) {
        FilterRecord computed = doc.data.filters[static_cast<std::size_t>(n)];
        ComputeCoefficients(computed);
        EXPECT_EQ(doc.data.filters[static_cast<std::size_t>(n)].coefNibbles, computed.coefNibbles) << n;
        EXPECT_EQ(doc.data.filters[static_cast<std::size_t>(n)].coef, computed.coef) << n;
    }
    // Stored back, the processor gets what it had.
    EXPECT_EQ(rig.link.SendAllCustomDists(doc), TransferResult::Completed);
    for (int n = 0; n < kFilterCount; ++n) EXPECT_EQ(orb.filters[static_cast<std::size_t>(n)], doc.data.images[static_cast<std::size_t>(n)]);
    EXPECT_EQ(MatchingClipperPreset(doc.data.clippers[1]), 5);
    EXPECT_EQ(rig.host.questions[0].text, "Get CustomDists from ORB-8.\nThis takes little while.\nExecute?");
    EXPECT_EQ(rig.host.progressTexts[17], "Waiting Clipper01...");
}

TEST(CustomDistTransfers, ReceiveEndingEarlyKeepsWhatWasNotReceived) {
    for (int step = 1; step <= 18; ++step) {
        Orb8Simulator orb(0);
        Rig rig({&orb});
        rig.Online(0, {&orb});
        CustomDistDocument doc;
        doc.data.filters[15].freq = 1234.5;  // not a device step: must survive untouched
        rig.host.abortAtWait = step;
        EXPECT_EQ(rig.link.ReceiveAllCustomDists(doc), TransferResult::Aborted);
        for (int n = 0; n < kFilterCount; ++n) {
            const bool got = n < step - 1;
            const FilterRecord fresh = CustomDistData::NewDocument().filters[static_cast<std::size_t>(n)];
            if (!got) {
                EXPECT_EQ(doc.data.filters[static_cast<std::size_t>(n)].freq, n == 15 ? 1234.5 : fresh.freq) << step << " " << n;
            }
        }
    }
    // A failed filter goes on with the clippers.
    Orb8Simulator orb(0);
    orb.InjectFault("FilterRequest", 4, SimFault::Unrecognised);
    Rig rig({&orb});
    rig.Online(0, {&orb});
    CustomDistDocument doc;
    EXPECT_EQ(rig.link.ReceiveAllCustomDists(doc), TransferResult::Failed);
    EXPECT_EQ(orb.ReceivedNames(), Concat({Repeat("FilterRequest", 4), Repeat("ClipperRequest", 2)}));
    EXPECT_EQ(rig.Informs("Data failure."), 1);
    EXPECT_EQ(doc.data.filters[3].freq, 0);     // not received: the new document's clip filter
    EXPECT_EQ(doc.data.filters[13].freq, 2500);
    EXPECT_EQ(doc.data.clippers[1], orb.clippers[1]);
}

TEST(CustomDistTransfers, StoreSendsEveryFilterAndClipper) {
    Orb8Simulator orb(0);
    Rig rig({&orb});
    rig.Online(0, {&orb});
    CustomDistDocument doc;
    doc.data.filters[2].gain = 4.2;
    doc.data.ApplyClipperPreset(0, 7);
    const auto imagesBefore = doc.data.images;
    EXPECT_EQ(rig.link.SendAllCustomDists(doc), TransferResult::Completed);
    EXPECT_EQ(doc.data.images, imagesBefore);  // the document is sent as it is, not encoded in place
    EXPECT_EQ(orb.ReceivedNames(),
              Concat({{"WriteOpen"}, Repeat("FilterDump", 16), Repeat("ClipperDump", 2), {"WriteClose"}}));
    CustomDistData encoded = doc.data;
    encoded.EncodeAll();
    for (int n = 0; n < kFilterCount; ++n) {
        const auto& image = orb.filters[static_cast<std::size_t>(n)];
        EXPECT_TRUE(std::equal(image.begin() + 15, image.end(), encoded.images[static_cast<std::size_t>(n)].begin() + 15)) << n;
    }
    EXPECT_EQ(orb.clippers[0], ClipperPresets()[7].block);
    EXPECT_EQ(rig.host.questions[0].text, "Send Filters to ORB-8.\nThis takes little while.\nExecute?");

    // Receiving it back gives the same settings.
    CustomDistDocument back;
    EXPECT_EQ(rig.link.ReceiveAllCustomDists(back), TransferResult::Completed);
    EXPECT_NEAR(back.data.filters[2].gain, 4.2, 1e-9);
}

TEST(CustomDistTransfers, StoreAbortAndFaults) {
    for (int step = 1; step <= 19; ++step) {
        Orb8Simulator orb(0);
        Rig rig({&orb});
        rig.Online(0, {&orb});
        CustomDistDocument doc;
        rig.host.abortAtWait = step;
        EXPECT_EQ(rig.link.SendAllCustomDists(doc), TransferResult::Aborted);
        const Names names = orb.ReceivedNames();
        EXPECT_EQ(names.back(), "WriteClose") << step;
        EXPECT_EQ(Count(names, "FilterDump") + Count(names, "ClipperDump"), step - 1) << step;
    }
    const std::tuple<std::string, int, SimFault, TransferResult, int> cases[] = {
        {"FilterDump", 3, SimFault::WriteStop, TransferResult::Stopped, 0},
        {"ClipperDump", 1, SimFault::WriteReject, TransferResult::Rejected, 0},
        {"ClipperDump", 2, SimFault::Truncated, TransferResult::Failed, 1},
        {"WriteOpen", 1, SimFault::OtherMaker, TransferResult::Failed, 1},
    };
    for (const auto& [name, occurrence, fault, result, closes] : cases) {
        Orb8Simulator orb(0);
        orb.InjectFault(name, occurrence, fault);
        Rig rig({&orb});
        rig.Online(0, {&orb});
        CustomDistDocument doc;
        EXPECT_EQ(rig.link.SendAllCustomDists(doc), result) << name;
        EXPECT_EQ(Count(orb.ReceivedNames(), "WriteClose"), closes) << name;
        EXPECT_EQ(rig.Informs("Data failure."), closes) << name;
    }
}

// --- Patch change and single messages ------------------------------------------

TEST(PatchChange, SelectsAndLoadsTheEditBuffer) {
    Orb8Simulator orb(3);
    Rig rig({&orb});
    rig.Online(3, {&orb});
    PatchData p = InitialPatch();
    p[ModType] = 3;
    EXPECT_EQ(rig.link.PatchChange(23, p), TransferResult::Completed);
    EXPECT_EQ(orb.ReceivedNames(), (Names{"PatchSelect", "WriteOpen", "EditBufferWrite", "WriteClose"}));
    EXPECT_EQ(orb.program, 23);
    EXPECT_EQ(orb.editBuffer, p);
    EXPECT_EQ(rig.host.progressCaption, "PatchChange");
    EXPECT_EQ(Count(rig.host.progressTexts, "Sending Patch23..."), 1);
    EXPECT_EQ(rig.host.sent[2].size(), 136u);
}

TEST(PatchChange, RejectIsSilentStopIsAFailure) {
    for (auto [fault, result, failures, closes] :
         {std::tuple{SimFault::WriteReject, TransferResult::Rejected, 0, 0},
          std::tuple{SimFault::WriteStop, TransferResult::Failed, 1, 1}}) {
        Orb8Simulator orb(0);
        orb.InjectFault("EditBufferWrite", 1, fault);
        Rig rig({&orb});
        rig.Online(0, {&orb});
        EXPECT_EQ(rig.link.PatchChange(1, InitialPatch()), result);
        EXPECT_EQ(rig.Informs("Data failure."), failures);
        EXPECT_EQ(Count(orb.ReceivedNames(), "WriteClose"), closes);
    }
    Rig offline({});
    EXPECT_EQ(offline.link.PatchChange(1, InitialPatch()), TransferResult::NotOnLine);
    EXPECT_TRUE(offline.host.sent.empty());
}

TEST(SingleMessages, ParameterChangeAndDesignSends) {
    Orb8Simulator orb(0);
    Rig rig({&orb});
    rig.link.SendParameterChange(21, 40);  // output closed: nothing
    EXPECT_TRUE(orb.Log().empty());
    rig.Online(0, {&orb});
    rig.link.SendParameterChange(21, 40);
    EXPECT_EQ(orb.editBuffer[21], 40);

    CustomDistData data = CustomDistData::NewDocument();
    data.filters[FilterNumber(1, SlotPre)].coefNibbles[0] = 9;
    rig.link.SendDesignCharacter(data, 1, false);
    rig.link.SendDesignCharacter(data, 1, true);
    rig.link.SendDesignToneFilter(data, 1, SlotMid, false);
    rig.link.SendDesignToneFilter(data, 1, SlotMid, true);
    std::vector<int> numbers;
    for (const Message& m : rig.host.sent) {
        if (m[4] == FnDesignFilterWrite) numbers.push_back(m[5]);
    }
    EXPECT_EQ(numbers, (std::vector<int>{8, 9, 10, 11, 12, 0, 1, 2, 3, 4, 14, 6}));
    EXPECT_EQ(orb.designFilters[1][0], 9);  // set 1's data, heard through set 0
    EXPECT_EQ(orb.designClippers[0], data.clippers[1]);
}

// --- One exchange at a time --------------------------------------------------

namespace {
// A host whose pending window messages try to start more: a second exchange
// and a parameter change, as a click that got through would.
struct MeddlingHost : SimulatedHost {
    using SimulatedHost::SimulatedHost;
    DeviceLink* link = nullptr;
    std::vector<TransferResult> second;
    std::vector<std::pair<int, int>> progress;
    void ProcessPending() override {
        ProjectDocument other;
        second.push_back(link->ReceiveAllPatches(other));
        link->SendParameterChange(21, 5);
    }
    void SetProgressValue(int done, int total) override { progress.emplace_back(done, total); }
};
}  // namespace

TEST(Exchanges, NoSecondExchangeAndSingleMessagesOnlyAfterOne) {
    Orb8Simulator orb(0);
    MeddlingHost host(&orb);
    DeviceLink link(host);
    host.link = &link;
    host.OpenOutput();
    host.OpenInput();
    ProjectDocument project;
    ASSERT_EQ(link.ReceiveAllPatches(project), TransferResult::Completed);
    ASSERT_FALSE(host.second.empty());
    for (TransferResult r : host.second) EXPECT_EQ(r, TransferResult::Busy);
    // The single messages that came meanwhile went after it, in order, none inside it.
    const auto names = host.SentNames();
    EXPECT_EQ(Count(names, "ParameterChange"), static_cast<int>(host.second.size()));
    const auto firstChange = std::find(names.begin(), names.end(), "ParameterChange");
    EXPECT_EQ(std::find(firstChange, names.end(), "PatchRequest"), names.end());
    EXPECT_EQ(Count(names, "PatchRequest"), 80);
    EXPECT_EQ(link.lastReceived, 80);
    ASSERT_EQ(host.progress.size(), 80u);
    EXPECT_EQ(host.progress.back(), std::make_pair(79, 80));
    // After it, both work again.
    EXPECT_FALSE(link.Busy());
    link.SendParameterChange(21, 5);
    EXPECT_EQ(Count(host.SentNames(), "ParameterChange"), static_cast<int>(host.second.size()) + 1);
}
